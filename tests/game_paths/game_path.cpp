#include "game_path.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "game_process.h"
#include "support/expected_files.h"
#include "support/packed_questions.h"
#include "support/small_content.h"
#include "support/wallet_service.h"

namespace {

namespace fs = std::filesystem;

// A game that has not ended after this much wall time is stuck (a whole game takes seconds).
constexpr int kRunLimitMs = 120000;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

// The log as a report holds it: without the "07/03/2026 14:05:09 - " before every message, and
// with the addresses that a drawing failure prints (they move from run to run) written as
// "<address>"; a null one stays 0.
std::string ComparableLog(const std::string& log) {
    static const std::regex stamp(R"(^\d\d/\d\d/\d{4,} \d\d:\d\d:\d\d - )");
    static const std::regex address(R"(\b(pSrc|pDest)=-?[1-9][0-9]*)");
    std::string lines;
    for (const std::string& line : Lines(log)) {
        const std::string message =
            std::regex_replace(line, stamp, "", std::regex_constants::format_first_only);
        lines += std::regex_replace(message, address, "$1=<address>") + "\n";
    }
    return lines;
}

// A command with its line end written out, so the report shows every byte sent.
std::string Visible(const std::string& command) {
    std::string text;
    for (char c : command) {
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else
            text += c;
    }
    return text;
}

// Watches the trace a running game writes for one line, reading only what is new each time.
class TraceWatch {
  public:
    explicit TraceWatch(std::string line) : line_(std::move(line)) {}

    bool Seen() {
        std::ifstream trace("trace.txt", std::ios::binary);
        trace.seekg(static_cast<std::streamoff>(read_));
        std::string fresh((std::istreambuf_iterator<char>(trace)), {});
        read_ += fresh.size();
        unmatched_ += fresh;
        if (unmatched_.find(line_) != std::string::npos) return true;
        // Keep only what could still begin the line.
        if (unmatched_.size() > line_.size()) unmatched_.erase(0, unmatched_.size() - line_.size());
        return false;
    }

  private:
    std::string line_;
    std::string unmatched_;
    size_t read_ = 0;
};

}  // namespace

std::vector<std::string> PathRun::MoneyMoves() const {
    std::vector<std::string> moves;
    for (const std::string& command : commands)
        if (command != "CGET\r\n" && command != "BGET\r\n") moves.push_back(command);
    return moves;
}

std::vector<int> PathRun::Sounds() const {
    std::vector<int> sounds;
    for (const std::string& line : Lines(trace)) {
        const size_t at = line.find(" sound ");
        if (at != std::string::npos) sounds.push_back(atoi(line.c_str() + at + 7));
    }
    return sounds;
}

bool PathRun::Traced(const std::string& event) const {
    for (const std::string& line : Lines(trace)) {
        const size_t space = line.find(' ');
        if (space != std::string::npos && line.substr(space + 1) == event) return true;
    }
    return false;
}

int PathRun::LogCount(const std::string& wanted) const {
    int count = 0;
    for (const std::string& line : Lines(log))
        if (line + "\n" == wanted) ++count;
    return count;
}

std::string PathRun::Report() const {
    std::ostringstream report;
    report << "# trace\n";
    for (const std::string& line : Lines(trace))
        if (line.find(" present ") == std::string::npos) report << line << "\n";
    report << "# money\n";
    for (const std::string& move : MoneyMoves())
        report << Visible(move) << "\n";
    report << "# wallet after: credit " << creditAfter << ", bank " << bankAfter << "\n";
    report << "# record\n";
    if (recordPresent) {
        char balances[96];
        snprintf(balances, sizeof balances, "balance 0 = %.2f\nbalance 1 = %.2f\n",
                 record.balances[0], record.balances[1]);
        report << balances;
        for (int index = 0; index < kCounterCount; ++index)
            if (record.counters[index] != 0)
                report << "counter " << index << " = " << record.counters[index] << "\n";
    }
    report << "# log\n" << log;
    report << "# exit " << exitStatus << "\n";
    return report.str();
}

PathRun GamePaths::Play(const PathSetup& setup) {
    PathRun run;
    WritePlainSpriteFiles(Colour{40, 60, 80});
    EXPECT_TRUE(CopyPackedQuestionsInto(fs::current_path())) << "question packs";
    WalletService wallet(setup.credit, setup.bank);
    EXPECT_TRUE(wallet.Listening());
    if (setup.refuseStake) wallet.Refuse("CUSE");

    std::vector<std::string> arguments;
    if (!setup.autoplay.empty()) arguments.insert(arguments.end(), {"--autoplay", setup.autoplay});
    if (!setup.touches.empty()) {
        WriteFileText("touches.txt", setup.touches);
        arguments.insert(arguments.end(), {"--touches", "touches.txt"});
    }
    if (setup.clockStart != 0)
        arguments.insert(arguments.end(), {"--clock-start", std::to_string(setup.clockStart)});
    GameProcess game(wallet.Port(), arguments);
    GameExit exit;
    if (!setup.terminateAt.empty()) {
        TraceWatch watch(" " + setup.terminateAt + "\n");
        const bool ended = game.WaitFor(kRunLimitMs, exit, [&watch] { return watch.Seen(); });
        EXPECT_FALSE(ended) << "the game ended before " << setup.terminateAt;
        if (!ended) kill(game.pid(), SIGTERM);
    }
    EXPECT_TRUE(game.WaitFor(kRunLimitMs, exit)) << "the game did not end";
    if (!game.WaitFor(0, exit)) exit = game.Kill();
    run.exitStatus = exit.exitStatus;
    run.signal = exit.signal;
    run.output = ReadFileText("output.txt");
    run.trace = ReadFileText("trace.txt");
    run.commands = wallet.Commands();
    run.creditAfter = wallet.Credit();
    run.bankAfter = wallet.Bank();
    run.log = ComparableLog(ReadFileText("~system/logs/Vantor.txt"));
    const std::string record = ReadFileText("data/brasswick.rec");
    run.recordPresent = !record.empty();
    if (run.recordPresent) {
        const std::vector<uint8_t> bytes(record.begin(), record.end());
        EXPECT_EQ(bytes.size(), kRecordFileSize);
        EXPECT_TRUE(DecodeRecord(bytes, run.record));
    }
    EXPECT_EQ(run.signal, 0) << run.output;
    return run;
}

void GamePaths::ExpectReport(const std::string& name, const PathRun& run) {
    ExpectFileText(run.Report(), "tests/game_paths/expected/" + name + ".path");
}
