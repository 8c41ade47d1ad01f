// The composited path of DrawSurface: alpha, opacity, the key, gamma, scaling and rotation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/registry.h"
#include "graphics_display/display_test_env.h"

namespace {

constexpr uint32_t kBackground = Bgra(0, 0, 255, 0);  // red
constexpr uint32_t kMagenta = Bgra(255, 0, 255, 0);

int Channel(uint32_t pixel, int index) {
    return pixel >> (8 * index) & 0xFF;
}

// Straight-alpha OVER of one colour channel, unrounded.
double Over(int top, int bottom, double alpha) {
    return (top * alpha + bottom * (255.0 - alpha)) / 255.0;
}

::testing::AssertionResult ColourNear(uint32_t actual, double blue, double green, double red,
                                      double tolerance = 1.0) {
    const double expected[3] = {blue, green, red};
    for (int c = 0; c < 3; ++c) {
        if (std::abs(Channel(actual, c) - expected[c]) > tolerance)
            return ::testing::AssertionFailure()
                   << "channel " << c << " is " << Channel(actual, c) << ", expected "
                   << expected[c] << " (pixel " << std::hex << actual << ")";
    }
    return ::testing::AssertionSuccess();
}

Surface* MakeUniform(int width, int height, uint32_t pixel) {
    Surface* image = CreateImageSurface(width, height);
    FillSurface(*image, pixel);
    return image;
}

bool Draw(Surface* image, int x, int y, float scale, float angle, uint8_t useAlpha, float opacity,
          float gamma = 0.0f) {
    return DrawSurface(image, nullptr, BackBuffer, x, y, scale, scale, angle, useAlpha, opacity,
                       gamma);
}

class CompositedDraw : public DrawTest {
  protected:
    void SetUp() override {
        DrawTest::SetUp();
        StartAt(32, kBackground);
    }
    uint32_t Screen(int x, int y) const { return BackBuffer->PixelAt(x, y); }
};

TEST_F(CompositedDraw, AlphaIsMultipliedByOpacity) {
    // Alpha 128 at opacity 0.5 contributes with alpha 64.
    Surface* image = MakeUniform(4, 4, Bgra(200, 100, 0, 128));
    EXPECT_TRUE(Draw(image, 10, 10, 1.0f, 0.0f, 1, 0.5f));
    EXPECT_TRUE(
        ColourNear(Screen(11, 11), Over(200, 0, 64), Over(100, 0, 64), Over(0, 255, 64), 0.5));
    EXPECT_EQ(Screen(14, 11), kBackground);
    EXPECT_EQ(NewLogLines(), "");
}

TEST_F(CompositedDraw, UnrotatedDrawsAreStraightAlphaOverWithinOne) {
    // Every alpha over a few colours, at full and at reduced opacity.
    Surface* image = CreateImageSurface(256, 3);
    const uint32_t colours[3] = {Bgra(255, 128, 0, 0), Bgra(17, 240, 99, 0), Bgra(0, 0, 0, 0)};
    for (int y = 0; y < 3; ++y)
        for (int a = 0; a < 256; ++a)
            image->SetPixel(a, y, colours[y] | uint32_t(a) << 24);
    for (float opacity : {1.0f, 0.7f}) {
        FillSurface(*BackBuffer, Bgra(30, 200, 120, 0));
        ASSERT_TRUE(Draw(image, 100, 50, 1.0f, 0.0f, 1, opacity));
        for (int y = 0; y < 3; ++y) {
            for (int a = 0; a < 256; ++a) {
                double alpha = a * opacity;
                uint32_t c = colours[y];
                ASSERT_TRUE(ColourNear(Screen(100 + a, 50 + y), Over(Channel(c, 0), 30, alpha),
                                       Over(Channel(c, 1), 200, alpha),
                                       Over(Channel(c, 2), 120, alpha)))
                    << "alpha " << a << " opacity " << opacity;
            }
        }
    }
}

TEST_F(CompositedDraw, WithAlphaMagentaIsAColourLikeAnyOther) {
    Surface* image = MakeUniform(2, 2, Bgra(255, 0, 255, 255));
    EXPECT_TRUE(Draw(image, 0, 0, 1.0f, 0.0f, 1, 1.0f));
    EXPECT_EQ(Screen(1, 1) & 0xFFFFFF, 0xFF00FFu);
}

TEST_F(CompositedDraw, WithoutAlphaTheImageIsOpaqueAndMagentaKeyed) {
    Surface* image = MakeUniform(3, 1, Bgra(10, 20, 30, 0));  // fourth byte 0 is not alpha
    image->SetPixel(1, 0, kMagenta);
    EXPECT_TRUE(Draw(image, 0, 0, 1.0f, 0.0f, 0, 1.0f));
    EXPECT_EQ(Screen(0, 0) & 0xFFFFFF, 0x1E140Au);
    EXPECT_EQ(Screen(1, 0), kBackground);
    EXPECT_EQ(Screen(2, 0) & 0xFFFFFF, 0x1E140Au);
}

TEST_F(CompositedDraw, OneTenthOpacityFadesAndStillKeys) {
    Surface* image = MakeUniform(3, 1, Bgra(250, 250, 0, 0));
    image->SetPixel(1, 0, kMagenta);
    EXPECT_TRUE(Draw(image, 0, 0, 1.0f, 0.0f, 0, 0.1f));
    EXPECT_TRUE(
        ColourNear(Screen(0, 0), Over(250, 0, 25.5), Over(250, 0, 25.5), Over(0, 255, 25.5)));
    EXPECT_EQ(Screen(1, 0), kBackground);
}

TEST_F(CompositedDraw, GammaRaisesColourChannelsButNotAlpha) {
    Surface* image = MakeUniform(2, 1, Bgra(128, 255, 0, 255));
    image->SetPixel(1, 0, Bgra(128, 255, 0, 128));
    EXPECT_TRUE(Draw(image, 0, 0, 1.0f, 0.0f, 1, 0.0f, 2.0f));
    double curved = 255.0 * std::pow(128 / 255.0, 2.0);  // 64.25
    EXPECT_TRUE(ColourNear(Screen(0, 0), curved, 255, 0, 0.5));
    EXPECT_TRUE(ColourNear(Screen(1, 0), Over(64, 0, 128), Over(255, 0, 128), Over(0, 255, 128)));
}

TEST_F(CompositedDraw, ImpossibleRequestsAreLoggedAndRefused) {
    Surface* image = MakeUniform(4, 4, Bgra(1, 2, 3, 255));
    EXPECT_FALSE(Draw(image, 0, 0, 1.0f, 0.0f, 1, 1.0f, -1.0f));
    ImageRect above{0, -2, 4, 0};
    EXPECT_FALSE(DrawSurface(image, &above, BackBuffer, 0, 0, 1, 1, 0, 1, 1.0f, 0));
    EXPECT_EQ(NewLogLines(), "Failed to draw surface,2\nFailed to draw surface,2\n");
    EXPECT_EQ(Screen(0, 0), kBackground);
}

// Blue is the column and green the row of a picture's pixel.
Surface* MakeCoordinates(int width, int height) {
    Surface* image = CreateImageSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->SetPixel(x, y, Bgra(2 * x, 4 * y, 0x80, 255));
    return image;
}

TEST_F(CompositedDraw, QuarterTurnIsClockwiseAboutThePictureCentre) {
    // 100 x 60 at (300, 200) turns about (350, 230): it then covers x 320 to 379, y 180 to
    // 279, and picture pixel (u, v) lands on screen pixel (379 - v, 180 + u).
    Surface* image = MakeCoordinates(100, 60);
    EXPECT_TRUE(Draw(image, 300, 200, 1.0f, 90.0f, 0, 1.0f));
    for (auto [u, v] : {std::pair{0, 0}, {99, 0}, {0, 59}, {99, 59}, {10, 20}, {57, 33}}) {
        EXPECT_TRUE(ColourNear(Screen(379 - v, 180 + u), 2 * u, 4 * v, 0x80)) << u << "," << v;
    }
    EXPECT_EQ(Screen(305, 205), kBackground);  // where the unturned picture would be
    EXPECT_EQ(Screen(318, 230), kBackground);
    EXPECT_EQ(Screen(381, 230), kBackground);
    EXPECT_EQ(Screen(350, 178), kBackground);
    EXPECT_EQ(Screen(350, 281), kBackground);
}

TEST_F(CompositedDraw, TurnedPixelsArePremultipliedThenCompositedEachRounded) {
    // A quarter turn samples every picture pixel on its centre, so each screen pixel is that
    // pixel premultiplied (colour x alpha / 255, rounded) plus what its alpha leaves of the red
    // background (background x (255 - alpha) / 255, rounded): every alpha four times, with
    // colours that differ.
    Surface* image = CreateImageSurface(64, 16);
    auto blue = [](int u) { return 4 * u; };
    auto green = [](int v) { return 16 * v + 7; };
    auto red = [](int u) { return 255 - 4 * u; };
    auto alphaOf = [](int u, int v) { return (u + 64 * v) % 256; };
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 64; ++u)
            image->SetPixel(u, v, Bgra(blue(u), green(v), red(u), alphaOf(u, v)));
    EXPECT_TRUE(Draw(image, 300, 200, 1.0f, 90.0f, 1, 1.0f));
    // Picture pixel (u, v) lands on screen pixel (339 - v, 176 + u).
    for (int v = 0; v < 16; ++v)
        for (int u = 0; u < 64; ++u) {
            const int alpha = alphaOf(u, v);
            auto over = [&](int colour, int under) {
                return std::lround(colour * alpha / 255.0) +
                       std::lround(under * (255 - alpha) / 255.0);
            };
            ASSERT_TRUE(ColourNear(Screen(339 - v, 176 + u), over(blue(u), 0), over(green(v), 0),
                                   over(red(u), 255), 0.0))
                << u << "," << v;
        }
}

