#include "engines/control/controller.h"
#include "rules/sale.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/random.h"
#include "engines/control/game_state.h"
#include "engines/control/record_file.h"
#include "engines/credit/credit_link.h"
#include "support/fake_credit_service.h"
#include "support/work_dir.h"

namespace {

struct Levels {
    int16_t prize, question, offer, tryAgain;
    bool operator==(const Levels&) const = default;
};

Levels CurrentLevels() {
    return {PrizeLevel(), QuestionLevel(), OfferLevel(), TryAgainLevel()};
}

// The levels a seeded draw from a band must give: a prize column, then one column r for the
// question level with the offer and try-again levels two and four columns further on.
Levels ExpectedLevels(int band, unsigned prizeColumn, unsigned column) {
    const int16_t* row = levelTable[band];
    return {row[prizeColumn], row[column], row[(column + 2) % 6], row[(column + 4) % 6]};
}

// Opens and closes one game drawn with the given seed; the levels it drew.
Levels DrawGame(uint32_t seed, uint32_t allowReduction) {
    SeedRandom(seed);
    EXPECT_EQ(ControlOpen(allowReduction), 1);
    const Levels levels = CurrentLevels();
    EXPECT_EQ(ControlClose(), 1);
    return levels;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class ControllerTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetControlData();
        ResetGameState();
        if (ControlIsOpen()) ControlClose();
        SeedRandom(1);
    }
    void TearDown() override {
        if (ControlIsOpen()) ControlClose();
        CloseCreditService();
    }

    // Every counter except the listed ones is still zero.
    static void ExpectOtherCountersZero(std::set<int> touched) {
        for (int i = 0; i < kCounterCount; ++i) {
            if (touched.contains(i)) continue;
            EXPECT_EQ(CounterValue(i), 0) << "counter " << i;
        }
    }

    ScopedWorkDir directory_;
};

// ---- Bands --------------------------------------------------------------------------------------

TEST_F(ControllerTest, BandOfEveryThresholdAndJustBelow) {
    const std::vector<std::pair<float, int>> cases = {
        {1e7f, 0},     {1000.0f, 0}, {999.99f, 1},
        {400.0f, 1},   {399.9f, 2},  {200.0f, 2},
        {199.5f, 3},   {0.0f, 3},    {-15.0f, 3},
        {-400.0f, 3},  {-400.5f, 4}, {-600.0f, 4},
        {-600.01f, 5}, {-800.0f, 5}, {-800.5f, 6},
        {-1e7f, 6},    {-1e30f, 6},  {std::numeric_limits<float>::quiet_NaN(), 6},
    };
    for (int stake = 0; stake < kStakeCount; ++stake) {
        for (const auto& [balance, band] : cases) {
            ResetControlData();
            controllerBalances[stake] = balance;
            EXPECT_EQ(ControllerBand(static_cast<int16_t>(stake)), band)
                << "stake " << stake << " balance " << balance;
            EXPECT_EQ(ControllerBand(static_cast<int16_t>(1 - stake)), 3) << "other stake";
        }
    }
}

TEST_F(ControllerTest, BalancesAddUpPerStakeAndIgnoreUnknownStakes) {
    ControllerAdd(0, -15.0f);
    ControllerAdd(0, 2.5f);
    ControllerAdd(1, 100.0f);
    ControllerAdd(2, 999.0f);
    EXPECT_FLOAT_EQ(ControllerValue(0), -12.5f);
    EXPECT_FLOAT_EQ(ControllerValue(1), 100.0f);
    EXPECT_EQ(ControllerValue(2), 0.0f);
    EXPECT_EQ(ControllerValue(-1), 0.0f);
    EXPECT_EQ(ControllerBand(7), 3);
}

// ---- Counters -----------------------------------------------------------------------------------

