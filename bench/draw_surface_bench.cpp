// DrawSurface on the 32-bit back buffer: turned and faded, alpha at its own size, and the plain
// full-screen copy, against a plain memcpy of a frame (the floor).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"

namespace {

// A picture with alpha ramps and a magenta corner, so every path has real work to do.
Surface* MakePicture(int width, int height) {
    Surface* picture = CreateImageSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->SetPixel(x, y, (x * 255 / width) << 24 | (y & 0xFF) << 16 | x << 8 | 0x40);
    for (int y = 0; y < height / 8; ++y)
        for (int x = 0; x < width / 8; ++x)
            picture->SetPixel(x, y, 0x00FF00FF);
    return picture;
}

bool EnsureDisplay(benchmark::State& state) {
    if (BackBuffer || StartDisplay()) return true;
    state.SkipWithError("no display");
    return false;
}

void BM_DrawSurfaceRotatedBilinearWithOpacity(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    const int side = static_cast<int>(state.range(0));
    Surface* picture = MakePicture(side, side);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            DrawSurface(picture, nullptr, BackBuffer, 300, 200, 1.0f, 1.0f, 30.0f, 1, 0.5f, 0.0f));
}
BENCHMARK(BM_DrawSurfaceRotatedBilinearWithOpacity)
    ->Arg(200)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond);

void BM_DrawSurfaceUnrotatedAlpha(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    Surface* picture = MakePicture(200, 200);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            DrawSurface(picture, nullptr, BackBuffer, 300, 200, 1.0f, 1.0f, 0.0f, 1, 1.0f, 0.0f));
}
BENCHMARK(BM_DrawSurfaceUnrotatedAlpha)->Unit(benchmark::kMicrosecond);

void BM_DrawSurfacePlainFullScreen(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    Surface* picture = MakePicture(800, 600);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            DrawSurface(picture, nullptr, BackBuffer, 0, 0, 1.0f, 1.0f, 0.0f, 0, 0.0f, 0.0f));
}
BENCHMARK(BM_DrawSurfacePlainFullScreen)->Unit(benchmark::kMicrosecond);

void BM_DrawSurfaceMemcpyFloor(benchmark::State& state) {
    std::vector<uint8_t> from(800 * 600 * 4, 1), to(800 * 600 * 4);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), from.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawSurfaceMemcpyFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
