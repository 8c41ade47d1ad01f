// The offer after each round of the ball game: a cash price for the ball in the player's hand,
// taken or left; leaving it costs a question (rules/play_game.h plays it).
#pragma once

#include <cstdint>

#include "rules/offer_calculation.h"

// Offers already made and refused (with the question answered) in this game, 0 to 3.
extern int32_t NumberOfOffersMade;
// The current offer in pence, always a whole number once calculated.
extern float fOffer;

// Works out the offer for the board as it stands (fOffer) and counts it on the meters.
void WorkOutOffer();
// The whole working of the last offer (what its figure came from).
const OfferResult& LastOfferWorkedOut();

// Take touched: the offer becomes the win (lWinAmount) and the ball game is settled at once. Only
// the first call after WorkOutOffer counts: the screens take the offer the moment Take is touched,
// and the order of play takes it again when the decision comes back.
void TakeOffer();
// Forgets every offer, as at start-up: none made, worked out or taken.
void ForgetOffer();
