#include "engines/graphics/image_codecs.h"

#include <png.h>

// stb_image is built here, for bitmaps only, so the sanitizers and the fuzzer see inside it.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb/stb_image.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

// Pictures are at most this many pixels wide or high; anything larger is taken as damage.
constexpr uint32_t kLargestSide = 16384;

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kBmpHeadersBytes = 54;  // file header and the smallest information header

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

// A bitmap whose file holds at least the rows its header declares, at its declared depth and size
// (at most kLargestSide either way). Checked before the decoder sees it, so a forged header cannot
// make it allocate a huge picture.
bool BmpHoldsItsRows(std::span<const uint8_t> bytes) {
    if (bytes.size() < kBmpHeadersBytes || bytes.size() > INT_MAX || Read32(bytes, 14) < 40)
        return false;
    const uint32_t pixelOffset = Read32(bytes, 10);
    const int32_t width = static_cast<int32_t>(Read32(bytes, 18));
    const int32_t height = static_cast<int32_t>(Read32(bytes, 22));
    const uint32_t bitsPerPixel = Read16(bytes, 28);
    // A negative height stores the rows from the top down.
    const uint32_t rows = height < 0 ? 0u - static_cast<uint32_t>(height) : height;
    if (width <= 0 || rows == 0 || static_cast<uint32_t>(width) > kLargestSide ||
        rows > kLargestSide || bitsPerPixel == 0 || bitsPerPixel > 32)
        return false;
    // Every row is padded to a whole number of 4-byte words.
    const size_t stride = (static_cast<size_t>(width) * bitsPerPixel + 31) / 32 * 4;
    return pixelOffset <= bytes.size() && (bytes.size() - pixelOffset) / stride >= rows;
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

// Bitmaps are read by stb_image: uncompressed at every depth (1, 4 and 8 bits through their
// palettes, 16, 24 and 32 bits with or without masks), rows bottom up or top down. A bitmap has
// no alpha: a fourth byte is not taken as one.
CodecStatus DecodeBmp(std::span<const uint8_t> bytes, DecodedImage& image) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M' || !BmpHoldsItsRows(bytes))
        return kCodecUnknownFormat;
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width,
                                          &height, &channels, 4);
    if (!rgba) return kCodecUnknownFormat;
    image.width = width;
    image.height = height;
    image.hasAlpha = false;
    if (!AllocatePixels(image)) {
        stbi_image_free(rgba);
        return kCodecOutOfMemory;
    }
    const size_t pixels = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < pixels; ++i) {
        uint8_t* out = &image.pixels[i * 4];
        out[0] = rgba[i * 4 + 2];
        out[1] = rgba[i * 4 + 1];
        out[2] = rgba[i * 4];
        out[3] = 255;
    }
    stbi_image_free(rgba);
    return kCodecOk;
}
