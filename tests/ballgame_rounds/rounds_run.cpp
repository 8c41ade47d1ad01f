#include "ballgame_rounds/rounds_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "base/input.h"
#include "base/log.h"
#include "base/random.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/control/game_state.h"
#include "platform/platform.h"
#include "rules/board.h"
#include "screens/board_drawing.h"
#include "screens/prize_ball.h"
#include "screens/touch_menu.h"

TouchAt TouchOnBall(uint32_t ms, int ball) {
    const MenuButton& button = ballMenuButtons[ball];
    return TouchAt{ms, button.x + button.width / 2, button.y + button.height / 2};
}

constexpr uint32_t kRunSeed = 1;

// The virtual clock starts from 0 with every run, while deadlines kept by the modules from an
// earlier run stay behind; every run therefore starts well after the last one ended.
RoundsRun::RoundsRun(const std::vector<TouchAt>& touches) : start_(nextStart_) {
    std::string script;
    for (const TouchAt& touch : touches)
        script += std::to_string(start_ + touch.ms) + " " + std::to_string(touch.x) + " " +
                  std::to_string(touch.y) + "\n";
    WriteFileText("touches.txt", script);
    platform::Options options;
    options.headless = true;
    options.touchesFile = "touches.txt";
    options.traceFile = "trace.txt";
    std::string error;
    EXPECT_TRUE(platform::Start(options, error)) << error;
    MakeWorkDirs();
    LogOpen();
    screen_ = std::make_unique<BoardScreen>();
    // Starting the display seeds the generator from the calendar; a run starts from a fixed seed
    // instead, so that what it draws is the same on every run of the test.
    SeedRandom(kRunSeed);
    ForgetSparkle();
    ForgetBallMenuState();
    AdvanceClock(start_);
    ResetTimers();
    FlushInput();
}

RoundsRun::~RoundsRun() {
    Finish();
}

uint32_t RoundsRun::Now() const {
    return ClockMs() - start_;
}

std::vector<TracedEvent> RoundsRun::Finish() {
    if (finished_) return trace_;
    finished_ = true;
    nextStart_ = std::max(nextStart_, ClockMs() + 1000);
    screen_.reset();
    LogClose();
    platform::Stop();
    std::istringstream lines(ReadFileText("trace.txt"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        TracedEvent event{};
        if (words >> event.ms >> event.kind >> event.number &&
            (event.kind == "sound" || (event.kind == "touch" && words >> event.y))) {
            event.ms -= start_;
            trace_.push_back(event);
        }
    }
    return trace_;
}

std::vector<int> RoundsRun::Sounds() {
    std::vector<int> numbers;
    for (const TracedEvent& event : Finish())
        if (event.kind == "sound") numbers.push_back(event.number);
    return numbers;
}

std::string RoundsRun::Log() const {
    return ReadFileText(dir_.path() + "/~system/logs/Vantor.txt");
}

void SetUpBallGame(int16_t stake, uint32_t seed, int playersBall) {
    ResetGameState();
    uwPriceOfPlay = stake;
    SeedRandom(seed);
    ResetBoard();
    TakeAsPlayersBall(playersBall);
    bPrizeBallChosen = true;
    bPickingPrizeBall = false;
    SetGameState(STATE_BALL_GAME);
}

void TakeAsPlayersBall(int ball) {
    for (Ball& each : axBalls) {
        if (each.isPlayers) each.inPlay = 1;
        each.isPlayers = 0;
    }
    axBalls[ball].inPlay = 0;
    axBalls[ball].isPlayers = 1;
    lPrizeAvailableThisGame = axBalls[ball].value;
}

int BallWithValue(int32_t value) {
    for (int ball = 0; ball < kBallCount; ++ball)
        if (axBalls[ball].value == value) return ball;
    return -1;
}
