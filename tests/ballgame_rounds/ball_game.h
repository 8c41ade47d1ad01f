// The ball game as the opening rounds find it, for the tests of the rounds: the board dealt, the
// player's ball taken, and touches on the balls.
#pragma once

#include <cstdint>
#include <string>

// A script line touching the centre of a ball's button on the ball menu `ms` into the run.
std::string TouchOnBall(uint32_t ms, int ball);

// The board as the opening rounds find it: dealt at the stake, the player's ball taken (its value
// in lPrizeAvailableThisGame, out of play), the blue ball pickable, the game state 3.
void SetUpBallGame(int16_t stake, uint32_t seed, int playersBall);
// Makes the ball the player's: out of play, its value in lPrizeAvailableThisGame.
void TakeAsPlayersBall(int ball);
// The ball holding a value, or -1.
int BallWithValue(int32_t value);
