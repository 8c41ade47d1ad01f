// Pixels of the three display formats seen through the 32-bit image layout: bytes blue, green,
// red and a fourth byte. In a register a pixel is 0xXXRRGGBB whatever the host.
#pragma once

#include <cstdint>

constexpr uint32_t kRgbMask = 0x00FFFFFF;  // the colour bits; the fourth byte is not colour

inline uint32_t LoadPixel32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void StorePixel32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

// 5-6-5 from 8-bit channels: each channel keeps its top bits.
inline uint16_t PackRgb565(uint32_t red, uint32_t green, uint32_t blue) {
    return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}

// A display pixel of `kBytes` bytes as 0x..RRGGBB. 5-6-5 channels are widened by repeating their
// top bits, so white stays white; a 32-bit pixel brings its fourth byte along.
template <int kBytes>
inline uint32_t ReadDisplayPixel(const uint8_t* p) {
    if constexpr (kBytes == 4) {
        return LoadPixel32(p);
    } else if constexpr (kBytes == 3) {
        return p[0] | p[1] << 8 | p[2] << 16;
    } else {
        uint32_t v = p[0] | p[1] << 8;
        uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
    }
}

// Writes the colour 0x..RRGGBB into a display pixel; a 32-bit pixel takes its fourth byte from
// `fourth`.
template <int kBytes>
inline void WriteDisplayPixel(uint8_t* p, uint32_t colour, uint32_t fourth = 0) {
    if constexpr (kBytes == 4) {
        StorePixel32(p, (colour & kRgbMask) | (fourth & ~kRgbMask));
    } else if constexpr (kBytes == 3) {
        p[0] = static_cast<uint8_t>(colour);
        p[1] = static_cast<uint8_t>(colour >> 8);
        p[2] = static_cast<uint8_t>(colour >> 16);
    } else {
        uint16_t v = PackRgb565(colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF);
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
    }
}

// x / 255 rounded to nearest, for x from 0 to 255 x 255.
inline uint32_t DivideBy255(uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// The same for the two channels at bits 0-15 and 16-31 of one word, each at most 255 x 255.
inline uint32_t DivideBy255Pair(uint32_t pair) {
    pair += 0x00800080;
    return (pair + (pair >> 8 & 0x00FF00FF)) >> 8 & 0x00FF00FF;
}
