// The modelled player: its decisions, and its touches on running menus.
#include <gtest/gtest.h>

#include <set>

#include "app/autoplay.h"
#include "base/input.h"
#include "base/waits.h"
#include "engines/control/game_state.h"
#include "platform/platform.h"
#include "rules/board.h"

namespace {

platform::AutoplaySettings Settings(int games = 1, int stake = 50, int right = 100, int take = 0,
                                    uint32_t seed = 1) {
    platform::AutoplaySettings settings;
    settings.enabled = true;
    settings.games = games;
    settings.stake = stake;
    settings.rightPercent = right;
    settings.takeOffer = take;
    settings.seed = seed;
    return settings;
}

MenuSituation WithMoney(int money) {
    MenuSituation situation;
    situation.money = money;
    return situation;
}

MenuSituation WithAnswer(int answer) {
    MenuSituation situation;
    situation.correctAnswer = answer;
    return situation;
}

int Answers(ModelledPlayer& player, int answer, int count, int wanted) {
    int hits = 0;
    for (int i = 0; i < count; ++i)
        if (player.ChooseButton(MenuKind::Answer, WithAnswer(answer)) == wanted) ++hits;
    return hits;
}

}  // namespace

TEST(ModelledPlayer, BuysItsGamesWhileTheMoneyLastsThenLeaves) {
    ModelledPlayer player(Settings(2));
    EXPECT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(49)), -1) << "waits for coins";
    EXPECT_EQ(player.GamesStarted(), 0);
    EXPECT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(50)), 2);
    EXPECT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(1000)), 2);
    EXPECT_EQ(player.GamesStarted(), 2);
    EXPECT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(1000)), 0) << "Main Menu";
    EXPECT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(0)), 0);

    ModelledPlayer browser(Settings(0));
    EXPECT_EQ(browser.ChooseButton(MenuKind::Attract, WithMoney(1000)), 0);
}

TEST(ModelledPlayer, StakesAsToldWhenTheMoneyAllows) {
    ModelledPlayer pound(Settings(1, 100));
    EXPECT_EQ(pound.ChooseButton(MenuKind::Stake, WithMoney(100)), 1);
    EXPECT_EQ(pound.ChooseButton(MenuKind::Stake, WithMoney(99)), 0) << "no Pound below 100";
    ModelledPlayer fifty(Settings(1, 50));
    EXPECT_EQ(fifty.ChooseButton(MenuKind::Stake, WithMoney(500)), 0);
}

TEST(ModelledPlayer, AnswersRightWithTheChanceGiven) {
    ModelledPlayer always(Settings(1, 50, 100));
    EXPECT_EQ(Answers(always, 1, 200, 0), 200) << "TRUE is the first button";
    EXPECT_EQ(Answers(always, 0, 200, 1), 200) << "FALSE the second";
    ModelledPlayer never(Settings(1, 50, 0));
    EXPECT_EQ(Answers(never, 1, 200, 1), 200);
    EXPECT_EQ(Answers(never, 0, 200, 0), 200);
    ModelledPlayer sometimes(Settings(1, 50, 30));
    const int right = Answers(sometimes, 1, 2000, 0);
    EXPECT_GT(right, 500);
    EXPECT_LT(right, 700);
}

TEST(ModelledPlayer, ItsOwnRandomNumbersFollowTheSeed) {
    auto sequence = [](uint32_t seed) {
        ModelledPlayer player(Settings(1, 50, 50, 0, seed));
        std::vector<int> choices;
        for (int i = 0; i < 64; ++i)
            choices.push_back(player.ChooseButton(MenuKind::Answer, WithAnswer(1)));
        return choices;
    };
    EXPECT_EQ(sequence(7), sequence(7));
    EXPECT_NE(sequence(7), sequence(8));
}

TEST(ModelledPlayer, PicksOnlyBallsTheMenuTakes) {
    ModelledPlayer player(Settings());
    MenuSituation situation;
    situation.ballAcceptable = [](int ball) { return ball % 5 == 3; };
    std::set<int> chosen;
    for (int i = 0; i < 300; ++i)
        chosen.insert(player.ChooseButton(MenuKind::Ball, situation));
    EXPECT_EQ(chosen, (std::set<int>{3, 8, 13, 18}));

    situation.ballAcceptable = nullptr;
    chosen.clear();
    for (int i = 0; i < 2000; ++i)
        chosen.insert(player.ChooseButton(MenuKind::Ball, situation));
    EXPECT_EQ(chosen.size(), 22u);
    EXPECT_EQ(*chosen.begin(), 0);
    EXPECT_EQ(*chosen.rbegin(), 21);

    situation.ballAcceptable = [](int) { return false; };
    EXPECT_EQ(player.ChooseButton(MenuKind::Ball, situation), -1);
}

