#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/random.h"

TEST(Random, SeedOneGivesTheKnownSequence) {
    SeedRandom(1);
    EXPECT_EQ(RandomDraw(), 41u);
    EXPECT_EQ(RandomDraw(), 18467u);
    EXPECT_EQ(RandomDraw(), 6334u);
    EXPECT_EQ(RandomDraw(), 26500u);
    EXPECT_EQ(RandomDraw(), 19169u);
}

TEST(Random, SameSeedSameDraws) {
    SeedRandom(123456789);
    std::vector<unsigned> first;
    for (int i = 0; i < 100; ++i)
        first.push_back(RandomBelow(1000));
    SeedRandom(123456789);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(RandomBelow(1000), first[i]);
}

TEST(Random, BelowZeroAndOneAreZero) {
    SeedRandom(7);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(RandomBelow(0), 0u);
        EXPECT_EQ(RandomBelow(1), 0u);
    }
}

TEST(Random, BelowIsThePlainRemainderOfADraw) {
    SeedRandom(99);
    unsigned draw = RandomDraw();
    SeedRandom(99);
    EXPECT_EQ(RandomBelow(22), draw % 22);
}

TEST(Random, PercentChanceLimits) {
    SeedRandom(5);
    for (int i = 0; i < 500; ++i) {
        EXPECT_FALSE(PercentChance(0));
        EXPECT_FALSE(PercentChance(-3));
        EXPECT_TRUE(PercentChance(100));
        EXPECT_TRUE(PercentChance(250));
    }
    int hits = 0;
    for (int i = 0; i < 10000; ++i)
        hits += PercentChance(33);
    EXPECT_NEAR(hits, 3300, 300);
}

TEST(Random, ShuffleKeepsTheValuesAndCountsSteps) {
    SeedRandom(2024);
    std::vector<int> values{5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200};
    std::vector<int> shuffled = values;
    EXPECT_EQ(ShuffleValues(shuffled.data(), static_cast<int>(shuffled.size())),
              static_cast<int>(values.size()) - 1);
    EXPECT_NE(shuffled, values);
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, values);

    int one = 9;
    EXPECT_EQ(ShuffleValues(&one, 1), 0);
    EXPECT_EQ(ShuffleValues(nullptr, 0), 0);
}

TEST(Random, ShuffleIsForwardFisherYates) {
    // Position i takes the element at i + RandomBelow(count - i).
    SeedRandom(77);
    std::vector<int> expected{0, 1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        unsigned j = RandomBelow(static_cast<unsigned>(4 - i));
        std::swap(expected[i], expected[i + j]);
    }
    SeedRandom(77);
    std::vector<int> values{0, 1, 2, 3};
    ShuffleValues(values.data(), 4);
    EXPECT_EQ(values, expected);
}
