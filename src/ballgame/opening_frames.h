// The frames of the opening rounds that the ball menu draws while it waits for a ball.
#pragma once

// One frame of the ball menu once the prize ball is chosen: the blinking prompt to pick a ball,
// the clock, the board, the player's ball and the win plan.
void DrawOpenPickFrame();
