#include "file_formats.h"

#include <cstring>
#include <fstream>

namespace {

uint32_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

std::string Id(const std::vector<uint8_t>& b, size_t at) {
    return std::string(reinterpret_cast<const char*>(&b[at]), 4);
}

template <typename T>
T Fail(const std::string& why) {
    T result;
    result.error = why;
    return result;
}

}  // namespace

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

bool Picture::IsMagenta(int x, int y) const {
    const uint8_t* p = At(x, y);
    return p[0] == 255 && p[1] == 0 && p[2] == 255;
}

Picture ReadBmp(const std::vector<uint8_t>& bytes, bool withoutPadding) {
    if (bytes.size() < 54) return Fail<Picture>("shorter than its headers");
    if (bytes[0] != 'B' || bytes[1] != 'M') return Fail<Picture>("no BM signature");
    if (Le32(bytes, 10) != 54 || Le32(bytes, 14) != 40)
        return Fail<Picture>("pixels do not follow the 54 header bytes");
    const int width = static_cast<int32_t>(Le32(bytes, 18));
    const int height = static_cast<int32_t>(Le32(bytes, 22));
    if (width <= 0 || height <= 0) return Fail<Picture>("not a bottom-up picture");
    if (Le16(bytes, 26) != 1 || Le16(bytes, 28) != 24 || Le32(bytes, 30) != 0)
        return Fail<Picture>("not uncompressed 24-bit");
    if (withoutPadding && width % 4 != 0)
        return Fail<Picture>("width " + std::to_string(width) + " is not a multiple of 4");
    const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (bytes.size() != 54 + row * height || Le32(bytes, 2) != bytes.size())
        return Fail<Picture>("size does not match the headers");
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.bgra.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = &bytes[54 + row * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &picture.bgra[(static_cast<size_t>(y) * width + x) * 4];
            std::memcpy(p, source + x * 3, 3);
            p[3] = 255;
        }
    }
    return picture;
}

Picture ReadPcx(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 128) return Fail<Picture>("shorter than its header");
    if (bytes[0] != 10 || bytes[1] != 5 || bytes[2] != 1 || bytes[3] != 8)
        return Fail<Picture>("header does not start 10, 5, 1, 8");
    if (bytes[65] != 3) return Fail<Picture>("not three planes");
    const int width = static_cast<int>(Le16(bytes, 66));
    const int height = static_cast<int>(Le16(bytes, 10)) - static_cast<int>(Le16(bytes, 6)) + 1;
    if (static_cast<int>(Le16(bytes, 8)) - static_cast<int>(Le16(bytes, 4)) + 1 != width)
        return Fail<Picture>("bytes per line differ from the width");
    if (width <= 0 || height <= 0) return Fail<Picture>("empty picture");
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.bgra.assign(static_cast<size_t>(width) * height * 4, 255);
    size_t at = 128;
    for (int y = 0; y < height; ++y) {
        for (int plane = 0; plane < 3; ++plane) {
            int x = 0;
            while (x < width) {
                if (at >= bytes.size()) return Fail<Picture>("data ends early");
                uint8_t value = bytes[at++];
                int count = 1;
                if (value >= 192) {
                    count = value & 63;
                    if (at >= bytes.size()) return Fail<Picture>("data ends inside a run");
                    value = bytes[at++];
                }
                if (x + count > width) return Fail<Picture>("a run crosses a plane's end");
                for (int i = 0; i < count; ++i, ++x)
                    picture.bgra[(static_cast<size_t>(y) * width + x) * 4 + 2 - plane] = value;
            }
        }
    }
    if (at != bytes.size()) return Fail<Picture>("bytes left after the last row");
    return picture;
}

