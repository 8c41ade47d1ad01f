// Timers, deadlines and waits on the virtual clock, which advances 1 ms per yield.
#include <gtest/gtest.h>

#include <string>

#include "base/input.h"
#include "base/timers.h"
#include "base/waits.h"
#include "platform/platform.h"
#include "support/work_dir.h"

namespace {

void AdvanceTo(uint32_t ms) {
    while (ClockMs() < ms)
        platform::Yield();
}

void AdvanceBy(uint32_t ms) {
    const uint32_t target = ClockMs() + ms;
    AdvanceTo(target);
}

class Timing : public ::testing::Test {
  protected:
    ScopedWorkDir dir;

    void SetUp() override {
        platform::Options options;
        options.headless = true;
        std::string error;
        ASSERT_TRUE(platform::Start(options, error)) << error;
        ResetTimers();
        FlushInput();
    }
    void TearDown() override { platform::Stop(); }

    void StartWithScript(const std::string& script, uint32_t clockStart = 0) {
        WriteFileText("touches.txt", script);
        platform::Options options;
        options.headless = true;
        options.touchesFile = "touches.txt";
        options.clockStart = clockStart;
        std::string error;
        ASSERT_TRUE(platform::Start(options, error)) << error;
        FlushInput();
    }
};

}  // namespace

TEST_F(Timing, VirtualClockStartsAtZeroAndAdvancesOnePerYield) {
    EXPECT_EQ(ClockMs(), 0u);
    platform::Yield();
    platform::Yield();
    EXPECT_EQ(ClockMs(), 2u);
}

TEST_F(Timing, DeadlinesCompareUnsigned) {
    uint32_t deadline;
    EXPECT_EQ(SetDeadline(deadline, 10), 10u);
    EXPECT_FALSE(DeadlinePassed(deadline));
    AdvanceBy(10);
    EXPECT_TRUE(DeadlinePassed(deadline));
    SetDeadlineNow(deadline);
    EXPECT_TRUE(DeadlinePassed(deadline));
}

TEST_F(Timing, TimerProgressAndTheExpiryOneStepBehind) {
    StartTimer(600);
    EXPECT_EQ(TimerProgress(100), 0u);
    AdvanceBy(300);
    EXPECT_EQ(TimerProgress(100), 50u);
    EXPECT_FALSE(TimerExpired());
    AdvanceBy(350);
    EXPECT_FALSE(TimerExpired()) << "the first check that finds the time up still says false";
    EXPECT_TRUE(TimerExpired());
    EXPECT_EQ(TimerProgress(100), 100u);
}

TEST_F(Timing, ProgressCappingMarksTheTimerFinished) {
    StartTimer(100);
    AdvanceBy(150);
    EXPECT_EQ(TimerProgress(10), 10u);
    EXPECT_TRUE(TimerExpired());
}

TEST_F(Timing, ZeroDurationGivesFullScaleAndExpiresOnTheSecondCheck) {
    StartTimer(0);
    EXPECT_EQ(TimerProgress(11), 11u);
    StartTimer(0);
    EXPECT_FALSE(TimerExpired());
    EXPECT_TRUE(TimerExpired());
}

TEST_F(Timing, SlotTimersAreIndependent) {
    StartSlotTimer(100, 0);
    AdvanceBy(50);
    StartSlotTimer(200, 21);
    AdvanceBy(50);
    EXPECT_EQ(SlotTimerProgress(100, 0), 100u);
    EXPECT_EQ(SlotTimerProgress(100, 21), 25u);
    EXPECT_TRUE(SlotTimerExpired(0));
    EXPECT_FALSE(SlotTimerExpired(21));
    EXPECT_EQ(SlotTimerProgress(100, 29), 100u) << "a slot never started has duration 0";
}

TEST_F(Timing, WaitMsWaitsExactlyAndKeepsTouches) {
    uint32_t start = ClockMs();
    WaitMs(250);
    EXPECT_EQ(ClockMs() - start, 250u);
    WaitMs(0);
    EXPECT_EQ(ClockMs() - start, 250u);

    platform::InjectTouch(412, 300);
    WaitMs(10);
    EXPECT_EQ(swTouchX, 412);
    EXPECT_EQ(swTouchY, 300);
}

TEST_F(Timing, WaitForTouchTimesOutWithOne) {
    uint32_t start = ClockMs();
    EXPECT_EQ(WaitForTouch(3000), 1);
    EXPECT_EQ(ClockMs() - start, 3000u);
    EXPECT_EQ(swTouchX, -1);
}

