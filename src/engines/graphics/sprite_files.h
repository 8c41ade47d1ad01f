// The sprite pictures: the fixed table of BMP and PCX files the sprite engine draws from, and the
// two readers that turn a file's bytes into a surface in the display's own pixel format.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "engines/graphics/surface.h"

enum SpriteFileKind : int32_t { kSpriteBmp = 1, kSpritePcx = 2 };

struct SpriteFile {
    int32_t id;                        // 1 to 56, the row index + 1; 0 ends the table
    const char* name;                  // relative to the game's directory, with backslashes
    int32_t kind;                      // kSpriteBmp or kSpritePcx
    std::unique_ptr<Surface> surface;  // empty until the file is decoded; owned by the row
};

constexpr int kSpriteFileCount = 56;
// 56 files and the closing row whose id is 0.
extern SpriteFile SpriteFileTable[kSpriteFileCount + 1];

// The row index of a file id, scanning from the first row to the closing one; -1 when none.
int FindSpriteFileRow(int fileId);

// Reasons a picture could not be read, as the display stop codes the sprite engine passes on.
enum SpriteReadFailure : int {
    kSpriteReadOk = 0,
    kSpriteFileBad = 7,       // unreadable, truncated or malformed file
    kSpriteNoSurface = 9,     // no surface can be made at the display's depth
    kSpriteOutOfMemory = 20,  // the pixels could not be allocated
};

// Bytes enough to read a picture's size: the PCX header, or the BMP file header and the start
// of its information header (a file with the short OS/2 header may hold fewer).
constexpr size_t kPcxHeaderBytes = 128;
constexpr size_t kBmpHeaderBytes = 54;
size_t SpriteHeaderBytes(int kind);

// Reads width and height from the first bytes of a file without decoding pixels.
SpriteReadFailure ReadSpriteSize(std::span<const uint8_t> bytes, int kind, int& width, int& height);

// Decodes a whole file into a new surface at 16, 24 or 32 bits a pixel, keyed with that depth's
// colour key. PCX files are three planes of 8 bits; bitmaps are of any kind the bitmap reader
// knows. A file that ends early, breaks its format or is of another kind is refused; nothing is
// read past the bytes given.
SpriteReadFailure DecodeSpriteFile(std::span<const uint8_t> bytes, int kind, int bitsPerPixel,
                                   std::unique_ptr<Surface>& picture);
