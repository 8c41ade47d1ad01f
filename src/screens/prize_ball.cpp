#include "screens/prize_ball.h"

#include <algorithm>

#include "base/input.h"
#include "base/log.h"
#include "base/random.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/sound/sound_effects.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/opening_frames.h"
#include "screens/touch_menu.h"

RefusalNotice ballRefusalNotice;

const char* const kYourBallLeftName = "Graphic_resource//Main//Your_ball_Left.tga";
const char* const kYourBallRightName = "Graphic_resource//Main//Your_ball_Right.tga";
const char* const kPrizeBallOverName = "Graphic_resource//Main//PrizeBallover.tga";
const char* const kVantorOverName = "Graphic_resource//Main//Vantorover.tga";

namespace {

constexpr const char* kPickPrizeBallName = "Graphic_resource//Main//PickPrizeBall.tga";
constexpr const char* kPickADifferentBallName = "Graphic_resource//Main//PickADiffBall.tga";

constexpr uint32_t kRefusalNoticeMs = 957;
constexpr uint32_t kPromptBlinkMs = 200;
constexpr uint32_t kLiftMs = 500;
constexpr float kFaintest = 0.1f;
constexpr uint32_t kLastLookMs = 1000;

struct PromptBlink {
    uint32_t deadline = 0;
    bool on = false;
} promptBlink;

void DrawTitlePlate(const Surface* image, const char* name, float opacity = 1.0f) {
    DrawImageCell(image, name, 0, kTitleX, kTitleY, opacity);
}

void DrawPrompt(const Surface* image, const char* name) {
    RestoreFromBoardBackground(kPromptArea);
    DrawImageCell(image, name, 0, kPromptX, kPromptY);
}

// The board as the choice begins: closed player's ball, title plate, win plan, board, prompt.
void ShowChoiceScreen() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    DrawPlayersBallClosed();
    DrawTitlePlate(vantorOverImage, kVantorOverName);
    DrawWinPlan();
    DrawBoard();
    DrawPrompt(pickPrizeBallImage, kPickPrizeBallName);
    PresentFrame();
}

// A random ball the choice accepts, each equally likely; -1 when there is none.
int RandomPickableBall() {
    bool any = false;
    for (int ball = 0; ball < kBallCount; ++ball)
        any = any || CanPickBall(ball);
    if (!any) return -1;
    int ball;
    do
        ball = static_cast<int>(RandomBelow(kBallCount));
    while (!CanPickBall(ball));
    return ball;
}

// Runs the ball menu, ten fresh seconds at a time, until a ball is taken.
int WaitForPrizeBall() {
    for (;;) {
        AnswerClockSet(kBallPickMs, 0);
        AnswerClockStart();
        const int result = BallMenu();
        const int ball = result == kBallMenuTimedOut ? RandomPickableBall() : result;
        if (ball >= 0 && CanPickBall(ball)) return ball;
    }
}

}  // namespace

TitlePlateFade TitlePlateFadeAt(uint32_t tenths) {
    const float t = static_cast<float>(std::min(tenths, 10u)) / 10.0f;
    return {std::max(0.0f, 1.0f - 2.0f * t), std::max(0.0f, 2.0f * t - 1.0f)};
}

namespace {

// The chosen ball fades out of its cup while the title plate turns into the prize-ball plate.
void LiftBall(const Ball& ball) {
    PlaySoundEffect(kSoundBox13);
    StartTimer(kLiftMs);
    do {
        const uint32_t tenths = TimerProgress(10);
        const float a = std::max(kFaintest, 1.0f - 0.1f * static_cast<float>(tenths));
        const TitlePlateFade plates = TitlePlateFadeAt(tenths);
        RestoreFromBoardBackground(kPromptArea);
        RestoreBallBox(ball);
        RestoreFromBoardBackground(kPlayersBallArea);
        DrawEmptyCup(ball);
        DrawBallCell(ball, kClosedBallCell, a);
        DrawPlayersBallClosed();
        if (plates.outgoing > 0) DrawTitlePlate(vantorOverImage, kVantorOverName, plates.outgoing);
        if (plates.incoming > 0)
            DrawTitlePlate(prizeBallOverImage, kPrizeBallOverName, plates.incoming);
        PresentFrame();
    } while (!TimerExpired());
}

void ShowChosenBall(const Ball& ball) {
    RestoreBallBox(ball);
    DrawEmptyCup(ball);
    RestoreFromBoardBackground(kPlayersBallArea);
    DrawPlayersBallClosed();
    DrawTitlePlate(prizeBallOverImage, kPrizeBallOverName);
    DrawBoard();
    DrawWinPlan();
    PresentFrame();
    WaitForTouch(kLastLookMs);
}

}  // namespace

int PickPrizeBall() {
    FlushInput();
    SetDeadlineNow(promptBlink.deadline);
    ShowChoiceScreen();
    return WaitForPrizeBall();
}

void ShowPrizeBallTaken(int ball) {
    LiftBall(axBalls[ball]);
    ShowChosenBall(axBalls[ball]);
}

void DrawPrizePickFrame() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    if (PromptShowing()) {
        if (ballRefusalNotice.active)
            DrawPrompt(pickADifferentBallImage, kPickADifferentBallName);
        else
            DrawPrompt(pickPrizeBallImage, kPickPrizeBallName);
    } else {
        RestoreFromBoardBackground(kPromptArea);
    }
    AnswerClockDraw();
    DrawBoard();
    DrawSparkle(0);
    DrawPlayersBallClosed();
    DrawTitlePlate(prizeBallOverImage, kPrizeBallOverName);
    DrawWinPlan();
}

// ---- The ball menu ----------------------------------------------------------------------------

int BallMenuPass(int result) {
    if (bPrizeBallChosen)
        DrawOpenPickFrame();
    else
        DrawPrizePickFrame();
    PresentFrame();

    if (ballRefusalNotice.active && DeadlinePassed(ballRefusalNotice.deadline))
        ballRefusalNotice.active = false;
    // The refused touch stays recorded, so every pass re-arms the notice until another touch.
    if (result >= 0 && result < kBallCount && axBalls[result].isBlue && !bPrizeBallChosen) {
        ballRefusalNotice.active = true;
        SetDeadline(ballRefusalNotice.deadline, kRefusalNoticeMs);
        result = kNoButton;
    }
    if (AnswerClockRemaining() == 0) return kBallMenuTimedOut;
    return result;
}

int BallMenu() {
    return RunTouchMenu(TouchMenu{MenuKind::Ball, ballMenuButtons, &BallMenuPass, &CanPickBall});
}

void ForgetBallMenuState() {
    ballRefusalNotice = RefusalNotice{};
    promptBlink = PromptBlink{};
}

// ---- Pieces of the ball-pick screens ----------------------------------------------------------

bool PromptShowing() {
    if (DeadlinePassed(promptBlink.deadline)) {
        SetDeadline(promptBlink.deadline, kPromptBlinkMs);
        promptBlink.on = !promptBlink.on;
    }
    return promptBlink.on;
}

void RestoreBallBox(const Ball& ball) {
    RestoreFromBoardBackground(
        ClipBox{ball.x, ball.x + kBallBoxWidth, ball.y, ball.y + kBallBoxHeight});
}

void DrawPlayersBallClosed() {
    DrawImageCell(yourBallLeftImage, kYourBallLeftName, 0, kYourBallLeftX, kYourBallY);
    DrawImageCell(yourBallRightImage, kYourBallRightName, 0, kYourBallRightX, kYourBallY);
}
