#include "screens/question_round.h"

#include "base/input.h"
#include "base/log.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/sound_effects.h"
#include "platform/platform.h"
#include "rules/board.h"
#include "screens/board_drawing.h"

namespace {

constexpr uint32_t kBoardLookMs = 1000;
constexpr uint32_t kIntroScreenMs = 5000;
constexpr uint32_t kAfterQuestionMs = 1000;
constexpr uint32_t kCongratulationsMs = 3000;

constexpr int kWinPlanSlide = 140;  // pixels, from the right edge to the column at x 660

// A full-screen picture without alpha, drawn opaque with magenta left out.
void DrawOpaquePicture(Surface* image, int x, int y) {
    DrawSurface(image, nullptr, BackBuffer, x, y, 1.0f, 1.0f, 0.0f, 0, 1.0f, 0.0f);
}

void DrawBoardWithBalls() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    DrawWholeImage(yourBallLeftImage, 342, 468);
    DrawWholeImage(yourBallRightImage, 402, 468);
    DrawWholeImage(vantorOverImage, 301, 493);
    for (const Ball& ball : axBalls)
        DrawBallCell(ball, kClosedBallCell);
    PresentFrame();
}

// Line i of the win plan slides in over this many ms: the lower lines later.
uint32_t WinPlanSlideMs(int line) {
    return line < 16 ? 600 + 40 * line : 1250 + 50 * (line - 16);
}

bool AllSlotTimersExpired(int count) {
    int expired = 0;
    for (int i = 0; i < count; ++i)
        expired += SlotTimerExpired(i);  // every timer is asked on every pass
    return expired == count;
}

// The 22 win-plan lines slide in from the right edge over the kept strip of the board.
void SlideInWinPlan() {
    SaveToLayer(0, kWinPlanX, 0, 800, 600);
    ResetSparkle();
    for (int i = 0; i < kBallCount; ++i)
        StartSlotTimer(WinPlanSlideMs(i), i);
    PlaySoundEffect(kSoundCollect);
    do {
        DrawLayer(0, 0, 0, 0, kWinPlanX, 0, 800, 600);
        for (int i = 0; i < kBallCount; ++i) {
            const int x = 800 - static_cast<int>(SlotTimerProgress(kWinPlanSlide, i));
            DrawImageCell(winPlanImage, kWinPlanName, kPlateOverlayCell, x, axWinPlan[i].y);
        }
        PresentFrame();
    } while (!AllSlotTimersExpired(kBallCount));
}

// A moment to look at the board, cut short by a touch.
void ShowBoardBriefly() {
    uint32_t deadline;
    SetDeadline(deadline, kBoardLookMs);
    while (!DeadlinePassed(deadline) && swTouchX < 0) {
        DrawSparkle(0);
        PumpMessages();
        PresentFrame();
    }
}

}  // namespace

void CheckQuestionFont() {
    if (platform::QuestionFontAvailable()) return;
    LogPrint("error - cannot load Question font...aborting\n");
    throw QuestionFontMissing();
}

void ShowRoundOpening() {
    FlushInput();
    DrawBoardWithBalls();
    SlideInWinPlan();
    ShowBoardBriefly();
    DrawOpaquePicture(introScreenImage, 0, 0);
    PresentFrame();
    WaitForTouch(kIntroScreenMs);
}

void ShowRoundQuestionAnswered() {
    PresentFrame();
    WaitForTouch(kAfterQuestionMs);
}

void ShowQualified() {
    PlaySoundEffect(kSoundBox13);
    DrawSprite(questionBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawOpaquePicture(congratsImage, 92, 206);
    PresentFrame();
    WaitForTouch(kCongratulationsMs);
}
