#include "screens/opening_rounds.h"

#include "base/timers.h"
#include "base/waits.h"
#include "engines/graphics/image_loader.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/sound_effects.h"
#include "screens/board_drawing.h"
#include "screens/opening_frames.h"

namespace {

constexpr const char* kOfferBoxName = "Graphic_resource//Main//OfferBox.png";
constexpr int kOfferBoxFrames = 3;
// Cleared after every offer: where the offer's ball stood.
constexpr ClipBox kOfferArea{398, 634, 495, 578};
constexpr uint32_t kRevealMs = 600;
constexpr uint32_t kRevealLookMs = 2000;

bool offerBoxLoaded = false;

}  // namespace

void LoadOfferBoxOnce() {
    if (offerBoxLoaded) return;
    offerBoxLoaded = true;
    LoadImageSurface(kOfferBoxName, kOfferBoxFrames);
}

void ForgetOfferBox() {
    offerBoxLoaded = false;
}

void ShowRoundPlayed() {
    DrawBoard();
    DrawWinPlan();
    PresentFrame();
}

void ClearOfferArea() {
    RestoreFromBoardBackground(kOfferArea);
}

void RevealPlayersBall() {
    RestoreFromBoardBackground(kPlayersBallRevealArea);
    PlaySoundEffect(kSoundBallOpen);
    StartTimer(kRevealMs);
    do {
        DrawPlayersBallOpening(static_cast<int>(TimerProgress(kPlayersBallOpening)));
        PresentFrame();
    } while (!TimerExpired());
    PresentFrame();
    WaitForTouch(kRevealLookMs);
}
