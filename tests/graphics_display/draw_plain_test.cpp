// The plain path of DrawSurface: keyed copies, stretched copies and clipping.
#include <gtest/gtest.h>

#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/registry.h"
#include "graphics_display/display_test_env.h"

namespace {

constexpr uint32_t kBackground = Bgra(1, 2, 3, 0);
constexpr uint32_t kMagenta = Bgra(255, 0, 255, 0);

// Every pixel tells where it came from: blue is its column, green its row. Two magenta patches,
// one of them with its fourth byte set, are the transparent parts.
uint32_t PatternPixel(int x, int y) {
    return Bgra(x, y, 0x80, 0x11);
}

Surface* MakePattern(int width = 100, int height = 60) {
    Surface* image = CreateImageSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, PatternPixel(x, y));
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x)
            image->SetPixel(x, y, kMagenta);
    image->SetPixel(20, 10, Bgra(255, 0, 255, 0xFF));
    return image;
}

bool IsMagenta(int x, int y) {
    return (x >= 10 && x < 20 && y >= 10 && y < 20) || (x == 20 && y == 10);
}

// The plain path: no angle, no opacity, no gamma, no alpha.
bool DrawPlain(Surface* image, const ImageRect* rect, int x, int y, float scaleX = 1.0f,
               float scaleY = 1.0f) {
    return DrawSurface(image, rect, BackBuffer, x, y, scaleX, scaleY, 0.0f, 0, 0.0f, 0.0f);
}

class PlainDraw : public DrawTest {
  protected:
    void SetUp() override {
        DrawTest::SetUp();
        StartAt(32, kBackground);
        image_ = MakePattern();
    }
    uint32_t Screen(int x, int y) const { return BackBuffer->PixelAt(x, y); }

    Surface* image_ = nullptr;
};

