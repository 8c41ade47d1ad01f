#include "screens/deal_screen.h"

#include <algorithm>

#include "base/random.h"
#include "base/waits.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/sound_effects.h"
#include "screens/board_drawing.h"

namespace {

constexpr uint32_t kFirstLookMs = 2000;
constexpr uint32_t kFlashMsPerBall = 200;

// The player's last look at the closed board before the values flash.
void ShowClosedBoard() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    DrawDealBoard();
    PresentFrame();
    WaitForTouch(kFirstLookMs);
}

// Opens `count` balls that have not flashed yet in this deal, any ball (the blue one included)
// equally likely, and shows them for count x 200 ms.
void FlashGroup(int count, bool flashed[kBallCount]) {
    const int unflashed = static_cast<int>(std::count(flashed, flashed + kBallCount, false));
    count = std::min(count, unflashed);
    for (int picked = 0; picked < count; ++picked) {
        int ball;
        do
            ball = static_cast<int>(RandomBelow(kBallCount));
        while (flashed[ball]);
        flashed[ball] = true;
        abFlash[ball] = 1;
    }
    PlaySoundEffect(kSoundTeletype);
    DrawDealBoard();
    PresentFrame();
    WaitMs(static_cast<uint32_t>(count) * kFlashMsPerBall);
}

void CloseAllBalls() {
    std::fill(std::begin(abFlash), std::end(abFlash), 0);
    DrawDealBoard();
    PresentFrame();
}

}  // namespace

void ShowDealToPlayer(const int steps[kBallCount]) {
    ShowClosedBoard();
    bool flashed[kBallCount] = {};
    for (int i = 0; i < kBallCount; ++i) {
        if (steps[i] > 0) FlashGroup(steps[i], flashed);
        CloseAllBalls();
    }
}
