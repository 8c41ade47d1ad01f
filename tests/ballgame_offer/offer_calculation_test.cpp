// The offer's price: the worked example, rounding, floor and caps, the order of the random draws,
// the meters, the refusal question's difficulty, and properties over many dealt boards.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "base/random.h"
#include "engines/control/controller.h"
#include "rules/offer_calculation.h"

namespace {

// Draws scripted by the test, recording what was asked for ("below 6", "chance 70").
class ScriptedDraws : public OfferDraws {
  public:
    std::deque<unsigned> belows;
    std::deque<bool> chances;
    std::vector<std::string> asked;

    unsigned Below(unsigned n) override {
        asked.push_back("below " + std::to_string(n));
        EXPECT_FALSE(belows.empty()) << "unscripted draw below " << n;
        if (belows.empty()) return 0;
        const unsigned draw = belows.front();
        belows.pop_front();
        return draw;
    }
    bool Chance(int percent) override {
        asked.push_back("chance " + std::to_string(percent));
        EXPECT_FALSE(chances.empty()) << "unscripted chance of " << percent;
        if (chances.empty()) return false;
        const bool draw = chances.front();
        chances.pop_front();
        return draw;
    }
};

Ball BallInPlay(int32_t value) {
    Ball ball{};
    ball.inPlay = 1;
    ball.value = value;
    return ball;
}

std::vector<Ball> BallsInPlay(std::initializer_list<int32_t> values) {
    std::vector<Ball> balls;
    for (int32_t value : values)
        balls.push_back(BallInPlay(value));
    return balls;
}

struct Offer {
    float offer;
    std::vector<std::string> asked;
};

// The offer for balls in play, with the draws scripted.
Offer OfferFor(const std::vector<Ball>& balls, int32_t prizeAvailable, int offerLevel,
               int offersMade, int stake, std::deque<unsigned> belows,
               std::deque<bool> chances = {}) {
    ScriptedDraws draws;
    draws.belows = std::move(belows);
    draws.chances = std::move(chances);
    const OfferResult result =
        CalculateOffer({balls, prizeAvailable, offerLevel, offersMade, stake}, draws);
    EXPECT_TRUE(draws.belows.empty() && draws.chances.empty()) << "scripted draws left over";
    return {result.offer, draws.asked};
}

// A one-ball board whose first offer at offer level 2 (50 %, extra 0, x 1.6) has the base given:
// the average is twice the base. The ball must not be an empty one.
Offer FirstOfferWithBase(int32_t base, int32_t prizeAvailable, int stake,
                         std::deque<unsigned> belows, std::deque<bool> chances = {}) {
    EXPECT_GT(2 * base - prizeAvailable, 4) << "the board's ball would be empty";
    belows.push_front(0);
    return OfferFor(BallsInPlay({2 * base - prizeAvailable}), prizeAvailable, 2, 0, stake,
                    std::move(belows), std::move(chances));
}

const std::vector<std::string> kPercentOnly = {"below 6"};
const std::vector<std::string> kPercentAndChance = {"below 6", "chance 70"};

}  // namespace

TEST(OfferCalculation, WorkedExampleFallsBelowTheOwnBallOrRoundsDown) {
    const std::vector<Ball> balls = BallsInPlay({5, 10, 300});
    ScriptedDraws draws;
    draws.belows = {0};
    draws.chances = {true};
    const OfferResult kept = CalculateOffer({balls, 20, 0, 0, 50}, draws);
    EXPECT_EQ(kept.amountLeft, 315);
    EXPECT_EQ(kept.boxesLeft, 3);
    EXPECT_FLOAT_EQ(kept.offerBeforeAdjustment, 78.4f);
    EXPECT_EQ(kept.offer, 15.0f);
    EXPECT_EQ(draws.asked, kPercentAndChance);

    EXPECT_EQ(OfferFor(balls, 20, 0, 0, 50, {0}, {false}).offer, 75.0f);
}

TEST(OfferCalculation, SumsOnlyBallsInPlayAndLeavesEmptyValuesOutOfTheSum) {
    std::vector<Ball> balls = BallsInPlay({1, 4, 100, 200, 300});
    balls[4].inPlay = 0;  // opened already
    const OfferResult result = CalculateOffer({balls, 20, 0, 0, 50}, GameDraws());
    EXPECT_EQ(result.amountLeft, 300);
    EXPECT_EQ(result.boxesLeft, 4);
}

