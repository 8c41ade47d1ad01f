// A surface is a picture in CPU memory: the screen, its work layers, sprites and images all use
// it. Pixels are little-endian in the display's format: 32 bits as bytes blue, green, red and a
// fourth byte (alpha for TGA images), 24 bits as blue, green, red, 16 bits as 5-6-5.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <vector>

constexpr uint32_t kMagentaKey = 0x00FF00FF;  // the colour key at 24 and 32 bits
constexpr uint32_t kMagentaKey16 = 0xF81F;    // the colour key at 16 bits

// A rectangle of a surface: left and top inside, right and bottom outside.
struct ImageRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

struct Surface {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;
    int pitch = 0;  // bytes from one row to the next
    uint32_t colourKey = kMagentaKey;
    std::vector<uint8_t> pixels;
    // Rows [writtenFirst, writtenEnd) may have been written since ForgetWrittenRows: every
    // write takes its row from the non-const Row(), one row at a time, which notes it. The
    // screen uses this to compare only the rows a frame's drawing wrote with the frame shown.
    int writtenFirst = 0;
    int writtenEnd = INT_MAX;

    uint8_t* Row(int y) {
        NoteWrittenRows(y, y + 1);
        return pixels.data() + static_cast<size_t>(y) * pitch;
    }
    const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * pitch; }
    void NoteWrittenRows(int first, int end) {
        if (first >= end) return;
        writtenFirst = std::min(writtenFirst, first);
        writtenEnd = std::max(writtenEnd, end);
    }
    void ForgetWrittenRows() {
        writtenFirst = INT_MAX;
        writtenEnd = 0;
    }
    // The pixel value at (x, y) in the surface's own format (no bounds check).
    uint32_t PixelAt(int x, int y) const;
    void SetPixel(int x, int y, uint32_t value);
};

// A zero-filled surface of 16, 24 or 32 bits a pixel, keyed with that depth's magenta; rows are
// padded to whole 4-byte words. Null when the size or depth is unusable or memory runs out.
std::unique_ptr<Surface> CreateSurface(int width, int height, int bitsPerPixel);
