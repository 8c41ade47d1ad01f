// The bitmap reader on files laid out as paint programs and converters write them: the OS/2 and
// Windows headers, every depth, colour masks, run-length encoding, and hostile files, which must
// be refused or read without a byte read or written outside the buffers.
#include "engines/graphics/bmp_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "support/bitmap_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Palette entries as blue, green, red and the unused byte (or without it for OS/2).
Bytes Palette(std::initializer_list<uint32_t> colours, bool os2 = false) {
    Bytes palette;
    for (uint32_t colour : colours)
        PutBitmapValue(palette, colour, os2 ? 3 : 4);
    return palette;
}

// The picture's pixels top row first, as 0xRRGGBB.
std::vector<uint32_t> Colours(const DecodedImage& image) {
    std::vector<uint32_t> colours;
    for (size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
        EXPECT_EQ(image.pixels[i + 3], 255) << "a bitmap has no alpha";
        colours.push_back(image.pixels[i] | image.pixels[i + 1] << 8 | image.pixels[i + 2] << 16);
    }
    return colours;
}

std::vector<uint32_t> Decoded(const Bytes& file, int width, int height) {
    DecodedImage image;
    EXPECT_EQ(DecodeBitmap(file, image), BmpStatus::Ok);
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    return Colours(image);
}

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kGrey = 0x808080;

// Four colours of the 16 of RLE4 and 256 of RLE8 pictures; the rest stay black.
BitmapLayout RunLength(uint32_t compression, int width, int height, Bytes data) {
    BitmapLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitsPerPixel = compression == 1 ? 8 : 4;
    layout.compression = compression;
    layout.palette = Palette({0, kRed, kGreen, kBlue, kGrey});
    layout.pixels = std::move(data);
    return layout;
}

// 6 x 2 in RLE8, bottom row first: a run of three, three literals padded to a word, end of line;
// a jump two to the right, a run of two, end of picture. What no packet reaches is colour 0.
const Bytes kRle8Data = {3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1};
const std::vector<uint32_t> kRle8Picture = {0,    0,    kBlue, kBlue,  0,     0,
                                            kRed, kRed, kRed,  kGreen, kBlue, kGrey};

}  // namespace

TEST(BitmapReader, RunLengthEightBitsAsPaintWritesIt) {
    EXPECT_EQ(Decoded(BitmapFile(RunLength(1, 6, 2, kRle8Data)), 6, 2), kRle8Picture);
}

TEST(BitmapReader, RunLengthFourBitsTakesNibblesInTurn) {
    // 5 x 2: a run of five alternating 1 and 2, end of line; three literals (two bytes, already a
    // word), a run of two of colour 4; no closing escape, as some writers leave it out.
    const Bytes data = {5, 0x12, 0, 0, 0, 3, 0x34, 0x10, 2, 0x44};
    EXPECT_EQ(Decoded(BitmapFile(RunLength(2, 5, 2, data)), 5, 2),
              (std::vector<uint32_t>{kBlue, kGrey, kRed, kGrey, kGrey,  //
                                     kRed, kGreen, kRed, kGreen, kRed}));
    // An odd literal count of nibbles: five take three bytes, padded to four.
    const Bytes odd = {0, 5, 0x12, 0x34, 0x10, 0, 0, 0, 0, 1};
    EXPECT_EQ(Decoded(BitmapFile(RunLength(2, 5, 1, odd)), 5, 1),
              (std::vector<uint32_t>{kRed, kGreen, kBlue, kGrey, kRed}));
}

TEST(BitmapReader, Os2HeadersWithThreeBytePalettes) {
    BitmapLayout layout;
    layout.headerBytes = 12;
    layout.width = 3;
    layout.height = 2;
    layout.bitsPerPixel = 24;
    layout.pixels = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,
                     11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0};
    EXPECT_EQ(Decoded(BitmapFile(layout), 3, 2),
              (std::vector<uint32_t>{0x0D0C0B, 0x100F0E, 0x131211, 0x030201, 0x060504, 0x090807}));

    layout.bitsPerPixel = 8;
    layout.palette = Palette({kRed, kGreen, kBlue}, true);
    layout.pixels = {2, 1, 0, 0, 0, 1, 2, 0};
    EXPECT_EQ(Decoded(BitmapFile(layout), 3, 2),
              (std::vector<uint32_t>{kRed, kGreen, kBlue, kBlue, kGreen, kRed}));
}

