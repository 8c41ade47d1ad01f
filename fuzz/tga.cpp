// The TGA reader of the image path over any bytes: it either refuses them or gives a picture
// whose pixel buffer matches its size.
#include <cstdlib>
#include <span>

#include "engines/graphics/tga_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedImage image;
    if (DecodeTga(std::span<const uint8_t>(data, size), image) != TgaResult::Ok) return 0;
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4) std::abort();
    return 0;
}
