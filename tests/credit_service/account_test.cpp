#include "account.h"

#include <gtest/gtest.h>

namespace {

std::optional<Balances> Apply(int credit, int bank, Operation operation, int amount) {
    return ApplyOperation({credit, bank}, operation, amount);
}

TEST(CreditUse, TakesTheStakeFromTheCreditWhenItCovers) {
    EXPECT_EQ(Apply(150, 300, Operation::UseCredit, 100), (Balances{50, 300}));
    EXPECT_EQ(Apply(50, 0, Operation::UseCredit, 50), (Balances{0, 0}));
}

TEST(CreditUse, TakesTheShortfallFromTheBankInWholePounds) {
    EXPECT_EQ(Apply(30, 200, Operation::UseCredit, 50), (Balances{80, 100}));
    EXPECT_EQ(Apply(0, 500, Operation::UseCredit, 100), (Balances{0, 400}));
    EXPECT_EQ(Apply(0, 500, Operation::UseCredit, 50), (Balances{50, 400}));
    EXPECT_EQ(Apply(99, 200, Operation::UseCredit, 100), (Balances{99, 100}));
}

TEST(CreditUse, TakesTheWholeBankWhenItHoldsLessThanThePoundsNeeded) {
    // The game offers play on credit + bank; odd pence in the bank must not block a stake.
    EXPECT_EQ(Apply(30, 50, Operation::UseCredit, 50), (Balances{30, 0}));
    EXPECT_EQ(Apply(40, 60, Operation::UseCredit, 100), (Balances{0, 0}));
}

TEST(CreditUse, RefusesWhatCreditAndBankCannotCover) {
    EXPECT_FALSE(Apply(30, 0, Operation::UseCredit, 50));
    EXPECT_FALSE(Apply(49, 50, Operation::UseCredit, 100));
    EXPECT_FALSE(Apply(0, 0, Operation::UseCredit, 1));
}

TEST(Additions, StayWithinWhatTheGameCanRead) {
    EXPECT_EQ(Apply(9000, 0, Operation::AddCredit, 999), (Balances{9999, 0}));
    EXPECT_FALSE(Apply(9000, 0, Operation::AddCredit, 1000));
    EXPECT_FALSE(Apply(9999, 0, Operation::Insert, 1));
    EXPECT_EQ(Apply(0, 0, Operation::Insert, 9999), (Balances{9999, 0}));
    EXPECT_EQ(Apply(5, 9000, Operation::AddBank, 999), (Balances{5, 9999}));
    EXPECT_FALSE(Apply(5, 9100, Operation::AddBank, 900));
    EXPECT_FALSE(Apply(0, 0, Operation::AddBank, 10000));
}

TEST(Amounts, OutsideOneToTheMaximumAreRefusedForEveryOperation) {
    for (Operation operation :
         {Operation::UseCredit, Operation::AddCredit, Operation::AddBank, Operation::Insert}) {
        EXPECT_FALSE(Apply(5000, 5000, operation, 0));
        EXPECT_FALSE(Apply(5000, 5000, operation, -50));
        EXPECT_FALSE(Apply(5000, 5000, operation, kMaxAmount + 1));
    }
}

TEST(Collect, TakesExactlyTheWholeBank) {
    EXPECT_EQ(Apply(120, 700, Operation::Collect, 700), (Balances{120, 0}));
    EXPECT_FALSE(Apply(120, 700, Operation::Collect, 600));
    EXPECT_FALSE(Apply(120, 0, Operation::Collect, 0));
}

TEST(FormatPounds, ShowsPoundsAndPence) {
    EXPECT_EQ(FormatPounds(0), "\u00a30.00");
    EXPECT_EQ(FormatPounds(5), "\u00a30.05");
    EXPECT_EQ(FormatPounds(9999), "\u00a399.99");
}

}  // namespace
