// payout-sim: plays very many games with the game's own logic and a modelled player, and
// reports what each stake took and paid. Its last line is always
// "payout P% (95% CI L-H%) over N games" for scripts.
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/log.h"
#include "payout_plot.h"
#include "sim/payout_run.h"
#include "sim/sim_options.h"
#include "sim/sim_report.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

// Whether a file can be made at `path`: its folder exists and may be written to.
bool CanWriteInto(const std::string& path, std::string& error) {
    const size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    if (access(folder.c_str(), W_OK) == 0) return true;
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
}

// Writes the CSV and the picture that were asked for. False with a message when one fails.
bool WriteSeries(const SimOptions& options, const std::vector<StakeRun>& runs, std::string& error) {
    const std::string csv = SeriesCsv(runs);
    if (!options.csvPath.empty() && !WriteTextFile(options.csvPath, csv, error)) return false;
    if (options.plotPath.empty()) return true;

    std::string csvPath = options.csvPath;
    if (csvPath.empty()) {
        char scratch[] = "/tmp/payout-sim-XXXXXX";
        const int fd = mkstemp(scratch);
        if (fd < 0) {
            error = "cannot make a scratch file for the plot";
            return false;
        }
        close(fd);
        csvPath = scratch;
        const bool drawn =
            WriteTextFile(csvPath, csv, error) && DrawPayoutPlot(csvPath, options.plotPath, error);
        std::remove(csvPath.c_str());
        return drawn;
    }
    return DrawPayoutPlot(csvPath, options.plotPath, error);
}

}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "payout-sim: %s (payout-sim --help shows the usage)\n", error.c_str());
        return kExitBadArguments;
    }
    if (options.help) {
        std::fputs(kSimUsage, stdout);
        return kExitDone;
    }
    if (options.version) {
        std::printf("payout-sim %s\n", kVersionText);
        return kExitDone;
    }
    // A long run is not started for files that could never be written at its end.
    for (const std::string& path : {options.csvPath, options.plotPath}) {
        if (!path.empty() && !CanWriteInto(path, error)) {
            std::fprintf(stderr, "payout-sim: %s\n", error.c_str());
            return kExitFailed;
        }
    }

    std::printf("payout-sim: %" PRId64 " games at each stake, seed %u\nplayer: %s\n\n",
                options.settings.games, options.settings.seed,
                DescribePlayer(options.settings.player).c_str());
    std::fflush(stdout);

    std::vector<StakeRun> runs;
    PayoutTally total;
    for (int16_t stake : options.stakes) {
        const auto started = std::chrono::steady_clock::now();
        runs.push_back(RunStake(stake, options.settings));
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
        const StakeRun& run = runs.back();
        std::fputs(StakeReport(run).c_str(), stdout);
        if (seconds.count() > 0.0) {
            std::printf("  speed        %.0f games a minute\n",
                        static_cast<double>(run.tally.Games()) * 60.0 / seconds.count());
        }
        std::printf("\n");
        std::fflush(stdout);
        total.Merge(run.tally);
    }

    const bool written = WriteSeries(options, runs, error);
    if (!written) std::fprintf(stderr, "payout-sim: %s\n", error.c_str());
    std::printf("%s\n", LastLine(total).c_str());
    return written ? kExitDone : kExitFailed;
}
