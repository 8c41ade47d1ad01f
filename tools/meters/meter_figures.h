// What an operator reads off a record file: both balances with their bands, the sales, takings and
// winnings per stake, the payout achieved against the 30 % target and the average game length.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engines/control/record_reading.h"

inline constexpr int kStakePence[kStakeCount] = {50, 100};

struct BalanceFigure {
    float pence = 0.0f;
    uint8_t band = 0;  // the band the game would play this balance in
};

struct PayoutFigures {
    int64_t gamesSold = 0;
    int64_t takenPence = 0;
    int64_t paidPence = 0;
    std::optional<double> payoutPercent;  // none when nothing was taken
};

struct MeterFigures {
    BalanceFigure balances[kStakeCount];
    PayoutFigures stakes[kStakeCount];  // 50p, £1
    PayoutFigures overall;
    int64_t playingSeconds = 0;
    std::optional<double> averageGameSeconds;  // none when no game was sold
};

MeterFigures ComputeFigures(const RecordContents& contents);

// The counters that read below zero, in index order. Every counter only ever counts up, so any
// of them means the file is damaged.
std::vector<int> NegativeCounters(const RecordReading& reading);

// Everything about the file an operator should be warned of: too short to load, short, longer
// than the game writes, no date, a balance that is not a number, a counter below zero. Empty
// for a sound file.
std::vector<std::string> RecordWarnings(const RecordReading& reading);

// Whole pence as pounds, "£12.34" or "-£0.15".
std::string FormatPounds(int64_t pence);
