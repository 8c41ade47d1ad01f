// Whole-frame work of the screens: the copy back after presenting, the full-screen fade and layer
// copy, and a three-line text. Compare each with the memcpy floor of draw_surface_bench.cpp,
// measured in the same run. The text benchmark needs the cabinet's fonts: run the program from a
// content directory (build/content).
#include <benchmark/benchmark.h>

#include <string>

#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"

namespace {

constexpr ClipBox kFullScreen{0, 800, 0, 600};

bool EnsureDisplay(benchmark::State& state) {
    if (BackBuffer || StartDisplay()) return true;
    state.SkipWithError("no display");
    return false;
}

// A frame with something on every row, so fades and keyed copies do real work.
void PaintBackBuffer() {
    for (int y = 0; y < 600; y += 20)
        FillBackBufferRect(0, y, 800, y + 10, 0x00102030u + static_cast<uint32_t>(y));
}

// What PresentFrame does after showing a frame: the next frame starts from a copy of the one shown.
void BM_PresentFrameCopyBack(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    PaintBackBuffer();
    PrimarySurface->pixels = BackBuffer->pixels;
    for (auto _ : state) {
        BackBuffer->pixels = PrimarySurface->pixels;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PresentFrameCopyBack)->Unit(benchmark::kMicrosecond);

void BM_CrossFadeFullScreen(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    PaintBackBuffer();
    SaveToLayer(0, 0, 0, 800, 600);
    SaveToLayer(1, 0, 0, 800, 600);
    CaptureLayer(0, &kFullScreen);
    CaptureLayer(1, &kFullScreen);
    const bool keyed = state.range(0) != 0;
    for (auto _ : state) {
        CrossFade(50, &kFullScreen, keyed);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CrossFadeFullScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DrawLayerFullScreen(benchmark::State& state) {
    if (!EnsureDisplay(state)) return;
    PaintBackBuffer();
    SaveToLayer(0, 0, 0, 800, 600);
    const int keyMode = static_cast<int>(state.range(0));
    for (auto _ : state) {
        DrawLayer(0, 0, 0, keyMode, 0, 0, 800, 600);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawLayerFullScreen)->Arg(0)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// 96 glyphs of the pot font laid out in a 780 x 300 box: three lines of the shipped font.
void BM_FontTextThreeLines(benchmark::State& state) {
    constexpr int kTextBoxWidth = 780;
    if (!EnsureDisplay(state)) return;
    static bool loaded = false;
    if (!loaded) {
        LoadSprite(fontSprites[1], kFontFileIds[1], 96);
        loaded = BackBuffer != nullptr && fontSprites[1].frameCount == 96;
    }
    if (!loaded) {
        state.SkipWithError("no fonts here: run from the content directory");
        return;
    }
    std::string text;
    for (int i = 0; i < 96; ++i)
        text += (i % 8 == 7) ? ' ' : static_cast<char>('A' + i % 26);
    TextLayout layout;
    LayOutText(text, FontGlyphWidths(kFontFileIds[1]), kTextBoxWidth, layout);
    state.counters["lines"] = layout.breaks + 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            DrawFontText(text.c_str(), 10, 100, kTextBoxWidth, 300, kFontFileIds[1]));
}
BENCHMARK(BM_FontTextThreeLines)->Unit(benchmark::kMicrosecond);

}  // namespace
