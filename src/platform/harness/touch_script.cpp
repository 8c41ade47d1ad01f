#include "platform/harness/touch_script.h"

#include <algorithm>
#include <sstream>

namespace platform {
namespace {

std::string StripComment(const std::string& line) {
    size_t hash = line.find('#');
    return hash == std::string::npos ? line : line.substr(0, hash);
}

bool ParseStep(const std::string& line, ScriptStep& step) {
    std::istringstream in(line);
    long long ms;
    std::string second;
    if (!(in >> ms >> second) || ms < 0 || ms > 0xFFFFFFFFLL) return false;
    step.ms = static_cast<uint32_t>(ms);
    if (second == "close") {
        step.kind = ScriptStep::Kind::Close;
    } else if (second == "capture") {
        step.kind = ScriptStep::Kind::Capture;
        if (!(in >> step.captureName)) return false;
        if (step.captureName.find('/') != std::string::npos) return false;
    } else {
        long x, y;
        std::istringstream coordinates(second);
        if (!(coordinates >> x) || !coordinates.eof() || !(in >> y)) return false;
        if (x < -32768 || x > 32767 || y < -32768 || y > 32767) return false;
        step.x = static_cast<int16_t>(x);
        step.y = static_cast<int16_t>(y);
    }
    std::string extra;
    return !(in >> extra);
}

}  // namespace

bool TouchScript::Parse(const std::string& text, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::string content = StripComment(line);
        if (content.find_first_not_of(" \t\r") == std::string::npos) continue;
        ScriptStep step;
        if (!ParseStep(content, step)) {
            error = "touch script line " + std::to_string(number) +
                    ": expected 'MS X Y', 'MS capture NAME' " + "or 'MS close', got '" + line + "'";
            return false;
        }
        steps_.push_back(step);
    }
    // Steps happen in time order; steps at the same time keep the script's order.
    std::stable_sort(steps_.begin(), steps_.end(),
                     [](const ScriptStep& a, const ScriptStep& b) { return a.ms < b.ms; });
    return true;
}

bool TouchScript::NextDue(uint32_t now, ScriptStep& step) {
    if (steps_.empty() || steps_.front().ms > now) return false;
    step = steps_.front();
    steps_.pop_front();
    return true;
}

}  // namespace platform
