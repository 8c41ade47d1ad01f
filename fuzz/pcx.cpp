// The sprite path's PCX reader over any bytes, at every display depth.
#include <cstdlib>
#include <span>

#include "engines/graphics/sprite_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    int width = 0, height = 0;
    const bool sized = ReadSpriteSize(bytes, kSpritePcx, width, height) == kSpriteReadOk;
    for (int bitsPerPixel : {16, 24, 32}) {
        std::unique_ptr<Surface> picture;
        if (DecodeSpriteFile(bytes, kSpritePcx, bitsPerPixel, picture) != kSpriteReadOk) {
            if (picture) std::abort();  // a refused file leaves no half-made picture behind
            continue;
        }
        if (!picture || !sized || picture->width != width || picture->height != height)
            std::abort();
    }
    return 0;
}
