#include "engines/graphics/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <new>
#include <vector>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kCoreHeaderBytes = 12;          // OS/2 1.x: 16-bit sides, 3-byte palette entries
constexpr uint32_t kShortestInfoHeaderBytes = 16;  // the shortest OS/2 2.x header
constexpr uint32_t kOs2InfoHeaderBytes = 64;       // OS/2 2.x, whose compression 3 is Huffman
constexpr size_t kMasksAt = kFileHeaderBytes + 40;
constexpr int kLongestSide = 32767;

// A run-length picture can claim far more pixels than its bytes (a jump, or the end of the
// picture, leaves the rest blank). Real ones stay well inside this many pixels per byte of data
// (a run gives at most 255 pixels for two bytes, an end of line a row up to 2048 wide), or this
// many in all, so a forged header cannot make the reader allocate gigabytes.
constexpr uint64_t kRunLengthPixelsPerByte = 1024;
constexpr uint64_t kRunLengthPixelsAlways = uint64_t{1} << 16;

enum Compression : uint32_t {
    kUncompressed = 0,
    kRunLength8 = 1,
    kRunLength4 = 2,
    kColourMasks = 3,
    kColourAndAlphaMasks = 6,
};

// Where the red, green and blue of a 16- or 32-bit pixel lie, and how wide each is.
struct ChannelMask {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t largest = 0;  // the channel's value at full strength (mask >> shift)

    explicit ChannelMask(uint32_t bits = 0) : mask(bits) {
        if (!bits) return;
        shift = std::countr_zero(bits);
        largest = bits >> shift;
    }
    // The channel scaled to 0..255.
    uint8_t Of(uint32_t pixel) const {
        if (!largest) return 0;
        const uint64_t value = (pixel & mask) >> shift;
        return static_cast<uint8_t>((value * 255 + largest / 2) / largest);
    }
};

struct Colour {
    uint8_t blue = 0, green = 0, red = 0;
};

struct Layout {
    uint32_t headerBytes = 0;
    int width = 0;
    int rows = 0;
    bool topDown = false;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = kUncompressed;
    uint32_t coloursUsed = 0;
    size_t pixelOffset = 0;
    ChannelMask red, green, blue;
    std::vector<Colour> palette;
};

