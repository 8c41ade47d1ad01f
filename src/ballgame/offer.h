// The offer after each round of the ball game: a cash price for the ball in the player's hand,
// shown in an opening ball, taken or left within ten seconds; leaving it costs a question.
#pragma once

#include <cstdint>

// Offers already made and refused (with the question answered) in this game, 0 to 3.
extern int32_t NumberOfOffersMade;
// The current offer in pence, always a whole number once calculated.
extern float fOffer;

// Calculates and presents an offer, runs the take-or-leave decision and, after a refusal, the
// question. True when the game is over: the offer taken (lWinAmount holds it) or the question
// failed (the game state is STATE_LOST).
bool MakeOffer();
// Take touched: the offer becomes the win (lWinAmount) and the ball game is settled at once.
void TakeOffer();
// One frame of the take-or-leave decision: the clock, the offer plate with the amount, the Take
// and Leave buttons lit in turn every 700 ms, and the open halves. Drawn on every pass of the
// take-or-leave menu (TakeOrLeaveMenu, game/touch_menu.h), which adds the sparkle and presents.
void DrawOfferFrame();
