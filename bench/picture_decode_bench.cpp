// Decoding a screen-sized picture, as the first draw of a sprite or a start-up image load pays
// for it: a 24-bit sprite bitmap into the display's depth, the same picture run-length encoded
// at 8 bits on the image path, and a 16-bit PNG.
#include <benchmark/benchmark.h>

#include <png.h>

#include <memory>
#include <vector>

#include "engines/graphics/image_codecs.h"
#include "engines/graphics/sprite_files.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The file and information headers of a bitmap of the screen's size.
std::vector<uint8_t> BitmapHeaders(uint16_t bits, uint32_t compression, uint32_t paletteBytes,
                                   uint32_t pixelBytes) {
    std::vector<uint8_t> bytes = {'B', 'M'};
    Put32(bytes, 54 + paletteBytes + pixelBytes);
    Put32(bytes, 0);
    Put32(bytes, 54 + paletteBytes);
    Put32(bytes, 40);
    Put32(bytes, kWidth);
    Put32(bytes, kHeight);
    bytes.insert(bytes.end(), {1, 0, static_cast<uint8_t>(bits), 0});
    Put32(bytes, compression);
    Put32(bytes, pixelBytes);
    for (int i = 0; i < 4; ++i)
        Put32(bytes, 0);
    return bytes;
}

// Bands of colour a few dozen pixels wide, like a menu background.
uint8_t Band(int x, int y) {
    return static_cast<uint8_t>((x / 40 + y / 30) % 200);
}

std::vector<uint8_t> SpriteBitmap() {
    std::vector<uint8_t> bytes = BitmapHeaders(24, 0, 0, kWidth * kHeight * 3);
    for (int y = kHeight - 1; y >= 0; --y)
        for (int x = 0; x < kWidth; ++x)
            bytes.insert(bytes.end(), {Band(x, y), static_cast<uint8_t>(y), 90});
    return bytes;
}

std::vector<uint8_t> RunLengthBitmap() {
    std::vector<uint8_t> data;
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth;) {
            int run = 1;
            while (x + run < kWidth && run < 255 && Band(x + run, y) == Band(x, y))
                ++run;
            data.insert(data.end(), {static_cast<uint8_t>(run), Band(x, y)});
            x += run;
        }
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    std::vector<uint8_t> bytes = BitmapHeaders(8, 1, 1024, static_cast<uint32_t>(data.size()));
    for (int i = 0; i < 256; ++i)
        Put32(bytes, static_cast<uint32_t>(i * 0x010203));
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

std::vector<uint8_t> SixteenBitPng() {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = PNG_FORMAT_LINEAR_RGB_ALPHA;
    std::vector<uint16_t> samples;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            samples.insert(samples.end(), {static_cast<uint16_t>(Band(x, y) * 257),
                                           static_cast<uint16_t>(y * 100), 30000, 65535});
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, samples.data(), 0, nullptr);
    std::vector<uint8_t> bytes(size);
    png_image_write_to_memory(&image, bytes.data(), &size, 0, samples.data(), 0, nullptr);
    bytes.resize(size);
    return bytes;
}

void BM_DecodeSpriteBitmap(benchmark::State& state) {
    const std::vector<uint8_t> bytes = SpriteBitmap();
    for (auto _ : state) {
        std::unique_ptr<Surface> picture;
        benchmark::DoNotOptimize(
            DecodeSpriteFile(bytes, kSpriteBmp, static_cast<int>(state.range(0)), picture));
    }
}
BENCHMARK(BM_DecodeSpriteBitmap)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

void BM_DecodePicture(benchmark::State& state) {
    const std::vector<uint8_t> bytes = state.range(0) == 0 ? RunLengthBitmap() : SixteenBitPng();
    for (auto _ : state) {
        DecodedImage image;
        benchmark::DoNotOptimize(DecodePicture(bytes, image));
    }
}
// 0: RLE8 bitmap, 1: 16-bit PNG with alpha.
BENCHMARK(BM_DecodePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
