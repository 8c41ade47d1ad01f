// The MP3 player on songs encoded by lame: lengths from Info/Xing headers, exact seeking, the
// loop stretch and its repeats, stop, pause, and the error texts.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "engines/sound/mp3_decoder.h"
#include "engines/sound/mp3_player.h"
#include "engines/sound/mp3_stream.h"
#include "engines/sound/pcm_convert.h"
#include "music_listener.h"

namespace {

constexpr size_t kFramesPerSecond = 44100;
constexpr size_t k42ms = 42 * kFramesPerSecond / 1000;

class Mp3Test : public testing::Test {
  protected:
    void SetUp() override {
        if (!Songs().available) GTEST_SKIP() << Songs().missing;
    }
};

class Mp3PlayerTest : public Mp3Test {
  protected:
    void SetUp() override {
        Mp3Test::SetUp();
        if (IsSkipped()) return;
        song = Songs().constant;
        whole = DecodeWholeSong(song);
        ASSERT_TRUE(player.OpenStream(song.data(), song.size(), 2000)) << player.LastError();
    }

    Pcm Hear(size_t frames = SIZE_MAX) {
        return Listen(
            mixer, [this] { return player.IsPlaying(); }, frames);
    }

    // Waits for the decoding thread to give up by itself.
    void WaitUntilStopped() {
        for (int i = 0; i < 5000 && player.IsPlaying(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(player.IsPlaying());
    }

    size_t SongFrames() const { return whole.size() / 2; }

    Bytes song;
    Pcm whole;
    platform::AudioMixer mixer{44100};
    Mp3Player player{[this] { return &mixer; }};
};

}  // namespace

TEST_F(Mp3Test, TheLengthComesFromTheInfoOrXingHeaderAndMatchesTheDecode) {
    for (const Bytes* song : {&Songs().constant, &Songs().variable}) {
        const Mp3Layout layout = ScanMp3(*song);
        ASSERT_TRUE(layout.foundFirstFrame);
        EXPECT_GT(layout.taggedFrames, 0u);
        EXPECT_EQ(layout.taggedFrames, layout.frames.size()) << "the header's frame is not audio";
        const size_t decoded = DecodeWholeSong(*song).size() / 2;
        EXPECT_EQ(decoded, layout.TotalSamples());
        EXPECT_GE(decoded, 1.5 * kFramesPerSecond);
        EXPECT_LT(decoded, 1.5 * kFramesPerSecond + 3 * 1152);

        Mp3Player player(nullptr);
        ASSERT_TRUE(player.OpenStream(song->data(), song->size(), 2000));
        EXPECT_EQ(player.LengthMs(), static_cast<int>(decoded * 1000 / kFramesPerSecond));
    }
}

TEST_F(Mp3Test, WithoutAHeaderTheFramesAreCounted) {
    const Mp3Layout tagged = ScanMp3(Songs().constant);
    const Mp3Layout untagged = ScanMp3(Songs().untagged);
    EXPECT_EQ(untagged.taggedFrames, 0u);
    EXPECT_EQ(untagged.frames.size(), tagged.frames.size());
    EXPECT_EQ(untagged.TotalSamples(), tagged.TotalSamples());
    EXPECT_EQ(DecodeWholeSong(Songs().untagged), DecodeWholeSong(Songs().constant));
}

TEST_F(Mp3Test, AnId3TagHidingFalseFramesIsSkipped) {
    // A tag whose body holds two frame headers of another stream, a frame length apart.
    Bytes body;
    for (int i = 0; i < 2; ++i) {
        body.insert(body.end(), {0xFF, 0xFB, 0x50, 0x64});
        body.resize(body.size() + 204, 0);
    }
    Bytes song{'I', 'D', '3', 4, 0, 0, 0, 0, 3, 0x50};  // 464 bytes of tag
    body.resize(464, 0);
    song.insert(song.end(), body.begin(), body.end());
    song.insert(song.end(), Songs().constant.begin(), Songs().constant.end());
    EXPECT_EQ(DecodeWholeSong(song), DecodeWholeSong(Songs().constant));
}

TEST_F(Mp3Test, SeekingGivesExactlyTheFramesOfAWholeDecode) {
    for (const Bytes* song : {&Songs().constant, &Songs().variable, &Songs().lowRate}) {
        const Mp3Layout layout = ScanMp3(*song);
        const Pcm whole = DecodeWholeSong(*song);
        const size_t perFrame = static_cast<size_t>(layout.first.samplesPerFrame);
        const size_t last = layout.frames.size() - 1;
        Mp3Decoder decoder(*song, layout);
        for (size_t target : {size_t{1}, size_t{2}, size_t{5}, size_t{17}, last / 2, last}) {
            SCOPED_TRACE(testing::Message()
                         << "frame " << target << " at " << layout.first.sampleRate);
            decoder.Seek(target);
            size_t frame = 0;
            Pcm pcm;
            ASSERT_TRUE(decoder.Next(frame, pcm));
            EXPECT_EQ(frame, target);
            EXPECT_EQ(pcm, Frames(whole, target * perFrame, (target + 1) * perFrame));
        }
        size_t frame = 0;
        Pcm pcm;
        decoder.Seek(last + 1);
        EXPECT_FALSE(decoder.Next(frame, pcm)) << "nothing past the end";
    }
}

TEST(Mp3PlayerErrors, EveryRefusalLeavesItsText) {
    Mp3Player player(nullptr);
    EXPECT_EQ(player.LengthMs(), 0);
    EXPECT_FALSE(player.PlayLoop(0, 100, 1));
    EXPECT_EQ(player.LastError(), "Mp3Player::PlayLoop->Stream isn't open!");

    EXPECT_FALSE(player.OpenStream(nullptr, 100, 2000));
    EXPECT_EQ(player.LastError(), "Mp3Player::OpenStream->Can't open NULL stream!");

    const Bytes noise(4000, 0x55);
    EXPECT_FALSE(player.OpenStream(noise.data(), noise.size(), 199));
    EXPECT_EQ(player.LastError(), "Mp3Player::OpenStream->Buffer can't be smaller than 200 ms");

    EXPECT_FALSE(player.OpenStream(noise.data(), noise.size(), 200));
    EXPECT_EQ(player.LastError(), "Mp3Player::OpenStream->Can't find first valid mp3 frame");

    if (!Songs().available) GTEST_SKIP() << Songs().missing;
    const Bytes& song = Songs().constant;
    ASSERT_TRUE(player.OpenStream(song.data(), song.size(), 200));
    EXPECT_FALSE(player.OpenStream(song.data(), song.size(), 2000));
    EXPECT_EQ(player.LastError(),
              "Mp3Player::OpenStream->You need to close mp3 stream before open new one");
    player.Close();
    EXPECT_EQ(player.LengthMs(), 0);
    EXPECT_TRUE(player.OpenStream(song.data(), song.size(), 2000));
}

TEST_F(Mp3PlayerTest, PlaysTheStretchTheWantedNumberOfTimes) {
    ASSERT_TRUE(player.PlayLoop(42, 100, 3));
    const Pcm stretch = Frames(whole, k42ms, k42ms + 4410);
    EXPECT_EQ(Hear(), Join({stretch, stretch, stretch}));
    EXPECT_FALSE(player.IsPlaying()) << "open again once the repeats are done";
    EXPECT_EQ(player.LastError(), "");
}

TEST_F(Mp3PlayerTest, AStretchLongerThanTheSongPlaysToItsEnd) {
    ASSERT_TRUE(player.PlayLoop(1000, 100000, 2));
    const Pcm rest = Frames(whole, kFramesPerSecond, SongFrames());
    EXPECT_EQ(Hear(), Join({rest, rest}));
}

TEST_F(Mp3PlayerTest, ANegativeLengthPlaysToTheEndAndANegativeStartFromTheBeginning) {
    ASSERT_TRUE(player.PlayLoop(500, -1, 1));
    EXPECT_EQ(Hear(), Frames(whole, kFramesPerSecond / 2, SongFrames()));
    ASSERT_TRUE(player.PlayLoop(-30, 50, 1));
    EXPECT_EQ(Hear(), Frames(whole, 0, 2205));
}

TEST_F(Mp3PlayerTest, AStartPastTheEndCannotBeSought) {
    EXPECT_FALSE(player.PlayLoop(player.LengthMs() + 10, 100, 1));
    EXPECT_EQ(player.LastError(), "Mp3Player::PlayLoop->Can't seek to start of loop!");
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(Mp3PlayerTest, PlayingWhilePlayingIsRefused) {
    ASSERT_TRUE(player.PlayLoop(0, -1, 10000));
    EXPECT_FALSE(player.PlayLoop(0, -1, 10000));
    player.Stop();
}

TEST_F(Mp3PlayerTest, StopWaitsForTheThreadAndPlaybackCanStartAgain) {
    player.Stop();  // nothing plays: nothing happens
    ASSERT_TRUE(player.PlayLoop(0, -1, 10000));
    // Nobody listens: the thread fills the ring and waits for room.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_EQ(mixer.Mix(std::vector<int16_t>(512).data(), 256), 0u) << "the output was let go";

    ASSERT_TRUE(player.PlayLoop(0, -1, 10000));
    EXPECT_EQ(Hear(3000), Frames(whole, 0, 3000)) << "from the start again";
    player.Stop();
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
}

TEST_F(Mp3PlayerTest, PauseHoldsTheMusicAndPlayResumesIt) {
    ASSERT_TRUE(player.PlayLoop(0, 200, 1));
    Pcm heard = Hear(1000);
    player.Pause();
    int16_t piece[512];
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(mixer.Mix(piece, 256), 0u);
    EXPECT_TRUE(player.IsPlaying());
    EXPECT_TRUE(player.PlayLoop(0, 200, 1)) << "resumes";
    const Pcm rest = Hear();
    heard.insert(heard.end(), rest.begin(), rest.end());
    EXPECT_EQ(heard, Frames(whole, 0, 8820)) << "nothing lost, nothing twice";
}

TEST_F(Mp3PlayerTest, WithoutAnOutputTheThreadSaysSo) {
    Mp3Player silent([] { return static_cast<platform::AudioMixer*>(nullptr); });
    ASSERT_TRUE(silent.OpenStream(song.data(), song.size(), 2000));
    ASSERT_TRUE(silent.PlayLoop(0, -1, 1));
    for (int i = 0; i < 5000 && silent.IsPlaying(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(silent.IsPlaying());
    EXPECT_EQ(silent.LastError(), "Mp3Player::DecodeThread->Can't open wave output");
}

TEST_F(Mp3PlayerTest, AStreamWithoutACompleteFrameIsTooSmall) {
    // The Info frame of the song, announcing its frames, then the first audio frame cut short.
    const Mp3Layout layout = ScanMp3(song);
    Bytes cut(song.begin(), song.begin() + static_cast<ptrdiff_t>(layout.frames[0] + 100));
    player.Close();
    ASSERT_TRUE(player.OpenStream(cut.data(), cut.size(), 2000)) << player.LastError();
    ASSERT_TRUE(player.PlayLoop(0, -1, 1));
    WaitUntilStopped();
    EXPECT_EQ(player.LastError(), "Mp3Player::DecodeThread->Stream too small");
}

TEST_F(Mp3PlayerTest, MusicOfAnotherRateIsConvertedToTheOutputs) {
    const Bytes& low = Songs().lowRate;
    Mp3Player lowPlayer([this] { return &mixer; });
    ASSERT_TRUE(lowPlayer.OpenStream(low.data(), low.size(), 2000));
    ASSERT_TRUE(lowPlayer.PlayLoop(0, 1000, 1));
    const Pcm heard = Listen(mixer, [&] { return lowPlayer.IsPlaying(); });
    const Pcm second = Frames(DecodeWholeSong(low), 0, 22050);
    EXPECT_EQ(heard, ResampleStereo(second, 22050, 44100));
    EXPECT_NEAR(static_cast<double>(heard.size() / 2), 44100, 2);
}

TEST_F(Mp3PlayerTest, APlayerDestroyedWhilePlayingLetsItsThreadGo) {
    auto doomed = std::make_unique<Mp3Player>([this] { return &mixer; });
    ASSERT_TRUE(doomed->OpenStream(song.data(), song.size(), 500));
    ASSERT_TRUE(doomed->PlayLoop(0, -1, 10000));
    Listen(
        mixer, [] { return true; }, 2000);
    doomed.reset();
    EXPECT_EQ(mixer.Mix(std::vector<int16_t>(512).data(), 256), 0u);
}
