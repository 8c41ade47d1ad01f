// The bitmap reader over any bytes, as both picture paths use it: the image path's (through the
// same content sniffing the loader uses) and the sprite path's (at every display depth). Seeds
// cover the OS/2 and V4/V5 headers, palettes, colour masks and RLE8/RLE4.
#include <cstdlib>
#include <span>

#include "engines/graphics/image_codecs.h"
#include "engines/graphics/sprite_files.h"

namespace {

void ReadAsImage(std::span<const uint8_t> bytes) {
    DecodedImage image;
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') return;
    if (DecodePicture(bytes, image) != kCodecOk) return;
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4)
        std::abort();
}

void ReadAsSprite(std::span<const uint8_t> bytes, int bitsPerPixel) {
    int width = 0, height = 0;
    const bool sized = ReadSpriteSize(bytes, kSpriteBmp, width, height) == kSpriteReadOk;
    std::unique_ptr<Surface> picture;
    if (DecodeSpriteFile(bytes, kSpriteBmp, bitsPerPixel, picture) != kSpriteReadOk) {
        if (picture) std::abort();
        return;
    }
    // A decoded picture has the size its header gave.
    if (!picture || !sized || picture->width != width || picture->height != height) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    ReadAsImage(bytes);
    for (int bitsPerPixel : {16, 24, 32})
        ReadAsSprite(bytes, bitsPerPixel);
    return 0;
}
