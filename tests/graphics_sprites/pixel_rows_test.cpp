// The wide inner loops agree with the plain arithmetic everywhere, including the row ends that
// the plain loop finishes.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "engines/graphics/pixel_rows.h"

namespace {

TEST(PixelRows, BlendMatchesTruncatingArithmeticForEveryValue) {
    // Every pair of bytes, in a row whose length is not a multiple of 16.
    const int count = 256 * 256 + 7;
    std::vector<uint8_t> a(count), b(count), out(count);
    for (int i = 0; i < count; ++i) {
        a[i] = static_cast<uint8_t>(i);
        b[i] = static_cast<uint8_t>(i >> 8);
    }
    for (int percent = 0; percent <= 100; ++percent) {
        BlendBytes(a.data(), b.data(), count, percent, out.data());
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(out[i], b[i] + percent * (a[i] - b[i]) / 100)
                << "a " << int(a[i]) << " b " << int(b[i]) << " at " << percent << "%";
    }
}

std::vector<uint8_t> Words(const std::vector<uint32_t>& words) {
    std::vector<uint8_t> bytes;
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(w >> (8 * i)));
    return bytes;
}

TEST(PixelRows, KeyedCopyIgnoresTheFourthByte) {
    const std::vector<uint8_t> in =
        Words({0x11FF00FF, 0x00000001, 0x00FF00FF, 0x00FF00FE, 0xAAFF00FF, 0x00123456});
    std::vector<uint8_t> out = Words({7, 7, 7, 7, 7, 7});
    CopyKeyedRow32(in.data(), out.data(), 6, 0x00FF00FF);
    EXPECT_EQ(out, Words({7, 0x00000001, 7, 0x00FF00FE, 7, 0x00123456}));
}

// What a fade pixel must become, worked out plainly: the blend of its colour bytes (or A's colour
// where A is the key and the fade is keyed) under the layer's own fourth byte; the back buffer
// shows it unless the fade is keyed and it is the key colour.
struct FadedPixel {
    uint32_t layer, back;
};
FadedPixel ExpectedFade(uint32_t a, uint32_t b, uint32_t layer, uint32_t back, int percent,
                        bool keyed) {
    constexpr uint32_t kKey = 0x00FF00FF;
    uint32_t colour = a & 0xFFFFFF;
    if (!keyed || colour != kKey) {
        colour = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int from = static_cast<int>(a >> shift & 0xFF),
                      to = static_cast<int>(b >> shift & 0xFF);
            colour |= static_cast<uint32_t>(to + percent * (from - to) / 100) << shift;
        }
    }
    const uint32_t shown = (layer & 0xFF000000) | colour;
    return {shown, keyed && colour == kKey ? back : shown};
}

TEST(PixelRows, AFadeRowBlendsIntoTheLayerAndShowsItOnTheBackBuffer) {
    // Thirteen pixels, so that every loop runs: eight at AVX2 width (on a processor that has it),
    // four at SSE2 width and one plain. Ordinary colours, A of the key colour, and a blend that
    // happens to come out as the key colour.
    const std::vector<uint32_t> a{0x11203040, 0x00FF00FF, 0x22FF01FF, 0x00000000, 0x00FFFFFF,
                                  0x33FF00FF, 0x00808080, 0x00FF01FF, 0x00010203, 0x00FF00FF,
                                  0x00FF01FF, 0x00FEDCBA, 0x00FF01FF};
    const std::vector<uint32_t> b{0x00405060, 0x00123456, 0x00FF00FF, 0x00FFFFFF, 0x00000000,
                                  0x00000000, 0x00FF00FF, 0x00FF00FF, 0x00F0E0D0, 0x00ABCDEF,
                                  0x00FF00FF, 0x00012345, 0x00FF00FF};
    constexpr int kCount = 13;
    for (bool keyed : {false, true})
        for (int percent : {0, 1, 50, 99, 100})
            for (bool withBack : {true, false}) {
                std::vector<uint32_t> layerWords, backWords;
                for (uint32_t i = 0; i < kCount; ++i) {
                    layerWords.push_back(0xA1000000u + (i << 24));
                    backWords.push_back(i + 1);
                }
                std::vector<uint8_t> layer = Words(layerWords), back = Words(backWords);
                FadeRow32(Words(a).data(), Words(b).data(), kCount, percent, keyed, 0x00FF00FF,
                          layer.data(), withBack ? back.data() : nullptr);
                for (int i = 0; i < kCount; ++i) {
                    const FadedPixel expected =
                        ExpectedFade(a[i], b[i], 0xA1000000u + (static_cast<uint32_t>(i) << 24),
                                     i + 1u, percent, keyed);
                    uint32_t gotLayer, gotBack;
                    std::memcpy(&gotLayer, layer.data() + 4 * i, 4);
                    std::memcpy(&gotBack, back.data() + 4 * i, 4);
                    EXPECT_EQ(gotLayer, expected.layer)
                        << i << " keyed " << keyed << " " << percent << "%";
                    EXPECT_EQ(gotBack, withBack ? expected.back : i + 1u)
                        << i << " keyed " << keyed << " " << percent << "%";
                }
            }
}

// Random rows of every length up to 40 pixels, so that the AVX2, SSE2 and plain loops meet at
// every split, against the plain working-out. A quarter of the pixels of A are of the key colour or
// next to it, with B of the key colour: below 100 % those blend to the key without A being it.
TEST(PixelRows, RandomFadeRowsOfEveryLengthMatchThePlainWorkingOut) {
    std::mt19937 random(20261211);
    const auto word = [&random] { return static_cast<uint32_t>(random()); };
    for (int count = 1; count <= 40; ++count)
        for (int percent = 0; percent <= 100; ++percent)
            for (bool keyed : {false, true})
                for (bool withBack : {true, false}) {
                    std::vector<uint32_t> a, b, layerWords, backWords;
                    for (int i = 0; i < count; ++i) {
                        const bool nearKey = random() % 4 == 0;
                        a.push_back(nearKey ? (word() & 0xFF000100) | 0x00FF00FF : word());
                        b.push_back(nearKey ? (word() & 0xFF000000) | 0x00FF00FF : word());
                        layerWords.push_back(word());
                        backWords.push_back(word());
                    }
                    std::vector<uint8_t> layer = Words(layerWords), back = Words(backWords);
                    FadeRow32(Words(a).data(), Words(b).data(), count, percent, keyed, 0x00FF00FF,
                              layer.data(), withBack ? back.data() : nullptr);
                    std::vector<uint32_t> expectedLayer, expectedBack;
                    for (int i = 0; i < count; ++i) {
                        const FadedPixel expected =
                            ExpectedFade(a[i], b[i], layerWords[i], backWords[i], percent, keyed);
                        expectedLayer.push_back(expected.layer);
                        expectedBack.push_back(withBack ? expected.back : backWords[i]);
                    }
                    ASSERT_EQ(layer, Words(expectedLayer))
                        << count << " pixels, keyed " << keyed << ", " << percent << "%";
                    ASSERT_EQ(back, Words(expectedBack))
                        << count << " pixels, keyed " << keyed << ", " << percent << "%";
                }
}

}  // namespace
