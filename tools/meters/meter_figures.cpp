#include "meter_figures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engines/control/controller.h"

namespace {

// The band of each balance, asked of the controller itself with the balances loaded as the
// game loads them at start-up, so the listing always agrees with the game's thresholds.
void FillBands(const RecordContents& contents, MeterFigures& figures) {
    for (int stake = 0; stake < kStakeCount; ++stake) {
        controllerBalances[stake] = contents.balances[stake];
        figures.balances[stake] = {contents.balances[stake],
                                   ControllerBand(static_cast<int16_t>(stake))};
    }
}

std::optional<double> Percent(int64_t part, int64_t whole) {
    if (whole <= 0) return std::nullopt;
    return static_cast<double>(part) * 100.0 / static_cast<double>(whole);
}

std::string Text(const char* format, auto... values) {
    char text[256];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

MeterFigures ComputeFigures(const RecordContents& contents) {
    MeterFigures figures;
    FillBands(contents, figures);
    const int32_t* counters = contents.counters;
    const int paidCounters[kStakeCount] = {counter::kWon50p, counter::kWonPound};
    const int soldCounters[kStakeCount] = {counter::kGames50p, counter::kGamesPound};
    for (int stake = 0; stake < kStakeCount; ++stake) {
        PayoutFigures& figure = figures.stakes[stake];
        figure.gamesSold = counters[soldCounters[stake]];
        figure.takenPence = figure.gamesSold * kStakePence[stake];
        figure.paidPence = counters[paidCounters[stake]];
        figure.payoutPercent = Percent(figure.paidPence, figure.takenPence);
        figures.overall.gamesSold += figure.gamesSold;
        figures.overall.takenPence += figure.takenPence;
    }
    figures.overall.paidPence = counters[counter::kWonTotal];
    figures.overall.payoutPercent = Percent(figures.overall.paidPence, figures.overall.takenPence);
    figures.playingSeconds = counters[counter::kPlayingSeconds];
    if (figures.overall.gamesSold > 0) {
        figures.averageGameSeconds = static_cast<double>(figures.playingSeconds) /
                                     static_cast<double>(figures.overall.gamesSold);
    }
    return figures;
}

std::vector<int> NegativeCounters(const RecordReading& reading) {
    std::vector<int> negative;
    for (int index = 0; index < kCounterCount; ++index)
        if (reading.contents.counters[index] < 0) negative.push_back(index);
    return negative;
}

std::vector<std::string> RecordWarnings(const RecordReading& reading) {
    std::vector<std::string> warnings;
    const auto size = static_cast<unsigned long long>(reading.fileSize);
    if (!reading.loadable) {
        warnings.push_back(
            Text("the file is only %llu bytes: the game treats a record of 10 bytes or fewer as "
                 "damaged, deletes it at start-up and starts from zero",
                 size));
        return warnings;
    }
    if (reading.valuesHeld < kRecordValueCount) {
        warnings.push_back(Text(
            "the file is only %llu of %zu bytes: it holds %zu of the 183 values, the game starts "
            "the other %zu from zero",
            size, kRecordFileSize, reading.valuesHeld, kRecordValueCount - reading.valuesHeld));
    } else if (reading.fileSize < kRecordFileSize) {
        warnings.push_back(Text("the file is only %llu of %zu bytes: its trailer is cut short",
                                size, kRecordFileSize));
    } else if (reading.fileSize > kRecordFileSize) {
        warnings.push_back(
            Text("the file is %llu bytes, longer than the %zu the game writes: the game reads only "
                 "the first %zu",
                 size, kRecordFileSize, kRecordValuesSize));
    }
    if (reading.contents.firstWritten.empty())
        warnings.push_back("the file holds no date of first writing");
    for (int stake = 0; stake < kStakeCount; ++stake) {
        if (reading.balanceNotFinite[stake]) {
            warnings.push_back(
                Text("the balance of the %dp stake is not a finite number: the game loads it as 0",
                     kStakePence[stake]));
        }
    }
    const std::vector<int> negative = NegativeCounters(reading);
    if (!negative.empty()) {
        std::string indexes;
        for (const int index : negative)
            indexes += (indexes.empty() ? "" : ", ") + std::to_string(index);
        warnings.push_back(std::to_string(negative.size()) +
                           (negative.size() == 1 ? " counter is" : " counters are") +
                           " below zero (" + indexes +
                           "): counters only ever count up, so the file is damaged and its "
                           "figures cannot be trusted");
    }
    return warnings;
}

std::string FormatPounds(int64_t pence) {
    const char* sign = pence < 0 ? "-" : "";
    const unsigned long long magnitude = pence < 0 ? 0ULL - static_cast<unsigned long long>(pence)
                                                   : static_cast<unsigned long long>(pence);
    return Text("%s£%llu.%02llu", sign, magnitude / 100, magnitude % 100);
}
