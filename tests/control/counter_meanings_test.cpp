#include "engines/control/counter_meanings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/control/controller.h"

namespace {

TEST(CounterMeaningsTest, EveryCounterHasExactlyOneEntry) {
    std::vector<int> owners(kCounterCount, 0);
    for (const CounterRange& range : CounterRanges()) {
        ASSERT_LE(range.first, range.last);
        for (int index = range.first; index <= range.last; ++index) {
            ASSERT_GE(index, 0);
            ASSERT_LT(index, kCounterCount);
            ++owners[index];
        }
        EXPECT_NE(std::string(range.meaning), "");
        EXPECT_NE(std::string(CounterGroupName(range.group)), "");
    }
    for (int index = 0; index < kCounterCount; ++index) {
        EXPECT_EQ(owners[index], 1) << "counter " << index;
        const CounterRange* range = FindCounterRange(index);
        ASSERT_NE(range, nullptr);
        EXPECT_GE(index, range->first);
        EXPECT_LE(index, range->last);
    }
    EXPECT_EQ(FindCounterRange(-1), nullptr);
    EXPECT_EQ(FindCounterRange(kCounterCount), nullptr);
    EXPECT_EQ(CounterMeaning(kCounterCount), "");
}

TEST(CounterMeaningsTest, NamedIndexesAgreeWithTheTable) {
    EXPECT_EQ(CounterMeaning(counter::kGames50p), "games bought at 50p");
    EXPECT_EQ(CounterMeaning(counter::kGamesPoundByBand + 6),
              "£1 games by band at the start: band 6");
    EXPECT_EQ(CounterMeaning(counter::kWon50pByBand), "won at 50p by band at the end: band 0");
    EXPECT_EQ(CounterMeaning(counter::kOwnBallUnder5p), "player's own ball worth 1p to 4p");
    EXPECT_EQ(FindCounterRange(counter::kPlayingSeconds)->unit, CounterUnit::Seconds);
    for (int money : {21, 22, 23, 24, 30, 31, 37, 178, 179}) {
        EXPECT_EQ(FindCounterRange(money)->unit, CounterUnit::Pence) << money;
    }
    for (int count : {0, 1, 2, 19, 38, 41, 47, 66, 176, 180}) {
        EXPECT_EQ(FindCounterRange(count)->unit, CounterUnit::Count) << count;
    }
}

TEST(CounterMeaningsTest, OwnBallCountersFollowThePrizeValues) {
    const int prizeValues[] = {5,  10, 15, 20, 25,  30,  35,  40,  45,  50,
                               60, 70, 80, 90, 100, 150, 200, 500, 1000};
    int index = counter::kOwnBallByValue;
    for (int value : prizeValues) {
        EXPECT_EQ(CounterMeaning(index), "player's own ball worth " + std::to_string(value) + "p");
        ++index;
    }
    EXPECT_EQ(index, 66);
}

TEST(CounterMeaningsTest, OfferCountersFollowTheOfferValues) {
    // The offer statistics count an offer v of 5 to 100p in 65 + v / 5 and one of 110 to 1000p
    // in 75 + v / 10.
    for (int value = 5; value <= 100; value += 5) {
        EXPECT_EQ(CounterMeaning(65 + value / 5), "offers made of " + std::to_string(value) + "p");
    }
    for (int value = 110; value <= 1000; value += 10) {
        EXPECT_EQ(CounterMeaning(75 + value / 10), "offers made of " + std::to_string(value) + "p");
    }
    EXPECT_EQ(CounterMeaning(counter::kOffersOther), "offers made of any other value");
}

}  // namespace
