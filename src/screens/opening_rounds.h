// The screens around the opening rounds: the offer box picture read the first time the rounds
// run, the board after each round, the offer's place cleared after it, and the player's own ball
// opening at the end.
#pragma once

// The first time the rounds run, the offer box picture is read (and kept for the run).
void LoadOfferBoxOnce();
// The offer box picture is read again the next time the rounds run (a new display has released
// the one read before).
void ForgetOfferBox();
// The board as a round of openings left it.
void ShowRoundPlayed();
// Where the offer's ball stood is cleared.
void ClearOfferArea();
// The halves of the player's ball part and show what it holds; two seconds to look.
void RevealPlayersBall();
