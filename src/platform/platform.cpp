// The shared half of the platform layer: the clock, scripted touches, captures and the trace,
// forwarding window, display and device work to the backend the options chose.
#include "platform/platform.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "platform/backend.h"
#include "platform/harness/frame_times.h"
#include "platform/harness/png_capture.h"
#include "platform/harness/touch_script.h"
#include "platform/harness/trace_file.h"

namespace platform {
namespace {

constexpr int kTracePresentEvery = 100;

struct PlatformState {
    bool started = false;
    Options options;
    std::unique_ptr<Backend> backend;
    uint32_t virtualNow = 0;
    // The clock when the platform started: touch script times count from it.
    uint32_t clockOrigin = 0;
    bool stopSignalsCaught = false;
    TouchScript script;
    TraceFile trace;
    FrameTimes frameTimes;
    std::deque<Event> events;
    std::deque<Event> collected;  // the backend's events of one collection (kept: no allocation)
    std::vector<std::string> pendingCaptures;
    int width = 0, height = 0, bitsPerPixel = 0;
    std::vector<uint32_t> frame;  // a presented frame converted to 32-bit pixels, or kept
    uint64_t presentCount = 0;
    bool questionFontRefused = false;
};

PlatformState& State() {
    static PlatformState state;
    return state;
}

// Code that uses the platform before anyone started it (unit tests) gets the headless backend
// with the virtual clock.
PlatformState& Started() {
    PlatformState& state = State();
    if (!state.started) {
        Options options;
        options.headless = true;
        options.virtualClock = true;
        std::string error;
        Start(options, error);
    }
    return state;
}

// ---- Stop signals -------------------------------------------------------------------------------
// A service stop, a shut-down or Ctrl-C must not kill the game mid-payment: the handler only notes
// the signal, and the next collection of input turns it into a Quit event.
constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};
volatile sig_atomic_t pendingStopSignal = 0;
struct sigaction previousActions[std::size(kStopSignals)];

void NoteStopSignal(int signal) {
    pendingStopSignal = signal;
}

void CatchStopSignals(PlatformState& state) {
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes (the credit link's) carry on instead of failing.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        sigaction(kStopSignals[i], &action, &previousActions[i]);
    pendingStopSignal = 0;
    state.stopSignalsCaught = true;
}

void ReleaseStopSignals(PlatformState& state) {
    if (!state.stopSignalsCaught) return;
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        sigaction(kStopSignals[i], &previousActions[i], nullptr);
    state.stopSignalsCaught = false;
}

void CollectStopSignal(PlatformState& state) {
    const int signal = pendingStopSignal;
    if (signal == 0) return;
    pendingStopSignal = 0;
    state.events.push_back(Event{EventKind::Quit, 0, 0});
    state.trace.Line(Milliseconds(), "signal " + std::to_string(signal));
}

uint32_t RealMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void QueueTouch(PlatformState& state, int16_t x, int16_t y) {
    state.events.push_back(Event{EventKind::Touch, x, y});
    state.trace.Line(Milliseconds(), "touch " + std::to_string(x) + " " + std::to_string(y));
}

void DeliverDueScript(PlatformState& state) {
    ScriptStep step;
    while (state.script.NextDue(Milliseconds() - state.clockOrigin, step)) {
        switch (step.kind) {
            case ScriptStep::Kind::Capture:
                state.pendingCaptures.push_back(step.captureName);
                break;
            case ScriptStep::Kind::Close:
                state.events.push_back(Event{EventKind::Quit, 0, 0});
                state.trace.Line(Milliseconds(), "close");
                break;
            case ScriptStep::Kind::Touch:
                QueueTouch(state, step.x, step.y);
                break;
        }
    }
}

void CollectMachineEvents(PlatformState& state) {
    CollectStopSignal(state);
    state.collected.clear();
    state.backend->CollectEvents(state.collected);
    for (const Event& event : state.collected) {
        if (event.kind == EventKind::Touch)
            QueueTouch(state, event.x, event.y);
        else
            state.events.push_back(event);
    }
}

// Writes the captures asked for since the last frame, of `shown` (32-bit pixels).
void WritePendingCaptures(PlatformState& state, const uint8_t* shown) {
    if (state.pendingCaptures.empty()) return;
    mkdir(state.options.captureDir.c_str(), 0775);
    if (state.frame.empty()) state.frame.assign(800 * 600, 0);
    if (!shown) shown = reinterpret_cast<const uint8_t*>(state.frame.data());
    int width = state.width ? state.width : 800;
    int height = state.height ? state.height : 600;
    for (const std::string& name : state.pendingCaptures)
        WritePngCapture(state.options.captureDir + "/" + name + ".png", shown, width, height);
    state.pendingCaptures.clear();
}

// Turns a frame in the display's format into 32-bit pixels.
void ConvertFrame(PlatformState& state, const uint8_t* pixels, int pitch) {
    state.frame.resize(static_cast<size_t>(state.width) * state.height);
    for (int y = 0; y < state.height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * pitch;
        uint32_t* out = state.frame.data() + static_cast<size_t>(y) * state.width;
        if (state.bitsPerPixel == 32) {
            memcpy(out, row, static_cast<size_t>(state.width) * 4);
        } else if (state.bitsPerPixel == 24) {
            for (int x = 0; x < state.width; ++x, row += 3)
                out[x] = row[0] | (row[1] << 8) | (static_cast<uint32_t>(row[2]) << 16);
        } else {
            for (int x = 0; x < state.width; ++x, row += 2) {
                uint32_t v = row[0] | (row[1] << 8);
                uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                out[x] = ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
            }
        }
    }
}

// The frame as 32-bit pixels. A 32-bit display's frame is shown as it is, without a copy, unless
// the touch script may still ask for a capture once the frames have stopped: then the last one is
// kept.
const uint8_t* ShownPixels(PlatformState& state, const uint8_t* pixels, int pitch) {
    if (state.bitsPerPixel == 32 && pitch == state.width * 4 && state.script.Empty()) return pixels;
    ConvertFrame(state, pixels, pitch);
    return reinterpret_cast<const uint8_t*>(state.frame.data());
}

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream contents;
    contents << in.rdbuf();
    text = contents.str();
    return true;
}

}  // namespace

