// The bank's checks on small hand-made banks: what counts as the same statement twice, and the
// chance of a repeated statement in a game, worked out by hand from the game's tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bank_checks.h"
#include "repeat_chance.h"

namespace {

BankCategory Category(int number, std::vector<std::string> trueTexts,
                      std::vector<std::string> falseTexts) {
    BankCategory category{number, {"topic.txt"}, {}, {}};
    int line = 1;
    for (std::string& text : trueTexts)
        category.trueStatements.push_back({std::move(text), 0, ++line});
    for (std::string& text : falseTexts)
        category.falseStatements.push_back({std::move(text), 0, ++line});
    return category;
}

TEST(BankChecks, NormalisedStatementsIgnoreCasePunctuationAndArticles) {
    EXPECT_EQ(NormalisedStatement("The Thames flows through London."),
              NormalisedStatement("thames flows  through a London"));
    EXPECT_EQ(NormalisedStatement("Nelson's Column is in Trafalgar Square!"),
              "nelsons column is in trafalgar square");
    EXPECT_EQ(NormalisedStatement("A twelve-sided #1 coin"), "twelve sided #1 coin");
    EXPECT_NE(NormalisedStatement("A #1 coin"), NormalisedStatement("A 1 coin"));
}

TEST(BankChecks, NearDuplicatesAreTheSameWordsInTheSamePackNotATrueAndFalsePair) {
    const std::vector<BankCategory> bank = {
        Category(1,
                 {"Bonfire Night in the UK is on 5 November.", "Stilton is a blue cheese.",
                  "Perry is an alcoholic drink made from pears."},
                 {"Bonfire Night in the UK is on 5 October.",
                  "Apple sauce is traditionally served with roast beef."}),
        Category(9, {"In the UK Bonfire Night is on 5 November."},
                 {"Bread sauce is traditionally served with roast beef."}),
    };
    const std::vector<NearDuplicate> found = FindNearDuplicates(bank);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].first, "topic.txt:2: Bonfire Night in the UK is on 5 November.");
    EXPECT_EQ(found[0].second, "topic.txt:2: In the UK Bonfire Night is on 5 November.");
}

PackSizes Sizes(std::size_t truePacks, std::size_t falsePacks) {
    PackSizes sizes{};
    for (std::size_t pack = 0; pack < sizes.size(); ++pack)
        sizes[pack] = pack % 2 == 0 ? truePacks : falsePacks;
    return sizes;
}

TEST(RepeatChance, WorkedOutFromTheGamesDifficultyTables) {
    // Level 4: all eleven questions are easy. 55 pairs, each meeting the same statement with
    // chance (1/8)^2 x (4/n + 4/m) = (1/16)(1/n + 1/m).
    EXPECT_NEAR(RepeatChance(Sizes(100, 300), 4, 4), 55.0 / 16 * (1.0 / 100 + 1.0 / 300), 1e-12);
    // Level 0: three medium round questions, then four hard ones and four hard questions after
    // refused offers: 3 medium pairs and 28 hard pairs, each 1/(20n).
    EXPECT_NEAR(RepeatChance(Sizes(50, 50), 0, 0), 31.0 / (20 * 50), 1e-12);
    // Level 3, lowered to 2 a fifth of the time: the round's easy chances are 1, 1, 1, .8, .8, 0,
    // 0 and the refusals' 1, 1, 0, 0; medium .2, .2, .8 in the round and 1, 1 after offers; hard
    // .2 and 1 in the round. Pairs: easy 18.64/(8n), medium 3.76/(20n), hard .2/(20n).
    EXPECT_NEAR(RepeatChance(Sizes(40, 40), 3, 3), (18.64 / 8 + 3.96 / 20) / 40, 1e-12);
    EXPECT_NEAR(WorstRepeatChance(Sizes(40, 40)), 55.0 / 8 / 40, 1e-12) << "all easy is worst";
}

TEST(RepeatChance, AnEmptyPackCountsOnlyWhereItsDifficultyIsAsked) {
    PackSizes sizes = Sizes(1000, 1000);
    sizes[2 * (20 - 1) + 1] = 0;  // category 20's FALSE pack is empty: counted as one statement
    EXPECT_NEAR(RepeatChance(sizes, 4, 4), 55.0 / 8 / 1000, 1e-12) << "level 4 asks no hard one";
    EXPECT_GT(RepeatChance(sizes, 0, 0), 28.0 / 400);
}

}  // namespace
