// Prints the figures of the end-of-game sequences on the content set: how long drawing one frame
// of the swoop with the player's ball over it takes (wall time, without the frame pacing), and
// how long each whole sequence lasts in game time on the virtual clock.
//
//     end_sequence_figures [CONTENT_DIR]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "base/waits.h"
#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/video.h"
#include "platform/platform.h"
#include "screens/end_sequences.h"
#include "support/fake_credit_service.h"

namespace {

using Clock = std::chrono::steady_clock;

void AdvanceGameClock(uint32_t ms) {
    const uint32_t target = ClockMs() + ms;
    while (ClockMs() < target)
        platform::Yield();
}

// Draws every frame of the swoop once, as the sequence does, timing each.
std::vector<double> SwoopFrameTimes() {
    std::vector<double> times;
    OpenVideo("Graphic_resource/avis/Swoop.avi", 30, 0);
    DrawVideoFrame(-1, 0, 0);
    while (VideoState() == kVideoPlaying) {
        AdvanceGameClock(31);
        const Clock::time_point start = Clock::now();
        DrawVideoFrame(1, 0, 0);
        DrawBallOverVideo();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    CloseVideo();
    return times;
}

template <typename Sequence>
uint32_t GameTimeOf(Sequence sequence) {
    const uint32_t start = ClockMs();
    sequence();
    return ClockMs() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const char* content = argc > 1 ? argv[1] : CONTENT_DIR;
    if (chdir(content) != 0) {
        std::fprintf(stderr, "cannot enter %s\n", content);
        return 1;
    }
    FakeCreditService credit;
    credit.SetResponder([](const std::string& command) {
        return command.rfind("BADD", 0) == 0 ? std::string("BTEL,0\r\n") : "CTEL,0\r\n";
    });
    platform::Options options;
    options.headless = true;
    std::string error;
    if (!platform::Start(options, error) || !StartDisplay() ||
        ConnectCreditService(credit.Port()) != CreditConnectResult::Connected) {
        std::fprintf(stderr, "cannot start: %s\n", error.c_str());
        return 1;
    }
    InitialiseGraphics();

    std::vector<double> times = SwoopFrameTimes();
    if (times.empty()) {
        std::fprintf(stderr, "the swoop video has no frames\n");
        return 1;
    }
    // The first frame pays for opening the decoder; report it apart.
    const double first = times.front();
    std::sort(times.begin() + 1, times.end());
    std::printf("swoop frames drawn: %zu\n", times.size());
    std::printf("first frame (video frame + ball): %.2f ms\n", first);
    std::printf("slowest later frame: %.2f ms, median %.2f ms\n", times.back(),
                times[times.size() / 2]);
    std::printf("win sequence (5p): %u ms of game time\n", GameTimeOf([] { PlayWinSequence(5); }));
    std::printf("win sequence (2.35): %u ms of game time\n",
                GameTimeOf([] { PlayWinSequence(235); }));
    std::printf("loss sequence: %u ms of game time\n", GameTimeOf([] { PlayLossSequence(); }));

    CloseCreditService();
    ResetDisplayForTests();
    platform::Stop();
    return 0;
}
