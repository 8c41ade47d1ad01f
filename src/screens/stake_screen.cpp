#include "screens/stake_screen.h"

#include <algorithm>
#include <cstdio>

#include "base/timers.h"
#include "base/waits.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/sound_effects.h"
#include "rules/sale.h"
#include "screens/answer_clock.h"
#include "screens/money_panels.h"
#include "screens/touch_menu.h"

namespace {

constexpr int kOpenDoorFrame = 10;
constexpr int kSequenceEntries = 11;  // entry 10 shows the first picture again
constexpr uint32_t kStakeClockMs = 15000;
constexpr uint32_t kPressMs = 300;

// The plain background under the play buttons, redrawn while the doors open.
constexpr ImageRect kPlayButtonStrip{79, 450, 723, 563};

// A picture of the stake screen: its name in the registry and where it goes.
struct Placement {
    const char* name;
    int x, y;
};

// One half of the screen: its door, its play button and its sequence of stake pictures (whose
// name is a pattern for the picture's number, 1 to 10).
struct StakeSide {
    Surface* const& door;
    Placement doorAt;
    Surface* const& playButton;
    Placement playButtonAt;
    Surface* const* sequence;
    Placement sequenceAt;
};

const StakeSide kFiftyPenceSide{
    fiftyPenceAnimationImage,
    {"Graphic_resource//Stake//Anim50p.bmp", 478, 152},
    fiftyPencePlayImage,
    {"Graphic_resource//Stake//50pPlay.png", 459, 450},
    fiftyPenceStakeAnimationImages,
    {"Graphic_resource//Stake//Stake50p%d.tga", 495, 243},
};

const StakeSide kPoundSide{
    poundAnimationImage,
    {"Graphic_resource//Stake//AnimPound.bmp", 72, 152},
    poundPlayImage,
    {"Graphic_resource//Stake//PoundPlay.png", 79, 450},
    poundStakeAnimationImages,
    {"Graphic_resource//Stake//Stake1%d.tga", 111, 243},
};

constexpr Placement kStakeScreenAt{"Graphic_resource//Stake//StakeScreen.bmp", 0, 0};

bool PoundAvailable() {
    return PlayerMoney() >= kPoundMoney;
}

// Door animations and the background are drawn opaque (a plain keyed copy); play buttons and
// stake pictures blended with their own alpha and the opacity given.
void DrawImage(const Surface* image, const Placement& at, int frame, bool blended, float opacity) {
    const ImageRect* rect = FindImageFrame(at.name, frame);
    if (!image || !rect) return;
    DrawSurface(image, rect, BackBuffer, at.x, at.y, 1.0f, 1.0f, 0.0f, blended ? 1 : 0,
                blended ? opacity : 0.0f, 0.0f);
}

void DrawBackground() {
    DrawImage(stakeScreenImage, kStakeScreenAt, 0, false, 0.0f);
}

void DrawPlayButtonStrip() {
    if (!stakeScreenImage) return;
    DrawSurface(stakeScreenImage, &kPlayButtonStrip, BackBuffer, kPlayButtonStrip.left,
                kPlayButtonStrip.top, 1.0f, 1.0f, 0.0f, 0, 0.0f, 0.0f);
}

void DrawDoor(const StakeSide& side, int frame) {
    DrawImage(side.door, side.doorAt, frame, false, 0.0f);
}

// The £1 door stays shut without the money for a £1 game.
void DrawPoundDoor(int frame) {
    DrawDoor(kPoundSide, PoundAvailable() ? frame : 0);
}

void DrawPlayButton(const StakeSide& side, int frame, float opacity) {
    DrawImage(side.playButton, side.playButtonAt, frame, true, opacity);
}

// Entries 0 to 9 are pictures 1 to 10; entry 10 is picture 1 again.
void DrawStakePicture(const StakeSide& side, int entry, float opacity) {
    const int picture = entry % kStakeAnimationImages;
    char name[64];
    snprintf(name, sizeof name, side.sequenceAt.name, picture + 1);
    DrawImage(side.sequence[picture], Placement{name, side.sequenceAt.x, side.sequenceAt.y}, 0,
              true, opacity);
}

int OpeningFrame() {
    return static_cast<int>(std::min<uint32_t>(TimerProgress(11), 10));
}
float OpeningAlpha() {
    return std::min(TimerProgress(10) * 0.1f + 0.1f, 1.0f);
}

void OpenDoors() {
    StartTimer(600);
    while (!TimerExpired()) {
        const int frame = OpeningFrame();
        const float alpha = OpeningAlpha();
        DrawPlayButtonStrip();
        DrawDoor(kFiftyPenceSide, frame);
        DrawPoundDoor(frame);
        DrawPlayButton(kFiftyPenceSide, 0, alpha);
        if (PoundAvailable()) DrawPlayButton(kPoundSide, 0, alpha);
        PresentFrame();
    }
}

void ShowOpenDoors() {
    DrawBackground();
    DrawDoor(kFiftyPenceSide, kOpenDoorFrame);
    DrawPoundDoor(kOpenDoorFrame);
    DrawPlayButton(kFiftyPenceSide, 0, 1.0f);
    if (PoundAvailable()) DrawPlayButton(kPoundSide, 0, 1.0f);
    PresentFrame();
}

void ShowStakePictures() {
    PlaySoundEffect(kSoundCashSpin);
    StartTimer(600);
    while (!TimerExpired()) {
        const int entry = OpeningFrame();
        const float alpha = OpeningAlpha();
        DrawDoor(kFiftyPenceSide, kOpenDoorFrame);
        DrawPoundDoor(kOpenDoorFrame);
        if (PoundAvailable()) DrawStakePicture(kPoundSide, entry, alpha);
        DrawStakePicture(kFiftyPenceSide, entry, alpha);
        PresentFrame();
    }
}

void PressPlayButton(const StakeSide& side) {
    PlaySoundEffect(kSoundButton);
    DrawPlayButton(side, 1, 1.0f);
    PresentFrame();
    WaitMs(kPressMs);
    DrawPlayButton(side, 0, 1.0f);
    PresentFrame();
}

// The side not chosen: its stake picture fades and its door closes.
void RetireSide(const StakeSide& side) {
    StartTimer(300);
    while (!TimerExpired()) {
        const float alpha = std::max(1.0f - TimerProgress(10) * 0.1f, 0.1f);
        DrawDoor(side, kOpenDoorFrame);
        DrawStakePicture(side, kSequenceEntries - 1, alpha);
        PresentFrame();
    }
    PlaySoundEffect(kSoundBallClose);
    StartTimer(600);
    while (!TimerExpired()) {
        DrawDoor(side, kOpenDoorFrame - OpeningFrame());
        PresentFrame();
    }
}

int StakePassExtras(int result) {
    DrawStakeScreen();
    PresentFrame();
    if (result == kStakePound && PlayerMoney() < kPoundMoney) result = RefuseHitForMoney();
    if (AnswerClockRemaining() == 0) return kStakeTimedOut;
    return result;
}

}  // namespace