TEST_F(Timing, WaitForTouchDiscardsEarlierTouchesAndReturnsX) {
    platform::InjectTouch(100, 100);  // made before the call: thrown away by its opening flush
    EXPECT_EQ(WaitForTouch(3000), 1);
    platform::InjectTouch(1, 20);
    EXPECT_EQ(swTouchX, -1);
}

TEST_F(Timing, WaitIgnoringTouchesThrowsThemAway) {
    platform::InjectTouch(10, 10);
    uint32_t start = ClockMs();
    WaitIgnoringTouches(500);
    EXPECT_GE(ClockMs() - start, 500u);
    EXPECT_EQ(swTouchX, -1);

    start = ClockMs();
    WaitIgnoringTouches(0);
    EXPECT_EQ(ClockMs() - start, 20u) << "at least one 20 ms step";
}

TEST_F(Timing, WaitForTouchReturnsTheScriptedTouchAtOnce) {
    StartWithScript("1000 412 300\n");
    EXPECT_EQ(WaitForTouch(3000), 412);
    EXPECT_EQ(ClockMs(), 1000u);
    EXPECT_EQ(swTouchY, 300);
}

TEST_F(Timing, ATouchAtXOneLooksLikeATimeOutButLeavesSwTouchX) {
    StartWithScript("500 1 40\n");
    EXPECT_EQ(WaitForTouch(3000), 1);
    EXPECT_EQ(swTouchX, 1);
    EXPECT_EQ(ClockMs(), 500u);
}

TEST_F(Timing, ATouchDuringTheLastStepOfWaitIgnoringTouchesStaysQueued) {
    StartWithScript("495 7 8\n");
    WaitIgnoringTouches(500);
    EXPECT_EQ(swTouchX, -1);
    PumpMessages();
    EXPECT_EQ(swTouchX, 7);
}

// ---- Across the wrap of the 32-bit clock (every 49.7 days of uptime) ----------------------------

class AcrossTheWrap : public Timing {
  protected:
    static constexpr uint32_t kBeforeTheWrap = 100;

    void SetUp() override {
        StartWithScript("", 0u - kBeforeTheWrap);
        ResetTimers();
    }

    static void Yields(int count) {
        for (int i = 0; i < count; ++i)
            platform::Yield();
    }
};

TEST_F(AcrossTheWrap, ADeadlineBeyondTheWrapPassesOnTimeEvenWhenChecksAreMissed) {
    uint32_t deadline;
    SetDeadline(deadline, 300);
    EXPECT_FALSE(DeadlinePassed(deadline)) << "not at once";
    Yields(299);
    EXPECT_FALSE(DeadlinePassed(deadline));
    Yields(1);
    EXPECT_TRUE(DeadlinePassed(deadline));

    // Set just before the wrap and first checked after it: it has passed (it must not wait for
    // the clock to come round again in 49.7 days).
    SetDeadline(deadline, 5);
    Yields(kBeforeTheWrap * 2);
    EXPECT_TRUE(DeadlinePassed(deadline));
}

TEST_F(AcrossTheWrap, WaitsLastTheirTimeAcrossTheWrap) {
    uint32_t start = ClockMs();
    WaitMs(250);
    EXPECT_EQ(ClockMs() - start, 250u);

    StartWithScript("", 0u - 10);
    start = ClockMs();
    WaitIgnoringTouches(500);
    EXPECT_GE(ClockMs() - start, 500u);
    EXPECT_LT(ClockMs() - start, 520u);

    StartWithScript("", 0u - 1000);
    start = ClockMs();
    EXPECT_EQ(WaitForTouch(3000), 1);
    EXPECT_EQ(ClockMs() - start, 3000u);
}

TEST_F(AcrossTheWrap, TimersRunSmoothlyThroughTheWrap) {
    StartTimer(200);
    Yields(kBeforeTheWrap);
    EXPECT_EQ(TimerProgress(100), 50u);
    EXPECT_FALSE(TimerExpired());
    Yields(100);
    EXPECT_EQ(TimerProgress(100), 100u);
}

TEST_F(AcrossTheWrap, TouchScriptTimesCountFromTheClockStart) {
    StartWithScript("1000 412 300\n", 0u - 600);
    const uint32_t start = ClockMs();
    EXPECT_EQ(WaitForTouch(3000), 412);
    EXPECT_EQ(ClockMs() - start, 1000u);
}

TEST_F(Timing, ClosingTheWindowEndsAWait) {
    StartWithScript("200 close\n");
    EXPECT_THROW(WaitMs(1000), WindowClosed);
    EXPECT_LT(ClockMs(), 1000u);
}
