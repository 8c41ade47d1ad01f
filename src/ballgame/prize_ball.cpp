#include "ballgame/prize_ball.h"

// Placeholder until the ball game is built.
void ChoosePrizeBall() {}
