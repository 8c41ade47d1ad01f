// The game's one pseudo-random generator: a linear congruential generator (multiplier 214013,
// increment 2531011) whose draws are bits 16 to 30 of the new state, 0 to 32767. Ball values,
// offers, question choice and the payout levels all draw from it, so the same seed replays the
// same games.
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);
// The generator back at the seed it has when the program starts (1).
void ForgetRandomSeed();
// The next 15-bit draw.
unsigned RandomDraw();
// One draw modulo n, 0 to n - 1; n of 0 is taken as 1.
unsigned RandomBelow(unsigned n);
// True with probability percent / 100: never at 0 or less, always at 100 or more.
bool PercentChance(int percent);
void SwapValues(int& a, int& b);
// Forward Fisher-Yates: position i takes an element drawn from positions i to count - 1.
// Returns the number of steps done (count - 1, or 0 below 2).
int ShuffleValues(int* values, int count);
