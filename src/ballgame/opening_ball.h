// Opening one ball in the opening rounds: the player has ten seconds to touch a ball still on the
// board (a time-out picks one at random), then the ball opens, its value spins into view, its
// plate flashes on the win plan, the ball closes while the plate slides off the plan, and the
// ball fades from its cup.
#pragma once

// The most random draws a time-out may make for one ball (over the whole choice of that ball).
inline constexpr int kRandomDrawLimit = 200;

// True when the ball may be opened. A ball already opened, or the player's own, is refused with
// a line in the log: "Failed 1" for a ball not on the board, "Failed 2 - Ball == prize picked"
// for the ball holding the player's value.
bool CanOpenBall(int ball);

// Runs the choice of a ball and opens it; afterwards the ball is out of play and its plate is
// off the win plan. At least one ball must be on the board.
void OpenOneBall();
