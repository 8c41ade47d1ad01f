// The game in a real X window (the SDL2 backend, real clock) under Xvfb: it starts, shows the
// attract screen, and a press on Main Menu through the X server ends it in order. A screenshot of
// the X screen is saved beside this test program.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "engines/graphics/image_codecs.h"
#include "support/fake_credit_service.h"
#include "support/run_program.h"
#include "support/work_dir.h"
#include "xvfb_server.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Start-up is slow under the sanitizers on a busy machine; these only bound a hung run.
constexpr auto kAttractLimit = 240s;
constexpr auto kExitLimit = 60s;

struct TraceLine {
    long ms;
    std::string event;
};

std::vector<TraceLine> ReadTrace(const std::string& path) {
    std::vector<TraceLine> lines;
    std::istringstream in(ReadFileText(path));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        TraceLine entry;
        if (fields >> entry.ms && std::getline(fields >> std::ws, entry.event))
            lines.push_back(entry);
    }
    return lines;
}

// Index of the first line at or after `from` whose event starts with `prefix`, or -1.
long FindEvent(const std::vector<TraceLine>& trace, const std::string& prefix, long from = 0) {
    for (size_t i = static_cast<size_t>(from); i < trace.size(); ++i)
        if (trace[i].event.rfind(prefix, 0) == 0) return static_cast<long>(i);
    return -1;
}

// The content set, linked into the work directory; the game makes data/ and ~system/ itself.
void LinkContentSet() {
    for (const fs::directory_entry& entry : fs::directory_iterator(CABINET_CONTENT_DIR))
        fs::create_directory_symlink(entry.path(), entry.path().filename());
}

// SDL's X11 video driver keeps allocations of libdbus and of libraries it loads and unloads
// itself until the process ends, which the leak checker reports without a usable stack. Leaks of
// the game's own code are checked by the headless tests; here the other checks stay on.
std::string SanitizerOptionsWithoutLeakCheck() {
    const char* current = std::getenv("ASAN_OPTIONS");
    return std::string("ASAN_OPTIONS=") + (current && *current ? std::string(current) + ":" : "") +
           "detect_leaks=0";
}

// The fraction of pixels of the screenshot's region that show the attract background picture,
// drawn at `scale` from (`left`, 0) of the screen.
double ShareShowingBackground(const DecodedImage& shot, const DecodedImage& background, int left,
                              double scale, int width, int height) {
    long same = 0, total = 0;
    for (int y = 0; y < height; y += 3) {
        for (int x = 0; x < width; x += 3) {
            const int sx = left + static_cast<int>(x * scale), sy = static_cast<int>(y * scale);
            const uint8_t* seen = &shot.pixels[(static_cast<size_t>(sy) * shot.width + sx) * 4];
            const uint8_t* drawn =
                &background.pixels[(static_cast<size_t>(y) * background.width + x) * 4];
            int difference = 0;
            for (int c = 0; c < 3; ++c)
                difference = std::max(difference, std::abs(seen[c] - drawn[c]));
            same += difference <= 8;
            ++total;
        }
    }
    return total ? static_cast<double>(same) / total : 0;
}

