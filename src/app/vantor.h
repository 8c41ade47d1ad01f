// The cabinet program: start-up in its fixed order, one pass of the main loop per game sold, and
// the orderly or failure exits.
#pragma once

#include "platform/platform.h"

// Exit codes of the program, as whatever launches it sees them (before the 8-bit conversion).
enum VantorExitCode {
    kExitOrderly = 0,
    kExitNoWindow = -1,
    kExitNoSocket = 1,
    kExitNoCreditService = 2,
    kExitNoDisplay = -6,
    kExitNoQuestions = -7,
    kExitNoSound = -8,
};

// Runs the program with the platform already started; returns one of the codes above (0 also
// when the working directories cannot be made).
int RunVantor(const platform::Options& options);

// The process exit status of a code: its low 8 bits (-1 gives 255, -7 gives 249).
constexpr int ExitStatus(int code) {
    return code & 0xFF;
}