TEST(OfferCalculation, ABoardWithNothingLeftAveragesTheOwnBallAloneInsteadOfDividingByZero) {
    std::vector<Ball> balls = BallsInPlay({100});
    balls[0].inPlay = 0;
    // 200p own ball alone: 50 % is 100, x 1.6 = 160, under the 50p cap, below the own ball.
    const Offer offer = OfferFor(balls, 200, 2, 0, 50, {0});
    EXPECT_EQ(offer.offer, 160.0f);
}

TEST(OfferCalculation, PercentageGrowsWithLevelOffersAndTheExtraDraw) {
    // A single ball of 1000 - P: the average is 1000, so the base is ten times the percentage.
    const std::vector<Ball> balls = BallsInPlay({995});
    ScriptedDraws draws;
    draws.belows = {5, 0};
    draws.chances = {false};
    // Level 4, third offer: (86 + 5) % of 1000 = 910, x 1.4 = 1274 (then capped).
    const OfferResult result = CalculateOffer({balls, 5, 4, 2, 100}, draws);
    EXPECT_FLOAT_EQ(result.offerBeforeAdjustment, 1274.0f);
    // Every row and column, extra 0: the raw offer is percentage x 10 x multiplier.
    for (int level = 0; level < kOfferLevelCount; ++level) {
        for (int made = 0; made < kMostOffers; ++made) {
            ScriptedDraws each;
            each.belows = {0, 0};
            each.chances = {false};
            const OfferResult raw = CalculateOffer({balls, 5, level, made, 100}, each);
            EXPECT_FLOAT_EQ(raw.offerBeforeAdjustment,
                            offerPercentages[level][made] * offerMultiplierTenths[made]);
        }
    }
}

TEST(OfferCalculation, RoundsDownToTensAbove90AndFivesUpTo90) {
    // 60 x 1.6 = 96 -> 90; 59 x 1.6 = 94.4 -> 90; 56 x 1.6 = 89.6 -> 85; 57 x 1.6 = 91.2 -> 90.
    EXPECT_EQ(FirstOfferWithBase(60, 5, 50, {}, {false}).offer, 90.0f);
    EXPECT_EQ(FirstOfferWithBase(59, 5, 50, {}, {false}).offer, 90.0f);
    EXPECT_EQ(FirstOfferWithBase(56, 5, 50, {}, {false}).offer, 85.0f);
    EXPECT_EQ(FirstOfferWithBase(57, 5, 50, {}, {false}).offer, 90.0f);
    // 63 x 1.6 = 100.8 kept below a 96p ball is 95.8: above 90, so it rounds down to 90.
    EXPECT_EQ(FirstOfferWithBase(63, 96, 50, {}, {true}).offer, 90.0f);
    // Kept below a 91p ball it is 90.8: a multiple of 5 already, its fraction dropped: 90.
    EXPECT_EQ(FirstOfferWithBase(63, 91, 50, {}, {true}).offer, 90.0f);
    // 81 x 1.6 = 129.6 -> 120.
    EXPECT_EQ(FirstOfferWithBase(81, 5, 50, {}, {false}).offer, 120.0f);
}

TEST(OfferCalculation, NeverOffersLessThanFivePence) {
    // An average of 4 (an empty own ball and an empty ball left): 2 x 1.6 = 3.2 -> 0 -> 5.
    const Offer tiny = OfferFor(BallsInPlay({1}), 4, 2, 0, 50, {0});
    EXPECT_EQ(tiny.offer, 5.0f);
    EXPECT_EQ(tiny.asked, kPercentOnly);
    // An offer of 6.4 kept below a 5p own ball falls to 4.4 and comes back up to 5.
    EXPECT_EQ(OfferFor(BallsInPlay({11, 1}), 5, 2, 0, 50, {0}, {true}).offer, 5.0f);
}

