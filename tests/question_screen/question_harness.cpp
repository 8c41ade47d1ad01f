#include "question_harness.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "app/autoplay.h"
#include "base/input.h"
#include "base/log.h"
#include "base/random.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "platform/platform.h"
#include "rules/play_game.h"
#include "rules/question_packs.h"
#include "screens/question_screen.h"
#include "support/run_program.h"

void QuestionHarness::SetUp() {
    MakeWorkDirs();
    LogOpen();
    const ProgramResult packed =
        RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", dir_.path()});
    ASSERT_EQ(packed.exitStatus, 0) << packed.output;
    ASSERT_EQ(LoadQuestionPacks(), 1);
    ResetControlData();
    ResetGameState();
    SetGameState(STATE_PLAYING);
    questionsAskedThisRound = 0;
    rightAnswersThisRound = 0;
    tryAgainsLeft = 1;
    bPickingPrizeBall = true;
}

void QuestionHarness::TearDown() {
    StopHarness();
    StopAutoplay();
    LogClose();
    ResetControlData();
    ResetGameState();
    TextCentreV = 0;
    platform::RefuseQuestionFont(false);
}

namespace {

// Restarting the platform sets the virtual clock back to 0, but deadlines the game keeps from an
// earlier run in this process (the frame pacing, the sparkle) stay where they were. So every run
// starts a second after the latest time any earlier run reached, and scripts and trace times are
// counted from there.
uint32_t latestClock = 0;
constexpr uint32_t kRunGapMs = 1000;

// The script with every time moved on by `start`.
std::string ShiftedScript(const std::string& touches, uint32_t start) {
    std::istringstream lines(touches);
    std::string line, shifted;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        const size_t space = line.find(' ');
        shifted +=
            std::to_string(start + std::stoul(line.substr(0, space))) + line.substr(space) + "\n";
    }
    return shifted;
}

}  // namespace

void QuestionHarness::StartHarness(const std::string& touches) {
    StopHarness();
    runStart_ = latestClock + kRunGapMs;
    WriteFileText("touches.txt", ShiftedScript(touches, runStart_));
    platform::Options options;
    options.headless = true;
    options.touchesFile = "touches.txt";
    options.traceFile = "trace.txt";
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;
    running_ = true;
    ASSERT_TRUE(StartDisplay());
    while (ClockMs() < runStart_)
        platform::Yield();
    ResetTimers();
    FlushInput();
}

void QuestionHarness::StopHarness() {
    if (running_) latestClock = std::max(latestClock, ClockMs());
    running_ = false;
    ResetDisplayForTests();
    platform::Stop();
}

uint32_t QuestionHarness::RunClock() const {
    return ClockMs() - runStart_;
}

namespace {

struct TracedSound {
    long ms;
    int number;
};

// The "MS sound N" lines of the trace.
std::vector<TracedSound> TracedSounds() {
    std::vector<TracedSound> sounds;
    std::istringstream trace(ReadFileText("trace.txt"));
    std::string line;
    while (std::getline(trace, line)) {
        TracedSound sound;
        char event[16];
        if (std::sscanf(line.c_str(), "%ld %15s %d", &sound.ms, event, &sound.number) == 3 &&
            std::string(event) == "sound")
            sounds.push_back(sound);
    }
    return sounds;
}

}  // namespace

std::vector<int> QuestionHarness::Sounds() {
    std::vector<int> numbers;
    for (const TracedSound& sound : TracedSounds())
        numbers.push_back(sound.number);
    return numbers;
}

long QuestionHarness::SoundTime(int number) const {
    for (const TracedSound& sound : TracedSounds())
        if (sound.number == number) return sound.ms - static_cast<long>(runStart_);
    return -1;
}

std::string QuestionHarness::TouchAnswer(uint32_t ms, int answer) {
    const int x = answer == 1 ? kTrueX : kFalseX;
    const int y = answer == 1 ? kTrueY : kFalseY;
    return std::to_string(ms) + " " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

int SeedAndPredictAnswer(uint32_t seed) {
    SeedRandom(seed);
    const int answer = RandomBelow(2) != 0 ? 1 : 0;
    SeedRandom(seed);
    return answer;
}