TEST_F(CompositedDraw, ThePivotUsesTheUnscaledSize) {
    // At scale 2 the picture spans 200 x 120 from (300, 200), and still turns about (350, 230):
    // it then covers x 260 to 379 and y 180 to 379.
    Surface* image = MakeUniform(100, 60, Bgra(0, 255, 0, 255));
    EXPECT_TRUE(Draw(image, 300, 200, 2.0f, 90.0f, 0, 1.0f));
    for (auto [x, y] : {std::pair{262, 182}, {377, 182}, {262, 377}, {377, 377}, {320, 280}})
        EXPECT_TRUE(ColourNear(Screen(x, y), 0, 255, 0)) << x << "," << y;
    for (auto [x, y] : {std::pair{257, 280}, {382, 280}, {320, 177}, {320, 382}, {450, 300}})
        EXPECT_EQ(Screen(x, y), kBackground) << x << "," << y;
}

TEST_F(CompositedDraw, TurnedDrawsAreFilteredAndKeepTheirArea) {
    Surface* image = MakeUniform(60, 60, Bgra(0, 0, 0, 255));  // black over red
    EXPECT_TRUE(Draw(image, 100, 100, 1.0f, 30.0f, 1, 1.0f));
    double covered = 0;
    int partial = 0;
    for (int y = 80; y < 180; ++y) {
        for (int x = 80; x < 180; ++x) {
            int red = Channel(Screen(x, y), 2);
            covered += (255 - red) / 255.0;
            if (red > 5 && red < 250) ++partial;
        }
    }
    EXPECT_NEAR(covered, 3600, 36);
    EXPECT_GT(partial, 100);  // the slanted edges are smoothed
    EXPECT_TRUE(ColourNear(Screen(130, 130), 0, 0, 0));
    EXPECT_EQ(Screen(100, 100), kBackground);  // a corner turned away
}

