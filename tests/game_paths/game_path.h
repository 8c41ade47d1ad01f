// One path of the game, end to end: the real vantor program runs headless on the virtual clock in
// a fresh working directory (a small content set of plain sprite files, so frames are cheap, and
// the real question packs), against a credit service that keeps the player's credit and bank,
// with the modelled player (--autoplay) and/or a touch script. What the run leaves behind is
// gathered into a path report that tests compare with tests/game_paths/expected/<name>.path.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engines/control/record_file.h"
#include "support/work_dir.h"

// The player's money and what the player does: PathSetup(50, 100).Autoplay("stake=100").
struct PathSetup {
    explicit PathSetup(int credit, int bank = 0) : credit(credit), bank(bank) {}
    PathSetup& Autoplay(std::string settings) {
        autoplay = std::move(settings);
        return *this;
    }
    PathSetup& Touches(std::string script) {
        touches = std::move(script);
        return *this;
    }
    // The credit service answers FAIL to every stake.
    PathSetup& RefuseStake() {
        refuseStake = true;
        return *this;
    }
    // The virtual clock starts here (--clock-start) instead of at 0.
    PathSetup& ClockStart(uint32_t ms) {
        clockStart = ms;
        return *this;
    }
    // The process gets SIGTERM as soon as its trace shows this event ("touch 325 335").
    PathSetup& TerminateAt(std::string event) {
        terminateAt = std::move(event);
        return *this;
    }

    int credit;
    int bank;
    std::string autoplay;  // --autoplay settings; empty for none
    std::string touches;   // touch script ("MS X Y" lines); empty for none
    bool refuseStake = false;
    uint32_t clockStart = 0;
    std::string terminateAt;  // empty: no signal
};

// What one run left behind.
struct PathRun {
    int exitStatus = -1;
    int signal = 0;
    std::string output;                 // the program's standard output and error
    std::string trace;                  // the harness trace as written
    std::vector<std::string> commands;  // the credit service's commands, exactly as received
    bool recordPresent = false;
    RecordContents record;
    std::string log;  // the log's lines without their time stamps (and drawing addresses)
    int creditAfter = 0;
    int bankAfter = 0;

    // The commands other than the reads (CGET, BGET).
    std::vector<std::string> MoneyMoves() const;
    // The sound numbers played, in order.
    std::vector<int> Sounds() const;
    // True when the trace has a line with this event ("sound 20", "exit 0").
    bool Traced(const std::string& event) const;
    // How many times the log has this line (without its time stamp, line end included).
    int LogCount(const std::string& line) const;
    int Counter(int index) const { return record.counters[index]; }

    // The trace without its "present" lines; the money commands; the record file's balances and
    // its non-zero counters; the log; the exit code.
    std::string Report() const;
};

class GamePaths : public ::testing::Test {
  protected:
    // Plays the path in this test's own working directory and gathers what it left.
    PathRun Play(const PathSetup& setup);

    // Compares the run's report with expected/<name>.path (written afresh instead under
    // VANTOR_UPDATE_EXPECTED=1).
    static void ExpectReport(const std::string& name, const PathRun& run);

    ScopedWorkDir dir_;
};
