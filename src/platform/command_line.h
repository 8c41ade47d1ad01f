// Reading a program's command line the way Linux tools do, with getopt_long: long options as
// "--name value" or "--name=value", operands anywhere ("--" ends the options), and one clear line
// saying what is wrong with a bad one. Every program of the cabinet reads its arguments here and
// then checks the values itself.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

struct LongOption {
    const char* name;       // without the dashes: "credit-port"
    bool takesValue;        // "--name VALUE" or "--name=VALUE"
    char shortName = '\0';  // a one-letter spelling ("-h"), if any
};

struct CommandLine {
    std::vector<std::pair<std::string, std::string>> options;  // name and value, in order given
    std::vector<std::string> operands;                         // the arguments that are no option
};

// Splits argv[1..argc) by the options known. False, with one line in `error` ("unknown option
// --foo", "--touches needs a value", "--headless takes no value"), for anything else.
bool ReadCommandLine(int argc, const char* const* argv, const std::vector<LongOption>& known,
                     CommandLine& line, std::string& error);

}  // namespace platform