TEST_F(CompositedDraw, ScaledDrawsCoverTheTruncatedSize) {
    Surface* image = MakeUniform(100, 60, Bgra(0, 255, 0, 255));
    EXPECT_TRUE(Draw(image, 100, 100, 0.5f, 0.0f, 0, 1.0f));
    EXPECT_TRUE(ColourNear(Screen(100, 100), 0, 255, 0));
    EXPECT_TRUE(ColourNear(Screen(149, 129), 0, 255, 0));
    EXPECT_EQ(Screen(150, 110), kBackground);
    EXPECT_EQ(Screen(120, 130), kBackground);

    EXPECT_TRUE(Draw(image, 300, 100, 0.333f, 0.0f, 0, 1.0f));
    EXPECT_TRUE(ColourNear(Screen(332, 110), 0, 255, 0));
    EXPECT_EQ(Screen(333, 110), kBackground);
}

TEST_F(CompositedDraw, ClipsAtTheScreenEdges) {
    Surface* image = MakeCoordinates(100, 60);
    EXPECT_TRUE(Draw(image, -30, -10, 1.0f, 0.0f, 1, 1.0f));
    EXPECT_TRUE(ColourNear(Screen(0, 0), 60, 40, 0x80));
    EXPECT_TRUE(ColourNear(Screen(69, 49), 198, 236, 0x80));
    EXPECT_EQ(Screen(70, 0), kBackground);
    // Pictures reaching past the far edges, turned or not, stop at them.
    EXPECT_TRUE(Draw(image, 760, 570, 1.0f, 0.0f, 1, 1.0f));
    EXPECT_TRUE(ColourNear(Screen(799, 599), 78, 116, 0x80));
    EXPECT_TRUE(Draw(image, 760, 570, 1.5f, 45.0f, 1, 1.0f));
    EXPECT_TRUE(Draw(image, -2000, 100, 1.0f, 10.0f, 1, 1.0f));
}