TEST(OfferCalculation, CapsLargeOffersByStakeWithItsOwnDraw) {
    // 50p: 200 x 1.6 = 320 reaches 300 and becomes (20 + draw) x 10.
    Offer capped = FirstOfferWithBase(200, 5, 50, {3}, {false});
    EXPECT_EQ(capped.offer, 230.0f);
    EXPECT_EQ(capped.asked, (std::vector<std::string>{"below 6", "chance 70", "below 6"}));
    // 185 x 1.6 = 296 -> 290 stays under the 50p limit, with no cap draw.
    EXPECT_EQ(FirstOfferWithBase(185, 5, 50, {}, {false}).offer, 290.0f);

    // £1: 300 x 1.6 = 480 stays.
    EXPECT_EQ(FirstOfferWithBase(300, 5, 100, {}, {false}).offer, 480.0f);
    // 313 x 1.6 = 500.8 -> 500 reaches the limit: (30 + draw) x 10.
    capped = FirstOfferWithBase(313, 5, 100, {15}, {false});
    EXPECT_EQ(capped.offer, 450.0f);
    EXPECT_EQ(capped.asked, (std::vector<std::string>{"below 6", "chance 70", "below 16"}));
    EXPECT_EQ(FirstOfferWithBase(313, 5, 100, {0}, {false}).offer, 300.0f);
    // The same offer kept below a 500p own ball is 499.8 -> 490, under the limit.
    const Offer undercut = FirstOfferWithBase(313, 500, 100, {}, {true});
    EXPECT_EQ(undercut.offer, 490.0f);
    EXPECT_EQ(undercut.asked, kPercentAndChance);
}

TEST(OfferCalculation, TheKeepBelowChanceIsDrawnOnlyWhenTheOfferReachesTheOwnBall) {
    // 78.4 against a 100p ball: no chance drawn.
    const Offer below = OfferFor(BallsInPlay({5, 10, 300}), 100, 0, 0, 50, {0});
    EXPECT_EQ(below.offer, 90.0f);  // avg 138, base 62, 99.2 -> 90
    EXPECT_EQ(below.asked, kPercentOnly);
    // Exactly at the own ball (whole pence equal) it is drawn.
    EXPECT_EQ(FirstOfferWithBase(50, 80, 50, {}, {true}).offer, 75.0f);
}

TEST(OfferCalculation, AnEmptyOwnBallIsNeverUndercut) {
    for (int32_t prize : {1, 2, 3, 4}) {
        const Offer offer = FirstOfferWithBase(50, prize, 50, {}, {true});
        EXPECT_EQ(offer.offer, 80.0f) << prize;
        EXPECT_EQ(offer.asked, kPercentAndChance) << prize;
    }
}

TEST(OfferCalculation, LevelsAndOfferCountsOutsideTheTablesUseTheNearestRow) {
    const std::vector<Ball> balls = BallsInPlay({995});
    auto raw = [&](int level, int made) {
        ScriptedDraws draws;
        draws.belows = {0, 0};
        draws.chances = {false};
        return CalculateOffer({balls, 5, level, made, 100}, draws).offerBeforeAdjustment;
    };
    EXPECT_EQ(raw(-3, -1), raw(0, 0));
    EXPECT_EQ(raw(9, 7), raw(4, 3));
}

TEST(OfferCalculation, TheGameGeneratorIsAdvancedOnlyByTheDrawsTheOfferNeeds) {
    auto drawsUsed = [](const std::vector<Ball>& balls, int32_t prize, int stake) {
        SeedRandom(1234);
        CalculateOffer({balls, prize, 2, 0, stake});
        const unsigned next = RandomDraw();
        SeedRandom(1234);
        for (int used = 0; used < 5; ++used)
            if (RandomDraw() == next) return used;
        return -1;
    };
    EXPECT_EQ(drawsUsed(BallsInPlay({5, 10, 300}), 500, 50), 1);  // far below the own ball
    EXPECT_EQ(drawsUsed(BallsInPlay({5, 10, 300}), 5, 50), 2);    // reaches it: the chance
    EXPECT_EQ(drawsUsed(BallsInPlay({997}), 3, 50), 3);           // and the 50p cap
}

TEST(OfferMeters, CountEachOfferByValueAndAboveTheOwnBall) {
    ResetControlData();
    CountOffer(5, 20);
    CountOffer(100, 100);
    CountOffer(110, 500);
    CountOffer(450, 300);
    CountOffer(1000, 1000);
    CountOffer(105, 5);
    CountOffer(1010, 5);
    CountOffer(3, 1);
    EXPECT_EQ(CounterValue(66), 1);   // 5p
    EXPECT_EQ(CounterValue(85), 1);   // 100p
    EXPECT_EQ(CounterValue(86), 1);   // 110p
    EXPECT_EQ(CounterValue(120), 1);  // 450p
    EXPECT_EQ(CounterValue(175), 1);  // 1000p
    EXPECT_EQ(CounterValue(176), 3);  // 105p, 1010p and 3p
    EXPECT_EQ(CounterValue(177), 4);  // 450 > 300, 105 > 5, 1010 > 5, 3 > 1
    int total = 0;
    for (int index = 0; index < kCounterCount; ++index)
        total += CounterValue(index);
    EXPECT_EQ(total, 8 + 4);
    ResetControlData();
}

