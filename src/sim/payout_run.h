// A simulated run: very many games at one stake on a fresh cabinet (balances and meters at 0),
// with the figures the auditor reads: the tally, the course of the payout over the run and how
// often the player reached the ball game and took an offer.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/modelled_player.h"
#include "sim/payout_tally.h"

struct SimSettings {
    int64_t games = 1000000;  // per stake
    PlayerModel player;
    uint32_t seed = 1;  // seeds the game's generator and, with the stake, the player's
};

// Where the run stood after some of its games.
struct RunPoint {
    int64_t games = 0;
    int64_t taken = 0;
    int64_t paid = 0;
    float balance = 0.0f;  // the controller's balance of the stake
    int band = 0;          // and its band

    double PayoutPercent() const;
};

inline constexpr int kTenths = 10;
inline constexpr int kSeriesPoints = 1000;

struct StakeRun {
    int16_t stake = 50;
    PayoutTally tally;
    int64_t ballGames = 0;  // games that reached the ball game
    int64_t offersMade = 0;
    int64_t offersTaken = 0;
    RunPoint tenths[kTenths];      // after every tenth of the games, the last at the end
    std::vector<RunPoint> series;  // up to kSeriesPoints points evenly spread, the last at the end
};

// Plays the run. Seeding makes it repeatable: the same settings give the same figures, and a
// stake's run does not depend on whether another stake was simulated before it.
StakeRun RunStake(int16_t stake, const SimSettings& settings);

// Puts the cabinet's state back as a fresh machine has it: balances, meters, the game record.
void StartFreshCabinet();
