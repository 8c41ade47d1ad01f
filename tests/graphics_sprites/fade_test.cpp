// Cross-fades between layer 0 (picture A) and layer 1 (picture B).
#include <gtest/gtest.h>

#include "engines/graphics/display.h"
#include "engines/graphics/sprites.h"
#include "platform/platform.h"

namespace {

class CrossFadeAtDepth : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        for (int depth : {24, 32})
            platform::RefuseDisplayDepth(depth, depth > GetParam());
        ASSERT_TRUE(StartDisplay());
    }
    void TearDown() override {
        ResetDisplayForTests();
        for (int depth : {24, 32})
            platform::RefuseDisplayDepth(depth, false);
    }

    bool Sixteen() const { return GetParam() == 16; }
    // A pixel from three components in the layer's order: red, green, blue at 16 bits, else
    // the bytes blue, green, red.
    uint32_t Pixel(int c0, int c1, int c2) const {
        return Sixteen() ? static_cast<uint32_t>(c0 * 2048 + c1 * 32 + c2)
                         : static_cast<uint32_t>(c0 | c1 << 8 | c2 << 16);
    }
    void Capture(uint32_t a, uint32_t b, const ClipBox* box = nullptr) {
        Layer[0]->SetPixel(5, 5, a);
        Layer[1]->SetPixel(5, 5, b);
        CaptureLayer(0, box);
        CaptureLayer(1, box);
    }
};

TEST_P(CrossFadeAtDepth, HalfWayIsTheMeanOfEachComponent) {
    if (Sixteen())
        Capture(Pixel(20, 40, 0), Pixel(0, 40, 20));
    else
        Capture(Pixel(200, 100, 0), Pixel(0, 100, 200));
    CrossFade(50, nullptr, false);
    const uint32_t mean = Sixteen() ? Pixel(10, 40, 10) : Pixel(100, 100, 100);
    EXPECT_EQ(Layer[0]->PixelAt(5, 5), mean);
    EXPECT_EQ(BackBuffer->PixelAt(5, 5), mean);
}

TEST_P(CrossFadeAtDepth, TheEndsShowEachPicture) {
    Capture(Pixel(9, 8, 7), Pixel(1, 2, 3));
    CrossFade(100, nullptr, false);
    EXPECT_EQ(Layer[0]->PixelAt(5, 5), Pixel(9, 8, 7));
    CrossFade(0, nullptr, false);
    EXPECT_EQ(Layer[0]->PixelAt(5, 5), Pixel(1, 2, 3));
}

// The blend truncates toward zero: 1 + 50 x (0 - 1) / 100 stays 1, and 0 + 50 x 3 / 100 is 1.
TEST_P(CrossFadeAtDepth, BlendTruncatesTowardZero) {
    Capture(Pixel(0, 3, 0), Pixel(1, 0, 1));
    CrossFade(50, nullptr, false);
    EXPECT_EQ(Layer[0]->PixelAt(5, 5), Pixel(1, 1, 1));
}

TEST_P(CrossFadeAtDepth, PercentOutsideTheRangeDoesNothing) {
    Capture(Pixel(9, 8, 7), Pixel(1, 2, 3));
    for (int percent : {101, -1}) {
        CrossFade(percent, nullptr, false);
        EXPECT_EQ(Layer[0]->PixelAt(5, 5), Pixel(9, 8, 7));
        EXPECT_EQ(BackBuffer->PixelAt(5, 5), 0u);
    }
}

TEST_P(CrossFadeAtDepth, KeyedPixelsOfAKeepA) {
    Capture(DisplayColourKey(), Pixel(1, 2, 3));
    BackBuffer->SetPixel(5, 5, 77);
    CrossFade(30, nullptr, true);
    EXPECT_EQ(Layer[0]->PixelAt(5, 5), DisplayColourKey());
    EXPECT_EQ(BackBuffer->PixelAt(5, 5), 77u);  // the key is left out on the way to the screen

    CrossFade(100, nullptr, false);  // without the key the magenta blends like any colour
    EXPECT_EQ(Layer[0]->PixelAt(5, 5), DisplayColourKey());
    EXPECT_EQ(BackBuffer->PixelAt(5, 5), DisplayColourKey());
}

