// The simulator's games: the player's policies, the try-again, the books, and a replay of the
// same seed through the game's own functions in the cabinet's order.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/question_packs.h"
#include "rules/question_rules.h"
#include "rules/settle.h"
#include "sim/payout_run.h"
#include "sim/simulated_game.h"

namespace {

struct OfferSeen {
    int number;
    OfferResult result;
    bool taken;
    double averageLeft;
};

// Everything a game showed the player, in order.
class GameLog final : public GameWatcher {
  public:
    void Dealt(const Ball (&balls)[kBallCount]) override {
        for (int i = 0; i < kBallCount; ++i)
            dealt[i] = balls[i].value;
    }
    void PrizeBallChosen(int ball) override { prizeBall = ball; }
    void BallOpened(int ball) override { opened.push_back(ball); }
    void Offered(int number, const OfferResult& offer, bool taken) override {
        offers.push_back({number, offer, taken, AverageLeft()});
    }

    int32_t dealt[kBallCount] = {};
    int prizeBall = -1;
    std::vector<int> opened;
    std::vector<OfferSeen> offers;
};

PlayerModel Player(double right, TakePolicy take = {}) {
    PlayerModel model;
    model.rightPercent[0] = model.rightPercent[1] = model.rightPercent[2] = right;
    model.take = take;
    return model;
}

TakePolicy TakeOffer(int number) {
    return {TakePolicy::Kind::NthOffer, number, 0.0};
}

int StakeIndex(int16_t stake) {
    return stake == 100 ? 1 : 0;
}

}  // namespace

TEST(SimulatedGame, APlayerWhoNeverTakesOpensEveryBallAndIsPaidTheOwnBall) {
    StartFreshCabinet();
    SeedRandom(5);
    ModelledPlayer player(Player(100.0), 1);
    for (int i = 0; i < 300; ++i) {
        GameLog log;
        const SimulatedGame game = PlaySimulatedGame(i % 2 ? 100 : 50, player, &log);
        ASSERT_TRUE(game.reachedBallGame);
        EXPECT_EQ(game.questionsAsked, 7);
        EXPECT_EQ(game.offersMade, 4);
        EXPECT_EQ(game.offerTaken, 0);
        for (const OfferSeen& offer : log.offers)
            EXPECT_FALSE(offer.taken);
        ASSERT_EQ(log.opened.size(), 21u);
        std::vector<bool> seen(kBallCount, false);
        for (int ball : log.opened) {
            EXPECT_NE(ball, log.prizeBall);
            EXPECT_FALSE(seen[ball]) << "ball " << ball << " opened twice";
            seen[ball] = true;
        }
        EXPECT_NE(log.prizeBall, kBlueBall);
        EXPECT_EQ(game.paid, OwnBallWorth(log.dealt[log.prizeBall]));
    }
}

TEST(SimulatedGame, TakingTheKthOfferEndsEveryGameThatReachesItThere) {
    for (int take = 1; take <= 4; ++take) {
        StartFreshCabinet();
        SeedRandom(11);
        ModelledPlayer player(Player(80.0, TakeOffer(take)), 2);
        int reached = 0;
        for (int i = 0; i < 1500; ++i) {
            GameLog log;
            const SimulatedGame game = PlaySimulatedGame(50, player, &log);
            if (game.offersMade < take) {
                EXPECT_EQ(game.offerTaken, 0);
                continue;
            }
            ++reached;
            EXPECT_EQ(game.offersMade, take);
            EXPECT_EQ(game.offerTaken, take);
            ASSERT_EQ(log.offers.size(), static_cast<size_t>(take));
            EXPECT_TRUE(log.offers.back().taken);
            EXPECT_EQ(game.paid, static_cast<int32_t>(log.offers.back().result.offer));
        }
        EXPECT_GT(reached, 20) << "offer " << take;
    }
}

TEST(SimulatedGame, TheRatioPolicyTakesExactlyTheOffersWorthEnough) {
    StartFreshCabinet();
    SeedRandom(23);
    ModelledPlayer player(Player(100.0, {TakePolicy::Kind::Ratio, 0, 80.0}), 3);
    int taken = 0, left = 0;
    for (int i = 0; i < 500; ++i) {
        GameLog log;
        PlaySimulatedGame(100, player, &log);
        for (const OfferSeen& offer : log.offers) {
            EXPECT_EQ(offer.taken, offer.result.offer >= 0.8 * offer.averageLeft);
            (offer.taken ? taken : left) += 1;
        }
    }
    EXPECT_GT(taken, 0);
    EXPECT_GT(left, 0);
}

TEST(SimulatedGame, TheFirstQuestionsTryAgainIsFreeAndTheGameHasOneMore) {
    PlayerModel model = Player(0.0);
    model.tryAgainRightPercent = 100.0;  // always wrong first, always right the second time
    StartFreshCabinet();
    SeedRandom(8);
    ModelledPlayer player(model, 4);
    for (int i = 0; i < 50; ++i) {
        const SimulatedGame game = PlaySimulatedGame(50, player);
        // Question 1 is saved by its free try-again, question 2 by the game's one try-again,
        // question 3 has none left.
        EXPECT_EQ(game.questionsAsked, 3);
        EXPECT_FALSE(game.reachedBallGame);
        EXPECT_EQ(game.paid, 0);
    }
    model.tryAgainRightPercent = 0.0;
    ModelledPlayer hopeless(model, 4);
    EXPECT_EQ(PlaySimulatedGame(50, hopeless).questionsAsked, 1);
}

