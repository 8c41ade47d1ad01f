// One cabinet as the console finds it on disk: its content directory (record file and log) and
// its credit ledger. Everything is read afresh for every page and scrape, and nothing is written.
#pragma once

#include <optional>
#include <string>

#include "engines/control/record_reading.h"
#include "meter_report.h"

struct CabinetPaths {
    std::string contentDir;
    std::string ledgerPath;
};

// The record file and the log inside a content directory. A content set copied from a Windows
// cabinet may spell the names in other cases; the game's own lookup finds them.
std::string RecordFilePath(const std::string& contentDir);
std::string GameLogPath(const std::string& contentDir);
// The log of the last run that failed, which the cabinet's session keeps beside the log.
std::string FailedGameLogPath(const std::string& contentDir);

// The record file read as the meters tool reads it, but steadily: when the file changes while it
// is read (a writer that does not replace it in one rename), it is read again, so that a page
// never shows half of one version and half of another.
RecordReading ReadRecordSteadily(const std::string& path);

// The meters' report of a record file, for a reading that did not fail. The figures come from the
// game's controller, whose tables are shared: this is safe to call from several threads.
MeterReport ReportRecord(const std::string& path, const RecordReading& reading);

enum class GameProcessState {
    NotRunning,
    Running,            // a vantor process works in this content directory
    RunningUnconfirmed  // a vantor process runs, but its directory cannot be read (another user)
};

struct GameProcess {
    GameProcessState state = GameProcessState::NotRunning;
    long pid = 0;
};

// Looks through /proc (or the given process directory) for the game: a process named "vantor"
// whose working directory is `contentDir`.
GameProcess FindGameProcess(const std::string& contentDir, const std::string& procDir = "/proc");
