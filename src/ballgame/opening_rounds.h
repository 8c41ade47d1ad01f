// The opening rounds: five balls a round, an offer after each, until the game is won or lost.
#pragma once

// Leaves the game state at STATE_LOST or STATE_WON and sets lWinAmount.
void PlayOpeningRounds();
