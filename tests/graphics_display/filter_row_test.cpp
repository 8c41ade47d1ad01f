// The row loop of turned and scaled draws: the wide loop gives the same bytes as the plain one for
// every position and direction a row can walk, and both sample and composite as they should.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engines/graphics/filter_row.h"

namespace {

constexpr int64_t kOne = 65536;  // one pixel in 16.16 fixed point

// A premultiplied picture in its clear border, every colour channel at most its alpha.
struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;

    Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w + 2) * (h + 2)) {}
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y + 1) * (width + 2) + x + 1]; }
    BorderedPicture Bordered() const {
        return {pixels.data() + width + 3, width + 2, width, height};
    }
};

Picture RandomPicture(int width, int height, std::mt19937& random) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t kind = random() % 4;
            const uint32_t alpha = kind == 0 ? 0 : kind == 1 ? 255 : random() % 256;
            uint32_t pixel = alpha << 24;
            for (int shift = 0; shift < 24; shift += 8)
                pixel |= random() % (alpha + 1) << shift;
            picture.At(x, y) = pixel;
        }
    return picture;
}

std::vector<uint8_t> RandomRow(int count, std::mt19937& random) {
    std::vector<uint8_t> row(static_cast<size_t>(count) * 4);
    for (uint8_t& byte : row)
        byte = static_cast<uint8_t>(random());
    return row;
}

uint32_t PixelOf(const std::vector<uint8_t>& row, int i) {
    uint32_t pixel;
    std::memcpy(&pixel, row.data() + 4 * i, 4);
    return pixel;
}

TEST(FilterRow, TheWideLoopGivesTheBytesOfThePlainOne) {
    std::mt19937 random(20261209);
    const Picture picture = RandomPicture(13, 9, random);
    constexpr int kCount = 29;  // three steps of eight and a plain finish
    for (int trial = 0; trial < 2000; ++trial) {
        // Rows crossing the picture in every direction and at every scale, some starting or
        // ending beyond the border where the rounding of a long row could carry them.
        const RowWalk walk{static_cast<int64_t>(random() % (17 * kOne)) - 2 * kOne,
                           static_cast<int64_t>(random() % (13 * kOne)) - 2 * kOne,
                           static_cast<int64_t>(random() % (kOne + 1)) - kOne / 2,
                           static_cast<int64_t>(random() % (kOne + 1)) - kOne / 2};
        const std::vector<uint8_t> under = RandomRow(kCount, random);
        std::vector<uint8_t> whole = under, onePixelAtATime = under;
        FilterRow32(picture.Bordered(), walk, whole.data(), kCount);
        for (int i = 0; i < kCount; ++i) {
            const RowWalk at{walk.u + i * walk.stepU, walk.v + i * walk.stepV, 0, 0};
            FilterRow32(picture.Bordered(), at, onePixelAtATime.data() + 4 * i, 1);
        }
        for (int i = 0; i < kCount; ++i)
            ASSERT_EQ(PixelOf(whole, i), PixelOf(onePixelAtATime, i))
                << "pixel " << i << " of trial " << trial;
    }
}

TEST(FilterRow, SamplesOnPixelCentresAndHalfWayBetween) {
    Picture picture(16, 2);
    for (int x = 0; x < 16; ++x) {
        picture.At(x, 0) = 0xFF000000u | static_cast<uint32_t>(x * 16) << 16 | 0x000080u;
        picture.At(x, 1) = 0x80404040u;  // half-covering grey
    }
    std::vector<uint8_t> row(16 * 4);
    for (int i = 0; i < 16; ++i)
        std::memcpy(row.data() + 4 * i, "\x10\x20\x30\x77", 4);

    // Along the top row, centre on centre: opaque pixels replace the colour, the fourth byte stays.
    std::vector<uint8_t> centres = row;
    FilterRow32(picture.Bordered(), {0, 0, kOne, 0}, centres.data(), 16);
    for (int x = 0; x < 16; ++x)
        EXPECT_EQ(PixelOf(centres, x), 0x77000080u | static_cast<uint32_t>(x * 16) << 16) << x;

    // Half-way down: each channel (top x 128 + bottom x 128) / 256, then composited.
    std::vector<uint8_t> between = row;
    FilterRow32(picture.Bordered(), {0, kOne / 2, kOne, 0}, between.data(), 16);
    for (int x = 0; x < 16; ++x) {
        const uint32_t red = (x * 16 + 0x40) / 2, green = 0x40 / 2, blue = (0x80 + 0x40) / 2;
        const uint32_t rest = 255 - (0xFF + 0x80) / 2;  // alpha 191
        auto over = [&](uint32_t colour, uint32_t under) {
            return colour + (under * rest + 127) / 255;
        };
        const uint32_t expected =
            0x77000000u | over(red, 0x30) << 16 | over(green, 0x20) << 8 | over(blue, 0x10);
        EXPECT_EQ(PixelOf(between, x), expected) << x;
    }

    // Beyond the border there is nothing to draw.
    std::vector<uint8_t> outside = row;
    FilterRow32(picture.Bordered(), {-5 * kOne, 3 * kOne, kOne, 0}, outside.data(), 16);
    EXPECT_EQ(outside, row);
}

}  // namespace
