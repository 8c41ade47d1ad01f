#include "engines/graphics/video.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <future>
#include <memory>
#include <string>

#include "base/waits.h"
#include "engines/graphics/display.h"
#include "engines/graphics/video_reader.h"
#include "platform/host_path.h"

namespace {

// An open file with the frame on show and the one after it decoded. The reader's current picture
// is the frame after (`aheadNumber`), which a worker may still be decoding: only once `ahead` has
// been waited for may anyone else touch the reader.
struct OpenFile {
    VideoReader::OpenResult result = VideoReader::OpenResult::CannotOpen;
    std::unique_ptr<VideoReader> reader;
    VideoPicture shown;
    int64_t shownNumber = -1;
    int64_t aheadNumber = -1;
    bool aheadFetched = false;
    std::future<bool> ahead;

    bool IsOpen() const { return reader && reader->IsOpen(); }

    void WaitForAhead() {
        if (ahead.valid()) aheadFetched = ahead.get();
    }

    void DecodeAhead(int64_t number, int bytesPerPixel) {
        WaitForAhead();
        aheadNumber = number;
        VideoReader* decoder = reader.get();
        ahead = std::async(std::launch::async, [decoder, number, bytesPerPixel] {
            return decoder->Fetch(number, bytesPerPixel);
        });
    }

    // Makes frame `number` the one on show; false when there is no such frame.
    bool Show(int64_t number, int bytesPerPixel) {
        if (number == shownNumber && shown.bytesPerPixel == bytesPerPixel) return true;
        if (!IsOpen()) return false;
        WaitForAhead();
        const bool decodedAhead = number == aheadNumber && aheadFetched &&
                                  reader->Current().bytesPerPixel == bytesPerPixel;
        const bool decoded = decodedAhead || reader->Fetch(number, bytesPerPixel);
        aheadNumber = -1;
        if (!decoded) return false;
        shown = reader->Current();
        shownNumber = number;
        DecodeAhead(number + 1, bytesPerPixel);
        return true;
    }

    ~OpenFile() { WaitForAhead(); }
};

// Opens the file, decodes its first frame and starts on the one after (on a worker when the file
// is being made ready).
std::unique_ptr<OpenFile> OpenAndDecodeStart(const std::string& path, int bytesPerPixel) {
    auto file = std::make_unique<OpenFile>();
    file->reader = std::make_unique<VideoReader>();
    file->result = file->reader->Open(path);
    if (file->result == VideoReader::OpenResult::Opened) file->Show(0, bytesPerPixel);
    return file;
}

struct Playback {
    std::unique_ptr<OpenFile> file;
    int32_t state = kVideoPlaying;
    int32_t position = 0;  // a frame number of the video stream
    uint32_t intervalMs = 0;
    bool advanceAtOnce = true;  // the first step is taken on the first draw
    uint32_t nextAdvance = 0;   // otherwise: clock time after which the next step may be taken
    // The file KeepVideoReady named (empty for none), being made ready on a worker.
    std::string readyName;
    std::future<std::unique_ptr<OpenFile>> ready;
};

Playback& ThePlayback() {
    static Playback playback;
    return playback;
}

int ScreenBytesPerPixel() {
    return BackBuffer ? BackBuffer->bytesPerPixel : 4;
}

void MakeReady(Playback& playback) {
    if (playback.readyName.empty() || playback.ready.valid()) return;
    playback.ready = std::async(std::launch::async, OpenAndDecodeStart,
                                platform::HostPath(playback.readyName), ScreenBytesPerPixel());
}

// The file ready for `fileName`, or one opened now.
std::unique_ptr<OpenFile> TakeOpenFile(Playback& playback, const char* fileName) {
    if (playback.ready.valid() && playback.readyName == fileName) return playback.ready.get();
    return OpenAndDecodeStart(platform::HostPath(fileName), ScreenBytesPerPixel());
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
    playback.file.reset();
    std::unique_ptr<OpenFile> file = TakeOpenFile(playback, fileName);
    if (file->result != VideoReader::OpenResult::Opened) return -1;
    playback.file = std::move(file);
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
    OpenFile* file = playback.file.get();
    const int bytesPerPixel = ScreenBytesPerPixel();
    if (!file || !file->Show(playback.position, bytesPerPixel)) {
        // Past the end (or nothing to show): the video has ended and its last frame stays.
        playback.state = kVideoEnded;
        if (!file || !file->Show(int64_t{playback.position} - step, bytesPerPixel)) return 0;
    }
    DrawPicture(file->shown, x, y);
    return 0;
}

int VideoState() {
    return ThePlayback().state;
}

int CloseVideo() {
    Playback& playback = ThePlayback();
    playback.file.reset();
    playback.state = kVideoClosed;
    MakeReady(playback);
    return 0;
}

void KeepVideoReady(const char* fileName) {
    Playback& playback = ThePlayback();
    if (playback.readyName == fileName) return;
    if (playback.ready.valid()) playback.ready.get();
    playback.readyName = fileName;
    MakeReady(playback);
}

void ForgetVideo() {
    Playback& playback = ThePlayback();
    if (playback.ready.valid()) playback.ready.get();
    playback = Playback{};
}
