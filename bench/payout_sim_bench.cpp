// How fast the payout simulator plays: whole games of the game's logic with the average player.
// The cabinet's auditor needs a million games a minute on one core (16,667 a second).
#include <benchmark/benchmark.h>

#include "base/random.h"
#include "sim/payout_run.h"
#include "sim/simulated_game.h"

namespace {

void PlayGames(benchmark::State& state, int16_t stake, PlayerModel model) {
    StartFreshCabinet();
    SeedRandom(1);
    ModelledPlayer player(model, 1);
    int64_t paid = 0;
    for (auto _ : state) {
        const SimulatedGame game = PlaySimulatedGame(stake, player);
        paid += game.paid;
    }
    benchmark::DoNotOptimize(paid);
    state.counters["games_per_minute"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 60.0, benchmark::Counter::kIsRate);
}

PlayerModel Perfect() {
    PlayerModel model;
    model.rightPercent[0] = model.rightPercent[1] = model.rightPercent[2] = 100.0;
    return model;
}

void BM_SimulatedGame50pAveragePlayer(benchmark::State& state) {
    PlayGames(state, 50, PlayerModel{});
}
void BM_SimulatedGamePoundAveragePlayer(benchmark::State& state) {
    PlayGames(state, 100, PlayerModel{});
}
// Every game of a perfect player reaches the ball game and opens every ball: the slowest games.
void BM_SimulatedGamePoundPerfectPlayer(benchmark::State& state) {
    PlayGames(state, 100, Perfect());
}

}  // namespace

BENCHMARK(BM_SimulatedGame50pAveragePlayer);
BENCHMARK(BM_SimulatedGamePoundAveragePlayer);
BENCHMARK(BM_SimulatedGamePoundPerfectPlayer);