TgaPicture ReadTga(const std::vector<uint8_t>& bytes) {
    static const uint8_t kStart[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (bytes.size() < 18) return Fail<TgaPicture>("shorter than its header");
    if (std::memcmp(bytes.data(), kStart, 2) != 0 || (bytes[2] != 2 && bytes[2] != 10) ||
        std::memcmp(bytes.data() + 3, kStart + 3, 9) != 0)
        return Fail<TgaPicture>("not one of the two accepted 12-byte starts");
    if (bytes[16] != 32) return Fail<TgaPicture>("not 32 bits a pixel");
    if (bytes[17] != 8) return Fail<TgaPicture>("descriptor is not 8 (8 alpha bits, bottom-up)");
    TgaPicture picture;
    picture.imageType = bytes[2];
    picture.width = static_cast<int>(Le16(bytes, 12));
    picture.height = static_cast<int>(Le16(bytes, 14));
    const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
    std::vector<uint8_t> stored(pixels * 4);
    size_t at = 18;
    if (picture.imageType == 2) {
        if (bytes.size() != 18 + pixels * 4) return Fail<TgaPicture>("size does not match");
        std::memcpy(stored.data(), bytes.data() + 18, pixels * 4);
    } else {
        size_t written = 0;
        while (written < pixels) {
            if (at >= bytes.size()) return Fail<TgaPicture>("packets end early");
            const uint8_t header = bytes[at++];
            const size_t count = (header & 127) + 1;
            const bool run = header >= 128;
            if (at + (run ? 4 : 4 * count) > bytes.size())
                return Fail<TgaPicture>("a packet is cut short");
            if (written + count > pixels)
                return Fail<TgaPicture>("packets describe more pixels than the picture");
            for (size_t i = 0; i < count; ++i)
                std::memcpy(&stored[(written + i) * 4], &bytes[at + (run ? 0 : 4 * i)], 4);
            written += count;
            at += run ? 4 : 4 * count;
        }
        if (at != bytes.size()) return Fail<TgaPicture>("bytes left after the last packet");
    }
    picture.bgra.resize(pixels * 4);
    const size_t row = static_cast<size_t>(picture.width) * 4;
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(&picture.bgra[y * row], &stored[(picture.height - 1 - y) * row], row);
    return picture;
}

PngHeader ReadPngHeader(const std::vector<uint8_t>& bytes) {
    static const uint8_t kSignature[8] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    if (bytes.size() < 33 || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return Fail<PngHeader>("no PNG signature");
    if (Id(bytes, 12) != "IHDR") return Fail<PngHeader>("no IHDR first");
    PngHeader header;
    header.width = static_cast<int>(Be32(bytes, 16));
    header.height = static_cast<int>(Be32(bytes, 20));
    header.bitDepth = bytes[24];
    header.colourType = bytes[25];
    return header;
}

double WaveFile::Seconds() const {
    const int block = channels * bitsPerSample / 8;
    return block && sampleRate ? static_cast<double>(dataBytes) / block / sampleRate : 0;
}

WaveFile ReadWave(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12 || Id(bytes, 0) != "RIFF" || Id(bytes, 8) != "WAVE")
        return Fail<WaveFile>("not a RIFF WAVE");
    if (Le32(bytes, 4) + 8 != bytes.size()) return Fail<WaveFile>("RIFF size is wrong");
    WaveFile wave;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = Id(bytes, at);
        const uint32_t size = Le32(bytes, at + 4);
        if (at + 8 + size > bytes.size()) return Fail<WaveFile>("chunk " + id + " is cut short");
        if (id == "fmt ") {
            if (size < 16) return Fail<WaveFile>("format chunk too small");
            wave.formatChunkSize = size;
            wave.formatTag = static_cast<int>(Le16(bytes, at + 8));
            wave.channels = static_cast<int>(Le16(bytes, at + 10));
            wave.sampleRate = static_cast<int>(Le32(bytes, at + 12));
            wave.bitsPerSample = static_cast<int>(Le16(bytes, at + 22));
            const uint32_t block = Le16(bytes, at + 20);
            if (block != static_cast<uint32_t>(wave.channels * wave.bitsPerSample / 8) ||
                Le32(bytes, at + 16) != block * wave.sampleRate)
                return Fail<WaveFile>("block align or byte rate is wrong");
            if (size >= 18 && Le16(bytes, at + 24) != size - 18)
                return Fail<WaveFile>("extra-format size does not match the chunk");
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) return Fail<WaveFile>("data before the format");
            wave.dataBytes = size;
            return wave;
        } else if (haveFormat) {
            wave.chunksBeforeData.push_back(id);
        }
        at += 8 + size + (size & 1);
    }
    return Fail<WaveFile>("no data chunk");
}

Mp3Stream ReadMp3(const std::vector<uint8_t>& bytes) {
    static const int kBitRates[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                      112, 128, 160, 192, 224, 256, 320, 0};
    static const int kRates[4] = {44100, 48000, 32000, 0};
    Mp3Stream stream;
    size_t at = 0;
    if (bytes.size() >= 10 && bytes[0] == 'I' && bytes[1] == 'D' && bytes[2] == '3')
        at = 10 + (bytes[6] << 21 | bytes[7] << 14 | bytes[8] << 7 | bytes[9]);
    while (at + 4 <= bytes.size()) {
        const uint32_t header = Be32(bytes, at);
        if ((header & 0xFFFE0000u) != 0xFFFA0000u)  // sync, MPEG-1, layer III
            return Fail<Mp3Stream>("lost frame sync at byte " + std::to_string(at));
        const int bitRate = kBitRates[header >> 12 & 15];
        const int rate = kRates[header >> 10 & 3];
        if (!bitRate || !rate) return Fail<Mp3Stream>("bad frame header");
        if (stream.sampleRate && rate != stream.sampleRate)
            return Fail<Mp3Stream>("sample rate changes");
        stream.sampleRate = rate;
        const size_t length = 144000 * bitRate / rate + (header >> 9 & 1);
        if (at + length > bytes.size()) break;  // a cut last frame is not counted
        const bool mono = (header >> 6 & 3) == 3;
        const size_t tagAt = at + 4 + (mono ? 17 : 32);
        const bool info =
            tagAt + 4 <= bytes.size() && (Id(bytes, tagAt) == "Xing" || Id(bytes, tagAt) == "Info");
        if (info && stream.frames == 0 && !stream.hasInfoFrame)
            stream.hasInfoFrame = true;
        else
            ++stream.frames;
        at += length;
    }
    return stream;
}

AviFile ReadAvi(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 12 || Id(bytes, 0) != "RIFF" || Id(bytes, 8) != "AVI ")
        return Fail<AviFile>("not a RIFF AVI");
    AviFile avi;
    // The main header and the first stream header lie in the "hdrl" list near the start.
    for (size_t at = 12; at + 8 <= bytes.size() && at < 8192; ++at) {
        const std::string id = Id(bytes, at);
        if (id == "avih" && at + 8 + 40 <= bytes.size()) {
            avi.totalFrames = static_cast<int>(Le32(bytes, at + 8 + 16));
            avi.width = static_cast<int>(Le32(bytes, at + 8 + 32));
            avi.height = static_cast<int>(Le32(bytes, at + 8 + 36));
        } else if (id == "strh" && avi.streamType.empty() && at + 16 <= bytes.size()) {
            avi.streamType = Id(bytes, at + 8);
            avi.handler = Id(bytes, at + 12);
        }
    }
    if (avi.totalFrames == 0) return Fail<AviFile>("no main header");
    return avi;
}
