// The record that every phase of a paid game reads and writes: the state code, the stake, the
// amount won and the first-pass flag shared by the question round and the prize-ball choice.
#pragma once

#include <cstdint>

enum GameStateCode : uint8_t {
    STATE_LOST = 0,
    STATE_PLAYING = 1,
    STATE_WON = 2,
    STATE_BALL_GAME = 3,
    STATE_WRONG = 5,
};

extern uint8_t ucGameState;
extern int16_t uwPriceOfPlay;  // stake of the game being sold or played, 50 or 100 pence
extern int32_t lWinAmount;     // pence won in the current game
extern bool bPickingPrizeBall;

uint8_t GetGameState();
// Stores the low 8 bits of the code and returns them.
uint8_t SetGameState(int code);

// Puts the record back as start-up leaves it (stake 100, nothing won).
void ResetGameState();
