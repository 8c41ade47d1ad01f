// Small BMP and PCX sprite files written byte by byte, for the sprite and font tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engines/graphics/sprite_files.h"

struct Rgb {
    uint8_t red, green, blue;
};

constexpr Rgb kMagenta{255, 0, 255};

// The picture's colour at (x, y), y counted from the top.
using PictureColours = std::function<Rgb(int x, int y)>;

inline void PutLittleEndian(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// An uncompressed 24-bit bitmap, rows bottom first, each padded to a multiple of 4 bytes.
inline std::vector<uint8_t> BmpBytes(int width, int height, const PictureColours& colours) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> bytes(54 + stride * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLittleEndian(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
    PutLittleEndian(bytes, 10, 54, 4);
    PutLittleEndian(bytes, 14, 40, 4);
    PutLittleEndian(bytes, 18, static_cast<uint32_t>(width), 4);
    PutLittleEndian(bytes, 22, static_cast<uint32_t>(height), 4);
    PutLittleEndian(bytes, 26, 1, 2);
    PutLittleEndian(bytes, 28, 24, 2);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bytes.data() + 54 + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const Rgb c = colours(x, y);
            row[3 * x] = c.blue;
            row[3 * x + 1] = c.green;
            row[3 * x + 2] = c.red;
        }
    }
    return bytes;
}

// A PCX header: version 5, run-length encoded, 8 bits a plane, three planes.
inline std::vector<uint8_t> PcxHeader(int bytesPerLine, int height) {
    std::vector<uint8_t> bytes(128, 0);
    bytes[0] = 10;
    bytes[1] = 5;
    bytes[2] = 1;
    bytes[3] = 8;
    PutLittleEndian(bytes, 4, 0, 2);                                        // Xmin
    PutLittleEndian(bytes, 6, 3, 2);                                        // Ymin
    PutLittleEndian(bytes, 8, static_cast<uint32_t>(bytesPerLine - 1), 2);  // Xmax
    PutLittleEndian(bytes, 10, static_cast<uint32_t>(height + 2), 2);       // Ymax
    bytes[65] = 3;
    PutLittleEndian(bytes, 66, static_cast<uint32_t>(bytesPerLine), 2);
    return bytes;
}

// Run-length encodes one plane: repeats become runs, values of 192 and over a run of one.
inline void EncodePcxPlane(std::vector<uint8_t>& out, const std::vector<uint8_t>& values) {
    for (size_t i = 0; i < values.size();) {
        size_t run = 1;
        while (i + run < values.size() && values[i + run] == values[i] && run < 63)
            ++run;
        if (run > 1 || values[i] >= 192) {
            out.push_back(static_cast<uint8_t>(0xC0 | run));
            out.push_back(values[i]);
        } else {
            out.push_back(values[i]);
        }
        i += run;
    }
}

inline std::vector<uint8_t> PcxBytes(int width, int height, const PictureColours& colours) {
    std::vector<uint8_t> bytes = PcxHeader(width, height);
    for (int y = 0; y < height; ++y) {
        std::vector<uint8_t> red, green, blue;
        for (int x = 0; x < width; ++x) {
            const Rgb c = colours(x, y);
            red.push_back(c.red);
            green.push_back(c.green);
            blue.push_back(c.blue);
        }
        EncodePcxPlane(bytes, red);
        EncodePcxPlane(bytes, green);
        EncodePcxPlane(bytes, blue);
    }
    return bytes;
}

// Writes the file of a sprite table row under the current directory.
inline void WriteSpriteFile(int fileId, const std::vector<uint8_t>& bytes) {
    std::string path = SpriteFileTable[FindSpriteFileRow(fileId)].name;
    for (char& c : path)
        if (c == '\\') c = '/';
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A picture's colour as a pixel value at a display depth.
inline uint32_t PixelValue(Rgb c, int bitsPerPixel) {
    if (bitsPerPixel == 16) return (c.red >> 3) << 11 | (c.green >> 2) << 5 | (c.blue >> 3);
    return static_cast<uint32_t>(c.red) << 16 | c.green << 8 | c.blue;
}