bool Start(const Options& options, std::string& error) {
    Stop();
    PlatformState& state = State();
    state = PlatformState{};
    state.options = options;
    if (options.headless) state.options.virtualClock = true;
    if (!options.touchesFile.empty()) {
        std::string text;
        if (!ReadWholeFile(options.touchesFile, text)) {
            error = "cannot read the touch script " + options.touchesFile;
            return false;
        }
        if (!state.script.Parse(text, error)) return false;
    }
    if (!options.traceFile.empty() && !state.trace.Open(options.traceFile)) {
        error = "cannot write the trace " + options.traceFile + ": " + strerror(errno);
        return false;
    }
    if (!options.frameTimesFile.empty() && !state.frameTimes.Open(options.frameTimesFile)) {
        error = "cannot write the frame times " + options.frameTimesFile + ": " + strerror(errno);
        return false;
    }
    state.backend = options.headless ? MakeHeadlessBackend() : MakeSdlBackend();
    state.virtualNow = options.clockStart;
    state.clockOrigin = state.options.virtualClock ? options.clockStart : RealMilliseconds();
    CatchStopSignals(state);
    state.started = true;
    return true;
}

void Stop() {
    PlatformState& state = State();
    if (!state.started) return;
    WritePendingCaptures(state, nullptr);
    if (state.backend) state.backend->CloseDisplay();
    state.backend.reset();
    state.trace.Close();
    state.frameTimes.Close();
    ReleaseStopSignals(state);
    state.started = false;
}

const Options& CurrentOptions() {
    return Started().options;
}

bool CreateMainWindow() {
    PlatformState& state = Started();
    return state.backend->CreateMainWindow(state.options.windowed);
}

bool NextEvent(Event& event) {
    PlatformState& state = Started();
    CollectMachineEvents(state);
    DeliverDueScript(state);
    if (state.events.empty()) return false;
    event = state.events.front();
    state.events.pop_front();
    return true;
}

void DiscardEvents() {
    PlatformState& state = Started();
    CollectMachineEvents(state);
    DeliverDueScript(state);
    // A closed window is never thrown away: the program must still end.
    std::erase_if(state.events, [](const Event& event) { return event.kind != EventKind::Quit; });
}