// ---- Draws at the picture's own size, byte for byte against a plain reference -------------

struct OwnSizeRequest {
    int x, y;
    bool useAlpha;
    float opacity, gamma;
};

// The alpha a picture pixel is drawn with: its own or opaque, times the opacity, rounded, and 0
// for magenta in a picture without alpha.
int ReferenceAlpha(uint32_t pixel, const OwnSizeRequest& request) {
    if (!request.useAlpha && (pixel & 0xFFFFFF) == 0xFF00FF) return 0;
    const double alpha = request.useAlpha ? pixel >> 24 : 255;
    if (request.opacity == 0.0f) return static_cast<int>(alpha);
    return static_cast<int>(std::lround(std::clamp(alpha * request.opacity, 0.0, 255.0)));
}

int ReferenceColour(int channel, float gamma) {
    if (gamma == 0.0f) return channel;
    return static_cast<int>(std::lround(255.0 * std::pow(channel / 255.0, double{gamma})));
}

// The display pixel at `to` with the picture pixel drawn over it: each colour channel
// (colour x alpha + under x (255 - alpha)) / 255 rounded, any fourth byte kept.
void ReferenceOver(uint32_t pixel, const OwnSizeRequest& request, uint8_t* to) {
    const int alpha = ReferenceAlpha(pixel, request);
    for (int c = 0; c < 3; ++c) {
        const int colour = ReferenceColour(Channel(pixel, c), request.gamma);
        to[c] = static_cast<uint8_t>(std::lround((colour * alpha + to[c] * (255 - alpha)) / 255.0));
    }
}

int Below(std::mt19937& random, int n) {
    return static_cast<int>(random() % static_cast<uint32_t>(n));
}

// A picture with clear, opaque and magenta pixels among the rest.
Surface* RandomPicture(int width, int height, std::mt19937& random) {
    Surface* image = CreateImageSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int kind = Below(random, 5);
            const uint32_t alpha = kind == 0 ? 0 : kind == 1 ? 255 : random() & 0xFF;
            const uint32_t colour = kind == 2 ? 0xFF00FF : random() & 0xFFFFFF;
            image->SetPixel(x, y, alpha << 24 | colour);
        }
    return image;
}

// A composited draw of a picture with or without alpha, at every kind of opacity and gamma,
// placed to clip it at an edge of the screen or not.
OwnSizeRequest RandomRequest(int width, int height, const Surface& screen, std::mt19937& random) {
    const float opacities[] = {0.0f, 1.0f, 0.5f, 0.1f, 1.3f, random() % 1000 / 999.0f};
    const float gammas[] = {0.0f, 0.0f, 0.45f, 2.2f, 0.01f + random() % 300 / 100.0f};
    const int xs[] = {-Below(random, width), screen.width - 1 - Below(random, width),
                      Below(random, 790)};
    const int ys[] = {-Below(random, height), screen.height - 1 - Below(random, height),
                      Below(random, 590)};
    OwnSizeRequest request{xs[Below(random, 3)], ys[Below(random, 3)], Below(random, 2) == 0,
                           opacities[Below(random, 6)], gammas[Below(random, 5)]};
    // Without alpha, opacity or gamma a draw is a plain keyed copy, tested elsewhere.
    if (!request.useAlpha && request.opacity == 0.0f && request.gamma == 0.0f)
        request.opacity = 1.0f;
    return request;
}