DecodedImage AttractBackground() {
    const std::string bytes = ReadFileText(std::string(CABINET_CONTENT_DIR) +
                                           "/Graphic_resource/Menu/OptionBackgroundBLank.BMP");
    DecodedImage image;
    DecodePicture({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, image);
    return image;
}

class RealWindow : public ::testing::Test {
  protected:
    // Runs the game on an X screen of the size given until its attract screen has shown frames,
    // and saves a screenshot of the X screen then.
    void RunToAttractScreen(int screenWidth, int screenHeight, std::vector<std::string> options,
                            const std::string& screenshotName) {
        xvfb = std::make_unique<XvfbServer>(screenWidth, screenHeight, work.path() + "/xvfb.log");
        ASSERT_TRUE(xvfb->Running())
            << "Xvfb did not start: " << ReadFileText(work.path() + "/xvfb.log");
        LinkContentSet();
        service.SetResponder([](const std::string& command) -> std::string {
            if (command == "CGET\r\n") return "CTEL,500\r\n";
            if (command == "BGET\r\n") return "BTEL,250\r\n";
            return "FAIL\r\n";
        });
        options.insert(options.end(),
                       {"--trace", "trace.txt", "--credit-port", std::to_string(service.Port())});
        game = std::make_unique<ChildProcess>(
            ProgramPath("vantor"), options,
            std::vector<std::string>{"DISPLAY=" + xvfb->Display(), "SDL_VIDEODRIVER=x11",
                                     "SDL_AUDIODRIVER=dummy", SanitizerOptionsWithoutLeakCheck()},
            work.path() + "/vantor-output.txt");
        ASSERT_TRUE(game->Started());

        // The attract screen has started its music and presented a hundred frames since.
        const auto giveUp = std::chrono::steady_clock::now() + kAttractLimit;
        for (;;) {
            const std::vector<TraceLine> trace = ReadTrace("trace.txt");
            const long music = FindEvent(trace, "music play");
            if (music >= 0 && FindEvent(trace, "present", music) >= 0) break;
            ASSERT_TRUE(game->Running()) << "the game ended before its attract screen:\n"
                                         << ReadFileText("vantor-output.txt");
            ASSERT_LT(std::chrono::steady_clock::now(), giveUp) << "no attract screen";
            std::this_thread::sleep_for(100ms);
        }
        screenshot = std::string(SCREENSHOT_DIR) + "/" + screenshotName;
        ASSERT_TRUE(xvfb->Screenshot(screenshot));
    }

    // Presses the screen at (x, y) and expects the orderly end: the touch arrives at `expected`
    // on the 800 x 600 screen, the music stops, the press is heard, exit 0 and TERM last.
    void PressMainMenuAndExpectTheEnd(int x, int y, const std::string& expectedTouch) {
        ASSERT_TRUE(xvfb->Press(x, y));
        const std::optional<int> status = game->Wait(kExitLimit);
        ASSERT_TRUE(status.has_value()) << "the game did not end after Main Menu";
        EXPECT_EQ(*status, 0) << ReadFileText("vantor-output.txt");

        const std::vector<TraceLine> trace = ReadTrace("trace.txt");
        const long touch = FindEvent(trace, "touch");
        ASSERT_GE(touch, 0) << "the press never reached the game";
        EXPECT_EQ(trace[touch].event, expectedTouch);
        EXPECT_GT(touch, FindEvent(trace, "music play"));
        const long stop = FindEvent(trace, "music stop", touch);
        ASSERT_GE(stop, 0);
        EXPECT_EQ(FindEvent(trace, "sound ", touch), FindEvent(trace, "sound 25", touch));
        EXPECT_LT(trace[touch].ms - trace[FindEvent(trace, "music play")].ms, 30000)
            << "Main Menu ended it, not the attract screen's time-out";
        EXPECT_EQ(trace.back().event, "exit 0");

        ASSERT_TRUE(service.WaitForCommands(1));
        const std::vector<std::string> commands = service.Commands();
        EXPECT_EQ(commands.back(), "TERM\r\n");
        for (const std::string& command : commands)
            EXPECT_TRUE(command == "CGET\r\n" || command == "BGET\r\n" || command == "TERM\r\n")
                << "no money moves on the attract screen: " << command;
    }

    ScopedWorkDir work;
    FakeCreditService service;
    std::unique_ptr<XvfbServer> xvfb;
    std::unique_ptr<ChildProcess> game;
    std::string screenshot;
};

TEST_F(RealWindow, WindowShowsTheAttractScreenAndMainMenuEndsTheGame) {
    RunToAttractScreen(800, 600, {"--windowed"}, "xvfb-attract.png");
    if (HasFatalFailure()) return;

    // The 800 x 600 window fills the screen: the picture arrives unscaled, in its own colours.
    const DecodedImage shot = ReadPng(screenshot);
    ASSERT_EQ(shot.width, 800);
    ASSERT_EQ(shot.height, 600);
    EXPECT_GT(ShareShowingBackground(shot, AttractBackground(), 0, 1.0, 800, 400), 0.5);

    PressMainMenuAndExpectTheEnd(121, 517, "touch 121 517");
}

// Cabinet mode on a bare X server, as the kiosk session runs it: no window manager, so the
// window itself must cover the screen for the letter-boxed picture and the touches to line up.
TEST_F(RealWindow, CabinetModeLetterBoxesAWideScreenAndMapsTouchesBack) {
    // 1280 x 720: the 800 x 600 screen is scaled by 1.2 to 960 x 720, with 160 black columns
    // on either side.
    RunToAttractScreen(1280, 720, {}, "xvfb-fullscreen.png");
    if (HasFatalFailure()) return;

    const DecodedImage shot = ReadPng(screenshot);
    ASSERT_EQ(shot.width, 1280);
    ASSERT_EQ(shot.height, 720);
    long lit = 0;
    for (int y = 0; y < 720; y += 4)
        for (int x : {0, 80, 158, 1122, 1200, 1279})
            lit += shot.pixels[(static_cast<size_t>(y) * 1280 + x) * 4 + 1] > 16;
    EXPECT_EQ(lit, 0) << "the bars beside the picture are black";
    EXPECT_GT(ShareShowingBackground(shot, AttractBackground(), 160, 1.2, 790, 390), 0.5);

    // Main Menu's centre (121, 517) lies at (305, 620) of the real screen.
    PressMainMenuAndExpectTheEnd(305, 620, "touch 120 516");
}

}  // namespace
