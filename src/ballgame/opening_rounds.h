// The opening rounds, the body of the ball game: the player opens the other balls five to a
// round, and after every round, while balls remain, is made an offer. The game ends when an offer
// is taken, when the question after a refused offer is failed, or when every other ball has been
// opened; then the player's own ball is opened and the game is settled.
#pragma once

inline constexpr int kBallsPerRound = 5;

// Plays the opening rounds and settles the game: the game state is left at STATE_WON with the
// amount in lWinAmount (the taken offer, or the player's own ball kept to the end and worth 5p or
// more), or at STATE_LOST.
void PlayOpeningRounds();
