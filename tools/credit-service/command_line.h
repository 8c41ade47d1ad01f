// The operator's command line: which command to run, on which ledger, with which values. Read with
// getopt_long, so options may come before or after the command, as "--db FILE" or "--db=FILE".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class Action { Help, Version, Serve, Init, Insert, Collect, Status, PrintLedger };

struct Invocation {
    Action action = Action::Help;
    std::string db;     // the ledger file
    uint16_t port = 0;  // serve: 0 picks any free port
    int amount = 0;     // insert: pence
};

inline constexpr uint16_t kDefaultPort = 6667;

// The usage text that --help prints.
extern const char* const kUsage;

// What the arguments ask for, or nothing and one line saying what is wrong in `error`.
// `default_db` is the ledger when no --db is given.
std::optional<Invocation> ReadCommandLine(int argc, char** argv, const std::string& default_db,
                                          std::string& error);
