#include "graphics/image_codecs.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Pictures are at most this many pixels wide or high; anything larger is taken as damage.
constexpr uint32_t kLargestSide = 16384;

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kBmpHeadersBytes = 54;  // file header and the smallest information header
constexpr uint32_t kBmpUncompressed = 0;
constexpr uint32_t kBmpBitFields = 3;

uint16_t Read16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

bool AllocatePixels(DecodedImage& image) {
    try {
        image.pixels.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// 32-bit bitmaps may declare their layout with masks; only the plain blue, green, red order is
// read.
bool HasPlainMasks(std::span<const uint8_t> bytes) {
    return bytes.size() >= kBmpHeadersBytes + 12 && Read32(bytes, 54) == 0x00FF0000 &&
           Read32(bytes, 58) == 0x0000FF00 && Read32(bytes, 62) == 0x000000FF;
}

}  // namespace

CodecStatus DecodePicture(std::span<const uint8_t> bytes, DecodedImage& image) {
    if (bytes.size() >= sizeof kPngSignature &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin()))
        return DecodePng(bytes, image);
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return DecodeBmp(bytes, image);
    return kCodecUnknownFormat;
}

CodecStatus DecodePng(std::span<const uint8_t> bytes, DecodedImage& image) {
    png_image png;
    memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
        return kCodecUnknownFormat;
    if (png.width == 0 || png.height == 0 || png.width > kLargestSide ||
        png.height > kLargestSide) {
        png_image_free(&png);
        return kCodecUnknownFormat;
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_BGRA;
    if (!AllocatePixels(image)) {
        png_image_free(&png);
        return kCodecOutOfMemory;
    }
    // finish_read frees libpng's state whether or not it succeeds.
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), image.width * 4, nullptr))
        return kCodecUnknownFormat;
    return kCodecOk;
}

CodecStatus DecodeBmp(std::span<const uint8_t> bytes, DecodedImage& image) {
    if (bytes.size() < kBmpHeadersBytes || bytes[0] != 'B' || bytes[1] != 'M')
        return kCodecUnknownFormat;
    const uint32_t pixelOffset = Read32(bytes, 10);
    const uint32_t infoBytes = Read32(bytes, 14);
    const int32_t width = static_cast<int32_t>(Read32(bytes, 18));
    const int32_t height = static_cast<int32_t>(Read32(bytes, 22));
    const uint16_t bitsPerPixel = Read16(bytes, 28);
    const uint32_t compression = Read32(bytes, 30);

    if (infoBytes < 40 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return kCodecUnknownFormat;
    const bool masksOk =
        compression == kBmpUncompressed ||
        (compression == kBmpBitFields && bitsPerPixel == 32 && HasPlainMasks(bytes));
    if (!masksOk) return kCodecUnknownFormat;
    // A negative height stores the rows from the top down.
    const bool topDown = height < 0;
    const uint32_t rows = topDown ? 0u - static_cast<uint32_t>(height) : height;
    if (width <= 0 || rows == 0 || static_cast<uint32_t>(width) > kLargestSide ||
        rows > kLargestSide)
        return kCodecUnknownFormat;

    // Every row is padded to a whole number of 4-byte words.
    const size_t bytesPerPixel = bitsPerPixel / 8;
    const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
    if (pixelOffset > bytes.size() || (bytes.size() - pixelOffset) / stride < rows)
        return kCodecUnknownFormat;

    image.width = width;
    image.height = static_cast<int>(rows);
    image.hasAlpha = false;
    if (!AllocatePixels(image)) return kCodecOutOfMemory;
    uint8_t* out = image.pixels.data();
    for (uint32_t y = 0; y < rows; ++y) {
        const size_t fileRow = topDown ? y : rows - 1 - y;
        const uint8_t* from = bytes.data() + pixelOffset + fileRow * stride;
        for (int32_t x = 0; x < width; ++x, from += bytesPerPixel, out += 4) {
            out[0] = from[0];
            out[1] = from[1];
            out[2] = from[2];
            out[3] = 255;
        }
    }
    return kCodecOk;
}
