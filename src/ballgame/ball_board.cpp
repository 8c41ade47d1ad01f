#include "ballgame/ball_board.h"

// Placeholder until the ball game is built.
void DealBalls() {}
