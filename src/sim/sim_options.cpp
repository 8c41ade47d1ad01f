#include "sim/sim_options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/command_line.h"
#include "rules/offer_calculation.h"

const char* const kSimUsage =
    "usage: payout-sim [options]\n"
    "Plays very many games with the game's own logic and a modelled player and reports the\n"
    "payout per stake.\n"
    "  --games N           games to play at each stake (default 1000000)\n"
    "  --stake 50|100      one stake only (default: both, each on its own fresh cabinet)\n"
    "  --right P1,P2,P3    percent chance of a right answer at difficulty 1, 2, 3\n"
    "                      (default 90,75,60)\n"
    "  --try-again-right P percent chance of a right answer on a try-again\n"
    "                      (default: the question's own chance; 100 for a player who\n"
    "                      presses the other button)\n"
    "  --take K|never|ratio:X\n"
    "                      take the K-th offer (1 to 4), never take one (also 0), or take an\n"
    "                      offer worth at least X % of the average of the closed balls\n"
    "                      (default never)\n"
    "  --seed S            seed of the game's generator and the player (default 1)\n"
    "  --csv FILE          write the payout's course over the run as CSV\n"
    "  --plot FILE.png     draw the payout's course over the run\n"
    "  --help              this text\n"
    "  --version           the program's version\n"
    "Options take their value as --name VALUE or --name=VALUE.\n"
    "Exit status: 0 done, 1 the CSV or picture could not be written, 2 bad arguments.\n";

namespace {

constexpr int64_t kMostGames = 1000000000000;  // a million million: days of computing

bool ReadInteger(const std::string& text, int64_t low, int64_t high, int64_t& value) {
    const char* end = text.data() + text.size();
    auto [last, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && last == end && !text.empty() && value >= low && value <= high;
}

bool ReadPercent(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    auto [last, failure] = std::from_chars(text.data(), end, value);
    return failure == std::errc() && last == end && !text.empty() && std::isfinite(value) &&
           value >= 0.0 && value <= 100.0;
}

bool ReadRightPercents(const std::string& text, PlayerModel& player) {
    double values[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t comma = text.find(',', start);
        const bool last = i == 2;
        if (last != (comma == std::string::npos)) return false;
        const std::string part = text.substr(start, last ? std::string::npos : comma - start);
        if (!ReadPercent(part, values[i])) return false;
        start = comma + 1;
    }
    for (int i = 0; i < 3; ++i)
        player.rightPercent[i] = values[i];
    return true;
}

bool ReadTakePolicy(const std::string& text, TakePolicy& take) {
    const std::string ratioPrefix = "ratio:";
    if (text == "never") {
        take = TakePolicy{};
        return true;
    }
    if (text.rfind(ratioPrefix, 0) == 0) {
        double percent;
        const std::string number = text.substr(ratioPrefix.size());
        const char* end = number.data() + number.size();
        auto [last, failure] = std::from_chars(number.data(), end, percent);
        if (failure != std::errc() || last != end || number.empty() || !std::isfinite(percent) ||
            percent < 0.0)
            return false;
        take = TakePolicy{TakePolicy::Kind::Ratio, 0, percent};
        return true;
    }
    int64_t offer;
    if (!ReadInteger(text, 0, kMostOffers, offer)) return false;
    take = offer == 0 ? TakePolicy{}
                      : TakePolicy{TakePolicy::Kind::NthOffer, static_cast<int>(offer), 0.0};
    return true;
}

const std::vector<platform::LongOption> kSimOptions = {
    {"games", true},      {"stake", true},   {"right", true}, {"try-again-right", true},
    {"take", true},       {"seed", true},    {"csv", true},   {"plot", true},
    {"help", false, 'h'}, {"version", false}};

// Takes one option into `options`. False with a message naming the option for a bad value.
bool TakeOption(const std::string& name, const std::string& value, SimOptions& options,
                std::string& error) {
    auto refuse = [&](const std::string& hint) {
        error = "bad value for --" + name + ": '" + value + "'" + hint;
        return false;
    };
    int64_t number;
    if (name == "help") {
        options.help = true;
    } else if (name == "version") {
        options.version = true;
    } else if (name == "games") {
        if (!ReadInteger(value, 1, kMostGames, number)) return refuse("");
        options.settings.games = number;
    } else if (name == "stake") {
        if (value != "50" && value != "100") return refuse(" (50 or 100)");
        options.stakes = {static_cast<int16_t>(value == "50" ? 50 : 100)};
    } else if (name == "right") {
        if (!ReadRightPercents(value, options.settings.player))
            return refuse(" (three percentages 0 to 100, e.g. 90,75,60)");
    } else if (name == "try-again-right") {
        if (!ReadPercent(value, options.settings.player.tryAgainRightPercent))
            return refuse(" (a percentage 0 to 100)");
    } else if (name == "take") {
        if (!ReadTakePolicy(value, options.settings.player.take))
            return refuse(" (1 to 4, never or ratio:X)");
    } else if (name == "seed") {
        if (!ReadInteger(value, 0, std::numeric_limits<uint32_t>::max(), number)) return refuse("");
        options.settings.seed = static_cast<uint32_t>(number);
    } else if (name == "csv") {
        options.csvPath = value;
    } else if (name == "plot") {
        options.plotPath = value;
    }
    return true;
}

std::string FormatPercent(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error) {
    std::vector<const char*> argv{"payout-sim"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    platform::CommandLine line;
    if (!platform::ReadCommandLine(static_cast<int>(argv.size()), argv.data(), kSimOptions, line,
                                   error))
        return false;
    if (!line.operands.empty()) {
        error = "unexpected argument '" + line.operands.front() + "'";
        return false;
    }
    for (const auto& [name, value] : line.options)
        if (!TakeOption(name, value, options, error)) return false;
    return true;
}

std::string DescribePlayer(const PlayerModel& player) {
    std::string text = "right " + FormatPercent(player.rightPercent[0]) + "/" +
                       FormatPercent(player.rightPercent[1]) + "/" +
                       FormatPercent(player.rightPercent[2]) + " % by difficulty, try-again ";
    text += player.tryAgainRightPercent < 0.0
                ? "as the question"
                : "right " + FormatPercent(player.tryAgainRightPercent) + " %";
    text += ", takes ";
    switch (player.take.kind) {
        case TakePolicy::Kind::Never:
            text += "no offer";
            break;
        case TakePolicy::Kind::NthOffer:
            text += "offer " + std::to_string(player.take.offer);
            break;
        case TakePolicy::Kind::Ratio:
            text += "an offer of " + FormatPercent(player.take.percent) + " % of the average left";
            break;
    }
    return text;
}