void InjectTouch(int16_t x, int16_t y) {
    QueueTouch(Started(), x, y);
}

uint32_t Milliseconds() {
    PlatformState& state = Started();
    return state.options.virtualClock ? state.virtualNow : RealMilliseconds();
}

uint32_t SeedMilliseconds() {
    PlatformState& state = Started();
    return state.options.virtualClock ? state.virtualNow - state.options.clockStart
                                      : RealMilliseconds();
}

void Yield() {
    PlatformState& state = Started();
    state.frameTimes.YieldStarted();
    if (state.options.virtualClock) {
        ++state.virtualNow;
    } else {
        timespec pause{0, 1000000};
        nanosleep(&pause, nullptr);
    }
    state.frameTimes.YieldEnded();
    DeliverDueScript(state);
}

void YieldUntil(uint32_t until) {
    PlatformState& state = Started();
    const int32_t ahead = static_cast<int32_t>(until - Milliseconds());
    if (state.options.virtualClock || ahead <= 1) return Yield();
    state.frameTimes.YieldStarted();
    // Wake on the millisecond the clock reaches `until`: the clock reads whole milliseconds of
    // the monotonic clock, so this keeps the pacing as exact as one-millisecond yields do.
    constexpr int32_t kLongestSleepMs = 100;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    const int64_t wakeMs = static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000 +
                           std::min(ahead, kLongestSleepMs);
    const timespec wake{static_cast<time_t>(wakeMs / 1000),
                        static_cast<long>(wakeMs % 1000) * 1000000};
    // A stop signal cuts the sleep short; the caller's loop sees it at once.
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr);
    state.frameTimes.YieldEnded();
    DeliverDueScript(state);
}

int64_t CalendarSeconds() {
    return static_cast<int64_t>(time(nullptr));
}

ModeResult OpenDisplay(int width, int height, int bitsPerPixel) {
    PlatformState& state = Started();
    ModeResult result = state.backend->OpenDisplay(width, height, bitsPerPixel);
    if (result == ModeResult::Ok) {
        state.width = width;
        state.height = height;
        state.bitsPerPixel = bitsPerPixel;
        state.frame.assign(static_cast<size_t>(width) * height, 0);
    }
    return result;
}

void PresentFrame(const uint8_t* pixels, int pitch, ChangedRows changed) {
    PlatformState& state = Started();
    if (state.bitsPerPixel == 0) return;
    state.frameTimes.FramePresented(Milliseconds());
    const uint8_t* shown = ShownPixels(state, pixels, pitch);
    WritePendingCaptures(state, shown);
    state.backend->ShowFrame(shown, changed);
    if (++state.presentCount % kTracePresentEvery == 0)
        state.trace.Line(Milliseconds(), "present " + std::to_string(state.presentCount));
    state.frameTimes.PresentEnded();
}

void CloseDisplay() {
    PlatformState& state = Started();
    state.backend->CloseDisplay();
    state.bitsPerPixel = 0;
}

void RefuseDisplayDepth(int bitsPerPixel, bool refuse) {
    SetHeadlessRefusedDepth(bitsPerPixel, refuse);
}

bool QuestionFontAvailable() {
    PlatformState& state = Started();
    return !state.questionFontRefused && state.backend->QuestionFontAvailable();
}

void RefuseQuestionFont(bool refuse) {
    Started().questionFontRefused = refuse;
}

void ShowMessageBox(const char* caption, const char* text) {
    Started().backend->ShowMessageBox(caption, text);
}

void DebugOutput(const char* text) {
    Started().backend->DebugOutput(text);
}

void TraceSound(int number) {
    PlatformState& state = Started();
    state.trace.Line(Milliseconds(), "sound " + std::to_string(number));
}

void TraceMusic(bool playing) {
    PlatformState& state = Started();
    state.trace.Line(Milliseconds(), playing ? "music play" : "music stop");
}

void TraceExit(int status) {
    PlatformState& state = Started();
    state.trace.Line(Milliseconds(), "exit " + std::to_string(status));
}

}  // namespace platform
