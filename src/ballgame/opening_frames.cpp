#include "ballgame/opening_frames.h"

#include "ballgame/board_drawing.h"
#include "graphics/assets.h"

// Placeholder until the opening rounds are built: the board and the win plan only.
void DrawOpenPickFrame() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    DrawBoard();
    DrawWinPlan();
}
