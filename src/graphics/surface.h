// A surface is a picture in CPU memory: the screen, its work layers, sprites and images all use
// it. Pixels are little-endian in the display's format: 32 bits as bytes blue, green, red and a
// fourth byte (alpha for TGA images), 24 bits as blue, green, red, 16 bits as 5-6-5.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

constexpr uint32_t kMagentaKey = 0x00FF00FF;    // the colour key at 24 and 32 bits
constexpr uint32_t kMagentaKey16 = 0xF81F;      // the colour key at 16 bits

struct Surface {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 4;
    int pitch = 0;  // bytes from one row to the next
    uint32_t colourKey = kMagentaKey;
    std::vector<uint8_t> pixels;

    uint8_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * pitch; }
    const uint8_t* Row(int y) const { return pixels.data() + static_cast<size_t>(y) * pitch; }
    // The pixel value at (x, y) in the surface's own format (no bounds check).
    uint32_t PixelAt(int x, int y) const;
    void SetPixel(int x, int y, uint32_t value);
};

// A zero-filled surface; null when the size is not positive or memory runs out.
std::unique_ptr<Surface> CreateSurface(int width, int height, int bitsPerPixel);
