// The player's choice of the ball to keep.
#pragma once

void ChoosePrizeBall();
