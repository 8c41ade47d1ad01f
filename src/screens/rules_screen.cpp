#include "screens/rules_screen.h"

#include "base/input.h"
#include "base/waits.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/sound_effects.h"
#include "platform/platform.h"
#include "screens/attract.h"
#include "screens/money_panels.h"

namespace {

constexpr int kInfoScreenFileId = 10;
constexpr uint32_t kRulesShownMs = 20000;
constexpr int kBackX = 265, kBackY = 481;
constexpr uint32_t kPressMs = 300;

// A touch on the screen's outermost row or column does not count.
bool TouchInsideScreen() {
    return swTouchX > 0 && swTouchX < 800 && swTouchY > 0 && swTouchY < 600;
}

void WaitForTouchOrTimeOut() {
    uint32_t deadline;
    SetDeadline(deadline, kRulesShownMs);
    FlushInput();
    for (;;) {
        PumpMessages();
        if (DeadlinePassed(deadline) || TouchInsideScreen()) return;
        platform::Yield();
    }
}

void PressBackButton() {
    PlaySoundEffect(kSoundDoorBell);
    DrawSprite(backButtonSprite, 1, kBackX, kBackY, nullptr, 1);
    PresentFrame();
    WaitMs(kPressMs);
    DrawSprite(backButtonSprite, 0, kBackX, kBackY, nullptr, 1);
    PresentFrame();
    WaitMs(kPressMs);
}

// The attract screen as the attract loop presents it next. The right-hand button shows Start
// only from 100 here; the highlight's first step redraws it by the usual 50.
void RedrawAttractScreen() {
    DrawSprite(menuBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawMainMenuButton(0);
    DrawRulesButton(0);
    DrawStartOrInsertCoins(100, 0);
    DrawBankPanel();
    DrawCreditPanel();
}

}  // namespace

void ShowRules() {
    LoadSprite(infoScreenSprite, kInfoScreenFileId, 1);
    ClearBackBuffer();
    DrawSprite(infoScreenSprite, 0, 0, 0, nullptr, 0);
    PresentFrame();
    WaitForTouchOrTimeOut();
    PressBackButton();
    RedrawAttractScreen();
}
