#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/harness/autoplay_settings.h"
#include "platform/platform.h"

namespace platform {

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                error = option + " needs a value";
                return false;
            }
            into = argv[++i];
            return true;
        };
        if (option == "--headless") {
            options.headless = true;
            options.virtualClock = true;
        } else if (option == "--windowed") {
            options.windowed = true;
        } else if (option == "--fullscreen") {
            options.windowed = false;
        } else if (option == "--virtual-clock") {
            options.virtualClock = true;
        } else if (option == "--clock-start") {
            std::string text;
            if (!value(text)) return false;
            char* end = nullptr;
            const unsigned long long start = strtoull(text.c_str(), &end, 10);
            if (text.empty() || text[0] == '-' || *end != '\0' || start > UINT32_MAX) {
                error = "--clock-start needs a clock value from 0 to 4294967295";
                return false;
            }
            options.clockStart = static_cast<uint32_t>(start);
        } else if (option == "--touches") {
            if (!value(options.touchesFile)) return false;
        } else if (option == "--capture-dir") {
            if (!value(options.captureDir)) return false;
        } else if (option == "--trace") {
            if (!value(options.traceFile)) return false;
        } else if (option == "--frame-times") {
            if (!value(options.frameTimesFile)) return false;
        } else if (option == "--credit-port") {
            std::string text;
            if (!value(text)) return false;
            char* end = nullptr;
            long port = strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || port < 1 || port > 65535) {
                error = "--credit-port needs a port number from 1 to 65535";
                return false;
            }
            options.creditPort = static_cast<uint16_t>(port);
        } else if (option == "--autoplay") {
            if (!value(options.autoplay)) return false;
            AutoplaySettings settings;
            if (!ParseAutoplaySettings(options.autoplay, settings, error)) return false;
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    return true;
}

}  // namespace platform
