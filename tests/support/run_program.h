// Runs one of the built programs (bin directory of the build) in the current directory.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
    int exitStatus = -1;         // 0 to 255 when it exited
    int signal = 0;              // the signal that ended it, if one did
    std::string output;          // standard output, then standard error
    std::string standardOutput;  // each of them on its own
    std::string standardError;
};

// Runs bin/<program> with the arguments and waits for it. `environment` changes the program's
// environment: "NAME=VALUE" sets a variable, a bare "NAME" removes it.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment = {});

// Path of a built program.
std::string ProgramPath(const std::string& program);
