// The end-of-game animation: frame N drawn at (x, y) of the back buffer in the display's format,
// the advance of at most one step per interval on the virtual clock, the end with the last frame
// kept, restarts, and files that cannot be played. The AVIs are made by ffmpeg from frames the
// test draws itself.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

#include "base/waits.h"
#include "engines/graphics/display.h"
#include "engines/graphics/surface.h"
#include "engines/graphics/video.h"
#include "platform/platform.h"

namespace {

constexpr int kWidth = 64, kHeight = 48, kFrames = 10;
constexpr uint8_t kUntouched = 0x11;

using Bytes = std::vector<uint8_t>;

// Frame n of the test animation as 32-bit pixels (blue, green, red, 255): every frame differs
// everywhere, and no two rows or columns look alike.
Bytes DrawnFrame(int n) {
    Bytes pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.insert(pixels.end(),
                          {static_cast<uint8_t>(x * 4 + n), static_cast<uint8_t>(y * 5 + n * 3),
                           static_cast<uint8_t>((x + y + n * 20) & 255), 255});
    return pixels;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Ffmpeg(const std::string& arguments) {
    return std::system(("ffmpeg -v error -nostdin -y " + arguments + " >/dev/null 2>&1").c_str()) ==
           0;
}

// The test files, made once per test program.
struct Videos {
    std::string dir, missing;
    std::string raw, mjpeg, audioOnly, garbage, truncated;
    std::string gapped;    // frames 1 and 5 left out: the frame before stands in for each
    Bytes mjpegReference;  // ffmpeg's own decode of the MJPEG file, 32-bit
};

Videos MakeVideos() {
    Videos v;
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) {
        v.missing = "ffmpeg is not installed";
        return v;
    }
    char pattern[] = "/tmp/vantor-video-XXXXXX";
    v.dir = mkdtemp(pattern);
    Bytes frames;
    for (int n = 0; n < kFrames; ++n) {
        const Bytes frame = DrawnFrame(n);
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    WriteFile(v.dir + "/frames.bgra", frames);
    const std::string input =
        "-f rawvideo -pix_fmt bgra -s 64x48 -r 10 -i " + v.dir + "/frames.bgra ";
    v.raw = v.dir + "/raw.avi";
    v.mjpeg = v.dir + "/mjpeg.avi";
    v.audioOnly = v.dir + "/audio.avi";
    v.garbage = v.dir + "/garbage.avi";
    v.truncated = v.dir + "/truncated.avi";
    v.gapped = v.dir + "/gapped.avi";
    const bool made =
        Ffmpeg(input + "-c:v rawvideo -pix_fmt bgr24 -fflags +bitexact " + v.raw) &&
        Ffmpeg(input + "-c:v mjpeg -q:v 3 -fflags +bitexact " + v.mjpeg) &&
        Ffmpeg(input + "-vf select='not(eq(n\\,1)+eq(n\\,5))' -fps_mode passthrough " +
               "-c:v rawvideo -pix_fmt bgr24 -fflags +bitexact " + v.gapped) &&
        Ffmpeg("-f lavfi -i sine=d=0.5 -c:a pcm_s16le -fflags +bitexact " + v.audioOnly) &&
        Ffmpeg("-i " + v.mjpeg + " -f rawvideo -pix_fmt bgra " + v.dir + "/mjpeg.bgra");
    if (!made) {
        v.missing = "ffmpeg could not make the test videos";
        return v;
    }
    v.mjpegReference = ReadFile(v.dir + "/mjpeg.bgra");
    std::mt19937 random(5);
    Bytes noise(20000);
    for (uint8_t& byte : noise)
        byte = static_cast<uint8_t>(random());
    std::copy_n("RIFF\0\0\0\0AVI LIST", 16, noise.begin());
    WriteFile(v.garbage, noise);
    Bytes cut = ReadFile(v.raw);
    cut.resize(cut.size() * 55 / 100);
    WriteFile(v.truncated, cut);
    return v;
}

// The test files' folder goes when the test program ends.
struct FolderRemovedAtExit {
    std::string path;
    ~FolderRemovedAtExit() {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
};

const Videos& TestVideos() {
    static const Videos videos = MakeVideos();
    static const FolderRemovedAtExit removed{videos.dir};
    return videos;
}

class VideoTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!TestVideos().missing.empty()) GTEST_SKIP() << TestVideos().missing;
        UseScreen(32);
    }
    void TearDown() override {
        CloseVideo();
        BackBuffer = previous_;
    }

