// The sprite file table and the BMP and PCX readers, on bytes made in the test.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engines/graphics/sprite_files.h"
#include "graphics_sprites/sprite_pictures.h"
#include "support/bitmap_files.h"

namespace {

Rgb Gradient(int x, int y) {
    return Rgb{static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 40),
               static_cast<uint8_t>(255 - x)};
}

void ExpectPicture(const Surface& picture, int width, int height, int bitsPerPixel,
                   const PictureColours& colours) {
    ASSERT_EQ(picture.width, width);
    ASSERT_EQ(picture.height, height);
    ASSERT_EQ(picture.bytesPerPixel * 8, bitsPerPixel);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(picture.PixelAt(x, y), PixelValue(colours(x, y), bitsPerPixel))
                << "at " << x << "," << y;
}

// The picture as current editors save it: 24 or 32 bits a pixel (32-bit ones with colour masks
// and an opaque alpha in the longer headers), the given information header, rows bottom first
// unless `topDown`.
std::vector<uint8_t> EditorBitmap(int width, int height, int bits, uint32_t headerBytes,
                                  const PictureColours& colours, bool topDown = false) {
    BitmapLayout layout;
    layout.headerBytes = headerBytes;
    layout.width = width;
    layout.height = topDown ? -height : height;
    layout.bitsPerPixel = static_cast<uint16_t>(bits);
    if (bits == 32 && headerBytes > 40) {
        layout.compression = 3;
        layout.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    }
    const size_t stride = (static_cast<size_t>(width) * bits / 8 + 3) & ~size_t{3};
    layout.pixels.resize(stride * height);
    for (int stored = 0; stored < height; ++stored) {
        const int y = topDown ? stored : height - 1 - stored;
        for (int x = 0; x < width; ++x) {
            uint8_t* p = layout.pixels.data() + stored * stride + x * bits / 8;
            const Rgb c = colours(x, y);
            p[0] = c.blue, p[1] = c.green, p[2] = c.red;
            if (bits == 32) p[3] = 0xFF;
        }
    }
    return BitmapFile(layout);
}

class SpriteReaderDepth : public ::testing::TestWithParam<int> {};

TEST_P(SpriteReaderDepth, BitmapSixtyFourWideLoadsTheRightWayUp) {
    const std::vector<uint8_t> bytes = BmpBytes(64, 5, Gradient);
    std::unique_ptr<Surface> picture;
    ASSERT_EQ(DecodeSpriteFile(bytes, kSpriteBmp, GetParam(), picture), kSpriteReadOk);
    ExpectPicture(*picture, 64, 5, GetParam(), Gradient);
    EXPECT_EQ(picture->colourKey, GetParam() == 16 ? kMagentaKey16 : kMagentaKey);
}

TEST_P(SpriteReaderDepth, BitmapRowsPaddedToFourBytesSkipThePadding) {
    const std::vector<uint8_t> bytes = BmpBytes(5, 3, Gradient);  // 15 bytes a row, 16 stored
    std::unique_ptr<Surface> picture;
    ASSERT_EQ(DecodeSpriteFile(bytes, kSpriteBmp, GetParam(), picture), kSpriteReadOk);
    ExpectPicture(*picture, 5, 3, GetParam(), Gradient);
}

// The pixels are read where the header says they start, at the depth it names: never shifted by
// a longer header, never 32-bit pixels taken as 24.
TEST_P(SpriteReaderDepth, BitmapsFromCurrentEditorsReadAsTheyLook) {
    struct Case {
        uint32_t headerBytes;
        int bits;
        bool topDown;
    };
    for (Case c : {Case{124, 24, false}, Case{108, 24, false}, Case{40, 32, false},
                   Case{124, 32, false}, Case{40, 24, true}, Case{12, 24, false}}) {
        SCOPED_TRACE(testing::Message() << c.headerBytes << "-byte header, " << c.bits << " bits"
                                        << (c.topDown ? ", top down" : ""));
        std::unique_ptr<Surface> picture;
        ASSERT_EQ(DecodeSpriteFile(EditorBitmap(7, 3, c.bits, c.headerBytes, Gradient, c.topDown),
                                   kSpriteBmp, GetParam(), picture),
                  kSpriteReadOk);
        ExpectPicture(*picture, 7, 3, GetParam(), Gradient);
    }
}

