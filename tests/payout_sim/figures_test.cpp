// The figures: the payout's interval, the modelled player's chances and choices, and the
// question rules the simulator shares with the question screens.
#include <gtest/gtest.h>

#include <cmath>

#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/question_packs.h"
#include "rules/question_rules.h"
#include "sim/modelled_player.h"
#include "sim/payout_tally.h"

TEST(PayoutTally, AtOneStakeTheIntervalIsThatOfThePerGameRatios) {
    PayoutTally tally;
    tally.Add(50, 0, 3);
    tally.Add(50, 50, 3);
    tally.Add(50, 100, 2);
    // Ratios 0, 1 and 2: mean 1, sd 1, standard error 1 / sqrt 3.
    EXPECT_DOUBLE_EQ(tally.PayoutPercent(), 100.0);
    const PercentInterval interval = tally.Interval95();
    EXPECT_NEAR(interval.low, 100.0 - 196.0 / std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(interval.high, 100.0 + 196.0 / std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(tally.BandPercent(3), 200.0 / 3.0, 1e-9);
    EXPECT_EQ(tally.BandGames(2), 1);
    EXPECT_EQ(tally.BandGames(7), 0);
}

TEST(PayoutTally, MixedStakesUseTheRatioOfWinningsToTakings) {
    PayoutTally tally;
    tally.Add(50, 50, 0);
    tally.Add(100, 0, 0);
    // Paid 50 of 150 taken; residuals 50 - 50/3 and -100/3; sum of squares 2 x (100/3)^2.
    EXPECT_NEAR(tally.PayoutPercent(), 100.0 / 3.0, 1e-12);
    const double standardError = std::sqrt(2.0 * (100.0 / 3.0) * (100.0 / 3.0) / 2.0) / 75.0;
    EXPECT_NEAR(tally.Interval95().high, 100.0 / 3.0 + 196.0 * standardError, 1e-9);

    PayoutTally merged;
    PayoutTally pound;
    pound.Add(100, 0, 0);
    merged.Add(50, 50, 0);
    merged.Merge(pound);
    EXPECT_EQ(merged.Taken(), tally.Taken());
    EXPECT_DOUBLE_EQ(merged.Interval95().low, tally.Interval95().low);
}

TEST(PayoutTally, OneGameOrNoneHasNoSpread) {
    PayoutTally tally;
    EXPECT_EQ(tally.PayoutPercent(), 0.0);
    tally.Add(100, 30, 1);
    EXPECT_EQ(tally.Interval95().low, 30.0);
    EXPECT_EQ(tally.Interval95().high, 30.0);
}

TEST(ModelledPlayer, AnswersRightWithTheChanceOfTheDifficulty) {
    PlayerModel model;  // 90, 75, 60
    ModelledPlayer player(model, 12345);
    const int tries = 200000;
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        int right = 0;
        for (int i = 0; i < tries; ++i)
            right += player.AnswersRight(difficulty);
        // Three standard deviations at most 0.34 % of the tries.
        EXPECT_NEAR(100.0 * right / tries, model.rightPercent[difficulty - 1], 0.4);
    }
    model.rightPercent[0] = 0.0;
    model.rightPercent[2] = 100.0;
    ModelledPlayer certain(model, 1);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_FALSE(certain.AnswersRight(1));
        EXPECT_TRUE(certain.AnswersRight(3));
        EXPECT_TRUE(certain.AnswersTryAgainRight(3)) << "a try-again follows the question";
    }
}

TEST(ModelledPlayer, ChoosesEveryChoiceAlike) {
    ModelledPlayer player(PlayerModel{}, 9);
    int counts[21] = {};
    for (int i = 0; i < 21000; ++i) {
        const int choice = player.Choose(21);
        ASSERT_GE(choice, 0);
        ASSERT_LT(choice, 21);
        ++counts[choice];
    }
    for (int count : counts)
        EXPECT_NEAR(count, 1000, 130);
    EXPECT_EQ(player.Choose(1), 0);
}

TEST(ModelledPlayer, TakePolicies) {
    PlayerModel model;
    EXPECT_FALSE(ModelledPlayer(model, 1).TakesOffer({1, 500, 10.0}));
    model.take = {TakePolicy::Kind::NthOffer, 2, 0.0};
    EXPECT_FALSE(ModelledPlayer(model, 1).TakesOffer({1, 500, 10.0}));
    EXPECT_TRUE(ModelledPlayer(model, 1).TakesOffer({2, 5, 100.0}));
    model.take = {TakePolicy::Kind::Ratio, 0, 90.0};
    EXPECT_TRUE(ModelledPlayer(model, 1).TakesOffer({1, 45, 50.0}));
    EXPECT_FALSE(ModelledPlayer(model, 1).TakesOffer({1, 40, 50.0}));
}

namespace {

// Opens a game record whose question level is `level` (band 3 holds levels 0 to 3).
void OpenGameWithQuestionLevel(int level) {
    ResetControlData();
    uwPriceOfPlay = 50;
    controllerBalances[0] = level == 4 ? -700.0f : 0.0f;
    for (uint32_t seed = 1;; ++seed) {
        SeedRandom(seed);
        ControlOpen(0);
        if (QuestionLevel() == level) return;
        ControlClose();
    }
}

}  // namespace

TEST(QuestionRules, LevelsOneToThreeAreLoweredAFifthOfTheTime) {
    for (int level = 0; level <= 4; ++level) {
        OpenGameWithQuestionLevel(level);
        int lowered = 0;
        const int tries = 20000;
        for (int i = 0; i < tries; ++i) {
            const int drawn = DrawQuestionLevel();
            ASSERT_TRUE(drawn == level || drawn == level - 1);
            lowered += drawn != level;
        }
        ControlClose();
        const double expected = level >= 1 && level <= 3 ? 20.0 : 0.0;
        EXPECT_NEAR(100.0 * lowered / tries, expected, 1.0) << "level " << level;
    }
}

TEST(QuestionRules, DifficultyOfTheRoundAndOfAGivenQuestion) {
    EXPECT_EQ(RoundQuestionDifficulty(0, 0), 2);
    EXPECT_EQ(RoundQuestionDifficulty(4, 0), 3);
    EXPECT_EQ(RoundQuestionDifficulty(6, 4), 1);
    EXPECT_EQ(RoundQuestionDifficulty(20, 3), RoundQuestionDifficulty(7, 3)) << "past the table";
    OpenGameWithQuestionLevel(0);
    questionsAskedThisRound = 5;
    EXPECT_EQ(NextQuestionDifficulty(0, 1), 3);
    EXPECT_EQ(NextQuestionDifficulty(1, 1), 1);
    ControlClose();
    EXPECT_EQ(TryAgainsAtStart(0), 1);
    EXPECT_EQ(TryAgainsAtStart(9), 1);
}
