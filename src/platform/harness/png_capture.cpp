#include "platform/harness/png_capture.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace platform {

bool WritePngCapture(const std::string& path, const uint8_t* pixels, int width, int height) {
    png_image image;
    memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;

    // The fourth byte of a display pixel is not alpha: write every pixel opaque.
    std::vector<uint32_t> opaque(static_cast<size_t>(width) * height);
    memcpy(opaque.data(), pixels, opaque.size() * sizeof(uint32_t));
    for (uint32_t& pixel : opaque)
        pixel |= 0xFF000000u;
    int ok = png_image_write_to_file(&image, path.c_str(), 0, opaque.data(), 0, nullptr);
    png_image_free(&image);
    return ok != 0;
}

}  // namespace platform
