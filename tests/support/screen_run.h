// Runs of the game's screens as the cabinet's start-up makes them, in one process, one after
// another: each run starts from a freshly reset game (every layer's state as a new program has
// it) on the headless platform with its virtual clock at 0, a touch script and a trace, the log,
// the display and a scripted credit service. Times in scripts and answers are the run's clock.
//
// A fixture derives from it (class Offer : public ::testing::Test, protected ScreenRun) or a test
// makes one; either way it owns a fresh working directory for its lifetime.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/fake_credit_service.h"
#include "support/work_dir.h"

class ScreenRun {
  public:
    // Whether the run loads the pictures of the working directory (InitialiseGraphics), as the
    // cabinet does, or leaves them to the test (stand-ins, or none at all).
    enum class Pictures { Load, None };

    ScreenRun();
    // Stops the run and resets the game, so nothing of it reaches the next test.
    ~ScreenRun();
    ScreenRun(const ScreenRun&) = delete;
    ScreenRun& operator=(const ScreenRun&) = delete;

    // How the credit service of every run from now on answers (FAIL without a responder).
    void AnswerCredit(FakeCreditService::Responder responder);

    // Starts a run: the game reset as at program start (ResetForNewRun), the headless platform
    // at clock 0 with these scripted touches ("MS X Y" or "MS close" lines) and a trace, the
    // working directories and the log, the display, the pictures when asked, a new credit
    // service connected, and the generator seeded with 1 (the display seeded it from the
    // calendar). Game state a test wants is set after this.
    void Start(const std::string& touches = "", Pictures pictures = Pictures::Load);
    // Stops the platform, which completes the trace; the screen and the game stay as they are.
    void Stop();
    // Milliseconds since the run started.
    uint32_t RunClock() const;

    // The trace so far, one event a line ("sound 25", "music stop", "touch 325 335").
    struct Event {
        long ms;
        std::string what;
    };
    std::vector<Event> Trace() const;
    // The trace's "sound N" lines in order: with their times, and the numbers alone.
    struct Sound {
        uint32_t ms;
        int number;
    };
    std::vector<Sound> TimedSounds() const;
    std::vector<int> Sounds() const;
    // The times of every event of this kind ("sound 20"), in order; the first of them, or -1.
    std::vector<long> TimesOf(const std::string& event) const;
    long FirstAt(const std::string& event) const;
    // The trace without the frames presented ("MS present N" lines), as the file has it.
    std::string Events() const;
    // Compares Events() with the expected trace at this path below the source tree.
    void ExpectEvents(const std::string& expectedTrace) const;
    // The log the run has written so far.
    std::string Log() const;

    // The commands the credit service of the run received, and those of them that move money
    // (everything but the reads CGET and BGET).
    std::vector<std::string> CreditCommands() const;
    std::vector<std::string> MoneyMoves() const;

    const ScopedWorkDir& WorkDir() const { return dir_; }

  private:
    ScopedWorkDir dir_;
    FakeCreditService::Responder responder_;
    std::unique_ptr<FakeCreditService> credit_;
    bool running_ = false;
};

// A script line: a touch at (x, y) `ms` into the run.
std::string TouchLine(uint32_t ms, int x, int y);
// The back buffer's colour at (x, y), without the fourth byte.
uint32_t ScreenColour(int x, int y);
// Moves the virtual clock on by ms.
void AdvanceClock(uint32_t ms);
