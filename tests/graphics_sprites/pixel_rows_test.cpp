// The wide inner loops agree with the plain arithmetic everywhere, including the row ends that
// the plain loop finishes.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/pixel_rows.h"

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

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
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

TEST(PixelRows, LanesKeepThePixelsFourthByteAndKeyedA) {
    const std::vector<uint8_t> blended =
        Words({0x99010203, 0x99040506, 0x99070809, 0x990A0B0C, 0x990D0E0F});
    const std::vector<uint8_t> a = Words({0x00FF00FF, 0, 0x77FF00FF, 0, 0x00FF00FF});
    std::vector<uint8_t> out = Words({0xAA000000, 0xBB000000, 0xCC000000, 0xDD000000, 0xEE000000});
    WriteLanesRow32(blended.data(), a.data(), 5, true, 0x00FF00FF, out.data());
    EXPECT_EQ(out, Words({0xAAFF00FF, 0xBB040506, 0xCCFF00FF, 0xDD0A0B0C, 0xEEFF00FF}));
    WriteLanesRow32(blended.data(), a.data(), 5, false, 0x00FF00FF, out.data());
    EXPECT_EQ(out, Words({0xAA010203, 0xBB040506, 0xCC070809, 0xDD0A0B0C, 0xEE0D0E0F}));
}

}  // namespace
