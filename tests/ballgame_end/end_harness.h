// What the end-of-game tests share: a fresh working directory that links in the content set made
// by make-assets (optionally without its swoop video), a scripted credit service connected to the
// game, and runs on the headless platform with the virtual clock, a touch script and a trace.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engines/graphics/sprites.h"
#include "support/fake_credit_service.h"
#include "support/work_dir.h"

class EndHarness : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Links the content set into the working directory, leaving the video out when asked.
    void LinkContent(bool withVideo = true);
    // A line of the touch script: at `ms` after the start of the run, "X Y" (a touch) or "close".
    struct ScriptLine {
        uint32_t ms;
        std::string what;
    };
    // Starts the platform, the display and the pictures for a run with this touch script.
    void StartRun(const std::vector<ScriptLine>& script = {});
    void StopRun();
    // Milliseconds since the start of the run.
    uint32_t RunClock() const;

    // The lines of the trace, timed from the start of the run ("music stop", "sound 11").
    struct TraceEvent {
        long ms;
        std::string what;
    };
    std::vector<TraceEvent> Trace() const;
    // The "sound N" numbers of the trace, in order.
    std::vector<int> Sounds() const;
    // The run's time of the first "sound N" of the trace, or -1.
    long SoundTime(int number) const;

    ScopedWorkDir dir_;
    FakeCreditService credit_;
    uint32_t runStart_ = 0;
    bool running_ = false;
};

// The colour of (x, y) of the back buffer, without the fourth byte.
uint32_t ScreenColour(int x, int y);
// The colour of (x, y) of a sprite's picture (decoded), without the fourth byte.
uint32_t SpriteColour(const Sprite& sprite, int x, int y);
