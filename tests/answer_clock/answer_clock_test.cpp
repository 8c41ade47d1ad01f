// The answer clock on the virtual clock.
#include <gtest/gtest.h>

#include "base/waits.h"
#include "platform/platform.h"
#include "screens/answer_clock.h"

namespace {

void AdvanceBy(uint32_t ms) {
    const uint32_t target = ClockMs() + ms;
    while (ClockMs() < target)
        platform::Yield();
}

}  // namespace

TEST(AnswerClock, CountsDownOnlyWhileRunning) {
    AnswerClockSet(15000, 1);
    AdvanceBy(1000);
    EXPECT_EQ(AnswerClockRemaining(), 15000) << "set stops the clock";
    AnswerClockStart();
    AdvanceBy(4000);
    EXPECT_EQ(AnswerClockRemaining(), 11000);
    AnswerClockStart();  // already running: the start time is kept
    AdvanceBy(1000);
    EXPECT_EQ(AnswerClockRemaining(), 10000);
    AnswerClockStop();
    AdvanceBy(2000);
    EXPECT_EQ(AnswerClockRemaining(), 10000);
    AnswerClockStart();
    AdvanceBy(500);
    EXPECT_EQ(AnswerClockRemaining(), 9500);
}

TEST(AnswerClock, TheFirstReadingAfterExpiryMayBeNegativeThenZero) {
    AnswerClockSet(1000, 1);
    AnswerClockStart();
    AdvanceBy(1020);
    EXPECT_EQ(AnswerClockRemaining(), -20);
    AdvanceBy(100);
    EXPECT_EQ(AnswerClockRemaining(), 0);
    EXPECT_EQ(AnswerClockRemaining(), 0);
    AnswerClockSet(2000, 1);
    EXPECT_EQ(AnswerClockRemaining(), 2000) << "only a new set resets it";
}

TEST(AnswerClock, ExactExpiryReadsZeroAtOnce) {
    AnswerClockSet(500, 1);
    AnswerClockStart();
    AdvanceBy(500);
    EXPECT_EQ(AnswerClockRemaining(), 0);
    AnswerClockStart();
    AdvanceBy(10);
    EXPECT_EQ(AnswerClockRemaining(), -10) << "a restarted clock at 0 runs on below zero once";
}
