#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engines/control/counter_meanings.h"
#include "meter_report.h"

namespace {

const char* const kStakeNames[kStakeCount] = {"50p", "£1"};

void Print(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Print(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measuring;
    va_copy(measuring, args);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length > 0) {
        const size_t start = out.size();
        out.resize(start + static_cast<size_t>(length) + 1);
        std::vsnprintf(out.data() + start, static_cast<size_t>(length) + 1, format, args);
        out.resize(start + static_cast<size_t>(length));
    }
    va_end(args);
}

// The text padded with spaces to `width` characters on screen (UTF-8 continuation bytes take no
// room of their own).
std::string PadRight(std::string text, size_t width) {
    size_t shown = 0;
    for (const char byte : text)
        shown += (static_cast<uint8_t>(byte) & 0xC0) != 0x80;
    if (shown < width) text.append(width - shown, ' ');
    return text;
}

std::string PercentText(const std::optional<double>& percent) {
    if (!percent) return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", *percent);
    return text;
}

// Money and time counters say what their value is in.
std::string UnitNote(CounterUnit unit) {
    return unit == CounterUnit::Count ? "" : std::string(" (") + UnitName(unit) + ")";
}

void PrintHeader(std::string& out, const MeterReport& report) {
    const std::string& date = report.reading.contents.firstWritten;
    Print(out, "Record file %s, %llu bytes, first written %s\n", report.path.c_str(),
          static_cast<unsigned long long>(report.reading.fileSize),
          date.empty() ? "(no date)" : (date + " (month/day/year)").c_str());
    for (const std::string& warning : report.warnings)
        Print(out, "Warning: %s\n", warning.c_str());
}

void PrintBalances(std::string& out, const MeterFigures& figures) {
    Print(out, "\nBalances in pence (above 0: paid out more than the %d %% target)\n",
          kTargetPayoutPercent);
    for (int stake = 0; stake < kStakeCount; ++stake) {
        const BalanceFigure& balance = figures.balances[stake];
        Print(out, "  %s stake %12.2f  band %d\n", PadRight(kStakeNames[stake], 3).c_str(),
              static_cast<double>(balance.pence), balance.band);
    }
}

void PrintCounter(std::string& out, const MeterReport& report, const CounterRange& range,
                  int index) {
    const bool inFile = static_cast<size_t>(kStakeCount + index) < report.reading.valuesHeld;
    const int32_t value = report.reading.contents.counters[index];
    Print(out, "%-4d %11d  %s%s%s%s\n", index, value, CounterMeaning(index).c_str(),
          UnitNote(range.unit).c_str(), inFile ? "" : "  [not in the file: zero at start-up]",
          value < 0 ? "  [below zero: damaged]" : "");
}

void PrintCounters(std::string& out, const MeterReport& report) {
    const CounterGroup groups[] = {CounterGroup::Sales,    CounterGroup::Questions,
                                   CounterGroup::BallGame, CounterGroup::Wins,
                                   CounterGroup::Offers,   CounterGroup::Time};
    for (const CounterGroup group : groups) {
        Print(out, "\nCounters: %s\n", CounterGroupName(group));
        for (const CounterRange& range : CounterRanges()) {
            if (range.group != group) continue;
            for (int index = range.first; index <= range.last; ++index)
                PrintCounter(out, report, range, index);
        }
    }
}

void PrintPayoutRow(std::string& out, const char* title, const MeterFigures& figures,
                    auto describe) {
    Print(out, "  %-22s", title);
    for (int stake = 0; stake < kStakeCount; ++stake)
        Print(out, "%s %s", kStakeNames[stake],
              PadRight(describe(figures.stakes[stake]), 12).c_str());
    Print(out, "all %s\n", describe(figures.overall).c_str());
}

void PrintFigures(std::string& out, const MeterFigures& figures) {
    Print(out, "\nFigures\n");
    PrintPayoutRow(out, "games sold", figures,
                   [](const PayoutFigures& f) { return std::to_string(f.gamesSold); });
    PrintPayoutRow(out, "money taken", figures,
                   [](const PayoutFigures& f) { return FormatPounds(f.takenPence); });
    PrintPayoutRow(out, "money paid", figures,
                   [](const PayoutFigures& f) { return FormatPounds(f.paidPence); });
    const std::string payoutTitle =
        "payout (target " + std::to_string(kTargetPayoutPercent) + " %)";
    PrintPayoutRow(out, payoutTitle.c_str(), figures,
                   [](const PayoutFigures& f) { return PercentText(f.payoutPercent); });
    if (figures.averageGameSeconds) {
        Print(out, "  %-22s%.1f s (%lld s over %lld games)\n", "average game length",
              *figures.averageGameSeconds, static_cast<long long>(figures.playingSeconds),
              static_cast<long long>(figures.overall.gamesSold));
    } else {
        Print(out, "  %-22sn/a (no games sold)\n", "average game length");
    }
}

}  // namespace

std::string TextReport(const MeterReport& report) {
    std::string out;
    PrintHeader(out, report);
    if (!report.reading.loadable) return out;
    PrintBalances(out, report.figures);
    PrintCounters(out, report);
    PrintFigures(out, report.figures);
    return out;
}
