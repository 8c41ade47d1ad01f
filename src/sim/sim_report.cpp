#include "sim/sim_report.h"

#include <algorithm>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>

namespace {

__attribute__((format(printf, 2, 3))) void Append(std::string& text, const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    text += line;
}

double Pounds(int64_t pence) {
    return static_cast<double>(pence) / 100.0;
}

double Share(int64_t part, int64_t whole) {
    return whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

}  // namespace

std::string StakeReport(const StakeRun& run) {
    const PayoutTally& tally = run.tally;
    const PercentInterval interval = tally.Interval95();
    std::string text;
    Append(text, "%s stake\n", run.stake == 100 ? "£1" : "50p");
    Append(text, "  games        %" PRId64 "\n", tally.Games());
    Append(text, "  taken        £%.2f\n", Pounds(tally.Taken()));
    Append(text, "  paid         £%.2f\n", Pounds(tally.Paid()));
    Append(text, "  payout       %.2f %% (95%% CI %.2f-%.2f %%)\n", tally.PayoutPercent(),
           std::max(interval.low, 0.0), interval.high);
    Append(text, "  ball games   %.2f %% of games; offers taken in %.2f %% of them\n",
           Share(run.ballGames, tally.Games()), Share(run.offersTaken, run.ballGames));
    text += "  bands        ";
    for (int band = 0; band < kBandCount; ++band)
        Append(text, "%s%d: %.2f %%", band > 0 ? "  " : "", band, tally.BandPercent(band));
    text += "\n  over the run (games, payout so far, balance and band then)\n";
    for (int tenth = 0; tenth < kTenths; ++tenth) {
        const RunPoint& point = run.tenths[tenth];
        Append(text, "    %3d %%  %12" PRId64 "  %6.2f %%  %10.1f  band %d\n", 10 * (tenth + 1),
               point.games, point.PayoutPercent(), static_cast<double>(point.balance), point.band);
    }
    return text;
}

std::string LastLine(const PayoutTally& tally) {
    const PercentInterval interval = tally.Interval95();
    std::string text;
    Append(text, "payout %.2f%% (95%% CI %.2f-%.2f%%) over %" PRId64 " games",
           tally.PayoutPercent(), std::max(interval.low, 0.0), interval.high, tally.Games());
    return text;
}

std::string SeriesCsv(const std::vector<StakeRun>& runs) {
    std::string text = "stake,games,taken,paid,payout_percent,balance,band\n";
    for (const StakeRun& run : runs) {
        for (const RunPoint& point : run.series) {
            Append(text, "%d,%" PRId64 ",%" PRId64 ",%" PRId64 ",%.4f,%.2f,%d\n", run.stake,
                   point.games, point.taken, point.paid, point.PayoutPercent(),
                   static_cast<double>(point.balance), point.band);
        }
    }
    return text;
}
