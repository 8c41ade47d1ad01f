// A picture decoded from a file, before it becomes an image surface.
#pragma once

#include <cstdint>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;        // the picture has its own alpha channel
    std::vector<uint8_t> pixels;  // top row first, 4 bytes a pixel: blue, green, red, alpha
};
