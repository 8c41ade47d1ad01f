// What the question screen and question round tests share: a fresh working directory holding the
// real question packs, the headless platform on the virtual clock with a touch script and a trace,
// and the display up (the pictures are not there, so drawing leaves the screen blank).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/work_dir.h"

// Where the answer buttons and the ignored area are touched.
constexpr int kTrueX = 100, kTrueY = 540;
constexpr int kFalseX = 650, kFalseY = 540;
constexpr int kPassX = 661, kPassY = 247;

class QuestionHarness : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the platform and the display for a run with these script lines ("MS X Y", the time
    // counted from the start of the run).
    void StartHarness(const std::string& touches = "");
    // Stops the platform and the display, as at the end of a run.
    void StopHarness();
    // Milliseconds since the start of the run.
    uint32_t RunClock() const;

    // The "sound N" numbers of the trace, in order.
    static std::vector<int> Sounds();
    // The run's time of the first "sound N" of the trace, or -1.
    long SoundTime(int number) const;

    // A script line touching the button of an answer (1 TRUE, 0 FALSE) at `ms`.
    static std::string TouchAnswer(uint32_t ms, int answer);

    ScopedWorkDir dir_;
    uint32_t runStart_ = 0;
    bool running_ = false;
};

// The game's generator seeded with `seed`; returns the answer (1 TRUE, 0 FALSE) that the next
// question will have when the question is the generator's first draw after this.
int SeedAndPredictAnswer(uint32_t seed);