TEST(RefusalQuestion, HarderForMeanerGamesAndLaterOffers) {
    EXPECT_EQ(RefusalQuestionDifficulty(0, 0), 3);
    EXPECT_EQ(RefusalQuestionDifficulty(0, 1), 2);
    EXPECT_EQ(RefusalQuestionDifficulty(0, 4), 1);
    EXPECT_EQ(RefusalQuestionDifficulty(1, 1), 3);
    EXPECT_EQ(RefusalQuestionDifficulty(2, 3), 2);
    EXPECT_EQ(RefusalQuestionDifficulty(3, 4), 1);
    EXPECT_EQ(RefusalQuestionDifficulty(5, -1), 3);
    for (int made = 0; made < kMostOffers; ++made) {
        for (int level = 1; level < kOfferLevelCount; ++level)
            EXPECT_LE(RefusalQuestionDifficulty(made, level),
                      RefusalQuestionDifficulty(made, level - 1));
    }
}

namespace {

// Passes the game generator's draws through, noting whether the offer reached the own ball and
// whether it was capped.
class WatchedDraws : public OfferDraws {
  public:
    int belows = 0;
    bool chanceDrawn = false;
    bool chanceTrue = false;
    unsigned Below(unsigned n) override {
        ++belows;
        return GameDraws().Below(n);
    }
    bool Chance(int percent) override {
        chanceDrawn = true;
        chanceTrue = GameDraws().Chance(percent);
        return chanceTrue;
    }
};

// A dealt board for the stake, the player's ball chosen and `opened` balls opened.
std::vector<Ball> DealtBoard(int stake, int opened, std::mt19937& dealer, int32_t& prize) {
    const int32_t* table = stake > 50 ? poundValues : fiftyPenceValues;
    std::vector<int32_t> values(table, table + kBallCount);
    std::shuffle(values.begin(), values.end(), dealer);
    std::vector<Ball> balls;
    for (int32_t value : values)
        balls.push_back(BallInPlay(value));
    balls[0].inPlay = 0;  // the player's ball
    prize = balls[0].value;
    for (int index = 1; index <= opened; ++index)
        balls[static_cast<size_t>(index)].inPlay = 0;
    return balls;
}

}  // namespace

TEST(OfferCalculation, EveryOfferOfManyDealtBoardsKeepsTheRules) {
    std::mt19937 dealer(20240601);
    SeedRandom(99);
    int reached = 0;
    int keptBelow = 0;
    for (int game = 0; game < 6000; ++game) {
        const int stake = game % 2 == 0 ? 50 : 100;
        const int level = static_cast<int>(dealer() % kOfferLevelCount);
        for (int made = 0; made < kMostOffers; ++made) {
            int32_t prize = 0;
            const std::vector<Ball> balls = DealtBoard(stake, 5 * (made + 1), dealer, prize);
            WatchedDraws draws;
            const float offer = CalculateOffer({balls, prize, level, made, stake}, draws).offer;
            const int32_t pence = static_cast<int32_t>(offer);
            SCOPED_TRACE("stake " + std::to_string(stake) + " level " + std::to_string(level) +
                         " offer " + std::to_string(made) + " own ball " + std::to_string(prize));
            ASSERT_EQ(offer, static_cast<float>(pence));
            ASSERT_GE(pence, 5);
            const bool capped = draws.belows == 2;
            if (capped) {
                ASSERT_EQ(pence % 10, 0);
                ASSERT_LE(pence, stake > 50 ? 450 : 250);
                ASSERT_GE(pence, stake > 50 ? 300 : 200);
            } else {
                ASSERT_EQ(pence % (pence > 90 ? 10 : 5), 0);
                ASSERT_LT(pence, stake > 50 ? 500 : 300);
            }
            if (draws.chanceTrue && prize > 5) {
                ASSERT_LT(pence, prize);
            }
            // A 5p own ball cannot be undercut: the floor brings the offer back to 5p.
            if (draws.chanceDrawn && prize > 5) {
                ++reached;
                if (pence < prize) ++keptBelow;
            }
        }
    }
    ASSERT_GT(reached, 1000);
    const double share = 100.0 * keptBelow / reached;
    EXPECT_NEAR(share, 70.0, 4.0) << keptBelow << " of " << reached;
}
