#include "engines/graphics/tga_reader.h"

#include <gtest/gtest.h>

#include "graphics_images/picture_files.h"

namespace {

constexpr uint32_t P0 = 0x11223344, P1 = 0x55667788, P2 = 0x99AABBCC, P3 = 0xDDEEFF00;

uint32_t PixelOf(const DecodedImage& image, int x, int y) {
    const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

TgaResult Decode(const Bytes& bytes, DecodedImage& image) {
    return DecodeTga(bytes, image);
}

TEST(TgaReader, UncompressedRowsAreStoredBottomUpWhateverTheDescriptorSays) {
    for (uint8_t descriptor : {0x08, 0x28}) {
        DecodedImage image;
        ASSERT_EQ(Decode(Tga(2, 2, 2, 32, Pixels({P0, P1, P2, P3}), descriptor), image),
                  TgaResult::Ok);
        EXPECT_EQ(image.width, 2);
        EXPECT_EQ(image.height, 2);
        EXPECT_TRUE(image.hasAlpha);
        EXPECT_EQ(PixelOf(image, 0, 0), P2);
        EXPECT_EQ(PixelOf(image, 1, 0), P3);
        EXPECT_EQ(PixelOf(image, 0, 1), P0);
        EXPECT_EQ(PixelOf(image, 1, 1), P1);
    }
}

TEST(TgaReader, RunAndRawPacketsDecodeInStoredOrder) {
    // A run of two Q, then a raw packet of R and S: stored Q, Q, R, S.
    Bytes packets = {0x81};
    Append32(packets, P0);
    packets.push_back(0x01);
    Append32(packets, P1);
    Append32(packets, P2);
    DecodedImage image;
    ASSERT_EQ(Decode(Tga(10, 2, 2, 32, packets), image), TgaResult::Ok);
    EXPECT_EQ(PixelOf(image, 0, 1), P0);
    EXPECT_EQ(PixelOf(image, 1, 1), P0);
    EXPECT_EQ(PixelOf(image, 0, 0), P1);
    EXPECT_EQ(PixelOf(image, 1, 0), P2);
}

TEST(TgaReader, PacketsMayCrossRowEnds) {
    // 3 x 2: a run of four then two raw pixels.
    Bytes packets = {0x83};
    Append32(packets, P0);
    packets.push_back(0x01);
    Append32(packets, P1);
    Append32(packets, P2);
    DecodedImage image;
    ASSERT_EQ(Decode(Tga(10, 3, 2, 32, packets), image), TgaResult::Ok);
    EXPECT_EQ(PixelOf(image, 2, 1), P0);  // first stored row: bottom
    EXPECT_EQ(PixelOf(image, 0, 0), P0);
    EXPECT_EQ(PixelOf(image, 1, 0), P1);
    EXPECT_EQ(PixelOf(image, 2, 0), P2);
}

TEST(TgaReader, LongestPacketsAreAHundredAndTwentyEightPixels) {
    Bytes packets = {0xFF};
    Append32(packets, P3);
    packets.push_back(0x7F);
    for (int i = 0; i < 128; ++i)
        Append32(packets, i);
    DecodedImage image;
    ASSERT_EQ(Decode(Tga(10, 256, 1, 32, packets), image), TgaResult::Ok);
    EXPECT_EQ(PixelOf(image, 127, 0), P3);
    EXPECT_EQ(PixelOf(image, 128, 0), 0u);
    EXPECT_EQ(PixelOf(image, 255, 0), 127u);
}

TEST(TgaReader, OtherDepthsAndHeadersAreRefused) {
    DecodedImage image;
    EXPECT_EQ(Decode(Tga(2, 1, 1, 24, {1, 2, 3}), image), TgaResult::NotThirtyTwoBit);
    EXPECT_EQ(Decode(Tga(10, 1, 1, 16, {1, 2, 3}), image), TgaResult::NotThirtyTwoBit);

    Bytes withIdField = Tga(2, 1, 1, 32, Pixels({P0}));
    withIdField[0] = 1;
    EXPECT_EQ(Decode(withIdField, image), TgaResult::UnknownFormat);
    Bytes withColourMap = Tga(2, 1, 1, 32, Pixels({P0}));
    withColourMap[1] = 1;
    EXPECT_EQ(Decode(withColourMap, image), TgaResult::UnknownFormat);
    Bytes withOrigin = Tga(2, 1, 1, 32, Pixels({P0}));
    withOrigin[8] = 5;
    EXPECT_EQ(Decode(withOrigin, image), TgaResult::UnknownFormat);
    EXPECT_EQ(Decode(Tga(3, 1, 1, 32, Pixels({P0})), image), TgaResult::UnknownFormat);
}

TEST(TgaReader, ShortFilesAreRefusedWithoutReadingPastTheirEnd) {
    DecodedImage image;
    Bytes header = Tga(2, 2, 2, 32, {});
    for (size_t length = 0; length < header.size(); ++length)
        EXPECT_EQ(Decode(Bytes(header.begin(), header.begin() + length), image),
                  TgaResult::UnknownFormat)
            << length;

    Bytes uncompressed = Tga(2, 2, 2, 32, Pixels({P0, P1, P2, P3}));
    uncompressed.pop_back();
    EXPECT_EQ(Decode(uncompressed, image), TgaResult::UnknownFormat);

    Bytes runs = {0x81};
    Append32(runs, P0);  // two pixels of four
    EXPECT_EQ(Decode(Tga(10, 2, 2, 32, runs), image), TgaResult::UnknownFormat);
    Bytes cutRaw = {0x03};
    Append32(cutRaw, P0);
    Append32(cutRaw, P1);  // a raw packet of four with only two pixels
    EXPECT_EQ(Decode(Tga(10, 4, 1, 32, cutRaw), image), TgaResult::UnknownFormat);
    Bytes cutRun = {0x81, 1, 2};
    EXPECT_EQ(Decode(Tga(10, 2, 1, 32, cutRun), image), TgaResult::UnknownFormat);
}

TEST(TgaReader, AHugePictureInATinyFileIsRefusedBeforeAllocating) {
    Bytes packets = {0xFF};
    Append32(packets, P0);
    DecodedImage image;
    EXPECT_EQ(Decode(Tga(10, 65535, 65535, 32, packets), image), TgaResult::UnknownFormat);
    EXPECT_EQ(Decode(Tga(2, 65535, 65535, 32, Pixels({P0})), image), TgaResult::UnknownFormat);
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_EQ(image.width, 65535);  // the size is known for the messages
}

TEST(TgaReader, PacketsBeyondThePictureStopTheDecode) {
    // A run of three into a picture of two pixels.
    Bytes packets = {0x82};
    Append32(packets, P0);
    DecodedImage image;
    EXPECT_EQ(Decode(Tga(10, 2, 1, 32, packets), image), TgaResult::Overrun);
    // A raw packet that starts inside and ends outside.
    Bytes raw = {0x00};
    Append32(raw, P0);
    raw.push_back(0x02);
    for (uint32_t p : {P1, P2, P3})
        Append32(raw, p);
    EXPECT_EQ(Decode(Tga(10, 3, 1, 32, raw), image), TgaResult::Overrun);
}

TEST(TgaReader, AnEmptyPictureDecodesToNothing) {
    DecodedImage image;
    EXPECT_EQ(Decode(Tga(2, 0, 5, 32, {}), image), TgaResult::Ok);
    EXPECT_EQ(image.width, 0);
    EXPECT_TRUE(image.pixels.empty());
}

}  // namespace
