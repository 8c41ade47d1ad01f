// The window's share of showing a frame: a whole 800 x 600 frame drawn into the window's pixels,
// unscaled (a window or cabinet screen of 800 x 600) and letter-boxed onto common cabinet screens.
// Compare with BM_PresentFrameCopyBack, a plain frame copy, in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/letter_box.h"

namespace {

void BM_LetterBoxWholeFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const platform::LetterBox box(width, height, 800, 600);
    const std::vector<uint32_t> frame(800 * 600, 0x00336699u);
    std::vector<uint32_t> window(static_cast<size_t>(width) * height);
    for (auto _ : state) {
        box.DrawRows(reinterpret_cast<const uint8_t*>(frame.data()), 800 * 4, {0, 600},
                     reinterpret_cast<uint8_t*>(window.data()), width * 4);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LetterBoxWholeFrame)
    ->Args({800, 600})
    ->Args({1024, 768})
    ->Args({1280, 1024})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