// Where B is the key and A is one step from it, the blend comes out as the key below 100 %, and
// the keyed fade leaves it out of the back buffer as it does a key in A.
TEST_P(CrossFadeAtDepth, ABlendThatComesOutAsTheKeyIsLeftOut) {
    Capture(Pixel(Sixteen() ? 31 : 255, 1, Sixteen() ? 31 : 255), DisplayColourKey());
    BackBuffer->SetPixel(5, 5, 77);
    CrossFade(50, nullptr, true);
    EXPECT_EQ(Layer[0]->PixelAt(5, 5), DisplayColourKey());
    EXPECT_EQ(BackBuffer->PixelAt(5, 5), 77u);
}

INSTANTIATE_TEST_SUITE_P(Depths, CrossFadeAtDepth, ::testing::Values(16, 24, 32));

class CrossFade32 : public CrossFadeAtDepth {};

// The pictures hold a box's rows upside down: a capture and a fade with the same box meet, and a
// fade with a different box reads the rows the first box left there.
TEST_P(CrossFade32, RowsAreMirroredWithinTheBox) {
    for (int y = 0; y < 600; ++y)
        Layer[0]->SetPixel(0, y, static_cast<uint32_t>(y));
    CaptureLayer(0, nullptr);
    CaptureLayer(1, nullptr);
    CrossFade(100, nullptr, false);
    for (int y : {0, 1, 300, 599})
        EXPECT_EQ(Layer[0]->PixelAt(0, y), static_cast<uint32_t>(y));

    const ClipBox topRows{0, 800, 0, 2};
    CrossFade(100, &topRows, false);
    EXPECT_EQ(Layer[0]->PixelAt(0, 0), 598u);
    EXPECT_EQ(Layer[0]->PixelAt(0, 1), 599u);
    EXPECT_EQ(Layer[0]->PixelAt(0, 2), 2u);
}

TEST_P(CrossFade32, OnlyTheBoxIsFadedAndShown) {
    Layer[0]->SetPixel(10, 10, 0x00C8C8C8);
    Layer[0]->SetPixel(20, 10, 0x00C8C8C8);
    const ClipBox box{0, 15, 0, 600};
    CaptureLayer(0, &box);
    CaptureLayer(1, &box);  // layer 1 is black
    CrossFade(50, &box, false);
    EXPECT_EQ(BackBuffer->PixelAt(10, 10), 0x00646464u);
    EXPECT_EQ(Layer[0]->PixelAt(20, 10), 0x00C8C8C8u);
    EXPECT_EQ(BackBuffer->PixelAt(20, 10), 0u);
}

// A capture of a narrow box leaves the rest of each row as the last capture left it, key pixels
// included: a keyed fade of the whole screen still leaves those out.
TEST_P(CrossFade32, AKeyLeftByAnEarlierCaptureStaysLeftOut) {
    Layer[0]->SetPixel(100, 5, DisplayColourKey());
    CaptureLayer(0, nullptr);
    CaptureLayer(1, nullptr);
    const ClipBox leftEdge{0, 15, 0, 600};
    CaptureLayer(0, &leftEdge);
    BackBuffer->SetPixel(100, 5, 77);
    CrossFade(30, nullptr, true);
    EXPECT_EQ(Layer[0]->PixelAt(100, 5), DisplayColourKey());
    EXPECT_EQ(BackBuffer->PixelAt(100, 5), 77u);
}

INSTANTIATE_TEST_SUITE_P(ThirtyTwoBits, CrossFade32, ::testing::Values(32));

}  // namespace
