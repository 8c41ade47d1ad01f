// Decoders for the pictures of the image path that are not TGA: PNG (through libpng, at every
// depth, 16-bit channels included) and BMP (the game's own bitmap reader: every depth, OS/2 and
// Windows headers, run-length encoded or not). The file's content decides the format, not its
// name.
#pragma once

#include <cstdint>
#include <span>

#include "engines/graphics/decoded_image.h"

// Failure codes of the codec path, written in "Failed to load surface ( %d )".
enum CodecStatus : int {
    kCodecOk = 0,
    kCodecOutOfMemory = 3,
    kCodecFileNotFound = 10,
    kCodecUnknownFormat = 13,  // not a PNG or BMP this reader knows, or a damaged one
};

// A PNG or BMP held in memory. PNG pixels keep their straight alpha (255 where the picture has
// none) and their values as stored, whatever gamma the file names; BMP pictures have no alpha.
// Nothing is read past the bytes given.
CodecStatus DecodePicture(std::span<const uint8_t> bytes, DecodedImage& image);
CodecStatus DecodePng(std::span<const uint8_t> bytes, DecodedImage& image);
CodecStatus DecodeBmp(std::span<const uint8_t> bytes, DecodedImage& image);
