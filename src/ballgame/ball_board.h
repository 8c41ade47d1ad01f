// The 22-ball board and its prize values.
#pragma once

// Deals the values of the stake afresh and shows them to the player.
void DealBalls();