TEST(BitmapReader, OneAndFourBitPalettePictures) {
    BitmapLayout layout;
    layout.width = 10;
    layout.bitsPerPixel = 1;
    layout.palette = Palette({kRed, kBlue});
    layout.pixels = {0b10110000, 0b01000000, 0, 0};
    EXPECT_EQ(
        Decoded(BitmapFile(layout), 10, 1),
        (std::vector<uint32_t>{kBlue, kRed, kBlue, kBlue, kRed, kRed, kRed, kRed, kRed, kBlue}));
    layout.width = 3;
    layout.bitsPerPixel = 4;
    layout.palette = Palette({0, kRed, kGreen});
    layout.pixels = {0x21, 0x70, 0, 0};  // index 7 is past the palette's three: black
    EXPECT_EQ(Decoded(BitmapFile(layout), 3, 1), (std::vector<uint32_t>{kGreen, kRed, 0}));
}

// GIMP and ImageMagick write the V5 header with colour masks; the pixels start after it.
TEST(BitmapReader, MaskedPixelsInTheLongerHeaders) {
    BitmapLayout layout;
    layout.headerBytes = 124;
    layout.width = 2;
    layout.bitsPerPixel = 32;
    layout.compression = 3;
    layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    layout.pixels = {0x30, 0x20, 0x10, 0x00, 0x33, 0x22, 0x11, 0x80};  // alpha is not kept
    EXPECT_EQ(Decoded(BitmapFile(layout), 2, 1), (std::vector<uint32_t>{0x102030, 0x112233}));

    // 5-6-5 in the V4 header: full scale on every channel is 255.
    layout.headerBytes = 108;
    layout.bitsPerPixel = 16;
    layout.masks = {0xF800, 0x07E0, 0x001F, 0};
    layout.pixels = {0xFF, 0xFF, 0x10, 0x84};  // white; red 16/31, green 32/63, blue 16/31
    EXPECT_EQ(Decoded(BitmapFile(layout), 2, 1), (std::vector<uint32_t>{0xFFFFFF, 0x848284}));

    // 16 bits with no masks are 5-5-5.
    layout.headerBytes = 40;
    layout.compression = 0;
    layout.pixels = {0x00, 0x7C, 0x1F, 0x00};
    EXPECT_EQ(Decoded(BitmapFile(layout), 2, 1), (std::vector<uint32_t>{kRed, kBlue}));
}

TEST(BitmapReader, SizesComeFromTheHeadersAlone) {
    for (uint32_t headerBytes : {12u, 40u, 124u}) {
        BitmapLayout layout;
        layout.headerBytes = headerBytes;
        layout.width = 300;
        layout.height = headerBytes == 12 ? 20 : -20;
        Bytes file = BitmapFile(layout);
        file.resize(26);
        int width = 0, height = 0;
        ASSERT_EQ(ReadBmpSize(file, width, height), BmpStatus::Ok) << headerBytes;
        EXPECT_EQ(width, 300);
        EXPECT_EQ(height, 20);
    }
}

