// Drawing shared by the ball-game and question screens: the board, ball values, the win plan
// and the sparkle.
#pragma once

// One step of the sparkle: flag 0 on ball-game screens, 1 on question screens.
void DrawSparkle(int flag);