void DrawStakeScreen() {
    DrawBackground();
    DrawDoor(kFiftyPenceSide, kOpenDoorFrame);
    DrawPoundDoor(kOpenDoorFrame);
    DrawPlayButton(kFiftyPenceSide, 0, 1.0f);
    if (PoundAvailable()) {
        DrawPlayButton(kPoundSide, 0, 1.0f);
        DrawStakePicture(kPoundSide, kSequenceEntries - 1, 1.0f);
    }
    DrawStakePicture(kFiftyPenceSide, kSequenceEntries - 1, 1.0f);
}

int StakeMenu() {
    return RunTouchMenu(TouchMenu{MenuKind::Stake, stakeMenuButtons, StakePassExtras});
}

bool ChooseStakeAndBuy() {
    WaitMs(500);
    DrawBackground();
    PlaySoundEffect(kSoundBallOpen);
    OpenDoors();
    ShowOpenDoors();
    ShowStakePictures();
    AnswerClockSet(kStakeClockMs, 1);
    AnswerClockStart();
    if (StakeMenu() == kStakePound) {
        uwPriceOfPlay = 100;
        PressPlayButton(kPoundSide);
        RetireSide(kFiftyPenceSide);
    } else {
        // 50p, or the time ran out.
        uwPriceOfPlay = 50;
        PressPlayButton(kFiftyPenceSide);
        // The £1 side opened only if there was money for it.
        if (PoundAvailable()) RetireSide(kPoundSide);
    }
    // The chosen stake stays on the screen a moment before the game begins. The game is bought
    // in that moment, so the credit service's answers and the save of the meters come while
    // nothing on the screen moves.
    const uint32_t shown = ClockMs();
    const bool bought = BeginPaidGame();
    WaitMs(kPressMs - std::min(ClockMs() - shown, kPressMs));
    return bought;
}