TEST(ModelledPlayer, TakesTheKthOfferOfEachGame) {
    ModelledPlayer player(Settings(2, 50, 100, 2));
    auto offer = [&player] {
        player.MenuStarted(MenuKind::TakeOrLeave);
        return player.ChooseButton(MenuKind::TakeOrLeave, MenuSituation{});
    };
    player.ChooseButton(MenuKind::Attract, WithMoney(100));
    EXPECT_EQ(offer(), 1) << "Leave";
    EXPECT_EQ(offer(), 0) << "Take";
    EXPECT_EQ(offer(), 1);
    player.ChooseButton(MenuKind::Attract, WithMoney(100));  // the next game
    EXPECT_EQ(offer(), 1);
    EXPECT_EQ(offer(), 0);

    ModelledPlayer keeper(Settings(1, 50, 100, 0));
    for (int i = 0; i < 5; ++i) {
        keeper.MenuStarted(MenuKind::TakeOrLeave);
        EXPECT_EQ(keeper.ChooseButton(MenuKind::TakeOrLeave, MenuSituation{}), 1);
    }
}

// ---- On running menus ------------------------------------------------------------------------

namespace {

struct Seen {
    int passes = 0;
    int16_t touchX = -1, touchY = -1;
    uint32_t decidedAt = 0;
    int refused = -1;  // a button the menu refuses, as the ball menu refuses the blue ball
} seen;

int RecordingExtras(int result) {
    ++seen.passes;
    if (result == seen.refused) result = -1;
    if (result != -1) {
        seen.touchX = swTouchX;
        seen.touchY = swTouchY;
        seen.decidedAt = ClockMs();
    }
    platform::Yield();
    return result;
}

class AutoplayOnMenus : public ::testing::Test {
  protected:
    void SetUp() override {
        seen = Seen{};
        FlushInput();
    }
    void TearDown() override {
        StopAutoplay();
        FlushInput();
    }
};

}  // namespace

TEST_F(AutoplayOnMenus, TouchesTheCentreOfItsButton300MsAfterTheMenuStarts) {
    StartAutoplay(Settings(1, 50, 100, 1));
    const uint32_t started = ClockMs();
    EXPECT_EQ(
        RunTouchMenu(TouchMenu{MenuKind::TakeOrLeave, takeOrLeaveMenuButtons, RecordingExtras}), 0);
    EXPECT_EQ(seen.touchX, 258 + 67);
    EXPECT_EQ(seen.touchY, 316 + 19);
    EXPECT_GE(seen.decidedAt - started, 300u);
    EXPECT_LE(seen.decidedAt - started, 302u);

    EXPECT_EQ(
        RunTouchMenu(TouchMenu{MenuKind::TakeOrLeave, takeOrLeaveMenuButtons, RecordingExtras}), 1)
        << "the second offer is left";
    EXPECT_EQ(seen.touchX, 408 + 67);
}

TEST_F(AutoplayOnMenus, TouchesAgainWhenTheMenuRefusedItsTouch) {
    StartAutoplay(Settings());
    // The player first thinks only ball 12 will do, then only ball 7; the menu refuses 12.
    static int looks;
    looks = 0;
    const auto takes = [](int ball) { return looks++ < 22 ? ball == 12 : ball == 7; };
    seen.refused = 12;
    const uint32_t started = ClockMs();
    EXPECT_EQ(RunTouchMenu(TouchMenu{MenuKind::Ball, ballMenuButtons, RecordingExtras, takes}), 7);
    EXPECT_EQ(seen.touchX, 577 + 41);
    EXPECT_EQ(seen.touchY, 125 + 41);
    EXPECT_GE(seen.decidedAt - started, 600u);
    EXPECT_LE(seen.decidedAt - started, 603u);
}

// On the ball menu the player touches only balls the menu takes: the game's own rule, a ball on
// the board and not the blue one while the prize ball is picked.
TEST_F(AutoplayOnMenus, OnTheBallMenuItTouchesOnlyBallsTheMenuTakes) {
    StartAutoplay(Settings());
    for (Ball& ball : axBalls)
        ball = Ball{};
    axBalls[kBlueBall].isBlue = 1;
    axBalls[kBlueBall].inPlay = 1;
    axBalls[5].inPlay = 1;
    bPickingPrizeBall = true;
    const TouchMenu ballMenu{MenuKind::Ball, ballMenuButtons, RecordingExtras, &CanPickBall};
    for (int run = 0; run < 10; ++run)
        EXPECT_EQ(RunTouchMenu(ballMenu), 5);
    bPickingPrizeBall = false;
    axBalls[5].inPlay = 0;
    EXPECT_EQ(RunTouchMenu(ballMenu), kBlueBall)
        << "once the prize ball is chosen the blue ball can be opened";
    axBalls[kBlueBall] = Ball{};
}

TEST_F(AutoplayOnMenus, WithoutAutoplayNothingIsTouched) {
    StopAutoplay();
    const TouchMenu menu{MenuKind::TakeOrLeave, takeOrLeaveMenuButtons, RecordingExtras};
    InitTouchMenu(menu);
    while (seen.passes < 2000)
        ASSERT_EQ(TouchMenuPass(menu), -1);
}
