#include "end_harness.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "base/input.h"
#include "base/log.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprite_files.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

// Restarting the platform sets the virtual clock back to 0, but the frame pacing keeps its
// deadline from the run before. So each run starts a second after the latest time any earlier
// run reached, and scripts and run clocks are counted from there.
uint32_t latestClock = 0;
constexpr uint32_t kRunGapMs = 1000;

// The credit service's answer to a payment: the balance it would report.
std::string AnswerPayment(const std::string& command) {
    if (command.rfind("CADD,", 0) == 0) return "CTEL,0\r\n";
    if (command.rfind("BADD,", 0) == 0) return "BTEL,0\r\n";
    return "FAIL\r\n";
}

}  // namespace

void EndHarness::SetUp() {
    ASSERT_TRUE(credit_.Listening());
    credit_.SetResponder(AnswerPayment);
    ASSERT_EQ(ConnectCreditService(credit_.Port()), CreditConnectResult::Connected);
    MakeWorkDirs();
    LogOpen();
}

void EndHarness::TearDown() {
    StopRun();
    LogClose();
    CloseCreditService();
}

void EndHarness::LinkContent(bool withVideo) {
    const fs::path content = CONTENT_DIR;
    fs::create_directory("Graphic_resource");
    for (const fs::directory_entry& entry : fs::directory_iterator(content / "Graphic_resource")) {
        if (!withVideo && entry.path().filename() == "avis") continue;
        fs::create_directory_symlink(entry.path(),
                                     fs::path("Graphic_resource") / entry.path().filename());
    }
    fs::create_directory_symlink(content / "sounds", "sounds");
}

void EndHarness::StartRun(const std::vector<ScriptLine>& script) {
    StopRun();
    runStart_ = latestClock + kRunGapMs;
    std::string touches;
    for (const ScriptLine& line : script)
        touches += std::to_string(runStart_ + line.ms) + " " + line.what + "\n";
    WriteFileText("touches.txt", touches);
    platform::Options options;
    options.headless = true;
    options.touchesFile = "touches.txt";
    options.traceFile = "trace.txt";
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;
    running_ = true;
    ASSERT_TRUE(StartDisplay());
    InitialiseGraphics();
    while (ClockMs() < runStart_)
        platform::Yield();
    ResetTimers();
    FlushInput();
}

void EndHarness::StopRun() {
    if (running_) latestClock = std::max(latestClock, ClockMs());
    running_ = false;
    ResetDisplayForTests();
    platform::Stop();
}

uint32_t EndHarness::RunClock() const {
    return ClockMs() - runStart_;
}

std::vector<EndHarness::TraceEvent> EndHarness::Trace() const {
    std::vector<TraceEvent> events;
    std::istringstream trace(ReadFileText("trace.txt"));
    std::string line;
    while (std::getline(trace, line)) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        events.push_back(TraceEvent{std::stol(line.substr(0, space)) - static_cast<long>(runStart_),
                                    line.substr(space + 1)});
    }
    return events;
}

std::vector<int> EndHarness::Sounds() const {
    std::vector<int> numbers;
    for (const TraceEvent& event : Trace())
        if (event.what.rfind("sound ", 0) == 0) numbers.push_back(std::stoi(event.what.substr(6)));
    return numbers;
}

long EndHarness::SoundTime(int number) const {
    for (const TraceEvent& event : Trace())
        if (event.what == "sound " + std::to_string(number)) return event.ms;
    return -1;
}

uint32_t ScreenColour(int x, int y) {
    return BackBuffer->PixelAt(x, y) & 0x00FFFFFFu;
}

uint32_t SpriteColour(const Sprite& sprite, int x, int y) {
    return SpriteFileTable[sprite.fileIndex].surface->PixelAt(x, y) & 0x00FFFFFFu;
}
