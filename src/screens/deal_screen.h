// The deal as the player sees it: a two-second look at the closed board, then the values flashed
// open a group at a time, each group with a sound, by the flash pattern of the game.
#pragma once

#include "rules/board.h"

// Shows the dealt board (axBalls) and flashes it by `steps`, the group sizes ChooseFlashPattern
// drew (zeros leave a pause of no balls).
void ShowDealToPlayer(const int steps[kBallCount]);
