// The mixer behind the sound output, driven directly as the device's thread would drive it.
#include <gtest/gtest.h>

#include <memory>

#include "platform/audio.h"
#include "platform/audio_mixer.h"
#include "platform/platform.h"

namespace {

using platform::AudioClip;
using platform::AudioMixer;

std::shared_ptr<const AudioClip> Clip(std::initializer_list<int16_t> samples) {
    return std::make_shared<const AudioClip>(samples);
}

std::vector<int16_t> Mix(AudioMixer& mixer, size_t frames) {
    std::vector<int16_t> out(frames * 2, 12345);
    mixer.Mix(out.data(), frames);
    return out;
}

// Music that gives a fixed number of frames of a constant value per pull.
class FixedMusic : public platform::AudioStream {
  public:
    FixedMusic(size_t perPull, int16_t value) : perPull_(perPull), value_(value) {}
    size_t PullFrames(int16_t* out, size_t frames) override {
        ++pulls;
        const size_t given = std::min(frames, perPull_);
        std::fill_n(out, given * 2, value_);
        return given;
    }
    int pulls = 0;

  private:
    size_t perPull_;
    int16_t value_;
};

}  // namespace

TEST(AudioMixer, SilenceWhenNothingPlays) {
    AudioMixer mixer(44100);
    EXPECT_EQ(mixer.Rate(), 44100);
    EXPECT_EQ(Mix(mixer, 3), std::vector<int16_t>(6, 0));
}

TEST(AudioMixer, VoicesOverlapAndEndOnTheirOwn) {
    AudioMixer mixer(44100);
    mixer.Play(0, Clip({100, -100, 200, -200, 300, -300}));
    mixer.Play(5, Clip({1, 2}));
    EXPECT_TRUE(mixer.Playing(0));
    EXPECT_TRUE(mixer.Playing(5));
    EXPECT_EQ(Mix(mixer, 2), (std::vector<int16_t>{101, -98, 200, -200}));
    EXPECT_FALSE(mixer.Playing(5));
    EXPECT_TRUE(mixer.Playing(0));
    EXPECT_EQ(Mix(mixer, 2), (std::vector<int16_t>{300, -300, 0, 0}));
    EXPECT_FALSE(mixer.Playing(0));
}

TEST(AudioMixer, TheSumIsClippedTo16Bits) {
    AudioMixer mixer(44100);
    mixer.Play(1, Clip({30000, -30000}));
    mixer.Play(2, Clip({30000, -30000}));
    EXPECT_EQ(Mix(mixer, 1), (std::vector<int16_t>{32767, -32768}));
}

TEST(AudioMixer, PlayingAVoiceAgainRestartsItFromTheStart) {
    AudioMixer mixer(44100);
    auto clip = Clip({1, 1, 2, 2, 3, 3});
    mixer.Play(7, clip);
    Mix(mixer, 2);
    mixer.Play(7, clip);
    EXPECT_EQ(Mix(mixer, 3), (std::vector<int16_t>{1, 1, 2, 2, 3, 3}))
        << "one copy, from the start";
}

TEST(AudioMixer, StoppedVoicesFallSilentAndOthersGoOn) {
    AudioMixer mixer(44100);
    mixer.Play(0, Clip({5, 5, 5, 5}));
    mixer.Play(1, Clip({7, 7, 7, 7}));
    mixer.Stop(0);
    EXPECT_FALSE(mixer.Playing(0));
    EXPECT_EQ(Mix(mixer, 2), (std::vector<int16_t>{7, 7, 7, 7}));
}

TEST(AudioMixer, VoicesOutsideTheRangeAndEmptyClipsAreIgnored) {
    AudioMixer mixer(44100);
    mixer.Play(-1, Clip({1, 1}));
    mixer.Play(platform::kEffectVoices, Clip({1, 1}));
    mixer.Play(3, nullptr);
    mixer.Play(4, Clip({}));
    mixer.Stop(-1);
    EXPECT_FALSE(mixer.Playing(-1));
    EXPECT_FALSE(mixer.Playing(platform::kEffectVoices));
    EXPECT_FALSE(mixer.Playing(3));
    EXPECT_FALSE(mixer.Playing(4));
    EXPECT_EQ(Mix(mixer, 1), (std::vector<int16_t>{0, 0}));
}

TEST(AudioMixer, MusicIsMixedBesideTheVoicesUntilDetached) {
    AudioMixer mixer(44100);
    FixedMusic music(3, 1000);
    mixer.AttachMusic(&music);
    mixer.Play(0, Clip({1, 2, 1, 2}));
    std::vector<int16_t> out(10);
    EXPECT_EQ(mixer.Mix(out.data(), 5), 3u) << "the music ran short after 3 frames";
    EXPECT_EQ(out, (std::vector<int16_t>{1001, 1002, 1001, 1002, 1000, 1000, 0, 0, 0, 0}));

    mixer.DetachMusic(&music);
    const int pulls = music.pulls;
    EXPECT_EQ(mixer.Mix(out.data(), 5), 0u);
    EXPECT_EQ(music.pulls, pulls) << "a detached stream is never asked again";

    FixedMusic other(100, 1);
    mixer.AttachMusic(&other);
    mixer.DetachMusic(&music);  // not the attached one: no effect
    EXPECT_EQ(mixer.Mix(out.data(), 5), 5u);
    mixer.DetachMusic(&other);
}

TEST(AudioMixer, LongMixesArePulledInPieces) {
    AudioMixer mixer(44100);
    FixedMusic music(100000, 3);
    mixer.AttachMusic(&music);
    std::vector<int16_t> out(5000 * 2);
    EXPECT_EQ(mixer.Mix(out.data(), 5000), 5000u);
    EXPECT_EQ(out, std::vector<int16_t>(10000, 3));
    mixer.DetachMusic(&music);
}

TEST(AudioOutput, AHeadlessRunHasNoDeviceAndThatIsNoFailure) {
    platform::Options options;
    options.headless = true;
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;
    EXPECT_EQ(platform::OpenAudio(), platform::AudioStatus::Absent);
    EXPECT_EQ(platform::OpenAudio(), platform::AudioStatus::Absent) << "decided once";
    EXPECT_EQ(platform::AudioOutput(), nullptr);
    platform::Stop();
}
