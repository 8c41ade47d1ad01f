#include "sim/payout_tally.h"

#include <cmath>

namespace {
constexpr double kNormal95 = 1.96;
}

void PayoutTally::Add(int stake, int32_t paid, int band) {
    ++games_;
    taken_ += stake;
    paid_ += paid;
    paidSquares_ += int64_t{paid} * paid;
    paidTimesStake_ += int64_t{paid} * stake;
    stakeSquares_ += int64_t{stake} * stake;
    if (band >= 0 && band < kBandCount) ++bandGames_[band];
}

void PayoutTally::Merge(const PayoutTally& other) {
    games_ += other.games_;
    taken_ += other.taken_;
    paid_ += other.paid_;
    paidSquares_ += other.paidSquares_;
    paidTimesStake_ += other.paidTimesStake_;
    stakeSquares_ += other.stakeSquares_;
    for (int band = 0; band < kBandCount; ++band)
        bandGames_[band] += other.bandGames_[band];
}

double PayoutTally::PayoutPercent() const {
    return taken_ > 0 ? 100.0 * static_cast<double>(paid_) / static_cast<double>(taken_) : 0.0;
}

PercentInterval PayoutTally::Interval95() const {
    const double payout = PayoutPercent();
    if (games_ < 2) return {payout, payout};
    const long double ratio = static_cast<long double>(paid_) / taken_;
    // The sum of (paid - ratio x stake)^2 over the games, from the exact sums.
    long double residual =
        paidSquares_ - 2.0L * ratio * paidTimesStake_ + ratio * ratio * stakeSquares_;
    if (residual < 0.0L) residual = 0.0L;  // rounding when every game paid the same ratio
    const long double n = static_cast<long double>(games_);
    const long double meanStake = static_cast<long double>(taken_) / n;
    const double standardError =
        static_cast<double>(std::sqrt(residual / (n * (n - 1.0L))) / meanStake);
    const double halfWidth = 100.0 * kNormal95 * standardError;
    return {payout - halfWidth, payout + halfWidth};
}

int64_t PayoutTally::BandGames(int band) const {
    return band >= 0 && band < kBandCount ? bandGames_[band] : 0;
}

double PayoutTally::BandPercent(int band) const {
    return games_ > 0 ? 100.0 * static_cast<double>(BandGames(band)) / static_cast<double>(games_)
                      : 0.0;
}
