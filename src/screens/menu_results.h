// What each touch menu returns: the button touched, as its row in the menu's table
// (screens/menu_tables.cpp), or a code for a menu that ended without a touch, which lies past the
// table's last row so the menu engine knows it ends the menu at once. The menus, their screens
// and the modelled player all read the results by these names.
#pragma once

// No button touched (yet): the menu goes on waiting.
inline constexpr int kNoButton = -1;

// The attract menu. Thirty seconds untouched ends it as Main Menu does.
enum AttractResult : int { kAttractMainMenu = 0, kAttractRules = 1, kAttractStart = 2 };

// The stake menu: the 50p door, the £1 door, or the stake clock ran out.
enum StakeResult : int { kStakeFiftyPence = 0, kStakePound = 1, kStakeTimedOut = 3 };

// The answer menu. A touch on the Pass area is recognised and ignored.
enum AnswerResult : int {
    kAnswerTrue = 0,
    kAnswerFalse = 1,
    kAnswerPassArea = 2,
    kAnswerTimedOut = 6,
};

// The ball menu answers the ball touched, 0 to 21, or this when the answer clock ran out.
inline constexpr int kBallMenuTimedOut = 22;

// The take-or-leave menu: the offer's two buttons, or the answer clock ran out.
enum OfferButton : int { kTakeButton = 0, kLeaveButton = 1 };
inline constexpr int kTakeOrLeaveTimedOut = 3;
