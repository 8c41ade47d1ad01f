// The one interface between the game and the machine.
//
// Two backends sit behind it: SDL2 (a real window, touches, sound) and headless (no window, no
// audio device, for tests and tools). Both share the clock, the scripted input and the harness
// trace, so a run can be replayed exactly. Nothing above this layer includes SDL.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

namespace platform {

// How the program was started: the cabinet's defaults or the harness options.
struct Options {
    bool helpAsked = false;     // --help: print the usage and stop
    bool versionAsked = false;  // --version: print the version and stop
    bool headless = false;      // no window, no audio device; implies the virtual clock
    bool windowed = false;      // a resizable window instead of full screen
    bool virtualClock = false;  // the clock advances 1 ms per yield, starting at clockStart
    uint32_t clockStart = 0;    // where the virtual clock starts (--clock-start)
    std::string touchesFile;    // scripted touches and captures ("MS X Y", "MS capture NAME")
    std::string captureDir = "captures";
    std::string traceFile;       // one line per harness event
    std::string frameTimesFile;  // the work time of every frame ("MS MICROSECONDS")
    uint16_t creditPort = 6667;
    std::string autoplay;  // the modelled player's options, comma-separated
};

// Reads the command line ("--name value" or "--name=value"). Unknown options, stray arguments
// and bad values give false with a one-line message in `error`.
bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error);

// Brings up the backend the options ask for (clock, script, trace). False with a message when a
// harness file cannot be read or written.
bool Start(const Options& options, std::string& error);
// Closes the window, the audio device and the harness files. Safe to call more than once.
void Stop();
const Options& CurrentOptions();

// ---- The window -------------------------------------------------------------------------------
// Opens the cabinet's window (full screen, or a window with --windowed, cursor hidden). The
// headless backend has none and always succeeds.
bool CreateMainWindow();

// ---- Input ------------------------------------------------------------------------------------
// Quit: the window was closed, or the process was asked to stop (SIGTERM, SIGINT, SIGHUP). From
// Start to Stop those signals are caught in both backends and only noted; each becomes one Quit
// event at the next collection of input, so the game ends by its own orderly path.
enum class EventKind { Touch, Quit };
struct Event {
    EventKind kind = EventKind::Touch;
    int16_t x = 0, y = 0;  // screen pixels of the 800 x 600 screen
};
// Takes the next pending input event: touches from the screen, the mouse or the touch script,
// and Quit when the window is closed. False when nothing is pending.
bool NextEvent(Event& event);
// Throws away every pending event without looking at it.
void DiscardEvents();
// Queues a touch as if the screen had been pressed (used by the modelled player).
void InjectTouch(int16_t x, int16_t y);

// ---- The clock ---------------------------------------------------------------------------------
// Milliseconds, 32 bits unsigned, wrapping; starts at --clock-start (0 unless given) with the
// virtual clock. Touch script times count from where the clock stood when the platform started.
uint32_t Milliseconds();
// The clock reading the game's random numbers are seeded with at start-up: the clock itself, but
// the virtual clock counted from its start, so that a run moved with --clock-start (across the
// wrap, say) plays the same games as one from 0.
uint32_t SeedMilliseconds();
// Called by every wait between clock reads. Real clock: sleeps about a millisecond. Virtual
// clock: advances it by one millisecond. Both deliver scripted touches that have come due.
void Yield();
// A yield for a wait that ends when the clock reaches `until` (the frame pacing): the real clock
// sleeps until then (at most a tenth of a second) in one go instead of a millisecond at a time, so
// an idle screen wakes the machine once a frame; the virtual clock advances one millisecond, as
// Yield does.
void YieldUntil(uint32_t until);
// Seconds since 1 January 1970, for the calendar seed and the record file's date.
int64_t CalendarSeconds();

// ---- The display -------------------------------------------------------------------------------
enum class ModeResult { Ok, InvalidMode, Failed };
// Asks for an 800 x 600 display at 32, 24 or 16 bits a pixel.
ModeResult OpenDisplay(int width, int height, int bitsPerPixel);
// The rows [first, end) in which a frame differs from the frame presented before it; empty when
// the two are the same. Whole frames unless the caller knows better.
struct ChangedRows {
    int first = 0;
    int end = INT_MAX;
    bool Empty() const { return first >= end; }
};
// Shows a finished frame: `pixels` holds height rows of `pitch` bytes in the display's format
// (32 bits: bytes blue, green, red, unused; 24 bits: blue, green, red; 16 bits: 5-6-5). Only the
// changed rows are sent to the screen; an unchanged frame still counts as presented (captures,
// frame times, trace).
void PresentFrame(const uint8_t* pixels, int pitch, ChangedRows changed = {});
void CloseDisplay();
// Tests only: makes the headless display refuse a depth, so the fall-back can be exercised.
void RefuseDisplayDepth(int bitsPerPixel, bool refuse);

// ---- The question font -------------------------------------------------------------------------
// True when the bold sans-serif font of the question round can be had on this machine. The game
// draws its text from bitmap fonts; a cabinet without the font is not set up right and stops.
bool QuestionFontAvailable();
// Tests only: makes the question font unavailable.
void RefuseQuestionFont(bool refuse);

// ---- Messages to the operator ------------------------------------------------------------------
// A message box with a caption (a line on standard error when headless).
void ShowMessageBox(const char* caption, const char* text);
// The debugger-output mirror of the log.
void DebugOutput(const char* text);

// ---- The harness trace -------------------------------------------------------------------------
// Lines of the --trace file, each stamped with the clock. No-ops without --trace.
void TraceSound(int number);
void TraceMusic(bool playing);
void TraceExit(int status);

}  // namespace platform
