#include "platform/command_line.h"

#include <getopt.h>

namespace platform {
namespace {

constexpr int kFirstLongCode = 256;  // getopt_long's code of the first long option

// What was wrong with the argument getopt_long stopped at, in one line. `code` is what it
// returned ('?' or ':'), `argument` the argument it stopped at.
std::string Complaint(const std::vector<LongOption>& known, int code, const std::string& argument) {
    if (optopt >= kFirstLongCode) {
        const std::string name = known[static_cast<size_t>(optopt - kFirstLongCode)].name;
        return "--" + name + (code == ':' ? " needs a value" : " takes no value");
    }
    if (optopt != 0) {
        const std::string name = "-" + std::string(1, static_cast<char>(optopt));
        return code == ':' ? name + " needs a value" : "unknown option " + name;
    }
    return "unknown option " + argument.substr(0, argument.find('='));
}

}  // namespace

bool ReadCommandLine(int argc, const char* const* argv, const std::vector<LongOption>& known,
                     CommandLine& line, std::string& error) {
    // getopt_long reorders the arguments it is given, so it works on a copy of them.
    std::vector<std::string> arguments(argv, argv + argc);
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);

    std::vector<option> table;
    std::string shortOptions = ":";  // a missing value is reported as ':', not printed
    for (const LongOption& option : known) {
        table.push_back({option.name, option.takesValue ? required_argument : no_argument, nullptr,
                         kFirstLongCode + static_cast<int>(table.size())});
        if (option.shortName != '\0') {
            shortOptions += option.shortName;
            if (option.takesValue) shortOptions += ':';
        }
    }
    table.push_back({nullptr, 0, nullptr, 0});

    opterr = 0;
    optind = 0;  // start afresh: another command line may have been read before
    int found;
    while ((found = getopt_long(argc, pointers.data(), shortOptions.c_str(), table.data(),
                                nullptr)) != -1) {
        if (found == '?' || found == ':') {
            error = Complaint(known, found, pointers[static_cast<size_t>(optind - 1)]);
            return false;
        }
        const LongOption* option = nullptr;
        if (found >= kFirstLongCode) option = &known[static_cast<size_t>(found - kFirstLongCode)];
        for (const LongOption& candidate : known)
            if (candidate.shortName == found) option = &candidate;
        line.options.emplace_back(option->name, option->takesValue ? optarg : "");
    }
    for (int i = optind; i < argc; ++i)
        line.operands.emplace_back(pointers[static_cast<size_t>(i)]);
    return true;
}

}  // namespace platform
