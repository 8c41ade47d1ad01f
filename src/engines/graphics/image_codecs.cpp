#include "engines/graphics/image_codecs.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include "engines/graphics/bmp_reader.h"

namespace {

// Pictures are at most this many pixels wide or high; anything larger is taken as damage.
constexpr uint32_t kLargestSide = 16384;

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool AllocatePixels(DecodedImage& image) {
    try {
        image.pixels.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The PNG being read: libpng asks for its bytes in pieces.
struct PngSource {
    std::span<const uint8_t> bytes;
    size_t at = 0;
};

void ReadPngBytes(png_structp png, png_bytep out, size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->bytes.size() - source->at) png_error(png, "the file ends early");
    memcpy(out, source->bytes.data() + source->at, count);
    source->at += count;
}

// libpng reports a damaged file by jumping back to the setjmp of the function that called it, so
// the two functions that call it keep no objects that need destroying. Nothing is printed.
void StopOnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}

// Reads the header and asks libpng for rows of blue, green, red and alpha at 8 bits a channel,
// whatever the file holds: palettes and grey expanded, transparency made alpha, 16-bit channels
// scaled to 8 bits. No gamma chunk changes a colour: the picture is drawn as its values say.
bool ReadPngHeader(png_structp png, png_infop info, PngSource* source) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, source, ReadPngBytes);
    png_set_user_limits(png, kLargestSide, kLargestSide);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool ReadPngRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

CodecStatus ReadPng(png_structp png, png_infop info, PngSource& source, DecodedImage& image) {
    if (!ReadPngHeader(png, info, &source)) return kCodecUnknownFormat;
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide ||
        png_get_rowbytes(png, info) != width * 4)
        return kCodecUnknownFormat;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                     png_get_valid(png, info, PNG_INFO_tRNS);
    std::vector<png_bytep> rows;
    try {
        rows.resize(height);
    } catch (const std::bad_alloc&) {
        return kCodecOutOfMemory;
    }
    if (!AllocatePixels(image)) return kCodecOutOfMemory;
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = image.pixels.data() + static_cast<size_t>(y) * width * 4;
    return ReadPngRows(png, rows.data()) ? kCodecOk : kCodecUnknownFormat;
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
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, StopOnPngError, IgnorePngWarning);
    if (!png) return kCodecOutOfMemory;
    png_infop info = png_create_info_struct(png);
    PngSource source{bytes};
    const CodecStatus status = info ? ReadPng(png, info, source, image) : kCodecOutOfMemory;
    png_destroy_read_struct(&png, &info, nullptr);
    return status;
}

// Bitmaps of every kind the bitmap reader knows; a bitmap has no alpha.
CodecStatus DecodeBmp(std::span<const uint8_t> bytes, DecodedImage& image) {
    int width = 0, height = 0;
    if (ReadBmpSize(bytes, width, height) != BmpStatus::Ok ||
        static_cast<uint32_t>(width) > kLargestSide || static_cast<uint32_t>(height) > kLargestSide)
        return kCodecUnknownFormat;
    switch (DecodeBitmap(bytes, image)) {
        case BmpStatus::Ok:
            return kCodecOk;
        case BmpStatus::OutOfMemory:
            return kCodecOutOfMemory;
        default:
            return kCodecUnknownFormat;
    }
}
