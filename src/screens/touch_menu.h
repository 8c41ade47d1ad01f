// The touch-menu engine: every decision the player makes by touching the screen. A menu is a
// fixed table of buttons; the engine polls the last touch, tests it against the buttons, runs the
// screen's own per-pass drawing and checks, and returns the button hit or a time-out code.
#pragma once

#include <cstdint>

#include "screens/menu_results.h"

struct MenuButton {
    const char* name;  // label with a leading blank (" Start"); null ends the table; not drawn
    int32_t x, y, width, height;
};

// A touch at (tx, ty) hits when x <= tx < x + width and y <= ty < y + height.
bool ButtonHit(const MenuButton& button, int tx, int ty);
// The rows of a table before its null name.
int CountMenuButtons(const MenuButton* buttons);

// The five menus' tables, each ended by a row with a null name.
// Their rows are the results of screens/menu_results.h.
extern const MenuButton attractMenuButtons[];
extern const MenuButton stakeMenuButtons[];
extern const MenuButton answerMenuButtons[];
extern const MenuButton takeOrLeaveMenuButtons[];
extern const MenuButton ballMenuButtons[];  // row n is ball n

enum class MenuKind { Attract, Stake, Answer, Ball, TakeOrLeave };

// What a screen does on every pass of its menu, after the hit test: draw its frame, present it,
// and refuse or override the result. It gets the result so far (kNoButton for none) and returns
// the result to keep; a time-out code ends the menu at once with the touch left recorded.
using MenuPassExtras = int (*)(int result);

struct TouchMenu {
    MenuKind kind;
    const MenuButton* buttons;
    MenuPassExtras passExtras;
    bool (*buttonTaken)(int button) = nullptr;  // the buttons the menu takes; null: any
};

// ---- Watching the menus -------------------------------------------------------------------------
// What a waiting menu shows the player, beyond its buttons.
struct MenuSituation {
    int money = 0;          // credit + bank as the screen last read them (attract and stake menus)
    int correctAnswer = 1;  // the question's answer, 1 TRUE or 0 FALSE (answer menu)
    bool (*ballAcceptable)(int ball) = nullptr;  // balls the menu takes, null: any (ball menu)
    bool choosingPrizeBall = false;              // the ball menu is the prize pick, not an opening
    int blueBall = -1;                           // the blue ball's button on the ball menu
};

// A waiting menu as the player sees it.
struct MenuView {
    MenuKind kind;
    const MenuButton* buttons;
    int buttonCount;
    MenuSituation shown;
};

// Sees every menu as the player does. Only the modelled player of --autoplay watches (the app
// installs it); it answers by touching the screen like anyone else.
class MenuWatcher {
  public:
    virtual ~MenuWatcher() = default;
    // A menu has started waiting.
    virtual void MenuStarted(const MenuView& view) = 0;
    // Once every pass of the waiting menu, before the touch is read.
    virtual void MenuWaiting(const MenuView& view) = 0;
};
// Installs the one watcher of the menus; null removes it.
void WatchMenus(MenuWatcher* watcher);

// For pass extras: a hit the screen does not take for want of money (Start below 50p, the £1
// door below £1). The touch is used up, so money that arrives later can never act on it; the
// player must touch again. Returns kNoButton.
int RefuseHitForMoney();

// InitTouchMenu, then TouchMenuPass until a result; returns it.
int RunTouchMenu(const TouchMenu& menu);
void InitTouchMenu(const TouchMenu& menu);
int TouchMenuPass(const TouchMenu& menu);

// Engine state shared by the menus' pass extras (one menu runs at a time).
extern uint32_t menuAnimationStartDeadline;  // clock + 0 or 1000 ms when a menu starts
extern int32_t menuCreditLastShown;          // -1 when a menu starts
extern int32_t menuMoneyLastTested;          // -1 when a menu starts
// Puts the engine back as it is at start-up, no menu run yet. The watcher stays: only the app
// installs and removes it.
void ForgetTouchMenus();

// The menus of the screens. Each runs its table with its screen's pass extras and returns one of
// its results (screens/menu_results.h).
int AttractMenu();      // an AttractResult
int StakeMenu();        // a StakeResult
int AnswerMenu();       // an AnswerResult
int BallMenu();         // the ball, or kBallMenuTimedOut
int TakeOrLeaveMenu();  // an OfferButton, or kTakeOrLeaveTimedOut
