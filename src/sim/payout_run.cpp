#include "sim/payout_run.h"

#include <algorithm>

#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "sim/simulated_game.h"

namespace {

// The player's own seed: its draws never follow the game's generator, and the two stakes'
// players differ.
uint64_t PlayerSeed(uint32_t seed, int16_t stake) {
    return (uint64_t{seed} << 16) ^ static_cast<uint64_t>(stake) ^ 0x5EED0F9A7A3E0000ull;
}

RunPoint PointNow(const StakeRun& run) {
    const int16_t index = run.stake == 100 ? 1 : 0;
    return RunPoint{run.tally.Games(), run.tally.Taken(), run.tally.Paid(), ControllerValue(index),
                    ControllerBand(index)};
}

// The game count at which point `index` (1 to count) of `count` evenly spread points falls.
int64_t PointAt(int64_t games, int index, int count) {
    return games * index / count;
}

// The game after which tenth `index` (1 to 10) of the run is over; in a run of fewer than ten
// games several tenths end on the same game.
int64_t TenthAt(int64_t games, int index) {
    return std::max<int64_t>(PointAt(games, index, kTenths), 1);
}

}  // namespace

double RunPoint::PayoutPercent() const {
    return taken > 0 ? 100.0 * static_cast<double>(paid) / static_cast<double>(taken) : 0.0;
}

void StartFreshCabinet() {
    if (ControlIsOpen()) ControlClose();
    ResetControlData();
    ResetGameState();
}

StakeRun RunStake(int16_t stake, const SimSettings& settings) {
    StakeRun run;
    run.stake = stake;
    const int points = static_cast<int>(std::min<int64_t>(settings.games, kSeriesPoints));
    run.series.reserve(static_cast<size_t>(points));

    StartFreshCabinet();
    SeedRandom(settings.seed);
    ModelledPlayer player(settings.player, PlayerSeed(settings.seed, stake));

    int nextPoint = 1;
    int nextTenth = 1;
    int64_t pointDue = PointAt(settings.games, nextPoint, points);
    int64_t tenthDue = TenthAt(settings.games, nextTenth);
    for (int64_t played = 1; played <= settings.games; ++played) {
        const SimulatedGame game = PlaySimulatedGame(stake, player);
        run.tally.Add(stake, game.paid, game.band);
        run.ballGames += game.reachedBallGame;
        run.offersMade += game.offersMade;
        run.offersTaken += game.offerTaken != 0;
        if (played == pointDue) {
            run.series.push_back(PointNow(run));
            pointDue = ++nextPoint <= points ? PointAt(settings.games, nextPoint, points) : -1;
        }
        while (played == tenthDue) {
            run.tenths[nextTenth - 1] = PointNow(run);
            tenthDue = ++nextTenth <= kTenths ? TenthAt(settings.games, nextTenth) : -1;
        }
    }
    return run;
}
