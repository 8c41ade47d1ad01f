#include "platform/letter_box.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using platform::LetterBox;
using platform::RowBand;

namespace {

constexpr int kScreenWidth = 800, kScreenHeight = 600;

// A screen whose every pixel tells where it came from: row in the high half, column in the low.
std::vector<uint32_t> NumberedScreen() {
    std::vector<uint32_t> screen(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x)
            screen[static_cast<size_t>(y) * kScreenWidth + x] = static_cast<uint32_t>(y) << 16 | x;
    return screen;
}

constexpr uint32_t kBar = 0xDEADBEEF;

struct Window {
    int width, height;
    std::vector<uint32_t> pixels;
    Window(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, kBar) {}
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    RowBand Draw(const LetterBox& box, const std::vector<uint32_t>& screen, RowBand rows) {
        return box.DrawRows(reinterpret_cast<const uint8_t*>(screen.data()), kScreenWidth * 4, rows,
                            reinterpret_cast<uint8_t*>(pixels.data()), width * 4);
    }
};

}  // namespace

TEST(LetterBox, FitsTheScreenCentredWithBarsWhereTheShapesDiffer) {
    const LetterBox same(800, 600, kScreenWidth, kScreenHeight);
    EXPECT_TRUE(same.Unscaled());
    EXPECT_EQ(same.Left(), 0);
    EXPECT_EQ(same.Top(), 0);

    const LetterBox wide(1280, 720, kScreenWidth, kScreenHeight);  // bars left and right
    EXPECT_EQ(wide.Left(), 160);
    EXPECT_EQ(wide.Top(), 0);
    EXPECT_EQ(wide.Width(), 960);
    EXPECT_EQ(wide.Height(), 720);

    const LetterBox tall(1280, 1024, kScreenWidth, kScreenHeight);  // bars above and below
    EXPECT_EQ(tall.Left(), 0);
    EXPECT_EQ(tall.Top(), 32);
    EXPECT_EQ(tall.Width(), 1280);
    EXPECT_EQ(tall.Height(), 960);

    const LetterBox tiny(0, 0, kScreenWidth, kScreenHeight);  // a window shrunk to nothing
    EXPECT_GE(tiny.Width(), 1);
    EXPECT_GE(tiny.Height(), 1);
}

TEST(LetterBox, TouchesOnThePictureMapBackAndTouchesOnTheBarsFallOutside) {
    const LetterBox wide(1280, 720, kScreenWidth, kScreenHeight);
    int x = 0, y = 0;
    wide.WindowToScreen(305, 620, x, y);  // the Main Menu button's middle
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 516);
    wide.WindowToScreen(160, 0, x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    wide.WindowToScreen(1119, 719, x, y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);
    wide.WindowToScreen(159, 300, x, y);
    EXPECT_LT(x, 0);
    wide.WindowToScreen(1120, 300, x, y);
    EXPECT_GE(x, kScreenWidth);

    const LetterBox same(800, 600, kScreenWidth, kScreenHeight);
    same.WindowToScreen(121, 517, x, y);
    EXPECT_EQ(x, 121);
    EXPECT_EQ(y, 517);
}

// A band of changed rows drawn on its own gives the same window as the whole frame drawn again:
// no row of the picture is left stale or drawn from the wrong screen row at a band's edges.
TEST(LetterBox, BandsOfChangedRowsDrawWhatTheWholeFrameWouldDraw) {
    const std::vector<uint32_t> screen = NumberedScreen();
    for (auto [width, height] :
         {std::pair{800, 600}, {1280, 720}, {1024, 768}, {1366, 768}, {640, 480}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        const LetterBox box(width, height, kScreenWidth, kScreenHeight);
        Window whole(width, height);
        const RowBand all = whole.Draw(box, screen, RowBand{0, kScreenHeight});
        EXPECT_EQ(all.first, box.Top());
        EXPECT_EQ(all.end, box.Top() + box.Height());

        Window banded(width, height);
        for (int first = 0; first < kScreenHeight; first += 37)
            banded.Draw(box, screen, RowBand{first, std::min(first + 37, kScreenHeight)});
        EXPECT_EQ(banded.pixels, whole.pixels);

        // The bars are never written; the picture's corners show the screen's corners (a
        // smaller window leaves rows and columns out, the last among them).
        EXPECT_EQ(whole.At(0, 0), box.Left() > 0 || box.Top() > 0 ? kBar : 0u);
        EXPECT_EQ(whole.At(box.Left(), box.Top()), 0u);
        if (box.Width() >= kScreenWidth) {
            EXPECT_EQ(whole.At(box.Left() + box.Width() - 1, box.Top() + box.Height() - 1),
                      599u << 16 | 799u);
        }
    }
}

TEST(LetterBox, OneChangedRowRedrawsOnlyTheWindowRowsShowingIt) {
    const LetterBox wide(1280, 720, kScreenWidth, kScreenHeight);  // each screen row 1.2 rows
    const std::vector<uint32_t> screen = NumberedScreen();
    Window window(1280, 720);
    const RowBand rows = window.Draw(wide, screen, RowBand{5, 6});
    EXPECT_EQ(rows.first, 6);  // window rows 6 and 7 show screen row 5 (6 / 1.2 = 5, 7 / 1.2 = 5.8)
    EXPECT_EQ(rows.end, 8);
    for (int y = 0; y < 720; ++y)
        EXPECT_EQ(window.At(640, y) != kBar, y >= 6 && y < 8) << y;
    EXPECT_TRUE(window.Draw(wide, screen, RowBand{300, 300}).Empty());
}
