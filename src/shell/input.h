// The last touch on the screen. Touches reach the game only when a screen pumps the input queue
// (a wait, a touch menu or a presented frame); screens then read the two globals directly.
#pragma once

#include <cstdint>
#include <stdexcept>

// Screen pixels of the last touch since the last flush; -1 in both when there has been none.
extern int16_t swTouchX;
extern int16_t swTouchY;

// Handles every pending input event: a touch is recorded in swTouchX / swTouchY (only the last
// one counts). Closing the window throws WindowClosed, which the program entry turns into the
// orderly shut-down.
void PumpMessages();

// Throws away every pending event and forgets the last touch.
void FlushInput();

struct WindowClosed : std::runtime_error {
    WindowClosed() : std::runtime_error("the cabinet window was closed") {}
};
