#include "engines/graphics/tga_reader.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr size_t kHeaderBytes = 18;
constexpr size_t kBytesPerPixel = 4;
constexpr size_t kLongestPacket = 128;  // pixels
constexpr size_t kShortestPacketBytes = 1 + kBytesPerPixel;
constexpr uint8_t kUncompressedHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kRunLengthHeader[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

bool StartsWith(std::span<const uint8_t> bytes, const uint8_t (&header)[12]) {
    return std::equal(std::begin(header), std::end(header), bytes.begin());
}

// Run-length packets into `out` in stored order, until exactly `pixelCount` pixels are written.
TgaResult DecodeRunLength(std::span<const uint8_t> data, size_t pixelCount, uint8_t* out) {
    size_t written = 0, at = 0;
    while (written < pixelCount) {
        if (at >= data.size()) return TgaResult::UnknownFormat;
        const uint8_t packet = data[at++];
        const bool run = packet >= 128;
        const size_t count = run ? packet - 127u : packet + 1u;
        if (count > pixelCount - written) return TgaResult::Overrun;
        const size_t packetBytes = run ? kBytesPerPixel : count * kBytesPerPixel;
        if (data.size() - at < packetBytes) return TgaResult::UnknownFormat;
        uint8_t* to = out + written * kBytesPerPixel;
        if (run) {
            for (size_t i = 0; i < count; ++i)
                memcpy(to + i * kBytesPerPixel, &data[at], 4);
        } else {
            memcpy(to, &data[at], packetBytes);
        }
        at += packetBytes;
        written += count;
    }
    return TgaResult::Ok;
}

// The stored rows run from the bottom of the picture up: turn them over.
void FlipRows(DecodedImage& image) {
    const size_t rowBytes = static_cast<size_t>(image.width) * kBytesPerPixel;
    for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(image.pixels.begin() + top * rowBytes,
                         image.pixels.begin() + (top + 1) * rowBytes,
                         image.pixels.begin() + bottom * rowBytes);
}

}  // namespace

TgaResult DecodeTga(std::span<const uint8_t> bytes, DecodedImage& image) {
    if (bytes.size() < kHeaderBytes) return TgaResult::UnknownFormat;
    image.width = bytes[12] | bytes[13] << 8;
    image.height = bytes[14] | bytes[15] << 8;
    image.hasAlpha = true;
    if (bytes[16] != 32) return TgaResult::NotThirtyTwoBit;
    const bool uncompressed = StartsWith(bytes, kUncompressedHeader);
    if (!uncompressed && !StartsWith(bytes, kRunLengthHeader)) return TgaResult::UnknownFormat;

    // A file too short for its pixels is refused before anything is allocated for them.
    const std::span<const uint8_t> data = bytes.subspan(kHeaderBytes);
    const size_t pixelCount = static_cast<size_t>(image.width) * image.height;
    const size_t mostPixels = uncompressed ? data.size() / kBytesPerPixel
                                           : data.size() / kShortestPacketBytes * kLongestPacket;
    if (pixelCount > mostPixels) return TgaResult::UnknownFormat;

    try {
        image.pixels.assign(pixelCount * kBytesPerPixel, 0);
    } catch (const std::bad_alloc&) {
        return TgaResult::OutOfMemory;
    }
    if (uncompressed) {
        std::copy_n(data.begin(), pixelCount * kBytesPerPixel, image.pixels.begin());
    } else {
        TgaResult result = DecodeRunLength(data, pixelCount, image.pixels.data());
        if (result != TgaResult::Ok) return result;
    }
    FlipRows(image);
    return TgaResult::Ok;
}
