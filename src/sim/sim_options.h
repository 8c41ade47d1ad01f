// The command line of payout-sim.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/payout_run.h"

struct SimOptions {
    SimSettings settings;
    std::vector<int16_t> stakes{50, 100};  // both unless --stake names one
    std::string csvPath;                   // empty: no CSV
    std::string plotPath;                  // empty: no picture
    bool help = false;
    bool version = false;
};

extern const char* const kSimUsage;

// Reads the arguments after the program name. False with a message naming the bad argument.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error);

// The player model in words, for the report: "right 90/75/60 % by difficulty, ...".
std::string DescribePlayer(const PlayerModel& player);