TEST(SimulatedGame, TheBooksAgreeWithTheMetersAndTheBalance) {
    SimSettings settings;
    settings.games = 20000;
    settings.seed = 99;
    for (int16_t stake : {50, 100}) {
        const StakeRun run = RunStake(stake, settings);
        const int index = StakeIndex(stake);
        EXPECT_EQ(CounterValue(index == 1 ? counter::kGamesPound : counter::kGames50p), 20000);
        EXPECT_EQ(CounterValue(index == 1 ? counter::kWonPound : counter::kWon50p),
                  run.tally.Paid());
        EXPECT_EQ(CounterValue(counter::kBallGamesReached), run.ballGames);
        // Every game charged 30 % of its stake and every win came back: the balance is the
        // difference (a float, so to within its rounding).
        const double expected = static_cast<double>(run.tally.Paid()) - 0.3 * run.tally.Taken();
        EXPECT_NEAR(ControllerValue(static_cast<int16_t>(index)), expected, 1.0);
        EXPECT_EQ(run.tenths[kTenths - 1].games, 20000);
        EXPECT_EQ(run.series.size(), static_cast<size_t>(kSeriesPoints));
        EXPECT_EQ(run.series.back().paid, run.tally.Paid());

        double shares = 0.0;
        int64_t games = 0;
        for (int band = 0; band < kBandCount; ++band) {
            shares += run.tally.BandPercent(band);
            games += run.tally.BandGames(band);
        }
        EXPECT_NEAR(shares, 100.0, 1e-9);
        EXPECT_EQ(games, run.tally.Games());
    }
}

TEST(SimulatedGame, TheSameSeedPlaysTheSameRun) {
    SimSettings settings;
    settings.games = 5000;
    settings.seed = 31;
    const StakeRun first = RunStake(50, settings);
    const StakeRun second = RunStake(50, settings);
    EXPECT_EQ(first.tally.Paid(), second.tally.Paid());
    EXPECT_EQ(first.ballGames, second.ballGames);
    for (int tenth = 0; tenth < kTenths; ++tenth)
        EXPECT_EQ(first.tenths[tenth].paid, second.tenths[tenth].paid);
    settings.seed = 32;
    EXPECT_NE(RunStake(50, settings).tally.Paid(), first.tally.Paid());
}

TEST(SimulatedGame, AShortRunStillFillsEveryTenth) {
    SimSettings settings;
    settings.games = 3;
    const StakeRun run = RunStake(50, settings);
    EXPECT_EQ(run.tenths[0].games, 1);
    EXPECT_EQ(run.tenths[9].games, 3);
    EXPECT_EQ(run.series.size(), 3u);
}

// The cabinet's order, written out with the game's own functions: the sale, the controller's
// levels, the round's board and question difficulties, the deal, the prize ball, and after each
// round of five the offer and, when it is left, the question's difficulty. The simulated game
// must see the same deal and the same offers from the same seed.
TEST(SimulatedGame, AgreesWithTheGameFunctionsDrawForDraw) {
    for (uint32_t seed : {3u, 17u, 2024u}) {
        for (int16_t stake : {50, 100}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " stake " << stake);
            StartFreshCabinet();
            SeedRandom(seed);
            ModelledPlayer player(Player(100.0, TakeOffer(3)), seed);
            GameLog log;
            const SimulatedGame game = PlaySimulatedGame(stake, player, &log);
            ASSERT_EQ(log.offers.size(), 3u);

            StartFreshCabinet();
            SeedRandom(seed);
            uwPriceOfPlay = stake;
            ControllerAdd(static_cast<uint8_t>(StakeIndex(stake)), stake * -0.3f);
            CountIncrement(stake == 100 ? counter::kGamesPound : counter::kGames50p);
            ASSERT_EQ(ControlOpen(static_cast<uint32_t>(TotalGamesPlayed())), 1);
            ResetBoard();
            for (questionsAskedThisRound = 0; questionsAskedThisRound < 7;
                 ++questionsAskedThisRound)
                NextQuestionDifficulty(0, 0);
            DealValues();
            for (int i = 0; i < kBallCount; ++i)
                ASSERT_EQ(axBalls[i].value, log.dealt[i]) << "ball " << i;

            axBalls[log.prizeBall].inPlay = 0;
            lPrizeAvailableThisGame = axBalls[log.prizeBall].value;
            size_t opened = 0;
            for (int made = 0; made < 3; ++made) {
                for (int i = 0; i < 5; ++i)
                    axBalls[log.opened.at(opened++)].inPlay = 0;
                const OfferResult offer =
                    CalculateOffer({axBalls, lPrizeAvailableThisGame, OfferLevel(), made, stake});
                EXPECT_EQ(offer.offer, log.offers[made].result.offer) << "offer " << made + 1;
                EXPECT_EQ(offer.boxesLeft, log.offers[made].result.boxesLeft);
                if (made < 2)
                    NextQuestionDifficulty(1, RefusalQuestionDifficulty(made, PrizeLevel()));
            }
            ControlClose();
            EXPECT_EQ(game.paid, static_cast<int32_t>(log.offers[2].result.offer));
        }
    }
}
