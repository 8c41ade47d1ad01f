// meters: the operator's listing of the cabinet's record file. It reads the file as the game
// does, never changes or deletes it, and prints both balances with their bands, the 181 game
// counters with their meanings and the payout achieved per stake.
//
// Exit status: 0 the file is sound, 1 the file is damaged, short, has no date or holds a
// balance that is not a number (what could be read is still printed), 2 the file cannot be
// opened or read, or the command line is wrong.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/log.h"
#include "engines/control/record_reading.h"
#include "meter_report.h"
#include "platform/command_line.h"
#include "platform/host_path.h"

namespace {

constexpr int kExitSound = 0;
constexpr int kExitDamaged = 1;
constexpr int kExitCannotRead = 2;
constexpr int kExitBadUsage = 2;

const char* const kUsage =
    "usage: meters [--json] [FILE]\n"
    "       meters --help | --version\n"
    "Prints the record file's balances, its 181 counters and the payout per stake.\n"
    "FILE defaults to data/brasswick.rec in the current (content) directory.\n"
    "  --json   one JSON object instead of the listing\n"
    "Exit status: 0 sound file, 1 damaged or incomplete file (what could be read is shown),\n"
    "2 cannot open or read the file, or bad usage.\n";

const std::vector<platform::LongOption> kMeterOptions = {
    {"json", false}, {"help", false, 'h'}, {"version", false}};

struct Options {
    bool json = false;
    bool help = false;
    bool version = false;
    std::string path;
    bool defaultPath = false;  // no file named: the game's own record file here
};

// False, with a message, for a command line that is wrong.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    platform::CommandLine line;
    if (!platform::ReadCommandLine(argc, argv, kMeterOptions, line, error)) return false;
    for (const auto& [name, value] : line.options) {
        options.json = options.json || name == "json";
        options.help = options.help || name == "help";
        options.version = options.version || name == "version";
    }
    if (line.operands.size() > 1) {
        error = "only one record file at a time";
        return false;
    }
    options.defaultPath = line.operands.empty();
    options.path =
        options.defaultPath ? platform::HostPath(kRecordFileName) : line.operands.front();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "meters: %s (meters --help shows the usage)\n", error.c_str());
        return kExitBadUsage;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return kExitSound;
    }
    if (options.version) {
        std::printf("meters %s\n", kVersionText);
        return kExitSound;
    }
    const RecordReading reading = ReadRecordAt(options.path);
    if (!reading.failure.empty()) {
        std::fprintf(stderr, "meters: %s: %s\n", options.path.c_str(), reading.failure.c_str());
        if (options.defaultPath) {
            std::fputs("meters: run it in the game's content directory, or name the file\n",
                       stderr);
        }
        return kExitCannotRead;
    }
    const MeterReport report = MakeReport(options.path, reading);
    const std::string listing = options.json ? JsonReport(report) : TextReport(report);
    std::fwrite(listing.data(), 1, listing.size(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "meters: cannot write the listing: %s\n", std::strerror(errno));
        return kExitCannotRead;
    }
    if (report.warnings.empty()) return kExitSound;
    if (options.json) {
        for (const std::string& warning : report.warnings)
            std::fprintf(stderr, "meters: warning: %s\n", warning.c_str());
    }
    return kExitDamaged;
}
