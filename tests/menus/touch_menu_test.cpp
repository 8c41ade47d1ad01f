// The touch-menu engine on the virtual clock: the hit test, the pass extras, the use of a touch,
// time-out codes and the attract menu's idle rule.
#include <gtest/gtest.h>

#include "base/input.h"
#include "base/waits.h"
#include "platform/platform.h"
#include "screens/touch_menu.h"

namespace {

// What the test menus' pass extras do: count the passes, remember the result they were given,
// let a millisecond go by, and answer what the test asks.
struct ExtrasScript {
    int passes = 0;
    int lastGiven = -2;
    int (*answer)(int result) = [](int result) { return result; };
} script;

int TestExtras(int result) {
    ++script.passes;
    script.lastGiven = result;
    platform::Yield();
    return script.answer(result);
}

TouchMenu Menu(MenuKind kind, const MenuButton* buttons) {
    return TouchMenu{kind, buttons, TestExtras};
}

class TouchMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        script = ExtrasScript{};
        FlushInput();
    }
    void TearDown() override { FlushInput(); }
};

void AdvanceBy(uint32_t ms) {
    const uint32_t target = ClockMs() + ms;
    while (ClockMs() < target)
        platform::Yield();
}

}  // namespace

TEST_F(TouchMenuTest, ATouchMadeBeforeTheMenuStartsIsThrownAway) {
    const TouchMenu menu = Menu(MenuKind::TakeOrLeave, takeOrLeaveMenuButtons);
    platform::InjectTouch(300, 330);
    PumpMessages();
    InitTouchMenu(menu);
    EXPECT_EQ(TouchMenuPass(menu), -1);
    EXPECT_EQ(swTouchX, -1);
}

TEST_F(TouchMenuTest, AButtonTouchedEndsTheMenuAndIsUsedUp) {
    const TouchMenu menu = Menu(MenuKind::TakeOrLeave, takeOrLeaveMenuButtons);
    InitTouchMenu(menu);
    EXPECT_EQ(TouchMenuPass(menu), -1);
    platform::InjectTouch(450, 330);
    EXPECT_EQ(TouchMenuPass(menu), 1);
    EXPECT_EQ(script.lastGiven, 1) << "the extras see the button hit";
    EXPECT_EQ(swTouchX, -1);
    EXPECT_EQ(swTouchY, -1);
}

TEST_F(TouchMenuTest, RunTouchMenuPassesUntilAResult) {
    script.answer = [](int result) {
        if (script.passes == 40) platform::InjectTouch(258, 316);
        return result;
    };
    EXPECT_EQ(RunTouchMenu(Menu(MenuKind::TakeOrLeave, takeOrLeaveMenuButtons)), 0);
    EXPECT_EQ(script.passes, 41) << "the touch is read on the pass after it arrives";
}

TEST_F(TouchMenuTest, ATouchThatMissesStaysRecordedAndHarmless) {
    const TouchMenu menu = Menu(MenuKind::TakeOrLeave, takeOrLeaveMenuButtons);
    InitTouchMenu(menu);
    platform::InjectTouch(400, 330);  // between Take and Leave
    EXPECT_EQ(TouchMenuPass(menu), -1);
    EXPECT_EQ(TouchMenuPass(menu), -1);
    EXPECT_EQ(swTouchX, 400);
    EXPECT_EQ(swTouchY, 330);
}

TEST_F(TouchMenuTest, ARefusedHitKeepsTheMenuWaitingWithTheTouchRecorded) {
    script.answer = [](int result) { return result == 1 ? -1 : result; };
    const TouchMenu menu = Menu(MenuKind::Stake, stakeMenuButtons);
    InitTouchMenu(menu);
    platform::InjectTouch(200, 300);  // Pound
    EXPECT_EQ(TouchMenuPass(menu), -1);
    EXPECT_EQ(script.lastGiven, 1);
    EXPECT_EQ(swTouchX, 200) << "a refused touch is not used up";
    platform::InjectTouch(500, 300);  // 50p
    EXPECT_EQ(TouchMenuPass(menu), 0);
}

TEST_F(TouchMenuTest, ATimeOutCodeEndsTheMenuAtOnceAndLeavesTheTouch) {
    script.answer = [](int) { return 3; };
    const TouchMenu menu = Menu(MenuKind::Stake, stakeMenuButtons);
    InitTouchMenu(menu);
    platform::InjectTouch(500, 300);
    EXPECT_EQ(TouchMenuPass(menu), 3) << "even with a button touched on the same pass";
    EXPECT_EQ(swTouchX, 500);
    EXPECT_EQ(swTouchY, 300);
}

TEST_F(TouchMenuTest, TheAttractMenuGivesUpAfterThirtySecondsUntouched) {
    const uint32_t started = ClockMs();
    EXPECT_EQ(RunTouchMenu(Menu(MenuKind::Attract, attractMenuButtons)), 0);
    EXPECT_GE(ClockMs() - started, 30000u);
    EXPECT_LE(ClockMs() - started, 30001u) << "the pass that finds the deadline passed ends it";
    EXPECT_EQ(script.lastGiven, 0) << "the extras see the idle result";
}

TEST_F(TouchMenuTest, TheIdleRuleOverridesAButtonAndAppliesToNoOtherMenu) {
    const TouchMenu attract = Menu(MenuKind::Attract, attractMenuButtons);
    InitTouchMenu(attract);
    AdvanceBy(29999);
    EXPECT_EQ(TouchMenuPass(attract), -1);
    platform::InjectTouch(650, 500);  // Start
    AdvanceBy(1);
    EXPECT_EQ(TouchMenuPass(attract), 0);

    for (MenuKind kind :
         {MenuKind::Stake, MenuKind::Answer, MenuKind::Ball, MenuKind::TakeOrLeave}) {
        const TouchMenu menu = Menu(kind, ballMenuButtons);
        InitTouchMenu(menu);
        AdvanceBy(60000);
        EXPECT_EQ(TouchMenuPass(menu), -1) << static_cast<int>(kind);
    }
}

TEST_F(TouchMenuTest, StartingAMenuResetsTheSharedState) {
    menuCreditLastShown = 450;
    menuMoneyLastTested = 450;
    for (int run = 0; run < 20; ++run) {
        const uint32_t now = ClockMs();
        InitTouchMenu(Menu(MenuKind::Attract, attractMenuButtons));
        EXPECT_EQ(menuCreditLastShown, -1);
        EXPECT_EQ(menuMoneyLastTested, -1);
        const uint32_t delay = menuAnimationStartDeadline - now;
        EXPECT_TRUE(delay == 0 || delay == 1000) << delay;
    }
}
