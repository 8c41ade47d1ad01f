// A small content set for screen tests, written into the current directory: every file of the
// sprite table as a tiny plain picture (so the display keeps running and the fonts load), and
// whatever pictures a test writes on top in colours it can tell apart.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Colour {
    uint8_t red, green, blue;
};

// An uncompressed 24-bit BMP, rows bottom first, coloured by position (y from the top).
std::vector<uint8_t> Bmp24(int width, int height, const std::function<Colour(int x, int y)>& at);
// A picture strip of `frames` equal frames stacked top to bottom, each of one colour.
std::vector<uint8_t> FrameStrip(int width, int frameHeight, int frames,
                                const std::function<Colour(int frame)>& colourOf);

// Writes a file under the name the game uses for it ("Graphic_resource\Menu\Back.BMP",
// "Graphic_resource//Stake//Anim50p.bmp"), making its directories.
void WriteContentFile(const std::string& gameName, const std::vector<uint8_t>& bytes);

// Every sprite file of the table as an 8 x 192 picture of one colour.
void WritePlainSpriteFiles(Colour colour);
// Writes one sprite file by its table id.
void WriteSpriteFileById(int fileId, const std::vector<uint8_t>& bytes);

// A colour as a pixel of the 32-bit display (0x00RRGGBB).
uint32_t Pixel32(Colour colour);
