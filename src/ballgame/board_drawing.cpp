#include "ballgame/board_drawing.h"

// Placeholder until the board drawing is built: no sparkle.
void DrawSparkle(int) {}
void ResetSparkle() {}