TEST_P(SpriteReaderDepth, PcxPlanesAreRedGreenBlue) {
    auto colours = [](int x, int y) {
        return Rgb{static_cast<uint8_t>(10 + x), static_cast<uint8_t>(200 + y),
                   static_cast<uint8_t>(x < 3 ? 7 : 250)};
    };
    const std::vector<uint8_t> bytes = PcxBytes(6, 2, colours);
    std::unique_ptr<Surface> picture;
    ASSERT_EQ(DecodeSpriteFile(bytes, kSpritePcx, GetParam(), picture), kSpriteReadOk);
    ExpectPicture(*picture, 6, 2, GetParam(), colours);
}

INSTANTIATE_TEST_SUITE_P(Depths, SpriteReaderDepth, ::testing::Values(16, 24, 32));

TEST(SpriteReaders, SixteenBitPixelsAreFiveSixFive) {
    auto colours = [](int, int) { return Rgb{0xFF, 0x84, 0x10}; };
    std::unique_ptr<Surface> bmp, pcx;
    ASSERT_EQ(DecodeSpriteFile(BmpBytes(4, 1, colours), kSpriteBmp, 16, bmp), kSpriteReadOk);
    ASSERT_EQ(DecodeSpriteFile(PcxBytes(4, 1, colours), kSpritePcx, 16, pcx), kSpriteReadOk);
    EXPECT_EQ(bmp->PixelAt(0, 0), 0xFC22u);  // 31 << 11 | 33 << 5 | 2
    EXPECT_EQ(pcx->PixelAt(3, 0), 0xFC22u);
}

TEST(SpriteReaders, PcxThirtyTwoBitPixelsLeaveTheFourthByte) {
    std::unique_ptr<Surface> picture;
    ASSERT_EQ(DecodeSpriteFile(PcxBytes(2, 1, Gradient), kSpritePcx, 32, picture), kSpriteReadOk);
    EXPECT_EQ(picture->Row(0)[3], 0);
}

// Hand-made runs: a run of 0 writes nothing, and a run that passes the end of a plane is cut
// there without spilling into the next plane.
TEST(SpriteReaders, PcxRunsOfZeroAndRunsAtAPlaneEnd) {
    std::vector<uint8_t> bytes = PcxHeader(3, 1);
    const uint8_t data[] = {
        0xC0, 99,  5,    0xC2, 6,  // red: an empty run, then 5, 6, 6
        0xC5, 200,                 // green: a run of five cut to three
        1,    2,   0xC1, 250,      // blue: 1, 2, then a run of one
    };
    bytes.insert(bytes.end(), std::begin(data), std::end(data));
    std::unique_ptr<Surface> picture;
    ASSERT_EQ(DecodeSpriteFile(bytes, kSpritePcx, 32, picture), kSpriteReadOk);
    EXPECT_EQ(picture->PixelAt(0, 0), PixelValue({5, 200, 1}, 32));
    EXPECT_EQ(picture->PixelAt(1, 0), PixelValue({6, 200, 2}, 32));
    EXPECT_EQ(picture->PixelAt(2, 0), PixelValue({6, 200, 250}, 32));
}

TEST(SpriteReaders, SizesComeFromTheHeadersAlone) {
    int width = 0, height = 0;
    std::vector<uint8_t> pcx = PcxHeader(40, 30);
    EXPECT_EQ(ReadSpriteSize(pcx, kSpritePcx, width, height), kSpriteReadOk);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 30);
    std::vector<uint8_t> bmp = BmpBytes(12, 9, Gradient);
    bmp.resize(kBmpHeaderBytes);
    EXPECT_EQ(ReadSpriteSize(bmp, kSpriteBmp, width, height), kSpriteReadOk);
    EXPECT_EQ(width, 12);
    EXPECT_EQ(height, 9);
    // An OS/2 bitmap can be shorter than the Windows headers alone.
    bmp = EditorBitmap(2, 1, 24, 12, Gradient);
    ASSERT_LT(bmp.size(), kBmpHeaderBytes);
    EXPECT_EQ(ReadSpriteSize(bmp, kSpriteBmp, width, height), kSpriteReadOk);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 1);
}

