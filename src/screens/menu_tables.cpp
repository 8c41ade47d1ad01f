// The button tables of the five touch menus. Rectangles are x, y, width, height in screen pixels.
#include <iterator>

#include "screens/touch_menu.h"

const MenuButton attractMenuButtons[] = {
    {" Main Menu", 41, 437, 160, 160},
    {" Rules", 320, 437, 160, 160},
    {" Start", 599, 437, 160, 160},
    {nullptr, 0, 0, 0, 0},
};

const MenuButton stakeMenuButtons[] = {
    {" 50p", 466, 166, 249, 383},
    {" Pound", 84, 166, 249, 383},
    {nullptr, 0, 0, 0, 0},
};

const MenuButton answerMenuButtons[] = {
    {" True", 13, 507, 236, 79},
    {" False", 552, 507, 236, 79},
    {" Pass", 661, 247, 139, 161},
    {nullptr, 0, 0, 0, 0},
};

const MenuButton takeOrLeaveMenuButtons[] = {
    {" Take", 258, 316, 134, 39},
    {" Leave", 408, 316, 134, 39},
    {nullptr, 0, 0, 0, 0},
};

// Three rows of balls. The two balls at the right end of the top row have square boxes, and they
// overlap: a touch in the overlap picks ball 7.
const MenuButton ballMenuButtons[] = {
    {" 0", 52, 125, 60, 87},   {" 1", 127, 125, 60, 87},  {" 2", 202, 125, 60, 87},
    {" 3", 277, 125, 60, 87},  {" 4", 352, 125, 60, 87},  {" 5", 427, 125, 60, 87},
    {" 6", 502, 125, 82, 82},  {" 7", 577, 125, 82, 82},  {" 8", 62, 240, 60, 87},
    {" 9", 137, 240, 60, 87},  {" 10", 212, 240, 60, 87}, {" 11", 287, 240, 60, 87},
    {" 12", 362, 240, 60, 87}, {" 13", 437, 240, 60, 87}, {" 14", 512, 240, 60, 87},
    {" 15", 587, 240, 60, 87}, {" 16", 147, 355, 60, 87}, {" 17", 222, 355, 60, 87},
    {" 18", 297, 355, 60, 87}, {" 19", 372, 355, 60, 87}, {" 20", 447, 355, 60, 87},
    {" 21", 522, 355, 60, 87}, {nullptr, 0, 0, 0, 0},
};

// Each menu's rows are its results, and the codes of a menu that ended untouched lie past them
// (the null row ends each table).
constexpr int Rows(size_t tableLength) {
    return static_cast<int>(tableLength) - 1;
}
static_assert(Rows(std::size(attractMenuButtons)) == kAttractStart + 1);
static_assert(Rows(std::size(stakeMenuButtons)) == kStakePound + 1);
static_assert(kStakeTimedOut >= Rows(std::size(stakeMenuButtons)));
static_assert(Rows(std::size(answerMenuButtons)) == kAnswerPassArea + 1);
static_assert(kAnswerTimedOut >= Rows(std::size(answerMenuButtons)));
static_assert(kBallMenuTimedOut == Rows(std::size(ballMenuButtons)));
static_assert(Rows(std::size(takeOrLeaveMenuButtons)) == kLeaveButton + 1);
static_assert(kTakeOrLeaveTimedOut >= Rows(std::size(takeOrLeaveMenuButtons)));
