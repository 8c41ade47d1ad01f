// Picture files made byte by byte for the reader and loader tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Append32(Bytes& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A TGA header: image type 2 (uncompressed) or 10 (run-length), the size, the depth and the
// descriptor byte, then `payload`.
inline Bytes Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, const Bytes& payload,
                 uint8_t descriptor = 8) {
    Bytes bytes = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (uint16_t value : {width, height}) {
        bytes.push_back(static_cast<uint8_t>(value));
        bytes.push_back(static_cast<uint8_t>(value >> 8));
    }
    bytes.push_back(depth);
    bytes.push_back(descriptor);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

// Pixels as the bytes blue, green, red, alpha, one value each.
inline Bytes Pixels(std::initializer_list<uint32_t> pixels) {
    Bytes bytes;
    for (uint32_t pixel : pixels)
        Append32(bytes, pixel);
    return bytes;
}

// A PNG written by libpng from rows of bytes in the given format (PNG_FORMAT_BGRA,
// PNG_FORMAT_BGR, ...).
inline Bytes Png(int width, int height, uint32_t format, const Bytes& pixels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = format;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    Bytes bytes(size);
    png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr);
    bytes.resize(size);
    return bytes;
}

// A PNG of 16 bits a channel, as editors save one "at 16 bits" (no gamma chunk), or with a gAMA
// chunk naming linear light (as libpng's own simplified writer marks 16-bit files). `colourType`
// is PNG_COLOR_TYPE_RGB, _RGB_ALPHA or _GRAY; samples are the channels in order, row by row.
inline Bytes Png16(int width, int height, int colourType, const std::vector<uint16_t>& samples,
                   bool linearGammaChunk = false) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes bytes;
    png_set_write_fn(
        png, &bytes,
        [](png_structp writer, png_bytep data, size_t size) {
            auto* out = static_cast<Bytes*>(png_get_io_ptr(writer));
            out->insert(out->end(), data, data + size);
        },
        nullptr);
    png_set_IHDR(png, info, width, height, 16, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (linearGammaChunk) png_set_gAMA_fixed(png, info, PNG_FP_1);
    png_write_info(png, info);
    const size_t channels = samples.size() / (static_cast<size_t>(width) * height);
    Bytes row;
    for (int y = 0; y < height; ++y) {
        row.clear();
        for (size_t i = 0; i < width * channels; ++i) {
            const uint16_t sample = samples[y * width * channels + i];
            row.push_back(static_cast<uint8_t>(sample >> 8));  // PNG samples are big-endian
            row.push_back(static_cast<uint8_t>(sample));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

// A BMP with a 40-byte information header; rows are given as stored, padding included.
inline Bytes Bmp(int32_t width, int32_t height, uint16_t bitsPerPixel, const Bytes& rows,
                 uint32_t compression = 0) {
    Bytes bytes = {'B', 'M'};
    Append32(bytes, static_cast<uint32_t>(54 + rows.size()));
    Append32(bytes, 0);
    Append32(bytes, 54);
    Append32(bytes, 40);
    Append32(bytes, static_cast<uint32_t>(width));
    Append32(bytes, static_cast<uint32_t>(height));
    bytes.push_back(1), bytes.push_back(0);
    bytes.push_back(static_cast<uint8_t>(bitsPerPixel)), bytes.push_back(0);
    Append32(bytes, compression);
    for (int i = 0; i < 5; ++i)
        Append32(bytes, 0);
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    return bytes;
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}
