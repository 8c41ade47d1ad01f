#include "screens/opening_ball.h"

#include <algorithm>
#include <string>

#include "base/log.h"
#include "base/random.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/sound_effects.h"
#include "rules/board.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/opening_frames.h"
#include "screens/prize_ball.h"
#include "screens/touch_menu.h"

namespace {

constexpr uint32_t kOpenMs = 600;
constexpr uint32_t kSpinMs = 600;
constexpr int kPlateFlashes = 10;
constexpr uint32_t kPlateFlashMs = 100;
constexpr uint32_t kFadeMs = 300;
constexpr uint32_t kCloseMs = 400;
constexpr uint32_t kPlateSlide = 150;
constexpr uint32_t kLastLookMs = 500;
constexpr float kFaintest = 0.1f;

// ---- The choice ---------------------------------------------------------------------------------

// A ball that may be opened, tested without a word in the log.
bool Openable(int ball) {
    return axBalls[ball].inPlay != 0 && axBalls[ball].value != lPrizeAvailableThisGame;
}

bool OnBoard(int ball) {
    return axBalls[ball].inPlay != 0;
}

int CountBalls(bool (*counted)(int ball)) {
    int count = 0;
    for (int ball = 0; ball < kBallCount; ++ball)
        count += counted(ball) ? 1 : 0;
    return count;
}

// Each openable ball equally likely, drawn straight from those that remain. The player's own
// ball is out of play and every value is on one ball only, so a ball on the board is always
// openable; should none be, any ball on the board is taken so that the game goes on.
int PickAmongOpenable() {
    bool (*candidate)(int ball) = CountBalls(Openable) > 0 ? Openable : OnBoard;
    int skip = static_cast<int>(RandomBelow(static_cast<unsigned>(CountBalls(candidate))));
    for (int ball = 0; ball < kBallCount; ++ball)
        if (candidate(ball) && skip-- == 0) return ball;
    return 0;
}

// After a time-out: random balls until one can be opened, within what is left of the choice's
// draws. -1 when they are used up.
int DrawRandomBall(int& draws) {
    while (draws < kRandomDrawLimit) {
        ++draws;
        const int ball = static_cast<int>(RandomBelow(kBallCount));
        if (CanOpenBall(ball)) return ball;
    }
    return -1;
}

// Runs the ball menu until the player touches a ball that can be opened or the clock runs out.
// The clock goes on across refused touches: touching an opened ball buys no time. When the
// draws after a time-out are used up the ball is picked straight from those left, since the
// clock has run out and the menu would only time out again.
int ChooseBall(int& draws) {
    for (;;) {
        AnswerClockStart();
        const int result = BallMenu();
        if (result != kBallMenuTimedOut) {
            if (CanOpenBall(result)) return result;
            continue;
        }
        const int ball = DrawRandomBall(draws);
        return ball >= 0 ? ball : PickAmongOpenable();
    }
}

// ---- The opening --------------------------------------------------------------------------------

float FadingOpacity() {
    return std::max(kFaintest, 1.0f - 0.1f * static_cast<float>(TimerProgress(10)));
}

int OpeningCell() {
    return static_cast<int>(std::min<uint32_t>(TimerProgress(11), kOpenBallCell));
}

void OpenBallShell(const Ball& ball) {
    PlaySoundEffect(kSoundBallOpen);
    StartTimer(kOpenMs);
    do {
        DrawBallInBox(ball, OpeningCell());
        PresentFrame();
    } while (!TimerExpired());
}

// The value spins into view, fading in, and settles on its own cell.
void SpinValue(const Ball& ball) {
    PlaySoundEffect(kSoundCashSpin);
    StartTimer(kSpinMs);
    do {
        const int step =
            static_cast<int>(std::min<uint32_t>(TimerProgress(kSpinSteps), kSpinSteps - 1));
        const float opacity = std::min(1.0f, 0.1f * static_cast<float>(TimerProgress(10)) + 0.1f);
        DrawValueOnOpenBall(ball, SpinCell(step), opacity);
        PresentFrame();
    } while (!TimerExpired());
}

void FlashPlate(const Ball& ball) {
    PlaySoundEffect(kSoundBoxEmpty);
    for (int flash = 0; flash < kPlateFlashes; ++flash) {
        DrawBallsPlate(ball, flash % 2 == 1);
        PresentFrame();
        WaitMs(kPlateFlashMs);
    }
}

void FadeValue(const Ball& ball) {
    StartTimer(kFadeMs);
    do {
        DrawValueOnOpenBall(ball, kSettledValueCell, FadingOpacity());
        PresentFrame();
    } while (!TimerExpired());
}

// The ball closes while its plate slides right off the win plan.
void CloseBallAndSlidePlate(const Ball& ball) {
    DrawBallInBox(ball, kOpenBallCell);
    PresentFrame();
    StartTimer(kCloseMs);
    PlaySoundEffect(kSoundBallClose);
    PlaySoundEffect(kSoundDown13);
    do {
        const int plateX = static_cast<int>(TimerProgress(kPlateSlide)) + kWinPlanX;
        DrawClosingBall(ball, kOpenBallCell - OpeningCell(), plateX);
        PresentFrame();
    } while (!TimerExpired());
}

void FadeFromCup(const Ball& ball) {
    StartTimer(kFadeMs);
    do {
        DrawBallLeavingCup(ball, FadingOpacity());
        PresentFrame();
    } while (!TimerExpired());
    DrawBallLeavingCup(ball, 0.0f);
    PresentFrame();
    WaitForTouch(kLastLookMs);
}

}  // namespace

int ChooseBallToOpen() {
    DrawPickScreen();
    AnswerClockSet(kBallPickMs, 0);
    PresentFrame();
    int draws = 0;
    const int chosen = ChooseBall(draws);
    if (draws >= kRandomDrawLimit) LogPrint("%sFailed 1\n", std::string(130, '>').c_str());
    return chosen;
}

void ShowBallOpened(int chosen) {
    const Ball& ball = axBalls[chosen];
    AnswerClockDraw();
    ClearPrompt();
    OpenBallShell(ball);
    SpinValue(ball);
    DrawBoard();
    DrawWinPlan();
    PresentFrame();
    FlashPlate(ball);
    FadeValue(ball);
    CloseBallAndSlidePlate(ball);
    FadeFromCup(ball);
}
