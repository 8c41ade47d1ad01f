#include "screens/offer_screen.h"

#include "base/timers.h"
#include "engines/sound/sound_effects.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/offer_frame.h"
#include "screens/touch_menu.h"

namespace {

constexpr uint32_t kAnimationMs = 600;
constexpr uint32_t kDecisionMs = 10000;
constexpr int kDropHeight = 385;
constexpr int kFallDepth = 420;

// One 600 ms animation: every pass puts the backdrop back, draws the frame and presents it.
template <typename DrawFrame>
void Animate(DrawFrame drawFrame) {
    StartTimer(kAnimationMs);
    do {
        RestoreOfferBackdrop();
        drawFrame();
        PresentFrame();
    } while (!TimerExpired());
}

int Progress(int scale) {
    return static_cast<int>(TimerProgress(static_cast<uint32_t>(scale)));
}

}  // namespace

void BringInOffer() {
    SaveOfferBackdrop();
    Animate([] {
        const int y = Progress(kDropHeight) - (kDropHeight - kOfferBallY);
        DrawOfferHalves(kClosedLeftHalfX, kClosedRightHalfX, y);
    });
    PlaySoundEffect(kSoundBallOpen);
    Animate([] { DrawOpeningOfferBall(Progress(kOfferBallOpening)); });
    DrawWinPlan();
    DrawOpeningOfferBall(kOfferBallOpening);
}

bool PlayerTakesOffer() {
    AnswerClockSet(kDecisionMs, 0);
    PresentFrame();
    AnswerClockStart();
    return TakeOrLeaveMenu() == kTakeButton;
}

void ShowOfferTaken() {
    PressOfferButton(kTakeButton);
}

void ShowOfferLeft() {
    PressOfferButton(kLeaveButton);
    PlaySoundEffect(kSoundBallClose);
    Animate([] { DrawOpeningOfferBall(kOfferBallOpening - Progress(kOfferBallOpening)); });
    Animate([] {
        const int y = Progress(kFallDepth) + kOfferBallY;
        DrawOfferHalves(kClosedLeftHalfX, kClosedRightHalfX, y);
    });
    SaveOfferBackdrop();
}
