#include "engines/graphics/surface.h"

#include <climits>
#include <new>

uint32_t Surface::PixelAt(int x, int y) const {
    const uint8_t* p = Row(y) + static_cast<size_t>(x) * bytesPerPixel;
    switch (bytesPerPixel) {
        case 4:
            return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
        case 3:
            return p[0] | p[1] << 8 | p[2] << 16;
        default:
            return p[0] | p[1] << 8;
    }
}

void Surface::SetPixel(int x, int y, uint32_t value) {
    uint8_t* p = Row(y) + static_cast<size_t>(x) * bytesPerPixel;
    for (int i = 0; i < bytesPerPixel; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

std::unique_ptr<Surface> CreateSurface(int width, int height, int bitsPerPixel) {
    if (width <= 0 || height <= 0) return nullptr;
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
    int64_t pitch = (static_cast<int64_t>(width) * (bitsPerPixel / 8) + 3) & ~int64_t{3};
    if (pitch > INT_MAX) return nullptr;

    auto surface = std::unique_ptr<Surface>(new (std::nothrow) Surface);
    if (!surface) return nullptr;
    surface->width = width;
    surface->height = height;
    surface->bytesPerPixel = bitsPerPixel / 8;
    surface->pitch = static_cast<int>(pitch);
    surface->colourKey = bitsPerPixel == 16 ? kMagentaKey16 : kMagentaKey;
    try {
        surface->pixels.assign(static_cast<size_t>(pitch) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return surface;
}