    void UseScreen(int bitsPerPixel) {
        screen_ = CreateSurface(800, 600, bitsPerPixel);
        std::fill(screen_->pixels.begin(), screen_->pixels.end(), kUntouched);
        BackBuffer = screen_.get();
    }

    // The screen's bytes of the rectangle at (x, y) the size of a frame, clipped to the screen.
    Bytes ScreenAt(int x, int y) const {
        Bytes bytes;
        const int bpp = screen_->bytesPerPixel;
        for (int row = std::max(y, 0); row < std::min(y + kHeight, 600); ++row)
            for (int col = std::max(x, 0); col < std::min(x + kWidth, 800); ++col)
                for (int i = 0; i < bpp; ++i)
                    bytes.push_back(screen_->Row(row)[col * bpp + i]);
        return bytes;
    }

    // The same rectangle of a 32-bit frame, converted by `convert` to the screen's depth.
    Bytes Expected(const Bytes& frame, int x, int y,
                   Bytes (*convert)(const uint8_t*) = Keep32) const {
        Bytes bytes;
        for (int row = std::max(y, 0); row < std::min(y + kHeight, 600); ++row)
            for (int col = std::max(x, 0); col < std::min(x + kWidth, 800); ++col) {
                const Bytes pixel = convert(&frame[((row - y) * kWidth + (col - x)) * 4]);
                bytes.insert(bytes.end(), pixel.begin(), pixel.end());
            }
        return bytes;
    }

    static Bytes Keep32(const uint8_t* p) { return Bytes(p, p + 4); }

    // The number of the test frame shown at (0, 0) of a 32-bit screen, or -1.
    int FrameShown() const {
        static const std::vector<Bytes> frames = [] {
            std::vector<Bytes> all;
            for (int n = 0; n < kFrames; ++n)
                all.push_back(DrawnFrame(n));
            return all;
        }();
        const Bytes shown = ScreenAt(0, 0);
        for (int n = 0; n < kFrames; ++n)
            if (shown == frames[n]) return n;
        return -1;
    }

    // The frames shown while a video plays at a 5 ms interval, drawn every 6 ms with `step`.
    std::vector<int> FramesSeen(const std::string& file, int step) const {
        EXPECT_EQ(OpenVideo(file.c_str(), 5, 0), 0);
        DrawVideoFrame(-1, 0, 0);
        std::vector<int> seen{FrameShown()};
        while (VideoState() == kVideoPlaying) {
            for (int i = 0; i < 6; ++i)
                platform::Yield();
            DrawVideoFrame(step, 0, 0);
            seen.push_back(FrameShown());
        }
        return seen;
    }

    // Bytes of the screen outside the rectangle still as they were before drawing.
    size_t TouchedOutside(int x, int y) const {
        size_t touched = 0;
        const int bpp = screen_->bytesPerPixel;
        for (int row = 0; row < 600; ++row)
            for (int col = 0; col < 800; ++col) {
                if (col >= x && col < x + kWidth && row >= y && row < y + kHeight) continue;
                for (int i = 0; i < bpp; ++i)
                    touched += screen_->Row(row)[col * bpp + i] != kUntouched;
            }
        return touched;
    }

    std::unique_ptr<Surface> screen_;
    Surface* previous_ = BackBuffer;
};

}  // namespace

TEST_F(VideoTest, FrameZeroIsDrawnAtTheGivenPlaceAndNothingElseChanges) {
    ASSERT_EQ(OpenVideo(TestVideos().raw.c_str(), 30, 0), 0);
    EXPECT_EQ(VideoState(), kVideoPlaying);
    EXPECT_EQ(DrawVideoFrame(-1, 100, 50), 0);
    EXPECT_EQ(ScreenAt(100, 50), Expected(DrawnFrame(0), 100, 50));
    EXPECT_EQ(TouchedOutside(100, 50), 0u);
    EXPECT_EQ(VideoState(), kVideoPlaying);
}