TEST_F(ControllerTest, CountersIgnoreIndexesOutsideTheTable) {
    CountIncrement(-1);
    CountIncrement(181);
    CountAdd(-32768, 5);
    CountAdd(181, 5);
    CountAdd(32767, 5);
    ExpectOtherCountersZero({});
    EXPECT_EQ(CounterValue(-1), 0);
    EXPECT_EQ(CounterValue(181), 0);

    CountIncrement(0);
    CountIncrement(180);
    CountAdd(180, -3);
    CountAdd(44, 59);
    EXPECT_EQ(CounterValue(0), 1);
    EXPECT_EQ(CounterValue(180), -2);
    EXPECT_EQ(CounterValue(44), 59);
    ExpectOtherCountersZero({0, 44, 180});
}

TEST_F(ControllerTest, CounterRollsOverAtTheEndOfItsRange) {
    gameCounters[23] = std::numeric_limits<int32_t>::max();
    CountIncrement(23);
    EXPECT_EQ(CounterValue(23), std::numeric_limits<int32_t>::min());
}

TEST_F(ControllerTest, TotalGamesPlayedAndReset) {
    CountAdd(counter::kGames50p, 7);
    CountAdd(counter::kGamesPound, 5);
    CountAdd(counter::kGames50pByBand + 3, 7);
    controllerBalances[1] = -30.0f;
    EXPECT_EQ(TotalGamesPlayed(), 12);
    ResetControlData();
    EXPECT_EQ(TotalGamesPlayed(), 0);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    ExpectOtherCountersZero({});
}

// ---- Drawing the levels -------------------------------------------------------------------------

TEST_F(ControllerTest, BandZeroAlwaysGivesTheMeanestLevels) {
    uwPriceOfPlay = 50;
    controllerBalances[0] = 1000.0f;
    for (uint32_t seed = 0; seed < 300; ++seed) {
        EXPECT_EQ(DrawGame(seed, 1), (Levels{0, 0, 0, 0})) << "seed " << seed;
    }
}

TEST_F(ControllerTest, BandsFiveAndSixAlwaysGiveTheMostGenerousLevels) {
    uwPriceOfPlay = 100;
    for (uint32_t seed = 0; seed < 300; ++seed) {
        controllerBalances[1] = -700.0f;  // band 5, drawn as it is
        EXPECT_EQ(DrawGame(seed, 0), (Levels{4, 4, 4, 4})) << "band 5 seed " << seed;
        controllerBalances[1] = -800.5f;  // band 6, or 5 when lowered
        EXPECT_EQ(DrawGame(seed, 1), (Levels{4, 4, 4, 4})) << "band 6 seed " << seed;
    }
}

TEST_F(ControllerTest, LevelsComeFromOneRowTwoColumnsApart) {
    uwPriceOfPlay = 50;
    const std::array<float, 4> balances = {500.0f, 300.0f, 0.0f, -500.0f};  // bands 1 to 4
    for (int band = 1; band <= 4; ++band) {
        controllerBalances[0] = balances[band - 1];
        ASSERT_EQ(ControllerBand(0), band);
        std::set<unsigned> columnsSeen;
        for (uint32_t seed = 0; seed < 200; ++seed) {
            SeedRandom(seed);
            const unsigned prizeColumn = RandomBelow(6);
            const unsigned column = RandomBelow(6);
            columnsSeen.insert(column);
            EXPECT_EQ(DrawGame(seed, 0), ExpectedLevels(band, prizeColumn, column))
                << "band " << band << " seed " << seed;
        }
        EXPECT_EQ(columnsSeen.size(), 6u);
    }
}

TEST_F(ControllerTest, ABandIsLoweredAboutOneGameInThree) {
    uwPriceOfPlay = 50;
    controllerBalances[0] = -500.0f;  // band 4: row 3,3,3,4,4,4; band 3 below it: 0,1,2,2,3,3
    int lowered = 0;
    const int games = 3000;
    for (uint32_t seed = 0; seed < games; ++seed) {
        SeedRandom(seed);
        const bool lower = PercentChance(33);
        const unsigned prizeColumn = RandomBelow(6);
        const unsigned column = RandomBelow(6);
        lowered += lower;
        EXPECT_EQ(DrawGame(seed, 1), ExpectedLevels(lower ? 3 : 4, prizeColumn, column))
            << "seed " << seed;
    }
    EXPECT_GT(lowered, games * 28 / 100);
    EXPECT_LT(lowered, games * 38 / 100);
}

