// The game's log, "~system/logs/Vantor.txt", as the console shows it: when the running game
// started, how the last run ended, and the last lines. The game writes the file afresh at each
// start, one line per event stamped "DD/MM/YYYY HH:MM:SS - ", in code page 1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct GameLogSummary {
    std::string startedAt;   // stamp of the start banner; empty when the log holds none
    std::string version;     // the game's version from the banner
    std::string endedAt;     // stamp of the line that ended the run; empty when none did
    std::string endMessage;  // that line's text
    int exitStatus = -1;     // the status that line means, -1 when no line ended the run
    std::vector<std::string> lastLines;  // UTF-8, oldest first
};

// Summarises a log's text. When the file was too long to read whole, `head` is its beginning
// and `tail` its end; otherwise `head` holds it all and `tail` is empty. At most `lineCount`
// last lines are kept.
GameLogSummary SummariseGameLog(std::string_view head, std::string_view tail, size_t lineCount);

// What the log says about the run's end, for the operator: "orderly end (exit status 0)".
std::string DescribeEnd(const GameLogSummary& summary);

struct GameLogFile {
    std::string failure;  // why it could not be read; empty when it was
    unsigned long long size = 0;
    std::string head;
    std::string tail;
};

// Reads a log: whole when it is small, otherwise only its first and last pieces, so that even a
// huge log costs little memory.
GameLogFile ReadGameLog(const std::string& path);
