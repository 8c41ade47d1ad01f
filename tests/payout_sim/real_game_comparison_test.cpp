// The simulator against the real game: the game played headless by its own modelled player for
// 300 games from a fresh cabinet must land within the simulator's 95 % interval for a run of 300
// games by the same player.
//
// 300 real games take hours of processor time in the sanitizer build (every frame of every
// animation is drawn) and several minutes in the release build, so this comparison runs only
// when asked for:
//     VANTOR_COMPARE_REAL_GAME=1 test_payout_sim --gtest_filter='RealGame*'
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "control/record_reading.h"
#include "sim/payout_run.h"
#include "support/fake_credit_service.h"
#include "support/run_program.h"
#include "support/work_dir.h"

namespace {

constexpr int kRealGames = 300;
constexpr int kRightPercent = 80;
constexpr int kTakeOffer = 2;
constexpr int kSimulatedRuns = 1000;

// A credit service with money for every game the player wants: the credit never runs low and
// every stake and win is accepted.
void AnswerWithEndlessCredit(FakeCreditService& service) {
    service.SetResponder([](const std::string& command) -> std::string {
        if (command.rfind("CGET", 0) == 0 || command.rfind("CUSE", 0) == 0 ||
            command.rfind("CADD", 0) == 0)
            return "CTEL,5000\r\n";
        if (command.rfind("BGET", 0) == 0 || command.rfind("BADD", 0) == 0) return "BTEL,0\r\n";
        return "FAIL\r\n";
    });
}

struct RunSpread {
    double mean;  // the payout of all the runs together, percent
    double sd;    // of one run's payout, percent
    double ballGamePercent;
};

// Many runs of `games` games, each from a fresh cabinet with its own seed.
RunSpread SimulateRuns(const SimSettings& base, int16_t stake, int runs) {
    double sum = 0.0, squares = 0.0;
    int64_t paid = 0, taken = 0, ballGames = 0;
    for (int i = 0; i < runs; ++i) {
        SimSettings settings = base;
        settings.seed = static_cast<uint32_t>(1000 + i);
        const StakeRun run = RunStake(stake, settings);
        const double payout = run.tally.PayoutPercent();
        sum += payout;
        squares += payout * payout;
        paid += run.tally.Paid();
        taken += run.tally.Taken();
        ballGames += run.ballGames;
    }
    const double mean = sum / runs;
    return {100.0 * static_cast<double>(paid) / static_cast<double>(taken),
            std::sqrt((squares - runs * mean * mean) / (runs - 1)),
            100.0 * static_cast<double>(ballGames) / static_cast<double>(base.games * runs)};
}

}  // namespace

TEST(RealGame, PayoutLiesWithinTheSimulatorsIntervalForTheSamePlayer) {
    if (std::getenv("VANTOR_COMPARE_REAL_GAME") == nullptr)
        GTEST_SKIP() << "set VANTOR_COMPARE_REAL_GAME=1 to play 300 real games";

    ScopedWorkDir dir;
    ASSERT_EQ(RunProgram("make-assets", {"."}).exitStatus, 0);
    ASSERT_EQ(
        RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", "."}).exitStatus, 0);
    FakeCreditService service;
    AnswerWithEndlessCredit(service);
    const std::string autoplay = "games=" + std::to_string(kRealGames) +
                                 ",stake=50,right=" + std::to_string(kRightPercent) +
                                 ",take=" + std::to_string(kTakeOffer) + ",seed=7";
    const ProgramResult game = RunProgram(
        "vantor",
        {"--headless", "--credit-port", std::to_string(service.Port()), "--autoplay", autoplay});
    ASSERT_EQ(game.exitStatus, 0) << game.output;

    const RecordReading record = ReadRecordAt("data/brasswick.rec");
    ASSERT_TRUE(record.failure.empty()) << record.failure;
    const int32_t* meters = record.contents.counters;
    ASSERT_EQ(meters[counter::kGames50p], kRealGames);
    const double realPayout = 100.0 * meters[counter::kWon50p] / (50.0 * kRealGames);
    const double realBallGames = 100.0 * meters[counter::kBallGamesReached] / kRealGames;

    SimSettings settings;
    settings.games = kRealGames;
    for (double& percent : settings.player.rightPercent)
        percent = kRightPercent;
    settings.player.take = {TakePolicy::Kind::NthOffer, kTakeOffer, 0.0};
    const RunSpread sim = SimulateRuns(settings, 50, kSimulatedRuns);
    const double low = sim.mean - 1.96 * sim.sd, high = sim.mean + 1.96 * sim.sd;

    std::cout << "real game: payout " << realPayout << " % over " << kRealGames
              << " games, ball game reached in " << realBallGames << " %\n"
              << "simulator: payout " << sim.mean << " % (95 % of 300-game runs within " << low
              << " to " << high << " %), ball game reached in " << sim.ballGamePercent << " %\n";
    EXPECT_GE(realPayout, low);
    EXPECT_LE(realPayout, high);
}