TEST_F(ControllerTest, OpeningUsesThePoundBalanceForStakesAbove50) {
    controllerBalances[0] = 5000.0f;   // band 0: all 0
    controllerBalances[1] = -5000.0f;  // band 6: all 4
    for (int16_t stake : {100, 60}) {
        uwPriceOfPlay = stake;
        EXPECT_EQ(DrawGame(3, 1), (Levels{4, 4, 4, 4})) << "stake " << stake;
    }
    uwPriceOfPlay = 50;
    EXPECT_EQ(DrawGame(3, 1), (Levels{0, 0, 0, 0}));
}

TEST_F(ControllerTest, OpenTwiceAndCloseTwiceAreLoggedAndRefused) {
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    uwPriceOfPlay = 50;

    SeedRandom(42);
    EXPECT_EQ(ControlOpen(1), 1);
    const Levels drawn = CurrentLevels();

    // The refused open draws nothing and leaves the game's levels as they were.
    SeedRandom(77);
    const unsigned firstDraw = RandomDraw();
    SeedRandom(77);
    EXPECT_EQ(ControlOpen(1), 0);
    EXPECT_EQ(RandomDraw(), firstDraw);
    EXPECT_TRUE(ControlIsOpen());
    EXPECT_EQ(CurrentLevels(), drawn);

    EXPECT_EQ(ControlClose(), 1);
    EXPECT_FALSE(ControlIsOpen());
    EXPECT_EQ(ControlClose(), 0);
    LogClose();

    const std::string log = ReadFileText("~system/logs/Vantor.txt");
    EXPECT_EQ(Occurrences(log, " - error in control...control already open\n"), 1u) << log;
    EXPECT_EQ(Occurrences(log, " - error in control...control not open\n"), 1u) << log;
}

// ---- Charging a game ----------------------------------------------------------------------------

// A sale reads the money held (credit, then bank) before it takes the stake, and saves the
// meters in its own working directory.
class PaidGameTest : public ControllerTest {
  protected:
    void Connect() {
        ASSERT_EQ(ConnectCreditService(service_.Port()), CreditConnectResult::Connected);
    }
    static void QueueMoneyHeld(FakeCreditService& service) {
        service.QueueReply("CTEL,500\r\n");
        service.QueueReply("BTEL,0\r\n");
    }
    ScopedWorkDir dir_;
    FakeCreditService service_;
};

using Commands = std::vector<std::string>;

TEST_F(PaidGameTest, FiftyPenceGameIsChargedFifteenAndCounted) {
    QueueMoneyHeld(service_);
    service_.QueueReply("CTEL,450\r\n");
    service_.QueueReply("BTEL,499\r\n");
    Connect();
    uwPriceOfPlay = 50;
    lWinAmount = 75;

    EXPECT_TRUE(BeginPaidGame());
    EXPECT_EQ(service_.Commands(), (Commands{"CGET\r\n", "BGET\r\n", "CUSE,50\r\n", "BGET\r\n"}));
    EXPECT_EQ(lWinAmount, 0);
    EXPECT_EQ(ControllerValue(0), -15.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    EXPECT_EQ(ControllerBand(0), 3);
    EXPECT_EQ(CounterValue(counter::kGames50p), 1);
    EXPECT_EQ(CounterValue(counter::kBankBelow500), 1);
    ExpectOtherCountersZero({counter::kGames50p, counter::kBankBelow500});
}

TEST_F(PaidGameTest, PoundGameIsChargedThirtyAndCounted) {
    QueueMoneyHeld(service_);
    service_.QueueReply("CTEL,0\r\n");
    service_.QueueReply("BTEL,1000\r\n");
    Connect();
    uwPriceOfPlay = 100;

    EXPECT_TRUE(BeginPaidGame());
    EXPECT_EQ(service_.Commands(), (Commands{"CGET\r\n", "BGET\r\n", "CUSE,100\r\n", "BGET\r\n"}));
    EXPECT_EQ(ControllerValue(0), 0.0f);
    EXPECT_EQ(ControllerValue(1), -30.0f);
    EXPECT_EQ(TotalGamesPlayed(), 1);
    ExpectOtherCountersZero({counter::kGamesPound, counter::kBank1000Up});
    EXPECT_EQ(CounterValue(counter::kBank1000Up), 1);
}

TEST_F(PaidGameTest, BankReadingPicksOneOfThreeCounters) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"BTEL,0\r\n", 41},    {"BTEL,499\r\n", 41},  {"BTEL,500\r\n", 42}, {"BTEL,999\r\n", 42},
        {"BTEL,1000\r\n", 43}, {"BTEL,9999\r\n", 43}, {"BTEL,-1\r\n", 43},  {"FAIL\r\n", 43},
    };
    uwPriceOfPlay = 50;
    for (const auto& [reply, expected] : cases) {
        ResetControlData();
        FakeCreditService service;
        QueueMoneyHeld(service);
        service.QueueReply("CTEL,100\r\n");
        service.QueueReply(reply);
        ASSERT_EQ(ConnectCreditService(service.Port()), CreditConnectResult::Connected);
        EXPECT_TRUE(BeginPaidGame());
        EXPECT_EQ(CounterValue(expected), 1) << reply;
        ExpectOtherCountersZero({counter::kGames50p, expected});
        CloseCreditService();
    }
}

