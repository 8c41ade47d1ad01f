// DrawSurface on the 32-bit back buffer: turned and faded, alpha at its own size, a busy frame of
// the openings, and the plain full-screen copy, against a plain memcpy of a frame (the floor).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
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

// A round, opaque picture of `width` x `height` whose edge fades out over a few pixels, and clear
// corners: the shape of the game's balls, plates and buttons.
Surface* MakeRoundedPicture(int width, int height, double cornerRadius) {
    Surface* picture = CreateImageSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // How far inside the rounded outline the pixel's centre lies, in pixels.
            const double cx = std::clamp(x + 0.5, cornerRadius, width - cornerRadius);
            const double cy = std::clamp(y + 0.5, cornerRadius, height - cornerRadius);
            const double inside = cornerRadius - std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double alpha = std::clamp(inside / 2.0, 0.0, 1.0) * 255.0;
            picture->SetPixel(x, y,
                              static_cast<uint32_t>(alpha) << 24 | (x * 4 & 0xFF) << 16 |
                                  (y * 4 & 0xFF) << 8 | 0x60);
        }
    return picture;
}

// One busy frame of the ball game's openings: 50 balls and 20 plates at their own size, a few of
// them fading, and the rotating highlight.
void BM_DrawSurfaceOpeningFrame(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    Surface* ball = MakeRoundedPicture(60, 60, 30.0);
    Surface* plate = MakeRoundedPicture(150, 40, 12.0);
    Surface* highlight = MakeRoundedPicture(100, 100, 40.0);
    float angle = 0.0f;
    for (auto _ : state) {
        for (int i = 0; i < 50; ++i)
            DrawSurface(ball, nullptr, BackBuffer, 13 * i % 740, 11 * i % 540, 1.0f, 1.0f, 0.0f, 1,
                        i % 10 == 0 ? 0.6f : 1.0f, 0.0f);
        for (int i = 0; i < 20; ++i)
            DrawSurface(plate, nullptr, BackBuffer, 31 * i % 650, 27 * i % 560, 1.0f, 1.0f, 0.0f, 1,
                        i % 5 == 0 ? 0.3f : 0.0f, 0.0f);
        angle = angle >= 357.0f ? 0.0f : angle + 3.0f;
        DrawSurface(highlight, nullptr, BackBuffer, 350, 250, 1.0f, 1.0f, angle, 1, 0.8f, 0.0f);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawSurfaceOpeningFrame)->Unit(benchmark::kMicrosecond);

// The attract screen's highlight alone: a turning picture at a changing opacity.
void BM_DrawSurfaceRotatingHighlight(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    Surface* highlight = MakeRoundedPicture(100, 100, 40.0);
    float angle = 0.0f;
    for (auto _ : state) {
        angle = angle >= 357.0f ? 0.0f : angle + 3.0f;
        benchmark::DoNotOptimize(DrawSurface(highlight, nullptr, BackBuffer, 350, 250, 1.0f, 1.0f,
                                             angle, 1, 0.2f + angle / 450.0f, 0.0f));
    }
}
BENCHMARK(BM_DrawSurfaceRotatingHighlight)->Unit(benchmark::kMicrosecond);

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
