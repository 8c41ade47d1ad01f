// The order of play of one paid game, written once: the question round, the ball game (the deal,
// the player's own ball, the opening rounds with their offers), the settle and the end. Nothing
// here draws, waits or reads a touch: every step the player sees or decides is a call to the
// front end (rules/front_end.h), the cabinet's screens or payout-sim's player.
#pragma once

#include <cstdint>

#include "rules/front_end.h"

// Right answers needed to reach the ball game.
inline constexpr int kRightAnswersToQualify = 7;
// Balls opened in each round of the ball game before an offer.
inline constexpr int kBallsPerRound = 5;

// Questions answered right so far this round; the question on screen is number
// rightAnswersThisRound + 1. Set when the round starts.
extern int rightAnswersThisRound;
// The most the stake's balance would let the cabinet pay this game, in pence. Diagnostic only.
extern int32_t maxWinAllowedThisGame;
// Both back at 0, as at start-up.
void ForgetRound();

// Plays the game whose stake has been taken (uwPriceOfPlay holds it): the game's levels drawn,
// the question round, the ball game when seven answers were right, and the end (a win is paid
// through the credit service as its sequence ends). Always 0.
int PlayGame(FrontEnd& frontEnd);

// The steps of PlayGame, each on its own (for tests of one screen at a time):
// The question round; leaves the game state at STATE_LOST or STATE_BALL_GAME. Returns 1.
int RunQuestionRound(FrontEnd& frontEnd);
// The round's start: the game's values set up, the board reset, the opening display.
void StartQuestionRound(FrontEnd& frontEnd);
// The deal of the ball game: fresh values for every ball but the blue one.
void DealBalls(FrontEnd& frontEnd);
// The player's own ball taken off the board.
void ChoosePrizeBall(FrontEnd& frontEnd);
// Rounds of openings and offers until the game is settled (an offer taken, or every other ball
// opened) or lost at the question after a refused offer; a settled game's own ball is revealed.
void PlayOpeningRounds(FrontEnd& frontEnd);
// One ball chosen, opened and taken off the board.
void OpenOneBall(FrontEnd& frontEnd);
// The end of the game by its state: the loss sequence, or the win sequence and then the payment
// of lWinAmount through the credit service.
void PlayEnd(FrontEnd& frontEnd);
// The offer after a round: worked out, shown, taken (the game is settled) or left (a question
// decides whether the game goes on). True when the game is over.
bool MakeOffer(FrontEnd& frontEnd);
