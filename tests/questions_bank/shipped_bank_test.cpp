// The question bank the cabinet ships: regulars play every week, so the bank must be big enough
// and varied enough that they do not learn it by heart or meet a statement twice in one game.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bank_checks.h"
#include "bank_source.h"
#include "repeat_chance.h"
#include "rules/pack_format.h"

namespace {

const std::vector<BankCategory>& ShippedBank() {
    static const std::vector<BankCategory> bank = ReadBank(VANTOR_SOURCE_DIR "/content/questions");
    return bank;
}

std::size_t Statements(const BankCategory& category) {
    return category.trueStatements.size() + category.falseStatements.size();
}

TEST(ShippedBank, HasNoStatementTwiceInOtherWords) {
    for (const NearDuplicate& pair : FindNearDuplicates(ShippedBank()))
        ADD_FAILURE() << "nearly the same statement twice:\n  " << pair.first << "\n  "
                      << pair.second;
}

TEST(ShippedBank, HoldsEnoughStatementsAtEachDifficulty) {
    std::size_t byLetter[3] = {};
    std::size_t all = 0;
    for (const BankCategory& category : ShippedBank()) {
        const char letter = DifficultyLetter(category.number);
        byLetter[letter == 'e' ? 0 : letter == 'm' ? 1 : 2] += Statements(category);
        all += Statements(category);
    }
    EXPECT_GE(all, 4000u);
    EXPECT_GE(byLetter[0], 1000u) << "easy";
    EXPECT_GE(byLetter[2], 1000u) << "hard";
}

// The answer must not be guessable from how often TRUE comes up in a category.
TEST(ShippedBank, KeepsTrueAndFalseWithinTenPercentInEveryCategory) {
    for (const BankCategory& category : ShippedBank()) {
        const std::size_t more =
            std::max(category.trueStatements.size(), category.falseStatements.size());
        const std::size_t fewer =
            std::min(category.trueStatements.size(), category.falseStatements.size());
        EXPECT_LE(10 * (more - fewer), more)
            << "category " << category.number << ": " << category.trueStatements.size() << " TRUE, "
            << category.falseStatements.size() << " FALSE";
    }
}

TEST(ShippedBank, RarelyAsksAStatementTwiceInOneGame) {
    EXPECT_LT(WorstRepeatChance(PackSizesOf(ShippedBank())), 0.02);
}

}  // namespace
