// Drawing shared by the ball-game and question screens: the board, ball values, the win plan
// and the sparkle.
#pragma once

// One step of the sparkle: flag 0 on ball-game screens, 1 on question screens.
void DrawSparkle(int flag);
// Starts the sparkle afresh: due at once, at a random place of the ball-game screens' arch.
void ResetSparkle();
