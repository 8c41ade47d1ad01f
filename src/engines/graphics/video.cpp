#include "engines/graphics/video.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "base/waits.h"
#include "engines/graphics/display.h"
#include "engines/graphics/video_reader.h"
#include "platform/host_path.h"

namespace {

struct Playback {
    VideoReader reader;
    int32_t state = kVideoPlaying;
    int32_t position = 0;  // a frame number of the video stream
    uint32_t intervalMs = 0;
    bool advanceAtOnce = true;  // the first step is taken on the first draw
    uint32_t nextAdvance = 0;   // otherwise: clock time after which the next step may be taken
};

Playback& ThePlayback() {
    static Playback playback;
    return playback;
}

// True once the clock is past the next-advance time. Compared as a difference, so the moment the
// 32-bit clock wraps does not hold the animation up for 49 days.
bool AdvanceDue(const Playback& playback, uint32_t now) {
    return playback.advanceAtOnce || !ClockReached(playback.nextAdvance, now);
}

void DrawPicture(const VideoPicture& picture, int x, int y) {
    Surface* screen = BackBuffer;
    if (!screen || picture.bytesPerPixel != screen->bytesPerPixel) return;
    const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} + picture.width, screen->width);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + picture.height, screen->height);
    if (left >= right || top >= bottom) return;
    const size_t bytes = static_cast<size_t>(right - left) * picture.bytesPerPixel;
    for (int64_t row = top; row < bottom; ++row) {
        const uint8_t* from = picture.pixels.data() + static_cast<size_t>(row - y) * picture.pitch +
                              static_cast<size_t>(left - x) * picture.bytesPerPixel;
        memcpy(screen->Row(static_cast<int>(row)) + left * picture.bytesPerPixel, from, bytes);
    }
}

}  // namespace

int OpenVideo(const char* fileName, uint32_t intervalMs, int) {
    Playback& playback = ThePlayback();
    if (playback.reader.Open(platform::HostPath(fileName)) != VideoReader::OpenResult::Opened)
        return -1;
    playback.state = kVideoPlaying;
    playback.position = 0;
    playback.intervalMs = intervalMs;
    playback.advanceAtOnce = true;
    return 0;
}

int DrawVideoFrame(int step, int x, int y) {
    Playback& playback = ThePlayback();
    if (step < 0) {
        playback.state = kVideoPlaying;
        playback.position = 0;
        playback.advanceAtOnce = true;
        step = 0;
    }
    const uint32_t now = ClockMs();
    if (playback.state == kVideoPlaying && AdvanceDue(playback, now)) {
        playback.position =
            static_cast<int32_t>(std::min<int64_t>(int64_t{playback.position} + step, INT32_MAX));
        playback.nextAdvance = now + playback.intervalMs;
        playback.advanceAtOnce = false;
    }
    const int bytesPerPixel = BackBuffer ? BackBuffer->bytesPerPixel : 4;
    if (!playback.reader.Fetch(playback.position, bytesPerPixel)) {
        // Past the end (or nothing to show): the video has ended and its last frame stays.
        playback.state = kVideoEnded;
        if (!playback.reader.Fetch(int64_t{playback.position} - step, bytesPerPixel)) return 0;
    }
    DrawPicture(playback.reader.Current(), x, y);
    return 0;
}

int VideoState() {
    return ThePlayback().state;
}

int CloseVideo() {
    Playback& playback = ThePlayback();
    playback.reader.Close();
    playback.state = kVideoClosed;
    return 0;
}

void ForgetVideo() {
    Playback& playback = ThePlayback();
    playback.reader.Close();
    const Playback fresh;
    playback.state = fresh.state;
    playback.position = fresh.position;
    playback.intervalMs = fresh.intervalMs;
    playback.advanceAtOnce = fresh.advanceAtOnce;
    playback.nextAdvance = fresh.nextAdvance;
}
