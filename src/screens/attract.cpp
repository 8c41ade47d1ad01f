#include "screens/attract.h"

#include <cmath>

#include "base/log.h"
#include "base/random.h"
#include "base/waits.h"
#include "engines/control/controller.h"
#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/music.h"
#include "engines/sound/sound_effects.h"
#include "rules/sale.h"
#include "screens/money_panels.h"
#include "screens/rules_screen.h"
#include "screens/stake_screen.h"
#include "screens/touch_menu.h"

namespace {

constexpr uint32_t kPressMs = 300;
constexpr int kMusicStartMs = 42;
constexpr int kMusicLengthMs = 60030;

constexpr ClipBox kBottomStrip{0, 800, 386, 600};
constexpr ClipBox kTopOfBackground{0, 800, 0, 403};
constexpr ClipBox kHighlightArea{94, 708, 217, 372};

constexpr int kMainMenuX = 0, kRulesX = 265, kRightButtonX = 535, kButtonY = 469;

// ---- The highlight ----------------------------------------------------------------------------

constexpr const char* kHighlightName = "Graphic_resource//Menu//HiLite.tga";
constexpr uint32_t kHighlightStepMs = 40;
constexpr int kHighlightPositions = 3;
constexpr int kHighlightX[kHighlightPositions] = {194, 404, 614};
constexpr int kHighlightY[kHighlightPositions] = {236, 307, 236};

struct Highlight {
    int position = 0;
    float angle = 0;
    float alpha = 0.1f;
    float alphaStep = 0.1f;
    uint32_t stepDeadline = 0;
} highlight;

void EraseHighlight() {
    DrawSprite(menuBackgroundSprite, 0, 0, 0, &kHighlightArea, 0);
}

void DrawHighlight() {
    if (!highlightImage) return;
    DrawSurface(highlightImage, FindImageFrame(kHighlightName, 0), BackBuffer,
                kHighlightX[highlight.position], kHighlightY[highlight.position], 1.0f, 1.0f,
                highlight.angle, 1, highlight.alpha, 0.0f);
}

// After the last position the highlight rests 2 to 2.007 s before it starts again.
void MoveHighlightOn() {
    if (++highlight.position >= kHighlightPositions) {
        highlight.position = 0;
        SetDeadline(menuAnimationStartDeadline, 2000 + RandomBelow(8));
        EraseHighlight();
    }
    highlight.alphaStep = 0.1f;
    highlight.alpha = 0.2f;
}

// ---- The attract screen -----------------------------------------------------------------------

int attractPassCount = 0;
uint32_t barRefreshDeadline = 0;

void DrawAttractFrame() {
    DrawSprite(menuBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawMainMenuButton(0);
    DrawRulesButton(0);
    DrawStartOrInsertCoins(kStartMoney, 0);
    DrawBankPanel();
    DrawCreditPanel();
}

// Every pass of the attract menu, after the hit test and the idle rule.
int AttractPassExtras(int result) {
    int creditRead = 0;
    if (++attractPassCount >= 60) {
        attractPassCount = 0;
        RefreshAttractBar();
        creditRead = ReadCredit();
    }
    // While there is credit this redraws the panel on every pass; at 0, every 60th pass.
    if (creditRead != menuCreditLastShown) {
        menuCreditLastShown = ReadCredit();
        DrawCreditPanel();
    }
    if (DeadlinePassed(menuAnimationStartDeadline)) StepHighlight();
    if (result == kAttractStart && PlayerMoney() < kStartMoney) result = RefuseHitForMoney();
    PresentFrame();
    return result;
}

// A press as the player sees it: the pressed look for 300 ms, then the normal look for 300 ms.
void ShowPress(void (*drawPressed)(), void (*drawNormal)()) {
    drawPressed();
    PresentFrame();
    WaitMs(kPressMs);
    drawNormal();
    PresentFrame();
    WaitMs(kPressMs);
}

void PressRulesButton() {
    ShowPress([] { DrawRulesButton(1); }, [] { DrawRulesButton(0); });
}

void PressStartButton() {
    ShowPress(
        [] {
            DrawMainMenuButton(0);
            DrawSprite(startButtonSprite, 1, kRightButtonX, kButtonY, nullptr, 1);
            DrawRulesButton(0);
        },
        [] { DrawSprite(startButtonSprite, 0, kRightButtonX, kButtonY, nullptr, 1); });
}

void PressMainMenuButton() {
    ShowPress(
        [] {
            DrawMainMenuButton(1);
            DrawRulesButton(0);
            DrawStartOrInsertCoins(kStartMoney, 0);
        },
        [] { DrawMainMenuButton(0); });
}

// Main Menu: the music stops and the press is heard to its end before the program ends.
void LeaveByMainMenu() {
    StopAllSoundEffects();
    StopMusic();
    PlaySoundEffect(kSoundDoorBell);
    ResetHighlight();
    PressMainMenuButton();
    while (SoundEffectPlaying(kSoundDoorBell))
        WaitMs(1);
    WaitMs(500);
}

// Start: the stake screen (unless the money has gone meanwhile: the previous stake is then
// tried), then the purchase. True when the credit service took the stake.
bool SellGame() {
    PlaySoundEffect(kSoundDoorBell);
    ResetHighlight();
    PressStartButton();
    if (PlayerMoney() >= kStartMoney) return ChooseStakeAndBuy();
    return BeginPaidGame();
}

}  // namespace

void ResetHighlight() {
    SetDeadlineNow(highlight.stepDeadline);
    highlight.angle = 0;
    highlight.alpha = 0.1f;
    highlight.alphaStep = 0.1f;
    highlight.position = 0;
    EraseHighlight();
}

void ForgetAttractScreen() {
    highlight = Highlight{};
    attractPassCount = 0;
    barRefreshDeadline = 0;
}

void StepHighlight() {
    if (!DeadlinePassed(highlight.stepDeadline)) return;
    SetDeadline(highlight.stepDeadline, kHighlightStepMs);
    DrawAttractFrame();
    DrawHighlight();
    highlight.alpha += highlight.alphaStep;
    if (highlight.alpha > 1.0f) {
        highlight.alphaStep = -0.1f;
        highlight.alpha = 1.0f;
    }
    if (highlight.alpha < 0.1f) MoveHighlightOn();
    highlight.angle = std::fmod(highlight.angle + 20.0f, 360.0f);
}

void RefreshAttractBar() {
    if (DeadlinePassed(barRefreshDeadline)) {
        SetDeadline(barRefreshDeadline, 500);
        DrawSprite(menuBackgroundSprite, 0, 0, 0, &kTopOfBackground, 0);
    }
    DrawCreditPanel();
    DrawBankPanel();
    DrawRulesButton(0);
    DrawMainMenuButton(0);
    menuMoneyLastTested = PlayerMoney();
    DrawSprite(menuMoneyLastTested >= kStartMoney ? startButtonSprite : insertCoinsSprite, 0,
               kRightButtonX, kButtonY, nullptr, 1);
}

void DrawMainMenuButton(int frame) {
    DrawSprite(mainMenuButtonSprite, frame, kMainMenuX, kButtonY, &kBottomStrip, 1);
}

void DrawRulesButton(int frame) {
    DrawSprite(rulesButtonSprite, frame, kRulesX, kButtonY, &kBottomStrip, 1);
}

void DrawStartOrInsertCoins(int threshold, int frame) {
    const Sprite& button = PlayerMoney() >= threshold ? startButtonSprite : insertCoinsSprite;
    DrawSprite(button, frame, kRightButtonX, kButtonY, nullptr, 1);
}

int AttractMenu() {
    attractPassCount = 0;
    return RunTouchMenu(TouchMenu{MenuKind::Attract, attractMenuButtons, AttractPassExtras});
}

bool WaitForStart() {
    Trace("WaitForStart...\n");
    SetDeadlineNow(barRefreshDeadline);
    ResetHighlight();
    DrawBankPanel();
    DrawCreditPanel();
    DrawRulesButton(0);
    DrawMainMenuButton(0);
    DrawStartOrInsertCoins(kStartMoney, 0);
    PlayMusicLoop(kMusicStartMs, kMusicLengthMs);
    for (;;) {
        PresentFrame();
        switch (AttractMenu()) {
            case kAttractRules:
                PlaySoundEffect(kSoundDoorBell);
                ResetHighlight();
                PressRulesButton();
                ShowRules();
                break;
            case kAttractStart:
                if (SellGame()) return true;
                break;  // refused: back to the attract menu
            case kAttractMainMenu:
            default:
                LeaveByMainMenu();
                return false;
        }
    }
}
