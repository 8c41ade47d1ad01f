// The background-music façade: opening the song, the attract screen's loop, stopping, silent
// runs and the harness trace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engines/sound/music.h"
#include "music_listener.h"
#include "platform/platform.h"
#include "support/work_dir.h"

namespace {

constexpr size_t k42ms = 42 * 44100 / 1000;

std::vector<std::string> TraceLines(const char* path) {
    std::ifstream trace(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);)
        lines.push_back(line);
    return lines;
}

class MusicTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!Songs().available) GTEST_SKIP() << Songs().missing;
        std::filesystem::create_directories("sounds");
        WriteBytes("sounds/Background2.mp3", Songs().constant);
        whole = DecodeWholeSong(Songs().constant);
    }

    Pcm Hear(size_t frames) {
        return Listen(
            mixer, [] { return true; }, frames);
    }

    ScopedWorkDir dir;
    platform::AudioMixer mixer{44100};
    BackgroundMusic music{[this] { return &mixer; }};
    Pcm whole;
};

}  // namespace

TEST_F(MusicTest, TheAttractLoopRunsFrom42msForItsLengthOrToTheEndAndAgain) {
    ASSERT_TRUE(music.OpenMusic(kBackgroundMusicFile));
    ASSERT_TRUE(music.PlayMusicLoop(42, 60030));
    const Pcm stretch = Frames(whole, k42ms, whole.size() / 2);  // the song is shorter than 60 s
    EXPECT_EQ(Hear(2 * stretch.size() / 2 + 500),
              Join({stretch, stretch, Frames(stretch, 0, 500)}));
    EXPECT_TRUE(music.StopMusic());
    EXPECT_FALSE(music.Player()->IsPlaying());
}

TEST_F(MusicTest, NegativeArgumentsMeanTheWholeSong) {
    ASSERT_TRUE(music.OpenMusic(kBackgroundMusicFile));
    ASSERT_TRUE(music.PlayMusicLoop(-100, -5));
    EXPECT_EQ(Hear(whole.size() / 2 + 100), Join({whole, Frames(whole, 0, 100)}));
    EXPECT_TRUE(music.StopMusic());
}

TEST_F(MusicTest, StoppingWhenNothingPlaysDoesNothing) {
    ASSERT_TRUE(music.OpenMusic(kBackgroundMusicFile));
    EXPECT_TRUE(music.StopMusic());
    EXPECT_TRUE(music.StopMusic());
    ASSERT_TRUE(music.PlayMusicLoop(0, 100));
    EXPECT_EQ(Hear(100), Frames(whole, 0, 100));
    EXPECT_TRUE(music.StopMusic());
}

TEST_F(MusicTest, AFileThatIsNoMp3IsNoMusic) {
    WriteBytes("sounds/Noise.mp3", Bytes(3000, 0x42));
    EXPECT_FALSE(music.OpenMusic("sounds//Noise.mp3"));
    EXPECT_EQ(music.Player(), nullptr);
    EXPECT_FALSE(music.PlayMusicLoop(42, 60030));
    EXPECT_FALSE(music.StopMusic());
}

TEST_F(MusicTest, AFileThatCannotBeReadKeepsTheMusicThereWas) {
    ASSERT_TRUE(music.OpenMusic(kBackgroundMusicFile));
    EXPECT_FALSE(music.OpenMusic("sounds//Missing.mp3"));
    ASSERT_NE(music.Player(), nullptr);
    EXPECT_TRUE(music.PlayMusicLoop(0, 100));
    EXPECT_TRUE(music.StopMusic());
}

TEST(SilentMusic, AMissingSongLeavesTheGameSilentAndEveryCallIsTraced) {
    ScopedWorkDir dir;
    platform::Options options;
    options.headless = true;
    options.traceFile = "trace.txt";
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;
    // The program-wide music looks for its song the first time it is used.
    EXPECT_FALSE(PlayMusicLoop(42, 60030));
    platform::Yield();
    EXPECT_FALSE(StopMusic());
    EXPECT_EQ(ProgramMusic().Player(), nullptr);
    platform::Stop();
    EXPECT_EQ(TraceLines("trace.txt"), (std::vector<std::string>{"0 music play", "1 music stop"}));
}

TEST(SilentMusic, HeadlessTheSongOpensButNothingDecodesIt) {
    if (!Songs().available) GTEST_SKIP() << Songs().missing;
    ScopedWorkDir dir;
    platform::Options options;
    options.headless = true;
    options.traceFile = "trace.txt";
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;
    std::filesystem::create_directories("sounds");
    WriteBytes("sounds/Background2.mp3", Songs().constant);

    BackgroundMusic music;  // plays into the sound output, which headless runs do not have
    ASSERT_TRUE(music.OpenMusic(kBackgroundMusicFile));
    EXPECT_TRUE(music.PlayMusicLoop(42, 60030));
    EXPECT_FALSE(music.Player()->IsPlaying()) << "no thread decodes for nobody";
    EXPECT_TRUE(music.StopMusic());
    platform::Stop();
    EXPECT_EQ(TraceLines("trace.txt"), (std::vector<std::string>{"0 music play", "0 music stop"}));
}