TEST_F(PaidGameTest, RefusedStakeChangesNothing) {
    QueueMoneyHeld(service_);
    service_.QueueReply("FAIL\r\n");
    Connect();
    uwPriceOfPlay = 50;
    controllerBalances[0] = 12.0f;

    EXPECT_FALSE(BeginPaidGame());
    EXPECT_EQ(service_.Commands(), (Commands{"CGET\r\n", "BGET\r\n", "CUSE,50\r\n"}));
    EXPECT_EQ(ControllerValue(0), 12.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    ExpectOtherCountersZero({});
    ReadRecordFile();
    EXPECT_EQ(ControllerValue(0), 12.0f) << "the sale saved before the stake is saved undone";
    ExpectOtherCountersZero({});
}

// No clear answer to the stake: the money read back tells whether it was taken.
TEST_F(PaidGameTest, AnUnclearStakeIsPlayedOnlyWhenTheMoneyShowsItTaken) {
    for (const bool taken : {true, false}) {
        SCOPED_TRACE(taken);
        ResetControlData();
        FakeCreditService service;
        QueueMoneyHeld(service);   // 500 before
        service.QueueReply("CT");  // cut short, nothing more
        service.QueueReply(taken ? "CTEL,450\r\n" : "CTEL,500\r\n");
        service.QueueReply("BTEL,0\r\n");
        service.QueueReply("BTEL,0\r\n");  // the sale's bank reading
        ASSERT_EQ(ConnectCreditService(service.Port()), CreditConnectResult::Connected);
        uwPriceOfPlay = 50;
        EXPECT_EQ(BeginPaidGame(), taken);
        EXPECT_EQ(CounterValue(counter::kGames50p), taken ? 1 : 0);
        CloseCreditService();
    }
}

TEST_F(PaidGameTest, LostConnectionRefusesTheGame) {
    service_.QueueReply(FakeCreditService::kClose);
    Connect();
    uwPriceOfPlay = 100;
    EXPECT_FALSE(BeginPaidGame());
    EXPECT_EQ(ControllerValue(1), 0.0f);
    ExpectOtherCountersZero({});
}

TEST_F(PaidGameTest, UnusualStakeIsCountedButNotCharged) {
    QueueMoneyHeld(service_);
    service_.QueueReply("CTEL,10\r\n");
    service_.QueueReply("BTEL,600\r\n");
    Connect();
    uwPriceOfPlay = 60;
    EXPECT_TRUE(BeginPaidGame());
    EXPECT_EQ(service_.Commands(), (Commands{"CGET\r\n", "BGET\r\n", "CUSE,60\r\n", "BGET\r\n"}));
    EXPECT_EQ(ControllerValue(0), 0.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    EXPECT_EQ(CounterValue(counter::kGames50p), 1);
    EXPECT_EQ(CounterValue(counter::kBank500To999), 1);
}

// ---- Booking the win ----------------------------------------------------------------------------

TEST_F(ControllerTest, NoWinBooksNothing) {
    for (int16_t stake : {50, 100}) {
        uwPriceOfPlay = stake;
        lWinAmount = 0;
        EndGameAccounting();
    }
    EXPECT_EQ(ControllerValue(0), 0.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    ExpectOtherCountersZero({});
}

TEST_F(ControllerTest, FiftyPenceWinIsBookedByTheBandBeforeIt) {
    uwPriceOfPlay = 50;
    controllerBalances[0] = 950.0f;  // band 1; the win takes it to band 0
    lWinAmount = 120;
    EndGameAccounting();

    EXPECT_FLOAT_EQ(ControllerValue(0), 1070.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    EXPECT_EQ(CounterValue(counter::kWon50pByBand + 1), 120);
    EXPECT_EQ(CounterValue(counter::kWon50p), 120);
    EXPECT_EQ(CounterValue(counter::kWinningGames50p), 1);
    EXPECT_EQ(CounterValue(counter::kWonTotal), 0) << "counted as paid only once paid";
    EXPECT_EQ(CounterValue(counter::kWinningGames), 1);
    ExpectOtherCountersZero({25, 21, 40, 38});
}

TEST_F(ControllerTest, PoundWinGoesToThePoundBalanceOnly) {
    uwPriceOfPlay = 100;
    controllerBalances[0] = -15.0f;
    controllerBalances[1] = -30.0f;  // band 3
    lWinAmount = 250;
    EndGameAccounting();
    lWinAmount = 1000;
    EndGameAccounting();

    EXPECT_EQ(ControllerValue(0), -15.0f);
    EXPECT_FLOAT_EQ(ControllerValue(1), 1220.0f);
    EXPECT_EQ(CounterValue(counter::kWonPoundByBand + 3), 250);
    EXPECT_EQ(CounterValue(counter::kWonPoundByBand + 2), 1000);  // 220 is band 2
    EXPECT_EQ(CounterValue(counter::kWonPound), 1250);
    EXPECT_EQ(CounterValue(counter::kWinningGamesPound), 2);
    EXPECT_EQ(CounterValue(counter::kWinningGames), 2);
    ExpectOtherCountersZero({33, 34, 22, 39, 38});
}

TEST_F(ControllerTest, WinAtAnUnusualStakeCountsOnlyTheTotals) {
    uwPriceOfPlay = 75;
    lWinAmount = 30;
    EndGameAccounting();
    EXPECT_EQ(ControllerValue(0), 0.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    EXPECT_EQ(CounterValue(counter::kWinningGames), 1);
    ExpectOtherCountersZero({38});
}

// ---- Maximum win allowed ------------------------------------------------------------------------

TEST_F(ControllerTest, MaxWinAllowedIsTheTruncatedDeficit) {
    const std::vector<std::pair<float, int32_t>> cases = {
        {-123.7f, 123},
        {-0.5f, 0},
        {0.0f, 0},
        {-0.0f, 0},
        {250.0f, 0},
        {-15.0f, 15},
        {-1e20f, std::numeric_limits<int32_t>::max()},
        {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    uwPriceOfPlay = 50;
    for (const auto& [balance, expected] : cases) {
        controllerBalances[0] = balance;
        EXPECT_EQ(MaxWinAllowed(), expected) << balance;
    }
}

TEST_F(ControllerTest, MaxWinAllowedFollowsTheStakeInForce) {
    controllerBalances[0] = -40.0f;
    controllerBalances[1] = -90.9f;
    uwPriceOfPlay = 100;
    EXPECT_EQ(MaxWinAllowed(), 90);
    uwPriceOfPlay = 50;
    EXPECT_EQ(MaxWinAllowed(), 40);
}

}  // namespace
