// Independent readers for the content set's file formats, strict about the forms the game's
// readers take. Each fills a description of the file, or its error with what is wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> ReadBytes(const std::string& path);

// A picture as rows of pixels from the top, 4 bytes a pixel: blue, green, red, alpha (255 for
// formats without alpha).
struct Picture {
    std::string error;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra;

    const uint8_t* At(int x, int y) const {
        return &bgra[(static_cast<size_t>(y) * width + x) * 4];
    }
    bool IsMagenta(int x, int y) const;
};

// 24-bit BMP, 54-byte headers, rows bottom-up. withoutPadding: the sprite engine's form, which
// reads width x 3 bytes a row, so the width must be a multiple of 4.
Picture ReadBmp(const std::vector<uint8_t>& bytes, bool withoutPadding);
// Version 5, run-length, 8 bits, three planes, bytes-per-line equal to the width; runs must not
// cross a plane's end and the data must end with the last row.
Picture ReadPcx(const std::vector<uint8_t>& bytes);
// 32-bit TGA with one of the two accepted 12-byte starts (type 2 or 10), rows bottom-up.
struct TgaPicture : Picture {
    int imageType = 0;
};
TgaPicture ReadTga(const std::vector<uint8_t>& bytes);

struct PngHeader {
    std::string error;
    int width = 0;
    int height = 0;
    int bitDepth = 0;
    int colourType = 0;
};
PngHeader ReadPngHeader(const std::vector<uint8_t>& bytes);

struct WaveFile {
    std::string error;
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    uint32_t formatChunkSize = 0;
    std::vector<std::string> chunksBeforeData;  // chunk ids after "fmt " and before "data"
    uint32_t dataBytes = 0;
    double Seconds() const;
};
WaveFile ReadWave(const std::vector<uint8_t>& bytes);

struct Mp3Stream {
    std::string error;
    int frames = 0;  // audio frames, not counting a Xing or Info header frame
    int sampleRate = 0;
    bool hasInfoFrame = false;
    double Seconds() const { return sampleRate ? frames * 1152.0 / sampleRate : 0; }
};
// MPEG-1 layer III frames, walked header by header from the start (after an ID3v2 tag if any).
Mp3Stream ReadMp3(const std::vector<uint8_t>& bytes);

struct AviFile {
    std::string error;
    int totalFrames = 0;
    int width = 0;
    int height = 0;
    std::string streamType;  // of the first stream, "vids" for video
    std::string handler;     // its codec
};
AviFile ReadAvi(const std::vector<uint8_t>& bytes);
