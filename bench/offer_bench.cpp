// The offer: its price over dealt boards (the payout simulator works out millions), and one
// frame of the take-or-leave decision as the menu draws it on every pass. The frame benchmark
// needs the cabinet's pictures: run the program from a content directory (build/content).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "base/random.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/sprites.h"
#include "rules/board.h"
#include "rules/offer.h"
#include "rules/offer_calculation.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/offer_frame.h"

namespace {

// Boards after one to four rounds, the player's ball and five more balls out per round.
struct DealtBoard {
    std::vector<Ball> balls;
    int32_t prize;
    int offersMade;
};

std::vector<DealtBoard> DealBoards(int count) {
    SeedRandom(2024);
    uwPriceOfPlay = 100;
    ResetBoard();
    std::vector<DealtBoard> boards;
    for (int i = 0; i < count; ++i) {
        DealValues();
        DealtBoard board{std::vector<Ball>(axBalls, axBalls + kBallCount), 0, i % 4};
        board.balls[0].inPlay = 0;
        board.prize = board.balls[0].value;
        for (int opened = 1; opened <= 5 * (board.offersMade + 1); ++opened)
            board.balls[static_cast<size_t>(opened)].inPlay = 0;
        boards.push_back(board);
    }
    return boards;
}

void BM_OfferCalculation(benchmark::State& state) {
    const std::vector<DealtBoard> boards = DealBoards(256);
    size_t next = 0;
    for (auto _ : state) {
        const DealtBoard& board = boards[next++ % boards.size()];
        benchmark::DoNotOptimize(CalculateOffer(
            {board.balls, board.prize, static_cast<int>(next % 5), board.offersMade, 100}));
    }
}
BENCHMARK(BM_OfferCalculation);

bool EnsurePictures(benchmark::State& state) {
    static bool loaded = false;
    if (!loaded && (BackBuffer || StartDisplay())) {
        InitialiseGraphics();
        loaded = openBallLeftImage && vornaOffImage && offerBaseSprite.frameCount > 0;
    }
    if (!loaded) state.SkipWithError("no pictures here: run from the content directory");
    return loaded;
}

// One pass of the take-or-leave menu's drawing: the decision frame and a sparkle step. The
// figures include the slowest single frame.
void BM_OfferDecisionFrame(benchmark::State& state) {
    if (!EnsurePictures(state)) return;
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    AnswerClockSet(10000, 1);
    fOffer = 120.0f;
    double slowest = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        DrawOfferFrame();
        DrawSparkle(0);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        slowest = std::max(slowest, took.count());
        benchmark::ClobberMemory();
    }
    state.counters["slowest_us"] = slowest * 1e6;
}
BENCHMARK(BM_OfferDecisionFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