TEST_F(PlainDraw, CopiesEveryByteAndLeavesMagentaTransparent) {
    EXPECT_TRUE(DrawPlain(image_, nullptr, 200, 100));
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x) {
            uint32_t expected = IsMagenta(x, y) ? kBackground : PatternPixel(x, y);
            ASSERT_EQ(Screen(200 + x, 100 + y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(Screen(199, 100), kBackground);
    EXPECT_EQ(Screen(300, 100), kBackground);
    EXPECT_EQ(Screen(200, 160), kBackground);
    EXPECT_EQ(NewLogLines(), "");
}

TEST_F(PlainDraw, ClipsAtTheLeftAndTopEdges) {
    EXPECT_TRUE(DrawPlain(image_, nullptr, -30, -5));
    for (int x = 0; x < 70; ++x)
        EXPECT_EQ(Screen(x, 30), PatternPixel(x + 30, 35)) << x;
    EXPECT_EQ(Screen(0, 0), PatternPixel(30, 5));
    EXPECT_EQ(Screen(69, 54), PatternPixel(99, 59));
    EXPECT_EQ(Screen(70, 30), kBackground);
    EXPECT_EQ(Screen(10, 55), kBackground);
}

TEST_F(PlainDraw, ClipsAtTheRightAndBottomEdges) {
    EXPECT_TRUE(DrawPlain(image_, nullptr, 750, 570));
    EXPECT_EQ(Screen(750, 570), PatternPixel(0, 0));
    EXPECT_EQ(Screen(799, 599), PatternPixel(49, 29));
    EXPECT_EQ(Screen(749, 570), kBackground);
}

TEST_F(PlainDraw, WhollyOffScreenDrawsNothingAndLogsNothing) {
    EXPECT_FALSE(DrawPlain(image_, nullptr, -101, 0));  // right edge at -1
    EXPECT_FALSE(DrawPlain(image_, nullptr, 800, 0));
    EXPECT_FALSE(DrawPlain(image_, nullptr, 0, -61));
    EXPECT_FALSE(DrawPlain(image_, nullptr, 0, 600));
    EXPECT_FALSE(DrawPlain(image_, nullptr, -100, 0));  // touches the edge, clipped to nothing
    EXPECT_EQ(Screen(0, 0), kBackground);
    EXPECT_EQ(NewLogLines(), "");
}

TEST_F(PlainDraw, HalfScaleCoversHalfTheSizeTakingEverySecondPixel) {
    EXPECT_TRUE(DrawPlain(image_, nullptr, 100, 100, 0.5f, 0.5f));
    EXPECT_EQ(Screen(100, 100), PatternPixel(1, 1));
    EXPECT_EQ(Screen(149, 129), PatternPixel(99, 59));
    EXPECT_EQ(Screen(130, 120), PatternPixel(61, 41));
    EXPECT_EQ(Screen(150, 100), kBackground);
    EXPECT_EQ(Screen(100, 130), kBackground);
    EXPECT_EQ(Screen(105, 105), kBackground);  // source (11, 11) is magenta
}

TEST_F(PlainDraw, ScaledSizesAreTruncated) {
    EXPECT_TRUE(DrawPlain(image_, nullptr, 100, 100, 0.333f, 0.333f));
    EXPECT_NE(Screen(132, 100), kBackground);
    EXPECT_EQ(Screen(133, 100), kBackground);
    EXPECT_NE(Screen(100, 118), kBackground);  // 60 x 0.333 = 19.98: 19 rows
    EXPECT_EQ(Screen(100, 119), kBackground);
}

TEST_F(PlainDraw, StretchedDrawClippedOnTheLeftMovesTheSourceInSourcePixels) {
    EXPECT_TRUE(DrawPlain(image_, nullptr, -20, 0, 2.0f, 1.0f));
    // 20 screen pixels cut off are 10 source pixels: columns 10 to 99 fill screen 0 to 179.
    EXPECT_EQ(Screen(0, 30), PatternPixel(10, 30));
    EXPECT_EQ(Screen(1, 30), PatternPixel(10, 30));
    EXPECT_EQ(Screen(2, 30), PatternPixel(11, 30));
    EXPECT_EQ(Screen(179, 30), PatternPixel(99, 30));
    EXPECT_EQ(Screen(180, 30), kBackground);
}

TEST_F(PlainDraw, AFrameRectangleDrawsOnlyThatBand) {
    static const char* const kName = "Graphic_resource//Stake//Anim50p.bmp";
    AddImageEntry(kName, 100, 60, 3);
    EXPECT_TRUE(DrawPlain(image_, FindImageFrame(kName, 1), 0, 0));
    EXPECT_EQ(Screen(5, 0), PatternPixel(5, 20));
    EXPECT_EQ(Screen(5, 19), PatternPixel(5, 39));
    EXPECT_EQ(Screen(5, 20), kBackground);
}

TEST_F(PlainDraw, ARectangleOutsideThePictureIsRefused) {
    ImageRect above{0, -20, 100, 0};
    EXPECT_FALSE(DrawPlain(image_, &above, 0, 0));
    ImageRect wider{0, 0, 101, 10};
    EXPECT_FALSE(DrawPlain(image_, &wider, 0, 0, 0.5f, 0.5f));
    EXPECT_EQ(NewLogLines(),
              "Failed to get surface BltFast ( -2005532522,88760096 )\n"
              "Failed to get surface Blt ( -2005532522,88760096 )\n");
    EXPECT_EQ(Screen(0, 0), kBackground);
}

TEST_F(PlainDraw, AMissingSurfaceIsLoggedWithBothPointers) {
    EXPECT_FALSE(DrawSurface(nullptr, nullptr, BackBuffer, 0, 0, 1, 1, 0, 0, 0, 0));
    EXPECT_FALSE(DrawSurface(image_, nullptr, nullptr, 0, 0, 1, 1, 0, 0, 0, 0));
    char expected[200];
    snprintf(expected, sizeof expected,
             "Failed parameters; pSrc=0,pDest=%d\nFailed parameters; pSrc=%d,pDest=0\n",
             static_cast<int>(reinterpret_cast<intptr_t>(BackBuffer)),
             static_cast<int>(reinterpret_cast<intptr_t>(image_)));
    EXPECT_EQ(NewLogLines(), expected);
}

TEST_F(DrawTest, PlainDrawAt24BitsConvertsAndKeys) {
    StartAt(24, 0x010203);
    Surface* image = MakePattern();
    EXPECT_TRUE(DrawPlain(image, nullptr, -30, 0));
    EXPECT_EQ(BackBuffer->PixelAt(0, 40), PatternPixel(30, 40) & 0xFFFFFF);
    EXPECT_EQ(BackBuffer->PixelAt(69, 40), PatternPixel(99, 40) & 0xFFFFFF);
    EXPECT_EQ(BackBuffer->PixelAt(70, 40), 0x010203u);
    EXPECT_TRUE(DrawPlain(image, nullptr, 0, 100, 0.5f, 0.5f));
    EXPECT_EQ(BackBuffer->PixelAt(10, 110), PatternPixel(21, 21) & 0xFFFFFF);
    EXPECT_EQ(BackBuffer->PixelAt(5, 105), 0x010203u);  // source (11, 11) is magenta
    EXPECT_EQ(BackBuffer->PixelAt(50, 100), 0x010203u);
}

TEST_F(DrawTest, PlainDrawAt16BitsPacksFiveSixFive) {
    StartAt(16, 0x0841);
    Surface* image = CreateImageSurface(3, 1);
    image->SetPixel(0, 0, Bgra(0xFF, 0xFF, 0xFF, 0));
    image->SetPixel(1, 0, kMagenta);
    image->SetPixel(2, 0, Bgra(0x18, 0x84, 0xF8, 0x77));  // blue 3, green 33, red 31
    EXPECT_TRUE(DrawPlain(image, nullptr, 10, 10));
    EXPECT_EQ(BackBuffer->PixelAt(10, 10), 0xFFFFu);
    EXPECT_EQ(BackBuffer->PixelAt(11, 10), 0x0841u);
    EXPECT_EQ(BackBuffer->PixelAt(12, 10), (31u << 11) | (33u << 5) | 3u);
}

}  // namespace
