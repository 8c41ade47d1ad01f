// The simulator's words: the report of each stake's run, the last line that scripts read, and
// the CSV of the payout's course over the run.
#pragma once

#include <string>
#include <vector>

#include "sim/payout_run.h"

// The figures of one stake: games, takings, winnings, payout with its interval, the ball games
// and offers, the share of games in each band and the payout after every tenth of the run.
std::string StakeReport(const StakeRun& run);

// "payout P% (95% CI L-H%) over N games", P, L and H with two decimals; L is never below 0.
std::string LastLine(const PayoutTally& tally);

// One row per point of every run's series: stake,games,taken,paid,payout_percent,balance,band.
std::string SeriesCsv(const std::vector<StakeRun>& runs);
