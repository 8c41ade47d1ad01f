// The last touch on the screen. Touches reach the game only when a screen pumps the input queue
// (a wait, a touch menu or a presented frame); screens then read the two globals directly.
#pragma once

#include <cstdint>
#include <stdexcept>

// Screen pixels of the last touch since the last flush; -1 in both when there has been none.
extern int16_t swTouchX;
extern int16_t swTouchY;

// Handles every pending input event: a touch is recorded in swTouchX / swTouchY (only the last
// one counts). Closing the window or a stop signal throws WindowClosed, which the program entry
// turns into the orderly shut-down; a display that a sprite file took down throws
// DisplayStopped, which it turns into the display failure. Every screen loop pumps, so either
// ends the run within a frame.
void PumpMessages();

// The display is gone for good (a sprite file took it down; the graphics engine says so) or back
// again (a new display started): while it is gone every pump throws DisplayStopped.
void NoteDisplayLost(bool lost);

// The run is ending by its one way out: from now on a further close or stop signal throws
// nothing, so the way out itself (which still presents a cleared screen) cannot be cut short.
void RunEnding();
// Forgets the last touch, that the run was ending and that the display was lost, as at start-up.
void ResetInput();

// Throws away every pending event and forgets the last touch.
void FlushInput();

// The run cannot go on: whatever a screen was doing is abandoned (a win being shown is paid first).
struct RunInterrupted : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct WindowClosed : RunInterrupted {
    WindowClosed() : RunInterrupted("the cabinet window was closed") {}
};

// The cabinet has no question font: it is not set up right, and the run ends before the question.
struct QuestionFontMissing : RunInterrupted {
    QuestionFontMissing() : RunInterrupted("the question font is missing") {}
};

struct DisplayStopped : RunInterrupted {
    DisplayStopped() : RunInterrupted("a sprite file took the display down") {}
};