uint16_t Read16(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t Read32(std::span<const uint8_t> bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

// A 32-bit field of the information header, or 0 when a shorter header leaves it out.
uint32_t HeaderField(std::span<const uint8_t> bytes, const Layout& layout, size_t at) {
    return at + 4 <= kFileHeaderBytes + layout.headerBytes ? Read32(bytes, at) : 0;
}

bool SideFits(int64_t side) {
    return side >= 1 && side <= kLongestSide;
}

BmpStatus ReadSides(std::span<const uint8_t> bytes, Layout& layout) {
    if (bytes.size() < kFileHeaderBytes + 4 || bytes[0] != 'B' || bytes[1] != 'M')
        return BmpStatus::Malformed;
    layout.headerBytes = Read32(bytes, 14);
    int64_t width = 0, height = 0;
    if (layout.headerBytes == kCoreHeaderBytes && bytes.size() >= 22) {
        width = Read16(bytes, 18);
        height = Read16(bytes, 20);
    } else if (layout.headerBytes >= kShortestInfoHeaderBytes && bytes.size() >= 26) {
        width = static_cast<int32_t>(Read32(bytes, 18));
        height = static_cast<int32_t>(Read32(bytes, 22));
    } else {
        return BmpStatus::Malformed;
    }
    // A negative height stores the rows from the top down.
    layout.topDown = height < 0;
    if (!SideFits(width) || !SideFits(height < 0 ? -height : height)) return BmpStatus::Malformed;
    layout.width = static_cast<int>(width);
    layout.rows = static_cast<int>(height < 0 ? -height : height);
    return BmpStatus::Ok;
}

// The palette of a picture of 8 bits or fewer: entries that the file does not hold are black.
void ReadPalette(std::span<const uint8_t> bytes, Layout& layout) {
    const bool core = layout.headerBytes == kCoreHeaderBytes;
    const size_t entryBytes = core ? 3 : 4;
    const size_t start = kFileHeaderBytes + layout.headerBytes;
    const size_t possible = size_t{1} << layout.bitsPerPixel;
    size_t count =
        layout.coloursUsed && layout.coloursUsed < possible ? layout.coloursUsed : possible;
    const size_t end = std::min(layout.pixelOffset, bytes.size());
    count = std::min(count, end > start ? (end - start) / entryBytes : 0);
    layout.palette.resize(possible);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes.data() + start + i * entryBytes;
        layout.palette[i] = Colour{entry[0], entry[1], entry[2]};
    }
}

BmpStatus ReadMasks(std::span<const uint8_t> bytes, Layout& layout) {
    uint32_t red = 0, green = 0, blue = 0;
    if (layout.compression == kColourMasks || layout.compression == kColourAndAlphaMasks) {
        // After the 40-byte header, or inside a longer one at the same place.
        if (bytes.size() < kMasksAt + 12) return BmpStatus::Malformed;
        red = Read32(bytes, kMasksAt);
        green = Read32(bytes, kMasksAt + 4);
        blue = Read32(bytes, kMasksAt + 8);
    } else if (layout.bitsPerPixel == 16) {
        red = 0x7C00, green = 0x03E0, blue = 0x001F;
    } else {
        red = 0xFF0000, green = 0xFF00, blue = 0xFF;
    }
    layout.red = ChannelMask(red);
    layout.green = ChannelMask(green);
    layout.blue = ChannelMask(blue);
    return BmpStatus::Ok;
}

bool DepthSuitsCompression(const Layout& layout) {
    const uint32_t bits = layout.bitsPerPixel;
    switch (layout.compression) {
        case kUncompressed:
            return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case kRunLength8:
            return bits == 8 && !layout.topDown;
        case kRunLength4:
            return bits == 4 && !layout.topDown;
        case kColourMasks:
        case kColourAndAlphaMasks:
            return bits == 16 || bits == 32;
        default:
            return false;
    }
}

BmpStatus ReadLayout(std::span<const uint8_t> bytes, Layout& layout) {
    if (BmpStatus status = ReadSides(bytes, layout); status != BmpStatus::Ok) return status;
    const bool core = layout.headerBytes == kCoreHeaderBytes;
    if (layout.headerBytes > bytes.size() - kFileHeaderBytes) return BmpStatus::Malformed;
    layout.bitsPerPixel = core ? Read16(bytes, 24) : Read16(bytes, 28);
    layout.compression = core ? kUncompressed : HeaderField(bytes, layout, 30);
    layout.coloursUsed = core ? 0 : HeaderField(bytes, layout, 46);
    layout.pixelOffset = Read32(bytes, 10);
    if (layout.pixelOffset < kFileHeaderBytes + layout.headerBytes ||
        layout.pixelOffset > bytes.size())
        return BmpStatus::Malformed;
    if (layout.headerBytes == kOs2InfoHeaderBytes && layout.compression >= kColourMasks)
        return BmpStatus::Unsupported;  // OS/2 Huffman and 24-bit run-length pictures
    if (layout.compression > kRunLength4 && layout.compression != kColourMasks &&
        layout.compression != kColourAndAlphaMasks)
        return BmpStatus::Unsupported;  // a JPEG or PNG inside
    if (!DepthSuitsCompression(layout)) return BmpStatus::Malformed;
    if (layout.bitsPerPixel <= 8) {
        ReadPalette(bytes, layout);
        return BmpStatus::Ok;
    }
    return ReadMasks(bytes, layout);
}

bool Allocate(std::vector<uint8_t>& buffer, size_t bytes) {
    try {
        buffer.assign(bytes, 0);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void PutColour(uint8_t* pixel, Colour colour) {
    pixel[0] = colour.blue;
    pixel[1] = colour.green;
    pixel[2] = colour.red;
}

// One stored row of an uncompressed picture of a depth other than 24 bits as blue, green and red.
void DecodeRow(const uint8_t* stored, const Layout& layout, uint8_t* out) {
    const int width = layout.width;
    const uint32_t bits = layout.bitsPerPixel;
    if (bits <= 8) {
        // Palette indices, the leftmost pixel in the highest bits of each byte.
        const unsigned mask = (1u << bits) - 1;
        for (int x = 0; x < width; ++x, out += 3) {
            const size_t bit = static_cast<size_t>(x) * bits;
            PutColour(out, layout.palette[(stored[bit / 8] >> (8 - bits - bit % 8)) & mask]);
        }
        return;
    }
    const int bytesPerPixel = static_cast<int>(bits / 8);
    for (int x = 0; x < width; ++x, stored += bytesPerPixel, out += 3) {
        uint32_t value = stored[0] | stored[1] << 8;
        if (bytesPerPixel == 4) value |= stored[2] << 16 | static_cast<uint32_t>(stored[3]) << 24;
        PutColour(out, Colour{layout.blue.Of(value), layout.green.Of(value), layout.red.Of(value)});
    }
}

BmpStatus DecodeUncompressed(std::span<const uint8_t> bytes, const Layout& layout,
                             BitmapSink& sink) {
    const uint64_t rowBits = static_cast<uint64_t>(layout.width) * layout.bitsPerPixel;
    const uint64_t stride = (rowBits + 31) / 32 * 4;  // rows are padded to whole 4-byte words
    // The last row may lack its padding.
    const uint64_t needed = stride * (layout.rows - 1) + (rowBits + 7) / 8;
    if (needed > bytes.size() - layout.pixelOffset) return BmpStatus::Malformed;
    std::vector<uint8_t> row;
    if (!Allocate(row, static_cast<size_t>(layout.width) * 3) ||
        !sink.Begin(layout.width, layout.rows))
        return BmpStatus::OutOfMemory;
    for (int stored = 0; stored < layout.rows; ++stored) {
        const uint8_t* pixels = bytes.data() + layout.pixelOffset + stride * stored;
        // 24-bit rows are stored as the sink takes them: no copy.
        if (layout.bitsPerPixel != 24) {
            DecodeRow(pixels, layout, row.data());
            pixels = row.data();
        }
        sink.Row(layout.topDown ? stored : layout.rows - 1 - stored, pixels);
    }
    return BmpStatus::Ok;
}

// Palette indices of a run-length picture, bottom row first. Pixels the data never reaches (after
// an end of line, a jump or the end of the picture) keep index 0.
class RunLengthIndices {
  public:
    RunLengthIndices(const Layout& layout, std::vector<uint8_t>& indices)
        : width_(layout.width), rows_(layout.rows), indices_(indices) {}

    void Put(uint8_t index) {
        if (x_ < width_ && y_ < rows_) indices_[static_cast<size_t>(y_) * width_ + x_] = index;
        ++x_;
    }
    void NextLine() {
        x_ = 0;
        ++y_;
    }
    void Jump(int right, int up) {
        x_ += right;
        y_ += up;
    }
    void End() { y_ = rows_; }
    bool Done() const { return y_ >= rows_; }

  private:
    int64_t width_, rows_;
    int64_t x_ = 0, y_ = 0;
    std::vector<uint8_t>& indices_;
};

// Each packet is two bytes: a count and a value (a run of the value, or with RLE4 of its two
// nibbles in turn), or 0 and an escape: 0 ends the line, 1 the picture, 2 jumps right and up by
// the next two bytes, and 3 or more introduces that many literal pixels, padded to a whole word.
// A packet cut short by the end of the file is a damaged file; running out between packets ends
// the picture, as some writers leave out the closing escape.
bool DecodeRunLength(std::span<const uint8_t> bytes, const Layout& layout,
                     std::vector<uint8_t>& indices) {
    const bool fourBits = layout.compression == kRunLength4;
    auto pixelOf = [fourBits](uint8_t value, unsigned i) -> uint8_t {
        if (!fourBits) return value;
        return i % 2 == 0 ? value >> 4 : value & 15;
    };
    RunLengthIndices out(layout, indices);
    size_t at = layout.pixelOffset;
    while (!out.Done() && bytes.size() - at >= 2) {
        const uint8_t count = bytes[at], value = bytes[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                out.Put(pixelOf(value, i));
        } else if (value == 0) {
            out.NextLine();
        } else if (value == 1) {
            out.End();
        } else if (value == 2) {
            if (bytes.size() - at < 2) return false;
            out.Jump(bytes[at], bytes[at + 1]);
            at += 2;
        } else {
            const size_t literalBytes = fourBits ? (value + 1u) / 2 : value;
            if (bytes.size() - at < literalBytes) return false;
            for (unsigned i = 0; i < value; ++i)
                out.Put(pixelOf(bytes[at + (fourBits ? i / 2 : i)], i));
            at += std::min(literalBytes + literalBytes % 2, bytes.size() - at);
        }
    }
    return true;
}

BmpStatus DecodeRunLengthPicture(std::span<const uint8_t> bytes, const Layout& layout,
                                 BitmapSink& sink) {
    const uint64_t pixels = static_cast<uint64_t>(layout.width) * layout.rows;
    const uint64_t dataBytes = bytes.size() - layout.pixelOffset;
    if (pixels > std::max(kRunLengthPixelsAlways, dataBytes * kRunLengthPixelsPerByte))
        return BmpStatus::Malformed;
    std::vector<uint8_t> indices, row;
    if (!Allocate(indices, pixels) || !Allocate(row, static_cast<size_t>(layout.width) * 3))
        return BmpStatus::OutOfMemory;
    if (!DecodeRunLength(bytes, layout, indices)) return BmpStatus::Malformed;
    if (!sink.Begin(layout.width, layout.rows)) return BmpStatus::OutOfMemory;
    for (int stored = 0; stored < layout.rows; ++stored) {
        const uint8_t* index = indices.data() + static_cast<size_t>(stored) * layout.width;
        for (int x = 0; x < layout.width; ++x)
            PutColour(row.data() + 3 * x, layout.palette[index[x]]);
        sink.Row(layout.rows - 1 - stored, row.data());
    }
    return BmpStatus::Ok;
}

// A whole picture in memory, top row first.
class ImageSink : public BitmapSink {
  public:
    explicit ImageSink(DecodedImage& image) : image_(image) {}
    bool Begin(int width, int height) override {
        image_.width = width;
        image_.height = height;
        image_.hasAlpha = false;
        return Allocate(image_.pixels, static_cast<size_t>(width) * height * 4);
    }
    void Row(int y, const uint8_t* pixels) override {
        uint8_t* out = image_.pixels.data() + static_cast<size_t>(y) * image_.width * 4;
        for (int x = 0; x < image_.width; ++x, pixels += 3, out += 4) {
            std::copy_n(pixels, 3, out);
            out[3] = 255;
        }
    }

  private:
    DecodedImage& image_;
};

}  // namespace

BmpStatus ReadBmpSize(std::span<const uint8_t> bytes, int& width, int& height) {
    Layout layout;
    if (BmpStatus status = ReadSides(bytes, layout); status != BmpStatus::Ok) return status;
    width = layout.width;
    height = layout.rows;
    return BmpStatus::Ok;
}

BmpStatus DecodeBitmap(std::span<const uint8_t> bytes, BitmapSink& sink) {
    Layout layout;
    if (BmpStatus status = ReadLayout(bytes, layout); status != BmpStatus::Ok) return status;
    const bool runLength = layout.compression == kRunLength8 || layout.compression == kRunLength4;
    return runLength ? DecodeRunLengthPicture(bytes, layout, sink)
                     : DecodeUncompressed(bytes, layout, sink);
}

BmpStatus DecodeBitmap(std::span<const uint8_t> bytes, DecodedImage& image) {
    ImageSink sink(image);
    const BmpStatus status = DecodeBitmap(bytes, sink);
    if (status != BmpStatus::Ok) image.pixels.clear();
    return status;
}