// Pictures one to seven pixels wide (all row tails) and wider, drawn over random bytes at 32 and
// 24 bits: the picture's pixels are blended as the reference blends them, and the pixels round
// it stay as they are.
TEST_F(DrawTest, OwnSizeDrawsMatchThePlainReferenceByteForByte) {
    std::mt19937 random(20261211);
    for (int depth : {32, 24}) {
        ResetDisplayForTests();
        StartAt(depth, 0);
        Surface& screen = *BackBuffer;
        const int bytes = screen.bytesPerPixel;
        for (int trial = 0; trial < 600; ++trial) {
            // Now and then wider than the stretch of a row adjusted at a time (256).
            const int width = trial % 40 == 0  ? 250 + Below(random, 20)
                              : trial % 3 == 0 ? 8 + Below(random, 40)
                                               : 1 + Below(random, 7);
            const int height = 1 + Below(random, 4);
            Surface* image = RandomPicture(width, height, random);
            const OwnSizeRequest request = RandomRequest(width, height, screen, random);

            // Random bytes under the picture and a pixel round it, and what the reference makes
            // of them.
            const int left = std::max(request.x - 1, 0), top = std::max(request.y - 1, 0);
            const int right = std::min(request.x + width + 1, screen.width);
            const int bottom = std::min(request.y + height + 1, screen.height);
            for (int y = top; y < bottom; ++y)
                for (int i = left * bytes; i < right * bytes; ++i)
                    screen.Row(y)[i] = static_cast<uint8_t>(random());
            std::vector<std::vector<uint8_t>> expected;
            for (int y = top; y < bottom; ++y) {
                expected.emplace_back(screen.Row(y) + left * bytes, screen.Row(y) + right * bytes);
                for (int x = left; x < right; ++x) {
                    const int u = x - request.x, v = y - request.y;
                    if (u >= 0 && u < width && v >= 0 && v < height)
                        ReferenceOver(image->PixelAt(u, v), request,
                                      expected.back().data() + (x - left) * bytes);
                }
            }

            ASSERT_TRUE(DrawSurface(image, nullptr, BackBuffer, request.x, request.y, 1.0f, 1.0f,
                                    0.0f, request.useAlpha, request.opacity, request.gamma));
            for (int y = top; y < bottom; ++y)
                ASSERT_TRUE(std::equal(expected[y - top].begin(), expected[y - top].end(),
                                       screen.Row(y) + left * bytes))
                    << "depth " << depth << " trial " << trial << " row " << y - request.y
                    << " of a " << width << " x " << height << " picture at " << request.x << ","
                    << request.y << " alpha " << request.useAlpha << " opacity " << request.opacity
                    << " gamma " << request.gamma;
        }
    }
}

TEST_F(DrawTest, CompositedDrawAt24Bits) {
    StartAt(24, 0x0000FF);
    Surface* image = MakeUniform(40, 40, Bgra(200, 100, 0, 128));
    EXPECT_TRUE(Draw(image, 0, 0, 1.0f, 0.0f, 1, 0.5f));
    EXPECT_TRUE(ColourNear(BackBuffer->PixelAt(5, 5), Over(200, 255, 64), Over(100, 0, 64), 0));
    EXPECT_TRUE(Draw(image, 100, 100, 1.0f, 90.0f, 1, 1.0f));
    EXPECT_TRUE(
        ColourNear(BackBuffer->PixelAt(120, 120), Over(200, 255, 128), Over(100, 0, 128), 0));
    EXPECT_EQ(BackBuffer->PixelAt(99, 120), 0x0000FFu);
}

TEST_F(DrawTest, CompositedDrawAt16Bits) {
    StartAt(16, 0);
    Surface* image = MakeUniform(40, 40, Bgra(255, 255, 255, 255));
    image->SetPixel(0, 0, kMagenta);
    EXPECT_TRUE(Draw(image, 0, 0, 1.0f, 0.0f, 0, 1.0f));
    EXPECT_EQ(BackBuffer->PixelAt(1, 1), 0xFFFFu);
    EXPECT_EQ(BackBuffer->PixelAt(0, 0), 0u);
    EXPECT_TRUE(Draw(image, 100, 100, 1.0f, 90.0f, 0, 1.0f));
    EXPECT_EQ(BackBuffer->PixelAt(120, 120), 0xFFFFu);
    EXPECT_EQ(BackBuffer->PixelAt(99, 120), 0u);
}

}  // namespace
