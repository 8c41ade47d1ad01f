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

// Where a decoded picture goes, a row at a time, so that a reader of the picture's own kind needs
// no copy of it: Begin once the file has been checked (false when there is no memory for the
// picture), then every row once, in the order the file stores them.
class BitmapSink {
  public:
    virtual ~BitmapSink() = default;
    virtual bool Begin(int width, int height) = 0;
    // Row y counted from the top: width pixels of three bytes, blue, green and red (a bitmap
    // carries no alpha here).
    virtual void Row(int y, const uint8_t* pixels) = 0;
};

// Decodes the picture into the sink. Sides are limited to 32767 pixels.
BmpStatus DecodeBitmap(std::span<const uint8_t> bytes, BitmapSink& sink);

// The whole picture, top row first, as blue, green, red and 255.
BmpStatus DecodeBitmap(std::span<const uint8_t> bytes, DecodedImage& image);
