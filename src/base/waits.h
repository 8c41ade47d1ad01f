// The millisecond clock, deadlines and the waits every screen loop is built from. Waits check the
// clock in a loop and yield to the platform between checks (about a millisecond on the cabinet,
// exactly one on the virtual clock), so they keep their timing without spinning a core.
#pragma once

#include <cstdint>

// The millisecond clock: unsigned 32 bits, wrapping after about 49.7 days. A cabinet runs for
// months, so clock values are only ever compared through their difference: a time counts as
// reached from the moment the clock gets to it until half the clock's range (24.8 days) later.
uint32_t ClockMs();
// True when `now` is at or past `time` on the wrapping clock.
bool ClockReached(uint32_t now, uint32_t time);

// Stores clock + ms in the deadline and returns it.
uint32_t SetDeadline(uint32_t& deadline, uint32_t ms);
uint32_t SetDeadlineNow(uint32_t& deadline);
// True when the clock has reached the deadline.
bool DeadlinePassed(uint32_t deadline);

// Waits until start + ms, pumping input at once and then every 250 ms. Touches made meanwhile
// stay recorded for the caller.
void WaitMs(uint32_t ms);
// Waits ms (at least one 20 ms step), throwing every touch away; swTouchX is -1 on return.
void WaitIgnoringTouches(uint16_t ms);
// Flushes, then waits up to ms for a touch: returns swTouchX of the touch, or 1 on time-out.
int WaitForTouch(uint32_t ms);