TEST_F(VideoTest, FramesAdvanceAtMostOncePerIntervalAndTheLastOneStays) {
    ASSERT_EQ(OpenVideo(TestVideos().raw.c_str(), 30, 0), 0);
    DrawVideoFrame(-1, 0, 0);
    EXPECT_EQ(FrameShown(), 0) << "the restart draws frame 0 and does not advance";

    std::vector<uint32_t> changedAt;
    int shown = 0;
    const uint32_t start = ClockMs();
    while (VideoState() == kVideoPlaying && ClockMs() - start < 2000) {
        DrawVideoFrame(1, 0, 0);
        const int now = FrameShown();
        ASSERT_GE(now, 0);
        if (now != shown) {
            EXPECT_EQ(now, shown + 1) << "one step at a time";
            changedAt.push_back(ClockMs());
            shown = now;
        }
        platform::Yield();
    }
    EXPECT_EQ(VideoState(), kVideoEnded);
    EXPECT_EQ(shown, kFrames - 1);
    ASSERT_EQ(changedAt.size(), static_cast<size_t>(kFrames - 1));
    for (size_t i = 1; i < changedAt.size(); ++i)
        EXPECT_GE(changedAt[i] - changedAt[i - 1], 30u);

    for (int i = 0; i < 100; ++i, platform::Yield())
        DrawVideoFrame(1, 0, 0);
    EXPECT_EQ(VideoState(), kVideoEnded);
    EXPECT_EQ(FrameShown(), kFrames - 1) << "the last frame stays on the screen";

    DrawVideoFrame(-1, 0, 0);
    EXPECT_EQ(VideoState(), kVideoPlaying) << "a negative step starts again";
    EXPECT_EQ(FrameShown(), 0);
}

TEST_F(VideoTest, LargerStepsSkipFramesAndStopAtTheLast) {
    EXPECT_EQ(FramesSeen(TestVideos().raw, 3), (std::vector<int>{0, 3, 6, 9, 9}));
}

TEST_F(VideoTest, AVideoKeptReadyPlaysLikeOneOpenedOnTheSpotGameAfterGame) {
    KeepVideoReady(TestVideos().raw.c_str());
    const std::vector<int> expected{0, 3, 6, 9, 9};
    EXPECT_EQ(FramesSeen(TestVideos().raw, 3), expected);
    CloseVideo();
    EXPECT_EQ(FramesSeen(TestVideos().raw, 3), expected) << "made ready again after closing";
    CloseVideo();
    EXPECT_EQ(OpenVideo(TestVideos().mjpeg.c_str(), 30, 0), 0) << "another file opens as before";
    DrawVideoFrame(-1, 0, 0);
    EXPECT_EQ(VideoState(), kVideoPlaying);
    CloseVideo();
    EXPECT_EQ(FramesSeen(TestVideos().raw, 3), expected);
    ForgetVideo();
}

// A file may leave frame numbers out to repeat the frame before: that frame stays up for them,
// and the frame after comes at its own time, not early.
TEST_F(VideoTest, ALeftOutFrameIsStoodInForByTheFrameBefore) {
    EXPECT_EQ(FramesSeen(TestVideos().gapped, 1),
              (std::vector<int>{0, 0, 2, 3, 4, 4, 6, 7, 8, 9, 9}));
}

