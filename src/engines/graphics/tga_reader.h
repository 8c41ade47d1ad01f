// The game's own TGA reader: uncompressed and run-length encoded 32-bit true-colour pictures
// with no identification field and no colour map, rows stored from the bottom up. Pixels come
// out exactly as stored (blue, green, red, alpha), so the alpha reaches the image surface.
#pragma once

#include <cstdint>
#include <span>

#include "engines/graphics/decoded_image.h"

enum class TgaResult {
    Ok,
    UnknownFormat,    // not one of the two accepted headers, or the file ends early
    NotThirtyTwoBit,  // another depth than 32 bits a pixel
    OutOfMemory,      // no room for the pixels
    Overrun,          // run-length packets describe more pixels than the picture has
};

// Decodes a whole file held in memory. The picture's width and height are filled in as soon as
// they are read, so failures can name them. Nothing is read past the bytes given and nothing is
// written past the picture.
TgaResult DecodeTga(std::span<const uint8_t> bytes, DecodedImage& image);