TEST(BitmapReader, KindsNotReadHereAreRefused) {
    DecodedImage image;
    for (uint32_t compression : {4u, 5u, 9u}) {  // JPEG or PNG inside, then no such kind
        BitmapLayout layout;
        layout.compression = compression;
        layout.pixels = Bytes(16, 0);
        EXPECT_EQ(DecodeBitmap(BitmapFile(layout), image), BmpStatus::Unsupported) << compression;
    }
    BitmapLayout huffman;
    huffman.headerBytes = 64;  // OS/2 2.x, where 3 means Huffman coding
    huffman.bitsPerPixel = 1;
    huffman.compression = 3;
    huffman.pixels = Bytes(16, 0);
    EXPECT_EQ(DecodeBitmap(BitmapFile(huffman), image), BmpStatus::Unsupported);

    BitmapLayout layout = RunLength(1, 6, -2, kRle8Data);  // run-length rows are bottom first
    EXPECT_EQ(DecodeBitmap(BitmapFile(layout), image), BmpStatus::Malformed);
    layout = RunLength(1, 6, 2, kRle8Data);
    layout.bitsPerPixel = 24;
    EXPECT_EQ(DecodeBitmap(BitmapFile(layout), image), BmpStatus::Malformed);
    EXPECT_TRUE(image.pixels.empty());
}

// Runs past the end of a row or of the picture, and jumps out of it, are cut off at the edge.
TEST(BitmapReader, RunLengthPacketsOutsideThePictureAreCutOff) {
    const Bytes data = {9, 1, 0, 0, 0, 4, 3, 4, 5, 6, 0, 2, 250, 250, 200, 3};
    EXPECT_EQ(Decoded(BitmapFile(RunLength(1, 2, 2, data)), 2, 2),
              (std::vector<uint32_t>{kBlue, kGrey, kRed, kRed}));
}

TEST(BitmapReader, RunLengthFilesCutShortOrClaimingTooMuchAreRefused) {
    DecodedImage image;
    // A literal run of three with only one byte after it.
    EXPECT_EQ(DecodeBitmap(BitmapFile(RunLength(1, 6, 2, {0, 3, 1})), image), BmpStatus::Malformed);
    // A jump with no distances.
    EXPECT_EQ(DecodeBitmap(BitmapFile(RunLength(1, 6, 2, {0, 2, 1})), image), BmpStatus::Malformed);
    // 32767 x 32767 from two bytes of data.
    EXPECT_EQ(DecodeBitmap(BitmapFile(RunLength(1, 32767, 32767, {0, 1})), image),
              BmpStatus::Malformed);
    // A blank screen, every row only an end of line, is a real picture.
    Bytes endsOfLine;
    for (int row = 0; row < 600; ++row)
        endsOfLine.insert(endsOfLine.end(), {0, 0});
    EXPECT_EQ(DecodeBitmap(BitmapFile(RunLength(1, 800, 600, endsOfLine)), image), BmpStatus::Ok);
}

// Random damage of good files of every kind at every length and in every byte: the reader must
// refuse or accept without reading outside the bytes (AddressSanitizer watches), and what it
// accepts has the pixels its size says.
TEST(BitmapReader, SurvivesTruncationAndRandomDamage) {
    BitmapLayout os2;
    os2.headerBytes = 12;
    os2.width = 3;
    os2.bitsPerPixel = 8;
    os2.palette = Palette({kRed, kGreen}, true);
    os2.pixels = {0, 1, 1, 0};
    BitmapLayout masked;
    masked.headerBytes = 124;
    masked.width = 2;
    masked.bitsPerPixel = 16;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F, 0};
    masked.pixels = {1, 2, 3, 4};
    const Bytes goods[] = {BitmapFile(RunLength(1, 6, 2, kRle8Data)),
                           BitmapFile(RunLength(2, 5, 2, {5, 0x12, 0, 0, 0, 3, 0x34, 0x10, 0, 1})),
                           BitmapFile(os2), BitmapFile(masked)};
    auto check = [](const Bytes& bytes) {
        const Bytes exact(bytes);  // exactly the tested length, so a read past it is caught
        DecodedImage image;
        if (DecodeBitmap(exact, image) == BmpStatus::Ok) {
            EXPECT_EQ(image.pixels.size(), static_cast<size_t>(image.width) * image.height * 4);
        }
    };
    std::mt19937 random(20261210);
    for (const Bytes& good : goods) {
        for (size_t length = 0; length <= good.size(); ++length)
            check(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(length)));
        for (int round = 0; round < 5000; ++round) {
            Bytes damaged = good;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i)
                damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
            check(damaged);
        }
    }
}
