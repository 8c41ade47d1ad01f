// The money of a simulated run: games, takings, winnings, the payout percentage with its 95 %
// confidence interval, and how the games spread over the controller's bands.
//
// The interval treats every game's winnings over its stake as one sample: the payout is the
// ratio of the winnings to the takings, and its standard error is that of a ratio estimate,
// sqrt(sum (paid - R stake)^2 / (n (n - 1))) / mean stake. At a single stake this is exactly
// mean +- 1.96 sd / sqrt(n) of the per-game ratios paid / stake. Games under the controller are
// not independent (it steers each game by the balance the earlier ones left), so the interval
// describes the spread of the games, not the controller's long-run grip, which is tighter.
#pragma once

#include <cstdint>

#include "engines/control/controller.h"

struct PercentInterval {
    double low;
    double high;
};

class PayoutTally {
  public:
    void Add(int stake, int32_t paid, int band);
    // Adds another run's games to this one.
    void Merge(const PayoutTally& other);

    int64_t Games() const { return games_; }
    int64_t Taken() const { return taken_; }
    int64_t Paid() const { return paid_; }
    // Paid over taken, in percent; 0 before any game.
    double PayoutPercent() const;
    // The 95 % confidence interval of the payout, in percent; a single game has no spread.
    PercentInterval Interval95() const;
    int64_t BandGames(int band) const;
    // The share of the games sold in a band, in percent.
    double BandPercent(int band) const;

  private:
    int64_t games_ = 0;
    int64_t taken_ = 0;
    int64_t paid_ = 0;
    // Sums of squares and products for the interval, kept exact.
    int64_t paidSquares_ = 0;
    int64_t paidTimesStake_ = 0;
    int64_t stakeSquares_ = 0;
    int64_t bandGames_[kBandCount] = {};
};