TEST_F(VideoTest, TheFrameIsConvertedToTheDisplaysDepth) {
    UseScreen(24);
    ASSERT_EQ(OpenVideo(TestVideos().raw.c_str(), 30, 0), 0);
    DrawVideoFrame(-1, 3, 7);
    EXPECT_EQ(ScreenAt(3, 7),
              Expected(DrawnFrame(0), 3, 7, [](const uint8_t* p) { return Bytes(p, p + 3); }));
    EXPECT_EQ(TouchedOutside(3, 7), 0u);

    UseScreen(16);
    DrawVideoFrame(-1, 11, 2);
    EXPECT_EQ(ScreenAt(11, 2), Expected(DrawnFrame(0), 11, 2, [](const uint8_t* p) {
                  const uint16_t v =
                      static_cast<uint16_t>((p[2] >> 3) << 11 | (p[1] >> 2) << 5 | p[0] >> 3);
                  return Bytes{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
              }));
    EXPECT_EQ(TouchedOutside(11, 2), 0u);
}

TEST_F(VideoTest, FramesAreClippedToTheScreen) {
    ASSERT_EQ(OpenVideo(TestVideos().raw.c_str(), 30, 0), 0);
    for (auto [x, y] :
         {std::pair{-10, -5}, std::pair{780, 590}, std::pair{-64, 0}, std::pair{800, 600}}) {
        UseScreen(32);
        DrawVideoFrame(-1, x, y);
        EXPECT_EQ(ScreenAt(x, y), Expected(DrawnFrame(0), x, y));
        EXPECT_EQ(TouchedOutside(x, y), 0u);
    }
}

TEST_F(VideoTest, CompressedFramesMatchAReferenceDecode) {
    ASSERT_EQ(OpenVideo(TestVideos().mjpeg.c_str(), 1, 0), 0);
    const Bytes& reference = TestVideos().mjpegReference;
    ASSERT_EQ(reference.size(), static_cast<size_t>(kWidth * kHeight * 4 * kFrames));
    DrawVideoFrame(-1, 0, 0);
    for (int n = 0; n < kFrames; ++n) {
        const Bytes expected = Expected(Bytes(reference.begin() + n * kWidth * kHeight * 4,
                                              reference.begin() + (n + 1) * kWidth * kHeight * 4),
                                        0, 0);
        const Bytes shown = ScreenAt(0, 0);
        int worst = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            worst = std::max(worst, std::abs(shown[i] - expected[i]));
        EXPECT_LE(worst, 2) << "frame " << n;
        platform::Yield();
        platform::Yield();
        DrawVideoFrame(1, 0, 0);
    }
    EXPECT_EQ(VideoState(), kVideoEnded);
}

TEST_F(VideoTest, CloseSetsTheClosedStateAndDrawingAfterwardsEndsAtOnce) {
    ASSERT_EQ(OpenVideo(TestVideos().raw.c_str(), 30, 0), 0);
    DrawVideoFrame(-1, 0, 0);
    EXPECT_EQ(CloseVideo(), 0);
    EXPECT_EQ(VideoState(), kVideoClosed);
    UseScreen(32);
    DrawVideoFrame(-1, 0, 0);
    EXPECT_EQ(VideoState(), kVideoEnded);
    EXPECT_EQ(TouchedOutside(0, 0), 0u);
    EXPECT_EQ(ScreenAt(0, 0), Bytes(kWidth * kHeight * 4, kUntouched)) << "nothing drawn";
}

TEST_F(VideoTest, FilesWithoutAPlayableVideoEndTheAnimationAtOnce) {
    for (const std::string& path :
         {TestVideos().dir + "/missing.avi", TestVideos().audioOnly, TestVideos().garbage}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(OpenVideo(path.c_str(), 30, 0), -1);
        DrawVideoFrame(-1, 0, 0);
        EXPECT_EQ(VideoState(), kVideoEnded);
        EXPECT_EQ(ScreenAt(0, 0), Bytes(kWidth * kHeight * 4, kUntouched));
    }
}

TEST_F(VideoTest, AFileCutShortEndsWhereItsFramesRunOut) {
    if (OpenVideo(TestVideos().truncated.c_str(), 1, 0) != 0) return;  // refusing it is fine too
    DrawVideoFrame(-1, 0, 0);
    int last = FrameShown();
    for (int i = 0; i < 200 && VideoState() == kVideoPlaying; ++i) {
        platform::Yield();
        platform::Yield();
        DrawVideoFrame(1, 0, 0);
        if (FrameShown() >= 0) last = FrameShown();
    }
    EXPECT_EQ(VideoState(), kVideoEnded);
    EXPECT_GE(last, 3);
    EXPECT_LT(last, kFrames - 1);
}
