#include "support/small_content.h"

#include <filesystem>
#include <fstream>

#include "engines/graphics/sprite_files.h"
#include "platform/host_path.h"

namespace {

void Put(std::vector<uint8_t>& bytes, size_t offset, uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A run-length encoded PCX of one colour: version 5, three 8-bit planes.
std::vector<uint8_t> PlainPcx(int width, int height, Colour colour) {
    std::vector<uint8_t> bytes(128, 0);
    bytes[0] = 10;
    bytes[1] = 5;
    bytes[2] = 1;
    bytes[3] = 8;
    Put(bytes, 8, static_cast<uint32_t>(width - 1), 2);
    Put(bytes, 10, static_cast<uint32_t>(height - 1), 2);
    bytes[65] = 3;
    Put(bytes, 66, static_cast<uint32_t>(width), 2);
    for (int y = 0; y < height; ++y)
        for (uint8_t value : {colour.red, colour.green, colour.blue})
            for (int left = width; left > 0; left -= 63) {
                const int run = left < 63 ? left : 63;
                bytes.push_back(static_cast<uint8_t>(0xC0 | run));
                bytes.push_back(value);
            }
    return bytes;
}

}  // namespace

std::vector<uint8_t> Bmp24(int width, int height, const std::function<Colour(int x, int y)>& at) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> bytes(54 + stride * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
    Put(bytes, 10, 54, 4);
    Put(bytes, 14, 40, 4);
    Put(bytes, 18, static_cast<uint32_t>(width), 4);
    Put(bytes, 22, static_cast<uint32_t>(height), 4);
    Put(bytes, 26, 1, 2);
    Put(bytes, 28, 24, 2);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bytes.data() + 54 + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const Colour c = at(x, y);
            row[3 * x] = c.blue;
            row[3 * x + 1] = c.green;
            row[3 * x + 2] = c.red;
        }
    }
    return bytes;
}

std::vector<uint8_t> FrameStrip(int width, int frameHeight, int frames,
                                const std::function<Colour(int frame)>& colourOf) {
    return Bmp24(width, frameHeight * frames,
                 [&](int, int y) { return colourOf(y / frameHeight); });
}

void WriteContentFile(const std::string& gameName, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path path = platform::HostPath(gameName);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void WriteSpriteFileById(int fileId, const std::vector<uint8_t>& bytes) {
    WriteContentFile(SpriteFileTable[FindSpriteFileRow(fileId)].name, bytes);
}

void WritePlainSpriteFiles(Colour colour) {
    const std::vector<uint8_t> bmp = Bmp24(8, 192, [&](int, int) { return colour; });
    const std::vector<uint8_t> pcx = PlainPcx(8, 192, colour);
    for (int id = 1; id <= kSpriteFileCount; ++id) {
        const bool isPcx = SpriteFileTable[FindSpriteFileRow(id)].kind == kSpritePcx;
        WriteSpriteFileById(id, isPcx ? pcx : bmp);
    }
}

uint32_t Pixel32(Colour colour) {
    return static_cast<uint32_t>(colour.red) << 16 | static_cast<uint32_t>(colour.green) << 8 |
           colour.blue;
}
