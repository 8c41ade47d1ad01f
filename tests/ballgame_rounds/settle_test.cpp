// Settling the ball game without a screen: the decisions on plain values and on the game record.
#include <gtest/gtest.h>

#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/settle.h"
#include "rules/winnings.h"

namespace {

// A board after the prize ball was chosen, with `opened` of the other balls opened.
class Settle : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetControlData();
        ResetGameState();
        uwPriceOfPlay = 50;
        SeedRandom(7);
        ResetBoard();
        axBalls[0].inPlay = 0;
        axBalls[0].isPlayers = 1;
        SetGameState(STATE_BALL_GAME);
    }
    void TearDown() override {
        ResetControlData();
        ResetGameState();
        ForgetWinnings();
    }

    static void OpenEveryBall() {
        for (Ball& ball : axBalls)
            ball.inPlay = 0;
    }
};

}  // namespace

TEST(SettleDecisions, AnEmptyBallIsWorthNothing) {
    for (int32_t value : {1, 2, 3, 4}) {
        EXPECT_EQ(OwnBallWorth(value), 0) << value;
        EXPECT_EQ(SettledState(OwnBallWorth(value), 0), STATE_LOST) << value;
    }
    for (int32_t value : {5, 10, 300, 500}) {
        EXPECT_EQ(OwnBallWorth(value), value);
        EXPECT_EQ(SettledState(OwnBallWorth(value), 0), STATE_WON);
    }
    EXPECT_EQ(SettledState(0, 5), STATE_WON) << "a taken offer wins even with an empty own ball";
}

TEST(SettleDecisions, TheOwnBallPaysOnlyWhenKeptToTheEnd) {
    EXPECT_EQ(SettledWinAmount(0, 300, 0), 300);
    EXPECT_EQ(SettledWinAmount(0, 0, 0), 0);
    EXPECT_EQ(SettledWinAmount(5, 300, 6), 5) << "a taken 5p offer stays 5p";
}

TEST(SettleDecisions, OwnBallMetersFollowThePrizeValues) {
    EXPECT_EQ(OwnBallCounter(1), 180);
    EXPECT_EQ(OwnBallCounter(4), 180);
    EXPECT_EQ(OwnBallCounter(5), 47);
    EXPECT_EQ(OwnBallCounter(50), 56);
    EXPECT_EQ(OwnBallCounter(60), 57);
    EXPECT_EQ(OwnBallCounter(200), 63);
    EXPECT_EQ(OwnBallCounter(300), -1) << "£3 has no meter";
    EXPECT_EQ(OwnBallCounter(500), 64);
    EXPECT_EQ(OwnBallCounter(1000), 65);
    EXPECT_EQ(OwnBallCounter(0), -1);
    EXPECT_EQ(OwnBallCounter(7), -1);
    EXPECT_EQ(BallGameWinCounter(50), 178);
    EXPECT_EQ(BallGameWinCounter(100), 179);
}

TEST_F(Settle, AnEmptyOwnBallKeptToTheEndLosesAndPaysNothing) {
    for (int32_t value : {1, 4}) {
        SetUp();
        lPrizeAvailableThisGame = value;
        OpenEveryBall();
        SettleBallGame();
        EXPECT_EQ(GetGameState(), STATE_LOST) << value;
        EXPECT_EQ(lWinAmount, 0);
        EXPECT_EQ(lPrizeAvailableThisGame, 0);
        EXPECT_EQ(CounterValue(20), 1) << "the own ball was kept to the end";
        EXPECT_EQ(CounterValue(178), 0);
    }
}

TEST_F(Settle, AnOwnBallOfFivePenceOrMoreKeptToTheEndWinsItsValue) {
    for (int16_t stake : {50, 100}) {
        SetUp();
        uwPriceOfPlay = stake;
        lPrizeAvailableThisGame = stake == 50 ? 5 : 500;
        OpenEveryBall();
        SettleBallGame();
        EXPECT_EQ(GetGameState(), STATE_WON);
        EXPECT_EQ(lWinAmount, lPrizeAvailableThisGame);
        EXPECT_EQ(CounterValue(20), 1);
        EXPECT_EQ(CounterValue(stake == 50 ? 178 : 179), lWinAmount);
        EXPECT_EQ(CounterValue(stake == 50 ? 179 : 178), 0);
    }
}

TEST_F(Settle, ATakenFivePenceOfferWinsFivePenceWhateverTheOwnBall) {
    lPrizeAvailableThisGame = 300;
    lWinAmount = 5;  // the offer taken after the first round: 16 balls left
    for (int i = 1; i <= 5; ++i)
        axBalls[i].inPlay = 0;
    ASSERT_EQ(BallsLeft(), 16);
    SettleBallGame();
    EXPECT_EQ(GetGameState(), STATE_WON);
    EXPECT_EQ(lWinAmount, 5);
    EXPECT_EQ(lPrizeAvailableThisGame, 300) << "still shown when the own ball is opened";
    EXPECT_EQ(CounterValue(20), 0);
    EXPECT_EQ(CounterValue(178), 5);
}

TEST_F(Settle, TheStartOfTheBallGameIsMeteredByStakeAndOwnBall) {
    lPrizeAvailableThisGame = 3;
    CountBallGameStart();
    uwPriceOfPlay = 100;
    lPrizeAvailableThisGame = 500;
    CountBallGameStart();
    lPrizeAvailableThisGame = 300;
    CountBallGameStart();
    EXPECT_EQ(CounterValue(45), 1);
    EXPECT_EQ(CounterValue(46), 2);
    EXPECT_EQ(CounterValue(180), 1);
    EXPECT_EQ(CounterValue(64), 1);
    int32_t valueMeters = 0;
    for (int meter = 47; meter <= 65; ++meter)
        valueMeters += CounterValue(meter);
    EXPECT_EQ(valueMeters, 1) << "£3 counts no value meter";
}
