// What the display and image tests share: a fresh working directory with the log open, the
// display reset around each test, and small helpers to read the log and build pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>

#include "base/log.h"
#include "engines/graphics/display.h"
#include "platform/platform.h"
#include "support/work_dir.h"

class DisplayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        MakeWorkDirs();
        LogOpen();
    }
    void TearDown() override {
        LogClose();
        ResetDisplayForTests();
        for (int depth : {16, 24, 32})
            platform::RefuseDisplayDepth(depth, false);
    }

    // Everything logged so far, without the time stamps.
    static std::string Logged() {
        static const std::regex stamp(R"(\d{2}/\d{2}/\d{4} \d{2}:\d{2}:\d{2} - )");
        return std::regex_replace(ReadFileText("~system/logs/Vantor.txt"), stamp, "");
    }
    // What was logged after an earlier reading of the log.
    static std::string LoggedSince(const std::string& earlier) {
        return Logged().substr(earlier.size());
    }

    ScopedWorkDir workDir_;
};

// An image pixel: blue, green, red and the fourth byte.
constexpr uint32_t Bgra(uint32_t blue, uint32_t green, uint32_t red, uint32_t fourth) {
    return blue | green << 8 | red << 16 | fourth << 24;
}

inline void FillSurface(Surface& surface, uint32_t value) {
    for (int y = 0; y < surface.height; ++y)
        for (int x = 0; x < surface.width; ++x)
            surface.SetPixel(x, y, value);
}

// A display at the given depth with a known background in the back buffer.
class DrawTest : public DisplayTest {
  protected:
    void StartAt(int depth, uint32_t background) {
        for (int refused = 32; refused > depth; refused -= 8)
            platform::RefuseDisplayDepth(refused, true);
        ASSERT_TRUE(StartDisplay());
        ASSERT_EQ(DisplayBitsPerPixel(), depth);
        FillSurface(*BackBuffer, background);
        logBefore_ = Logged();
    }
    std::string NewLogLines() const { return LoggedSince(logBefore_); }

    std::string logBefore_;
};
