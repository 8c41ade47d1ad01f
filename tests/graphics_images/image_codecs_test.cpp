#include "engines/graphics/image_codecs.h"

#include <gtest/gtest.h>

#include "graphics_images/picture_files.h"
#include "support/bitmap_files.h"

namespace {

uint32_t PixelOf(const DecodedImage& image, int x, int y) {
    const uint8_t* p = image.pixels.data() + (static_cast<size_t>(y) * image.width + x) * 4;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

TEST(PngDecoding, KeepsStraightAlpha) {
    // Blue, green, red, alpha.
    Bytes pixels = {10, 20, 30, 255, 200, 100, 50, 128, 0, 0, 0, 0, 255, 0, 255, 255};
    DecodedImage image;
    ASSERT_EQ(DecodePicture(Png(2, 2, PNG_FORMAT_BGRA, pixels), image), kCodecOk);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_TRUE(image.hasAlpha);
    EXPECT_EQ(PixelOf(image, 0, 0), 0xFF1E140Au);
    EXPECT_EQ(PixelOf(image, 1, 0), 0x803264C8u);
    EXPECT_EQ(PixelOf(image, 0, 1), 0u);
    EXPECT_EQ(PixelOf(image, 1, 1), 0xFFFF00FFu);
}

TEST(PngDecoding, PicturesWithoutAlphaComeOutOpaque) {
    Bytes pixels = {1, 2, 3, 4, 5, 6};  // blue, green, red
    DecodedImage image;
    ASSERT_EQ(DecodePicture(Png(2, 1, PNG_FORMAT_BGR, pixels), image), kCodecOk);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(PixelOf(image, 0, 0), 0xFF030201u);
    EXPECT_EQ(PixelOf(image, 1, 0), 0xFF060504u);

    ASSERT_EQ(DecodePicture(Png(1, 1, PNG_FORMAT_GRAY, {77}), image), kCodecOk);
    EXPECT_EQ(PixelOf(image, 0, 0), 0xFF4D4D4Du);
}

// 16-bit channels are drawn as their values say, with or without a gamma chunk: 128 x 257 is
// 128, not the brighter colour a linear-light reading gives.
TEST(PngDecoding, SixteenBitChannelsComeOutOneToOne) {
    auto sixteen = [](std::initializer_list<uint16_t> eightBit) {
        std::vector<uint16_t> samples;
        for (uint16_t value : eightBit)
            samples.push_back(static_cast<uint16_t>(value * 257));
        return samples;
    };
    for (bool gammaChunk : {false, true}) {
        SCOPED_TRACE(gammaChunk ? "linear gAMA chunk" : "no gamma chunk");
        DecodedImage image;
        ASSERT_EQ(DecodePicture(Png16(2, 1, PNG_COLOR_TYPE_RGB, sixteen({128, 64, 32, 255, 0, 1}),
                                      gammaChunk),
                                image),
                  kCodecOk);
        EXPECT_FALSE(image.hasAlpha);
        EXPECT_EQ(PixelOf(image, 0, 0), 0xFF804020u);
        EXPECT_EQ(PixelOf(image, 1, 0), 0xFFFF0001u);

        ASSERT_EQ(DecodePicture(Png16(1, 2, PNG_COLOR_TYPE_RGB_ALPHA,
                                      sixteen({128, 64, 32, 128, 10, 20, 30, 0}), gammaChunk),
                                image),
                  kCodecOk);
        EXPECT_TRUE(image.hasAlpha);
        EXPECT_EQ(PixelOf(image, 0, 0), 0x80804020u) << "straight alpha";
        EXPECT_EQ(PixelOf(image, 0, 1), 0x000A141Eu);

        ASSERT_EQ(DecodePicture(Png16(1, 1, PNG_COLOR_TYPE_GRAY, sixteen({77}), gammaChunk), image),
                  kCodecOk);
        EXPECT_EQ(PixelOf(image, 0, 0), 0xFF4D4D4Du);
    }
}

TEST(PngDecoding, DamagedFilesAreRefused) {
    Bytes png = Png(8, 8, PNG_FORMAT_BGRA, Bytes(8 * 8 * 4, 90));
    DecodedImage image;
    for (size_t length : {size_t{8}, size_t{30}, png.size() / 2, png.size() - 13}) {
        EXPECT_EQ(DecodePicture(Bytes(png.begin(), png.begin() + length), image),
                  kCodecUnknownFormat)
            << length;
    }
    // A damaged header, and damaged pixel data (just before the closing chunk's 12 bytes).
    for (size_t at : {size_t{20}, png.size() - 20}) {
        Bytes corrupt = png;
        corrupt[at] ^= 0xFF;
        EXPECT_EQ(DecodePicture(corrupt, image), kCodecUnknownFormat) << at;
    }
}

TEST(BmpDecoding, BottomUpRowsWithPadding) {
    // 3 x 2 at 24 bits: 9 bytes a row, padded to 12. The first stored row is the bottom.
    Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0};
    DecodedImage image;
    ASSERT_EQ(DecodePicture(Bmp(3, 2, 24, rows), image), kCodecOk);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(PixelOf(image, 0, 0), 0xFF0D0C0Bu);
    EXPECT_EQ(PixelOf(image, 2, 0), 0xFF131211u);
    EXPECT_EQ(PixelOf(image, 0, 1), 0xFF030201u);
    EXPECT_EQ(PixelOf(image, 2, 1), 0xFF090807u);
}

TEST(BmpDecoding, TopDownRowsAndThirtyTwoBits) {
    Bytes rows = {1, 2, 3, 99, 11, 12, 13, 99};
    DecodedImage image;
    ASSERT_EQ(DecodePicture(Bmp(1, -2, 32, rows), image), kCodecOk);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(PixelOf(image, 0, 0), 0xFF030201u);  // the fourth byte is not alpha
    EXPECT_EQ(PixelOf(image, 0, 1), 0xFF0D0C0Bu);

    // Masks naming the usual blue, green, red order are accepted.
    Bytes masked = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    masked.insert(masked.end(), rows.begin(), rows.end());
    Bytes file = Bmp(1, 2, 32, masked, 3);
    file[10] = 66;  // the pixels follow the masks
    ASSERT_EQ(DecodePicture(file, image), kCodecOk);
    EXPECT_EQ(PixelOf(image, 0, 0), 0xFF0D0C0Bu);
}

TEST(BmpDecoding, PalettePicturesAreReadThroughTheirPalette) {
    // 3 x 1 at 8 bits: a palette of two colours (blue, green, red, unused), then the pixels.
    Bytes palette = {10, 20, 30, 0, 200, 100, 50, 0};
    Bytes file = Bmp(3, 1, 8, palette);
    const Bytes row = {1, 0, 1, 0};
    file.insert(file.end(), row.begin(), row.end());
    file[10] = 54 + 8;  // the pixels follow the palette
    file[46] = 2;       // colours used
    DecodedImage image;
    ASSERT_EQ(DecodePicture(file, image), kCodecOk);
    EXPECT_FALSE(image.hasAlpha);
    EXPECT_EQ(PixelOf(image, 0, 0), 0xFF3264C8u);
    EXPECT_EQ(PixelOf(image, 1, 0), 0xFF1E140Au);
    EXPECT_EQ(PixelOf(image, 2, 0), 0xFF3264C8u);
}

// The kinds that stb-style readers refuse reach the bitmap reader too: run-length encoded and OS/2.
TEST(BmpDecoding, RunLengthAndOs2BitmapsAreRead) {
    BitmapLayout runLength;
    runLength.width = 3;
    runLength.bitsPerPixel = 8;
    runLength.compression = 1;
    runLength.palette = {10, 20, 30, 0, 200, 100, 50, 0};
    runLength.pixels = {2, 0, 1, 1, 0, 1};
    BitmapLayout os2;
    os2.headerBytes = 12;
    os2.width = 3;
    os2.bitsPerPixel = 8;
    os2.palette = {200, 100, 50, 10, 20, 30};
    os2.pixels = {1, 1, 0, 0};
    for (const BitmapLayout& layout : {runLength, os2}) {
        DecodedImage image;
        ASSERT_EQ(DecodePicture(BitmapFile(layout), image), kCodecOk);
        EXPECT_FALSE(image.hasAlpha);
        EXPECT_EQ(PixelOf(image, 0, 0), 0xFF1E140Au);
        EXPECT_EQ(PixelOf(image, 1, 0), 0xFF1E140Au);
        EXPECT_EQ(PixelOf(image, 2, 0), 0xFF3264C8u);
    }
}

TEST(BmpDecoding, OtherKindsAndShortFilesAreRefused) {
    DecodedImage image;
    EXPECT_EQ(DecodePicture(Bmp(1, 1, 24, {1, 2, 3, 0}, 1), image), kCodecUnknownFormat);
    // A header that claims more rows than the file holds, however large.
    EXPECT_EQ(DecodePicture(Bmp(16384, 16384, 32, Bytes(64, 0)), image), kCodecUnknownFormat);
    EXPECT_EQ(DecodePicture(Bmp(16385, 1, 24, Bytes(49156, 0)), image), kCodecUnknownFormat);
    EXPECT_EQ(DecodePicture(Bmp(0, 1, 24, {}), image), kCodecUnknownFormat);
    EXPECT_EQ(DecodePicture(Bmp(2, 2, 24, Bytes(13, 0)), image), kCodecUnknownFormat);
    Bytes farOffset = Bmp(1, 1, 24, {1, 2, 3, 0});
    farOffset[10] = 0xFF;
    EXPECT_EQ(DecodePicture(farOffset, image), kCodecUnknownFormat);
    Bytes header = Bmp(1, 1, 24, {1, 2, 3, 0});
    for (size_t length = 0; length < 54; length += 7)
        EXPECT_EQ(DecodePicture(Bytes(header.begin(), header.begin() + length), image),
                  kCodecUnknownFormat);
    EXPECT_EQ(DecodePicture(Bytes{'G', 'I', 'F', '8', '9', 'a'}, image), kCodecUnknownFormat);
}

}  // namespace
