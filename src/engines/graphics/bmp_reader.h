// Windows and OS/2 bitmaps held in memory, as paint programs and converters write them: the
// 12-byte OS/2 header and the 40-byte Windows header with its longer successors (V2 to V5, the
// pixels where the file header says they start); 1, 4 and 8 bits through the palette, 16 and 32
// bits plain or with colour masks, 24 bits; uncompressed or run-length encoded (RLE8, RLE4); rows
// bottom up or top down. Both picture paths read bitmaps here. Nothing is read past the bytes.
#pragma once

#include <cstdint>
#include <span>

#include "engines/graphics/decoded_image.h"

enum class BmpStatus {
    Ok,
    Malformed,    // not a bitmap, a damaged one, or one that ends before its pixels do
    Unsupported,  // a bitmap of a kind not read here (JPEG or PNG inside, Huffman, RLE24)
    OutOfMemory,
};

// Width and height (rows, whichever way they are stored) from the headers alone: 26 bytes of the
// file suffice.
BmpStatus ReadBmpSize(std::span<const uint8_t> bytes, int& width, int& height);

// The whole picture, top row first, as blue, green, red and 255: a bitmap carries no alpha here.
// Sides are limited to 32767 pixels.
BmpStatus DecodeBitmap(std::span<const uint8_t> bytes, DecodedImage& image);
