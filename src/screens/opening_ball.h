// Opening one ball in the opening rounds: the player has ten seconds to touch a ball still on the
// board (a time-out picks one at random), then the ball opens, its value spins into view, its
// plate flashes on the win plan, the ball closes while the plate slides off the plan, and the
// ball fades from its cup.
#pragma once

// The most random draws a time-out may make for one ball (over the whole choice of that ball).
inline constexpr int kRandomDrawLimit = 200;

// The pick screen and the choice: returns a ball CanOpenBall accepts (rules/board.h). At least one
// ball must be on the board.
int ChooseBallToOpen();
// The chosen ball opening, its value, its plate going out, the ball leaving its cup.
void ShowBallOpened(int ball);
