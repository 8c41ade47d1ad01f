// The frames of one ball's opening in the opening rounds, each drawn as the game draws it, with
// the slowest single drawing of each kind (the presenting and its 15 ms pacing left out). Needs
// the cabinet's pictures: run the program from a content directory (build/content).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "base/random.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "rules/board.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/opening_frames.h"

namespace {

constexpr int kOpenedBall = 9;

// The kinds of frame of one opening, in the order they come.
enum OpeningFrame {
    kPickPass,       // the ball menu waiting for a touch
    kShellOpening,   // the ball opening
    kValueSpin,      // the value spinning in, half faded
    kWholeBoard,     // the board and the win plan once the value has settled
    kPlateFlash,     // the plate on the win plan, bright
    kClosingSlide,   // the ball closing while its plate slides off the plan
    kLeavingCup,     // the ball fading from its cup
    kOwnBallReveal,  // the player's ball parting at the end of the game
    kFrameKinds
};

const char* const kFrameNames[kFrameKinds] = {"pick pass",   "shell opening",  "value spin",
                                              "whole board", "plate flash",    "closing slide",
                                              "leaving cup", "own ball reveal"};

void DrawOpeningFrame(int kind, int step) {
    const Ball& ball = axBalls[kOpenedBall];
    switch (kind) {
        case kPickPass:
            DrawOpenPickFrame();
            break;
        case kShellOpening:
            DrawBallInBox(ball, step % 11);
            break;
        case kValueSpin:
            DrawValueOnOpenBall(ball, SpinCell(step % kSpinSteps), 0.5f);
            break;
        case kWholeBoard:
            DrawBoard();
            DrawWinPlan();
            break;
        case kPlateFlash:
            DrawBallsPlate(ball, step % 2 == 1);
            break;
        case kClosingSlide:
            DrawClosingBall(ball, step % 11, kWinPlanX + step % 150);
            break;
        case kLeavingCup:
            DrawBallLeavingCup(ball, 0.5f);
            break;
        case kOwnBallReveal:
            DrawPlayersBallOpening(step % (kPlayersBallOpening + 1));
            break;
    }
}

// The board of a ball game in its first round, on the real pictures.
bool SetUpBoard() {
    static bool ready = false;
    if (!ready && (BackBuffer || StartDisplay())) {
        InitialiseGraphics();
        uwPriceOfPlay = 100;
        SeedRandom(5);
        ResetBoard();
        axBalls[0].inPlay = 0;
        axBalls[0].isPlayers = 1;
        lPrizeAvailableThisGame = axBalls[0].value;
        bPrizeBallChosen = true;
        axBalls[kOpenedBall].showValue = 1;
        AnswerClockSet(10000, 1);
        ready = redBallImage && winPlanImage && mainScreenSprite.frameCount > 0;
    }
    return ready;
}

void BM_BallOpeningFrame(benchmark::State& state) {
    if (!SetUpBoard()) {
        state.SkipWithError("no pictures here: run from the content directory");
        return;
    }
    const int kind = static_cast<int>(state.range(0));
    state.SetLabel(kFrameNames[kind]);
    double slowest = 0;
    int step = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        DrawOpeningFrame(kind, step++);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - started;
        slowest = std::max(slowest, took.count());
        benchmark::ClobberMemory();
    }
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK(BM_BallOpeningFrame)->DenseRange(0, kFrameKinds - 1)->Unit(benchmark::kMicrosecond);

}  // namespace
