// Saves a presented 800 x 600 frame as a PNG file (harness captures).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// `pixels` holds width x height 32-bit pixels (bytes blue, green, red, unused), rows packed.
bool WritePngCapture(const std::string& path, const uint8_t* pixels, int width, int height);

}  // namespace platform