TEST(SpriteReaders, MalformedHeadersAreRefused) {
    std::unique_ptr<Surface> picture;
    std::vector<uint8_t> pcx = PcxBytes(4, 2, Gradient);
    pcx[1] = 3;  // version 3
    EXPECT_EQ(DecodeSpriteFile(pcx, kSpritePcx, 32, picture), kSpriteFileBad);
    pcx = PcxBytes(4, 2, Gradient);
    PutLittleEndian(pcx, 10, 1, 2);  // Ymax below Ymin
    EXPECT_EQ(DecodeSpriteFile(pcx, kSpritePcx, 32, picture), kSpriteFileBad);
    // A header that claims far more pixels than the file could hold.
    pcx = PcxHeader(30000, 30000);
    pcx.resize(200, 0xC1);
    EXPECT_EQ(DecodeSpriteFile(pcx, kSpritePcx, 32, picture), kSpriteFileBad);

    std::vector<uint8_t> bmp = BmpBytes(4, 2, Gradient);
    bmp[1] = 'X';
    EXPECT_EQ(DecodeSpriteFile(bmp, kSpriteBmp, 32, picture), kSpriteFileBad);
    bmp = BmpBytes(4, 2, Gradient);
    PutLittleEndian(bmp, 30, 4, 4);  // a JPEG inside
    EXPECT_EQ(DecodeSpriteFile(bmp, kSpriteBmp, 32, picture), kSpriteFileBad);
    bmp = BmpBytes(4, 2, Gradient);
    PutLittleEndian(bmp, 28, 7, 2);  // no such depth
    EXPECT_EQ(DecodeSpriteFile(bmp, kSpriteBmp, 32, picture), kSpriteFileBad);
    EXPECT_EQ(DecodeSpriteFile(BmpBytes(4, 2, Gradient), 3, 32, picture), kSpriteFileBad);
    EXPECT_EQ(picture, nullptr);
}

// Every shortened copy of a good file is refused, read from a buffer of exactly that size so
// the address sanitizer sees any read past its end.
TEST(SpriteReaders, TruncatedFilesAreRefusedWithoutReadingPastTheEnd) {
    const std::vector<uint8_t> files[] = {BmpBytes(8, 3, Gradient), PcxBytes(8, 3, Gradient)};
    const int kinds[] = {kSpriteBmp, kSpritePcx};
    for (int f = 0; f < 2; ++f) {
        for (size_t length = 0; length < files[f].size(); ++length) {
            std::unique_ptr<uint8_t[]> copy(new uint8_t[length]);
            std::memcpy(copy.get(), files[f].data(), length);
            std::unique_ptr<Surface> picture;
            EXPECT_EQ(DecodeSpriteFile({copy.get(), length}, kinds[f], 24, picture), kSpriteFileBad)
                << "kind " << kinds[f] << " cut to " << length;
        }
    }
}

TEST(SpriteFileTable, HasFiftySixRowsAndTheClosingRow) {
    for (int row = 0; row < kSpriteFileCount; ++row) {
        EXPECT_EQ(SpriteFileTable[row].id, row + 1);
        EXPECT_EQ(SpriteFileTable[row].kind,
                  row + 1 == 2 || row + 1 == 4 ? kSpritePcx : kSpriteBmp);
        EXPECT_EQ(FindSpriteFileRow(row + 1), row);
        EXPECT_EQ(SpriteFileTable[row].surface, nullptr);
    }
    EXPECT_EQ(SpriteFileTable[kSpriteFileCount].id, 0);
    EXPECT_STREQ(SpriteFileTable[0].name, "Graphic_resource\\Loading\\LoadingScreen.BMP");
    EXPECT_STREQ(SpriteFileTable[55].name, "Graphic_resource\\Main\\CongratsBase.BMP");
    EXPECT_EQ(FindSpriteFileRow(0), -1);
    EXPECT_EQ(FindSpriteFileRow(57), -1);
}

}  // namespace
