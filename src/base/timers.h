// Progress timers for animations that run over a fixed time: one single timer and a bank of 30
// slot timers (the question round gives each of the 22 win-plan lines its own slot).
//
// The expiry check runs one step behind the progress: the first check that finds the time used up
// records it and still answers false, so a loop that draws at TimerProgress until TimerExpired
// always draws one frame at the full value before it ends.
#pragma once

#include <cstdint>

constexpr int kSlotTimerCount = 30;

void StartTimer(uint32_t ms);
// scale x elapsed / duration, from 0 up to exactly scale (scale itself for a duration of 0).
uint32_t TimerProgress(uint32_t scale);
bool TimerExpired();

void StartSlotTimer(uint32_t ms, int slot);
uint32_t SlotTimerProgress(uint32_t scale, int slot);
bool SlotTimerExpired(int slot);

// Forgets every timer, as at start-up (durations 0).
void ResetTimers();
