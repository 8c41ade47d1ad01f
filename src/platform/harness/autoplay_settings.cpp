#include "platform/harness/autoplay_settings.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace platform {
namespace {

bool ParseNumber(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = strtol(text.c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

// R, W and L only, in either case; stored in capitals.
bool ParseAnswerScript(const std::string& text, std::string& script) {
    script.clear();
    for (char letter : text) {
        const char upper = static_cast<char>(toupper(static_cast<unsigned char>(letter)));
        if (upper != 'R' && upper != 'W' && upper != 'L') return false;
        script += upper;
    }
    return !script.empty();
}

bool ParsePrizePick(const std::string& text, PrizePick& pick) {
    if (text == "touch")
        pick = PrizePick::Touch;
    else if (text == "blue")
        pick = PrizePick::Blue;
    else if (text == "wait")
        pick = PrizePick::Wait;
    else
        return false;
    return true;
}

}  // namespace

bool ParseAutoplaySettings(const std::string& text, AutoplaySettings& settings,
                           std::string& error) {
    settings = AutoplaySettings{};
    settings.enabled = true;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item.empty()) continue;
        size_t equals = item.find('=');
        std::string key = item.substr(0, equals);
        std::string value = equals == std::string::npos ? "" : item.substr(equals + 1);
        long number = 0;
        bool ok = false;
        if (key == "games") {
            ok = ParseNumber(value, 0, 1000000, number);
            settings.games = static_cast<int>(number);
        } else if (key == "stake") {
            ok = ParseNumber(value, 50, 100, number) && (number == 50 || number == 100);
            settings.stake = static_cast<int>(number);
        } else if (key == "right") {
            ok = ParseNumber(value, 0, 100, number);
            settings.rightPercent = static_cast<int>(number);
        } else if (key == "take") {
            ok = ParseNumber(value, 0, 4, number);
            settings.takeOffer = static_cast<int>(number);
        } else if (key == "seed") {
            ok = ParseNumber(value, 0, 0xFFFFFFFFL, number);
            settings.seed = static_cast<uint32_t>(number);
        } else if (key == "answers") {
            ok = ParseAnswerScript(value, settings.answers);
        } else if (key == "pick") {
            ok = ParsePrizePick(value, settings.pick);
        }
        if (!ok) {
            error = "--autoplay: bad setting '" + item +
                    "' (expected games=G, stake=50|100, right=0..100, take=0..4, seed=S, "
                    "answers=R|W|L..., pick=touch|blue|wait)";
            return false;
        }
    }
    return true;
}

}  // namespace platform
