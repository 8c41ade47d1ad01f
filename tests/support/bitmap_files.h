// Bitmaps laid out as paint programs and converters write them, byte by byte, for the tests of
// both picture paths.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct BitmapLayout {
    // 12 (OS/2 1.x), 40 (Windows), 108 (V4) or 124 (V5, as GIMP and ImageMagick write).
    uint32_t headerBytes = 40;
    int32_t width = 1;
    int32_t height = 1;  // negative: rows stored top first
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;         // 1 RLE8, 2 RLE4, 3 colour masks
    std::vector<uint8_t> palette;     // as stored: 3 bytes an entry with the 12-byte header, else 4
    std::array<uint32_t, 4> masks{};  // red, green, blue, alpha
    std::vector<uint8_t> pixels;      // as stored, padding included
};

inline void PutBitmapValue(std::vector<uint8_t>& bytes, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The file: the 14-byte file header, the information header (the V4 and V5 headers hold the
// masks and name sRGB; the 40-byte one is followed by three masks when compression is 3), the
// palette, then the pixels where the file header says.
inline std::vector<uint8_t> BitmapFile(const BitmapLayout& layout) {
    std::vector<uint8_t> info;
    PutBitmapValue(info, layout.headerBytes, 4);
    if (layout.headerBytes == 12) {
        PutBitmapValue(info, static_cast<uint32_t>(layout.width), 2);
        PutBitmapValue(info, static_cast<uint32_t>(layout.height), 2);
        PutBitmapValue(info, 1, 2);
        PutBitmapValue(info, layout.bitsPerPixel, 2);
    } else {
        PutBitmapValue(info, static_cast<uint32_t>(layout.width), 4);
        PutBitmapValue(info, static_cast<uint32_t>(layout.height), 4);
        PutBitmapValue(info, 1, 2);
        PutBitmapValue(info, layout.bitsPerPixel, 2);
        PutBitmapValue(info, layout.compression, 4);
        PutBitmapValue(info, static_cast<uint32_t>(layout.pixels.size()), 4);
        PutBitmapValue(info, 2835, 4);  // 72 dots an inch
        PutBitmapValue(info, 2835, 4);
        PutBitmapValue(info, static_cast<uint32_t>(layout.palette.size() / 4), 4);
        PutBitmapValue(info, 0, 4);
        if (layout.headerBytes > 40 || layout.compression == 3) {
            for (int i = 0; i < (layout.headerBytes > 40 ? 4 : 3); ++i)
                PutBitmapValue(info, layout.masks[i], 4);
        }
        if (layout.headerBytes > 40) {
            info.insert(info.end(), {'B', 'G', 'R', 's'});
            info.resize(layout.headerBytes, 0);
        }
    }
    const uint32_t offset = static_cast<uint32_t>(14 + info.size() + layout.palette.size());
    std::vector<uint8_t> file = {'B', 'M'};
    PutBitmapValue(file, static_cast<uint32_t>(offset + layout.pixels.size()), 4);
    PutBitmapValue(file, 0, 4);
    PutBitmapValue(file, offset, 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), layout.palette.begin(), layout.palette.end());
    file.insert(file.end(), layout.pixels.begin(), layout.pixels.end());
    return file;
}
