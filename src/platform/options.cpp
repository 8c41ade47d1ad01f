#include <cstdint>
#include <cstdlib>

#include "platform/command_line.h"
#include "platform/harness/autoplay_settings.h"
#include "platform/platform.h"

namespace platform {
namespace {

const std::vector<LongOption> kVantorOptions = {
    {"help", false, 'h'},  {"version", false},       {"headless", false},   {"windowed", false},
    {"fullscreen", false}, {"virtual-clock", false}, {"clock-start", true}, {"touches", true},
    {"capture-dir", true}, {"trace", true},          {"frame-times", true}, {"credit-port", true},
    {"autoplay", true},
};

// A whole decimal number from low to high, nothing else.
bool ReadNumber(const std::string& text, unsigned long long low, unsigned long long high,
                unsigned long long& value) {
    if (text.empty() || text[0] < '0' || text[0] > '9') return false;
    char* end = nullptr;
    value = strtoull(text.c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

// Takes one option of the command line into `options`. False with a message for a bad value.
bool TakeOption(const std::string& name, const std::string& value, Options& options,
                std::string& error) {
    unsigned long long number = 0;
    if (name == "help") {
        options.helpAsked = true;
    } else if (name == "version") {
        options.versionAsked = true;
    } else if (name == "headless") {
        options.headless = true;
        options.virtualClock = true;
    } else if (name == "windowed" || name == "fullscreen") {
        options.windowed = name == "windowed";
    } else if (name == "virtual-clock") {
        options.virtualClock = true;
    } else if (name == "clock-start") {
        if (!ReadNumber(value, 0, UINT32_MAX, number)) {
            error = "--clock-start needs a clock value from 0 to 4294967295, not '" + value + "'";
            return false;
        }
        options.clockStart = static_cast<uint32_t>(number);
    } else if (name == "touches") {
        options.touchesFile = value;
    } else if (name == "capture-dir") {
        options.captureDir = value;
    } else if (name == "trace") {
        options.traceFile = value;
    } else if (name == "frame-times") {
        options.frameTimesFile = value;
    } else if (name == "credit-port") {
        if (!ReadNumber(value, 1, 65535, number)) {
            error = "--credit-port needs a port number from 1 to 65535, not '" + value + "'";
            return false;
        }
        options.creditPort = static_cast<uint16_t>(number);
    } else if (name == "autoplay") {
        options.autoplay = value;
        AutoplaySettings settings;
        return ParseAutoplaySettings(value, settings, error);
    }
    return true;
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    CommandLine line;
    if (!ReadCommandLine(argc, argv, kVantorOptions, line, error)) return false;
    if (!line.operands.empty()) {
        error = "unexpected argument '" + line.operands.front() + "'";
        return false;
    }
    for (const auto& [name, value] : line.options)
        if (!TakeOption(name, value, options, error)) return false;
    return true;
}

}  // namespace platform
