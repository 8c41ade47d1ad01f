#include "screens/touch_menu.h"

#include "base/input.h"
#include "base/random.h"
#include "base/waits.h"
#include "rules/board.h"
#include "rules/question_packs.h"
#include "screens/money_panels.h"

uint32_t menuAnimationStartDeadline = 0;
int32_t menuCreditLastShown = -1;
int32_t menuMoneyLastTested = -1;

namespace {

constexpr uint32_t kAttractIdleMs = 30000;

MenuWatcher* menuWatcher = nullptr;

MenuView ViewOf(const TouchMenu& menu, int buttonCount) {
    MenuView view{menu.kind, menu.buttons, buttonCount, {}};
    MenuSituation& shown = view.shown;
    shown.ballAcceptable = menu.buttonTaken;
    if (menu.kind == MenuKind::Attract || menu.kind == MenuKind::Stake)
        shown.money = PlayerMoneyLastRead();
    if (menu.kind == MenuKind::Answer) shown.correctAnswer = QuestionAnswer();
    if (menu.kind == MenuKind::Ball) {
        shown.choosingPrizeBall = !bPrizeBallChosen;
        for (int ball = 0; ball < kBallCount; ++ball)
            if (axBalls[ball].isBlue) shown.blueBall = ball;
    }
    return view;
}

// The state of the one menu that runs.
struct RunningMenu {
    int buttonCount = 0;
    uint32_t idleDeadline = 0;
    int result = kNoButton;
} running;

// The button hit by the last touch, or kNoButton. Buttons are tested in table order and every hit
// replaces the one before, so where two overlap the later one wins.
int ButtonTouched(const TouchMenu& menu) {
    if (swTouchX < 0) return kNoButton;
    int hit = kNoButton;
    for (int i = 0; i < running.buttonCount; ++i)
        if (ButtonHit(menu.buttons[i], swTouchX, swTouchY)) hit = i;
    return hit;
}

}  // namespace

bool ButtonHit(const MenuButton& button, int tx, int ty) {
    return button.x <= tx && tx < button.x + button.width && button.y <= ty &&
           ty < button.y + button.height;
}

int CountMenuButtons(const MenuButton* buttons) {
    int count = 0;
    while (buttons[count].name != nullptr)
        ++count;
    return count;
}

void InitTouchMenu(const TouchMenu& menu) {
    running.buttonCount = CountMenuButtons(menu.buttons);
    FlushInput();
    SetDeadline(running.idleDeadline, kAttractIdleMs);
    SetDeadline(menuAnimationStartDeadline, RandomBelow(2) * 1000);
    menuCreditLastShown = -1;
    menuMoneyLastTested = -1;
    running.result = kNoButton;
    if (menuWatcher) menuWatcher->MenuStarted(ViewOf(menu, running.buttonCount));
}

int TouchMenuPass(const TouchMenu& menu) {
    if (menuWatcher) menuWatcher->MenuWaiting(ViewOf(menu, running.buttonCount));
    PumpMessages();
    int result = ButtonTouched(menu);
    if (menu.kind == MenuKind::Attract && DeadlinePassed(running.idleDeadline))
        result = kAttractMainMenu;
    if (menu.passExtras) {
        result = menu.passExtras(result);
        // A time-out code ends the menu at once and leaves the touch recorded.
        if (result >= running.buttonCount) {
            running.result = result;
            return result;
        }
    }
    if (result != kNoButton) FlushInput();  // the touch is used up
    running.result = result;
    return result;
}

void ForgetTouchMenus() {
    running = RunningMenu{};
    menuAnimationStartDeadline = 0;
    menuCreditLastShown = -1;
    menuMoneyLastTested = -1;
}

void WatchMenus(MenuWatcher* watcher) {
    menuWatcher = watcher;
}

int RefuseHitForMoney() {
    FlushInput();
    return kNoButton;
}

int RunTouchMenu(const TouchMenu& menu) {
    InitTouchMenu(menu);
    while (TouchMenuPass(menu) == kNoButton) {
    }
    return running.result;
}
