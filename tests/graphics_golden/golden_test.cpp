// Whole frames drawn from the real content set and compared with committed pictures, so a change
// anywhere in the drawing pipeline (readers, sprites, keyed copies, turned and faded alpha
// pictures, text) shows up. A frame may differ from its picture by a little per channel (filtering
// on another machine); anything more fails. Run with VANTOR_UPDATE_EXPECTED=1 to rewrite the
// pictures after a change that is meant.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/log.h"
#include "base/random.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/image_codecs.h"
#include "engines/graphics/image_loader.h"
#include "engines/graphics/sprites.h"
#include "platform/harness/png_capture.h"
#include "rules/board.h"
#include "screens/board_drawing.h"
#include "support/expected_files.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr int kMaxChannelDifference = 3;

// A working directory that sees the content set, with the log open.
class GoldenFrameTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        workDir_ = new ScopedWorkDir;
        ResetDisplayForTests();
        for (const auto& entry : fs::directory_iterator(CONTENT_DIR))
            fs::create_directory_symlink(entry.path(),
                                         fs::path(workDir_->path()) / entry.path().filename());
        MakeWorkDirs();
        LogOpen();
        ASSERT_TRUE(StartDisplay());
        InitialiseGraphics();
        ASSERT_NE(BackBuffer, nullptr) << "the content set loads";
    }
    static void TearDownTestSuite() {
        LogClose();
        ResetDisplayForTests();
        delete workDir_;
        workDir_ = nullptr;
    }

    static ScopedWorkDir* workDir_;
};
ScopedWorkDir* GoldenFrameTest::workDir_ = nullptr;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The back buffer as 32-bit pixels without the fourth byte.
std::vector<uint32_t> ScreenPixels() {
    std::vector<uint32_t> pixels;
    pixels.reserve(800 * 600);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            pixels.push_back(BackBuffer->PixelAt(x, y) & 0x00FFFFFF);
    return pixels;
}

int ChannelDifference(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift : {0, 8, 16}) {
        const int d =
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        most = std::max(most, d);
    }
    return most;
}

// Compares the back buffer with GOLDEN_DIR/<name>.png, or rewrites that picture when asked to.
void ExpectScreenMatches(const std::string& name) {
    const fs::path golden = fs::path(GOLDEN_DIR) / (name + ".png");
    const std::vector<uint32_t> screen = ScreenPixels();
    if (UpdatingExpected()) {
        ASSERT_TRUE(platform::WritePngCapture(
            golden.string(), reinterpret_cast<const uint8_t*>(screen.data()), 800, 600));
        return;
    }
    DecodedImage expected;
    ASSERT_EQ(DecodePng(ReadBytes(golden), expected), kCodecOk)
        << golden << " is missing: run with VANTOR_UPDATE_EXPECTED=1 to write it";
    ASSERT_EQ(expected.width, 800);
    ASSERT_EQ(expected.height, 600);
    int differing = 0, worst = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint8_t* p = &expected.pixels[(static_cast<size_t>(y) * 800 + x) * 4];
            const uint32_t want = p[0] | p[1] << 8 | p[2] << 16;
            const int d = ChannelDifference(screen[static_cast<size_t>(y) * 800 + x], want);
            if (d > kMaxChannelDifference) {
                if (differing++ == 0) firstX = x, firstY = y;
            }
            worst = std::max(worst, d);
        }
    EXPECT_EQ(differing, 0) << name << ": " << differing << " pixels differ, by up to " << worst
                            << ", the first at (" << firstX << ", " << firstY << ")";
}

}  // namespace

// The attract screen's pieces: the background sprite, keyed buttons, a ball picture turned and
// faded over them, and text in two fonts with the pound sign.
TEST_F(GoldenFrameTest, ComposedAttractFrame) {
    DrawSprite(menuBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawSprite(mainMenuButtonSprite, 0, 0, 469, nullptr, 1);
    DrawSprite(rulesButtonSprite, 1, 265, 469, nullptr, 1);
    DrawSprite(startButtonSprite, 0, 535, 469, nullptr, 1);
    DrawImageCell(redBallImage, kRedBallName, 10, 360, 220, 0.6f, 30.0f);
    DrawImageCell(blueBallImage, kBlueBallName, 0, 200, 220, 1.0f, -15.0f);
    TextCentreH = 1;
    DrawFontText(
        "Win up to \xA3"
        "5.00!",
        150, 120, 500, 40, kFontFileIds[1]);
    DrawFontText("Seven right answers open the prize game.", 150, 380, 500, 60, kFontFileIds[0]);
    ExpectScreenMatches("attract_composed");
}

// The ball game's board as dealt at £1, with a few balls opened and their plates gone.
TEST_F(GoldenFrameTest, BallBoardWithOpenedBalls) {
    SeedRandom(1234);
    uwPriceOfPlay = 100;
    ResetBoard();
    DealValues();
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    for (int ball : {0, 7, 12, 20}) {
        axBalls[ball].inPlay = 0;
        for (WinPlanPlate& plate : axWinPlan)
            if (plate.value == axBalls[ball].value) plate.lit = 0;
    }
    axBalls[3].showValue = 1;
    DrawBoard();
    DrawWinPlan();
    ExpectScreenMatches("ball_board");
}
