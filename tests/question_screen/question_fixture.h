// What the question screen and question round tests share: runs of the screens with the real
// question packs in the working directory and no pictures (drawing leaves the screen blank), each
// starting on the round's first question.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/screen_run.h"

// Where the answer buttons and the ignored area are touched.
constexpr int kTrueX = 100, kTrueY = 540;
constexpr int kFalseX = 650, kFalseY = 540;
constexpr int kPassX = 661, kPassY = 247;

class QuestionFixture : public ::testing::Test, protected ScreenRun {
  protected:
    // Packs the real question bank into the working directory and counts its questions.
    void SetUp() override;

    // Starts a run with these script lines and the game on the round's first question: playing,
    // nothing answered yet, one try-again.
    void StartQuestionRun(const std::string& touches = "");

    // The run's time of the first "sound N" of the trace, or -1.
    long SoundTime(int number) const { return FirstAt("sound " + std::to_string(number)); }

    // A script line touching the button of an answer (1 TRUE, 0 FALSE) at `ms`.
    static std::string TouchAnswer(uint32_t ms, int answer);
};

// The game's generator seeded with `seed`; returns the answer (1 TRUE, 0 FALSE) that the next
// question will have when the question is the generator's first draw after this.
int SeedAndPredictAnswer(uint32_t seed);
