// The board's data: the value tables, the deal, the win plan, the flash patterns and the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>
#include <sstream>
#include <vector>

#include "base/log.h"
#include "base/random.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "support/work_dir.h"

namespace {

std::vector<int32_t> BoardValues() {
    std::vector<int32_t> values;
    for (const Ball& ball : axBalls)
        values.push_back(ball.value);
    return values;
}

class Board : public ::testing::Test {
  protected:
    void TearDown() override { ResetGameState(); }
};

}  // namespace

TEST_F(Board, ValueTablesAscendFromTheFourEmptyValuesToTheTopPrize) {
    for (const int32_t* table : {fiftyPenceValues, poundValues}) {
        EXPECT_TRUE(std::is_sorted(table, table + kBallCount));
        EXPECT_EQ(std::adjacent_find(table, table + kBallCount), table + kBallCount);
        EXPECT_EQ(std::vector<int32_t>(table, table + 5), (std::vector<int32_t>{1, 2, 3, 4, 5}));
    }
    EXPECT_EQ(fiftyPenceValues[21], 300);
    EXPECT_EQ(poundValues[21], 500);
    EXPECT_EQ(std::count(poundValues, poundValues + kBallCount, 200), 0);
    EXPECT_TRUE(std::equal(fiftyPenceValues, fiftyPenceValues + 20, poundValues));

    uwPriceOfPlay = 50;
    EXPECT_EQ(StakeValueTable(), fiftyPenceValues);
    uwPriceOfPlay = 100;
    EXPECT_EQ(StakeValueTable(), poundValues);
}

TEST_F(Board, ResetDealsEveryValueOfTheStakeOnceWithTheEmptyBlueBall) {
    for (int16_t stake : {50, 100}) {
        uwPriceOfPlay = stake;
        const int32_t* table = StakeValueTable();
        for (uint32_t seed : {1u, 77u, 4242u}) {
            SeedRandom(seed);
            ResetBoard();
            std::vector<int32_t> values = BoardValues();
            std::sort(values.begin(), values.end());
            EXPECT_EQ(values, std::vector<int32_t>(table, table + kBallCount)) << stake;

            for (int i = 0; i < kBallCount; ++i) {
                const Ball& ball = axBalls[i];
                EXPECT_EQ(ball.x, ballPositions[i].x);
                EXPECT_EQ(ball.y, ballPositions[i].y);
                EXPECT_EQ(ball.inPlay, 1);
                EXPECT_EQ(ball.showValue, 0);
                EXPECT_EQ(ball.isPlayers, 0);
                EXPECT_EQ(ball.isBlue, i == kBlueBall ? 1 : 0);
                // The ball points at the plate of its own value.
                const int entry =
                    static_cast<int>(std::find(table, table + kBallCount, ball.value) - table);
                EXPECT_EQ(ball.planX, 660);
                EXPECT_EQ(ball.planY, 570 - 27 * entry);
                EXPECT_EQ(axWinPlan[entry].value, ball.value);
            }
            EXPECT_EQ(axBalls[kBlueBall].value, 1);
            EXPECT_EQ(axBalls[kBlueBall].planY, 570);
        }
    }
}

TEST_F(Board, ResetLightsTheWholeWinPlanAndClearsThePrizeBallFlags) {
    uwPriceOfPlay = 100;
    bPickingPrizeBall = false;
    bPrizeBallChosen = true;
    lPrizeAvailableThisGame = 300;
    axWinPlan[4].lit = 0;
    ResetBoard();
    for (int k = 0; k < kBallCount; ++k) {
        EXPECT_EQ(axWinPlan[k].x, 660);
        EXPECT_EQ(axWinPlan[k].y, 570 - 27 * k);
        EXPECT_EQ(axWinPlan[k].value, poundValues[k]);
        EXPECT_EQ(axWinPlan[k].lit, 1);
    }
    EXPECT_EQ(axWinPlan[21].y, 3);
    EXPECT_TRUE(bPickingPrizeBall);
    EXPECT_FALSE(bPrizeBallChosen);
    EXPECT_EQ(lPrizeAvailableThisGame, 0);
    EXPECT_EQ(std::count(std::begin(abFlash), std::end(abFlash), 0), kBallCount);
}

