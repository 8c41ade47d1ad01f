// The answer clock: the countdown in whole seconds that the question screen, the stake screen
// and the ball game show. It lives across screens; each user sets it on entry.
#pragma once

#include <cstdint>

// Sets duration and remaining time and stops the clock; unless silent, draws the clock.
void AnswerClockSet(uint32_t ms, uint8_t silent);
// Starts the clock if it is not running.
void AnswerClockStart();
// Stops the clock, keeping what was left (at least 0).
void AnswerClockStop();
// The milliseconds left. The call that finds the time used up may answer a negative value and
// stops the clock; every later call answers exactly 0 until the clock is set again.
int32_t AnswerClockRemaining();
// Draws the clock panel and the whole seconds left.
void AnswerClockDraw();
// Puts the clock back as it is at start-up: never set, stopped at 0.
void ForgetAnswerClock();
