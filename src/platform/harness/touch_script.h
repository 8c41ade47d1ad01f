// The --touches script: "MS X Y" presses the screen at (X, Y) when the clock reaches MS;
// "MS capture NAME" saves the next presented frame as NAME.png; "MS close" closes the window as
// a player or operator would; "#" starts a comment.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace platform {

struct ScriptStep {
    enum class Kind { Touch, Capture, Close };
    uint32_t ms = 0;
    Kind kind = Kind::Touch;
    int16_t x = 0, y = 0;
    std::string captureName;
};

class TouchScript {
  public:
    // Reads the script text; false with a message naming the bad line.
    bool Parse(const std::string& text, std::string& error);
    // Takes the next step whose time has come, if any.
    bool NextDue(uint32_t now, ScriptStep& step);
    bool Empty() const { return steps_.empty(); }

  private:
    std::deque<ScriptStep> steps_;
};

}  // namespace platform