TEST_F(Board, TheSameSeedDealsTheSameBoard) {
    uwPriceOfPlay = 50;
    SeedRandom(99);
    ResetBoard();
    const std::vector<int32_t> first = BoardValues();
    SeedRandom(99);
    ResetBoard();
    EXPECT_EQ(BoardValues(), first);

    // A fresh deal keeps the blue ball and the win plan, and shuffles the rest.
    axWinPlan[3].lit = 0;
    std::set<std::vector<int32_t>> deals{first};
    for (int deal = 0; deal < 5; ++deal) {
        DealValues();
        EXPECT_EQ(axBalls[kBlueBall].value, 1);
        std::vector<int32_t> sorted = BoardValues();
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, std::vector<int32_t>(fiftyPenceValues, fiftyPenceValues + kBallCount));
        deals.insert(BoardValues());
    }
    EXPECT_EQ(deals.size(), 6u) << "every deal differs";
    EXPECT_EQ(axWinPlan[3].lit, 0) << "dealing leaves the win plan alone";
}

TEST_F(Board, EveryValueLandsOnEveryBallAboutEquallyOften) {
    uwPriceOfPlay = 50;
    SeedRandom(5);
    std::map<int32_t, int> topPrizeBalls;
    constexpr int kDeals = 4200;
    for (int deal = 0; deal < kDeals; ++deal) {
        DealValues();
        for (int i = 0; i < kBallCount; ++i)
            if (axBalls[i].value == 300) ++topPrizeBalls[i];
    }
    EXPECT_EQ(topPrizeBalls.count(kBlueBall), 0u);
    ASSERT_EQ(topPrizeBalls.size(), 21u);
    for (auto [ball, count] : topPrizeBalls) {
        EXPECT_GT(count, kDeals / 21 / 2) << ball;
        EXPECT_LT(count, kDeals / 21 * 2) << ball;
    }
}

TEST_F(Board, BallsLeftCountsTheUnopenedBalls) {
    ResetBoard();
    EXPECT_EQ(BallsLeft(), 22);
    axBalls[4].inPlay = 0;  // the player's ball
    EXPECT_EQ(BallsLeft(), 21);
    axBalls[kBlueBall].inPlay = 0;
    EXPECT_EQ(BallsLeft(), 20);
    for (Ball& ball : axBalls)
        ball.inPlay = 0;
    EXPECT_EQ(BallsLeft(), 0);
}

TEST_F(Board, FlashPatternsFlashEveryBallExactlyOnce) {
    for (const auto& pattern : generousFlashPatterns) {
        EXPECT_EQ(std::accumulate(pattern, pattern + kBallCount, 0), 22);
        EXPECT_GE(*std::min_element(pattern, pattern + kBallCount), 0);
        // Generous games show two or three balls at a time: at most one single.
        EXPECT_LE(std::count(pattern, pattern + kBallCount, 1), 1);
    }
    for (const auto& pattern : meanFlashPatterns) {
        EXPECT_EQ(std::accumulate(pattern, pattern + kBallCount, 0), 22);
        EXPECT_GE(std::count(pattern, pattern + kBallCount, 1), 14);
    }
    EXPECT_EQ(std::count(meanFlashPatterns[3], meanFlashPatterns[3] + kBallCount, 1), 22);
}

TEST_F(Board, ThePrizeLevelChoosesTheSetAndThePatternIsShuffled) {
    auto multiset = [](const int* steps) {
        std::vector<int> sorted(steps, steps + kBallCount);
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    };
    auto patternsOf = [&](const auto& set) {
        std::set<std::vector<int>> patterns;
        for (const auto& pattern : set)
            patterns.insert(multiset(pattern));
        return patterns;
    };
    const auto generous = patternsOf(generousFlashPatterns);
    const auto mean = patternsOf(meanFlashPatterns);

    SeedRandom(3);
    for (int level = 0; level <= 4; ++level) {
        std::set<std::vector<int>> seen;
        std::set<std::vector<int>> orders;
        for (int draw = 0; draw < 200; ++draw) {
            int steps[kBallCount];
            ChooseFlashPattern(level, steps);
            seen.insert(multiset(steps));
            orders.insert(std::vector<int>(steps, steps + kBallCount));
        }
        EXPECT_EQ(seen, level > 1 ? generous : mean) << "level " << level;
        EXPECT_GT(orders.size(), 150u) << "the groups come in random order";
    }
}

TEST(BoardLog, ResetLogsEveryBallsValue) {
    ScopedWorkDir dir;
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    uwPriceOfPlay = 50;
    ResetBoard();
    LogClose();

    std::istringstream log(ReadFileText("~system/logs/Vantor.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        if (line.find("axBalls") != std::string::npos) lines.push_back(line);
    ASSERT_EQ(lines.size(), 22u);
    for (int i = 0; i < kBallCount; ++i) {
        const std::string expected = " - axBalls[" + std::to_string(i) +
                                     "].value = " + std::to_string(axBalls[i].value) + " ";
        ASSERT_GE(lines[i].size(), expected.size());
        EXPECT_EQ(lines[i].substr(lines[i].size() - expected.size()), expected) << lines[i];
    }
    ResetGameState();
}
