// Settling the ball game: what the player's own ball is worth, whether the game is won, what it
// pays, and how the meters count the ball game. Nothing here draws or waits, so the payout
// simulator settles its games with the same functions as the cabinet.
//
// The cabinet settles a game that reached the ball game the moment its outcome is fixed: when
// Take is touched, or when the last ball other than the player's own leaves the board. Only then
// is anything shown (the Take button pressed, the own ball opened), so a run cut short from that
// moment on still pays the win (rules/winnings.h). A game lost at the question after a refused
// offer is not settled: the own ball is not revealed and nothing is paid.
//
//     SettleBallGame();  // SettleOwnBall(), SettleWinnings(), and a won game owes its win
//
// CountBallGameStart() runs when the opening rounds begin.
#pragma once

#include <cstdint>

// The smallest prize: balls below it (1 to 4) are empty balls, worth nothing.
inline constexpr int32_t kSmallestPrize = 5;

// ---- The decisions, on plain values -----------------------------------------------------------

// What the player's own ball pays: its value from 5p up, nothing for an empty ball.
int32_t OwnBallWorth(int32_t value);

// How a game that was not lost at a question ends: STATE_WON when the own ball is worth
// something or an offer was taken (a non-zero win amount), otherwise STATE_LOST.
uint8_t SettledState(int32_t ownBallWorth, int32_t winAmount);

// The amount won. When no ball is left on the board the player kept the own ball to the end and
// wins what it is worth; otherwise the game ended on a taken offer, which stays the win (the own
// ball is then only shown).
int32_t SettledWinAmount(int32_t winAmount, int32_t ownBallWorth, int ballsLeft);

// The meter that counts a player's ball of this value when the ball game starts:
// counter::kOwnBallUnder5p for an empty ball, the run from counter::kOwnBallByValue for 5p to £2
// in the order of the prize values, then £5 and £10; -1 for a value with no meter (£3, or one
// that no table holds).
int OwnBallCounter(int32_t value);

// The meter that adds up the ball game's wins: counter::kBallGameWon50p for a 50p stake (or
// less), counter::kBallGameWonPound above it.
int16_t BallGameWinCounter(int16_t stake);

// ---- The same, on the game's record (board, game state, lWinAmount, the meters) ---------------

// Meters of a ball game starting: the ball games of the stake (counter::kBallGames50p below £1,
// kBallGamesPound otherwise) and the value of the player's ball (lPrizeAvailableThisGame).
void CountBallGameStart();

// True when the game state is STATE_LOST: the question after a refused offer was failed.
bool LostAtOfferQuestion();

// An empty own ball becomes 0 in lPrizeAvailableThisGame; the game state becomes STATE_WON or
// STATE_LOST (SettledState with lWinAmount).
void SettleOwnBall();

// When every other ball was opened: counts the own ball paid (counter::kOwnBallPaid) and sets
// lWinAmount to its worth. Then adds lWinAmount to the stake's ball-game win meter
// (counter::kBallGameWon50p or kBallGameWonPound).
void SettleWinnings();

// SettleOwnBall and SettleWinnings; a game settled as won then owes lWinAmount to the player.
void SettleBallGame();
