// The numbered sound effects: the table, reading them all before play, restart and stop, failures,
// and the harness trace of a headless run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "engines/sound/sound_effects.h"
#include "engines/sound/wav_reader.h"
#include "platform/platform.h"
#include "sound_test_files.h"
#include "support/work_dir.h"

namespace {

constexpr uint8_t kButton = 3;
constexpr uint8_t kPress = 30;

// A 22050 Hz 8-bit mono ramp of `frames` frames, written where sound `number` is looked for.
void WriteSound(uint8_t number, size_t frames, uint8_t first = 100) {
    std::string path = SoundEffectFile(number);
    for (char& c : path)
        if (c == '\\') c = '/';
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::vector<uint8_t> samples;
    for (size_t i = 0; i < frames; ++i)
        samples.push_back(static_cast<uint8_t>(first + i % 50));
    WriteBytes(path, Pcm8Wave(1, 22050, samples));
}

std::vector<int16_t> Mix(platform::AudioMixer& mixer, size_t frames) {
    std::vector<int16_t> out(frames * 2);
    mixer.Mix(out.data(), frames);
    return out;
}

class SoundEffectsTest : public testing::Test {
  protected:
    ScopedWorkDir dir;
    platform::AudioMixer mixer{44100};
    SoundEffects effects{&mixer};
};

}  // namespace

TEST(SoundTable, HoldsTheFortySixFilesByNumber) {
    EXPECT_STREQ(SoundEffectFile(1), "sounds\\TimesUp.WAV");
    EXPECT_STREQ(SoundEffectFile(3), "sounds\\Button.wav");
    EXPECT_STREQ(SoundEffectFile(24), "sounds\\EndgameScrollShut.wav");
    EXPECT_STREQ(SoundEffectFile(30), "sounds\\Press.wav");
    EXPECT_STREQ(SoundEffectFile(33), "sounds\\Voices\\MindHowYouGo.wav");
    EXPECT_STREQ(SoundEffectFile(42), "sounds\\Voices\\ProperJob.wav");
    EXPECT_STREQ(SoundEffectFile(46), "sounds\\CashSpin.wav");
    EXPECT_EQ(SoundEffectFile(0), nullptr);
    EXPECT_EQ(SoundEffectFile(47), nullptr);
    std::set<std::string> names;
    for (int n = 1; n <= kSoundEffectCount; ++n) {
        ASSERT_NE(SoundEffectFile(n), nullptr);
        names.insert(SoundEffectFile(n));
    }
    EXPECT_EQ(names.size(), 46u) << "every number has a file of its own";
}

TEST_F(SoundEffectsTest, ASoundIsReadOnItsFirstPlayConvertedAndKept) {
    WriteSound(kButton, 2205);
    EXPECT_FALSE(effects.Playing(kButton)) << "not played yet";
    effects.Play(kButton);
    EXPECT_TRUE(effects.Playing(kButton));
    // 8-bit 22050 Hz mono at a 44100 Hz output: every frame twice as long, on both sides.
    const std::vector<int16_t> start = Mix(mixer, 4);
    EXPECT_EQ(start[0], (100 - 128) * 256);
    EXPECT_EQ(start[1], start[0]);
    EXPECT_EQ(start[4], (101 - 128) * 256);

    // The file is gone, but the sound was kept.
    std::filesystem::remove_all("sounds");
    testing::internal::CaptureStderr();
    effects.Play(kButton);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(effects.Playing(kButton));
    Mix(mixer, 4400);
    EXPECT_TRUE(effects.Playing(kButton)) << "100 ms at the output's rate";
    Mix(mixer, 10);
    EXPECT_FALSE(effects.Playing(kButton));
}

TEST_F(SoundEffectsTest, PlayingASoundAgainRestartsItAndOthersOverlap) {
    WriteSound(kButton, 1000, 100);
    WriteSound(kPress, 1000, 200);
    effects.Play(kButton);
    Mix(mixer, 300);
    effects.Play(kPress);
    effects.Play(kButton);
    const std::vector<int16_t> both = Mix(mixer, 1);
    EXPECT_EQ(both[0], (100 - 128) * 256 + (200 - 128) * 256)
        << "Button from its start, over Press";
}

TEST_F(SoundEffectsTest, NumbersOutsideTheTableDoNothing) {
    testing::internal::CaptureStderr();
    effects.Play(0);
    effects.Play(47);
    effects.Play(255);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "no file was looked for";
    EXPECT_FALSE(effects.Playing(0));
    EXPECT_FALSE(effects.Playing(47));
    EXPECT_EQ(Mix(mixer, 2), std::vector<int16_t>(4, 0));
}

TEST_F(SoundEffectsTest, AMissingFileGivesOneMessageAndSilenceAfter) {
    testing::internal::CaptureStderr();
    effects.Play(kPress);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Couldn't open WAV file sounds\\Press.wav!: Game Failed.\n");
    EXPECT_FALSE(effects.Playing(kPress));

    WriteSound(kPress, 100);  // too late: a bad sound is tried once
    testing::internal::CaptureStderr();
    effects.Play(kPress);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(effects.Playing(kPress));
}

// Every sound is read before the game plays one, so no frame waits for a file: a sound whose
// file has gone since still plays, and one that was missing then is tried at its first play.
TEST_F(SoundEffectsTest, ReadAllReadsEverySoundBeforeItIsPlayed) {
    WriteSound(kButton, 100);
    effects.ReadAll();
    std::filesystem::remove_all("sounds");
    WriteSound(kPress, 100, 200);  // arrived after the reading
    testing::internal::CaptureStderr();
    effects.Play(kButton);
    effects.Play(kPress);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(effects.Playing(kButton));
    EXPECT_TRUE(effects.Playing(kPress));
}

TEST_F(SoundEffectsTest, BrokenAndUnplayableFilesFailToLoad) {
    std::filesystem::create_directories("sounds");
    Bytes adpcm = Pcm8Wave(1, 22050, std::vector<uint8_t>(500, 1));
    adpcm[20] = 2;  // format tag 2, and no extra size: not a format the game plays
    WriteBytes("sounds/Correct.wav", adpcm);
    // Over twelve minutes at the output once converted: beyond what a sound effect could be, so
    // refused rather than held in memory.
    WriteBytes("sounds/Incorrect.wav", Pcm8Wave(1, 1000, std::vector<uint8_t>(800'000, 1)));
    for (uint8_t number : {4, 5}) {
        testing::internal::CaptureStderr();
        effects.Play(number);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("Couldn't open WAV file"),
                  std::string::npos);
        EXPECT_FALSE(effects.Playing(number));
    }
}

// Files as sound editors save them: 24- and 32-bit integers, plain and extensible, and 32-bit
// floats with their "fact" chunk, each a sound of one sample, 0x1234, at the output's rate.
TEST_F(SoundEffectsTest, EditorsFilesAtEveryDepthPlay) {
    auto format = [](uint16_t tag, uint16_t bits, const Bytes& extra) {
        Bytes body = PcmFormat(1, 44100, bits);
        body[0] = static_cast<uint8_t>(tag);
        body[1] = static_cast<uint8_t>(tag >> 8);
        if (tag == kWaveFormatPcm) return body;
        Append16(body, static_cast<uint16_t>(extra.size()));
        body.insert(body.end(), extra.begin(), extra.end());
        return body;
    };
    auto extensible = [](uint16_t subFormat, uint16_t validBits) {
        Bytes extra;
        Append16(extra, validBits);
        Append32(extra, 4);  // front centre
        Append16(extra, subFormat);
        extra.resize(22, 0x11);  // the rest of the sub-format GUID
        return extra;
    };
    const Bytes fact = Chunk("fact", {1, 0, 0, 0});
    const Bytes sample24 = {0x00, 0x34, 0x12}, sample32 = {0x00, 0x00, 0x34, 0x12};
    const Bytes sampleFloat = {0x00, 0xA0, 0x11, 0x3E};  // 0x1234 / 32768
    const std::vector<std::pair<uint8_t, Bytes>> files = {
        {3, RiffWave({Chunk("fmt ", format(kWaveFormatPcm, 24, {})), Chunk("data", sample24)})},
        {4, RiffWave({Chunk("fmt ", format(kWaveFormatExtensible, 24, extensible(1, 24))),
                      Chunk("data", sample24)})},
        {5, RiffWave({Chunk("fmt ", format(kWaveFormatPcm, 32, {})), Chunk("data", sample32)})},
        {7, RiffWave({Chunk("fmt ", format(kWaveFormatExtensible, 32, extensible(1, 24))),
                      Chunk("data", sample32)})},
        {9, RiffWave({Chunk("fmt ", format(kWaveFormatFloat, 32, {})), fact,
                      Chunk("data", sampleFloat)})},
        {11, RiffWave({Chunk("fmt ", format(kWaveFormatExtensible, 32, extensible(3, 32))), fact,
                       Chunk("data", sampleFloat)})},
    };
    for (const auto& [number, file] : files) {
        SCOPED_TRACE(testing::Message() << "sound " << int{number});
        std::string path = SoundEffectFile(number);
        std::replace(path.begin(), path.end(), '\\', '/');
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        WriteBytes(path, file);
        testing::internal::CaptureStderr();
        effects.Play(number);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(Mix(mixer, 1), (std::vector<int16_t>{0x1234, 0x1234}));
    }
}

// Effects of any real length play whole, and a file cut short plays as far as it goes.
TEST_F(SoundEffectsTest, LongSoundsAndFilesCutShortPlay) {
    std::filesystem::create_directories("sounds");
    WriteBytes("sounds/Button.wav", Pcm8Wave(1, 1000, std::vector<uint8_t>(40'000, 200)));
    Bytes cut = Pcm8Wave(1, 22050, std::vector<uint8_t>(500, 60));
    cut.resize(cut.size() - 280);  // 220 of the 500 samples are there
    WriteBytes("sounds/Press.wav", cut);
    testing::internal::CaptureStderr();
    effects.Play(kButton);
    effects.Play(kPress);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(Mix(mixer, 1)[0], (200 - 128) * 256 + (60 - 128) * 256);
    Mix(mixer, 400);  // 220 frames at 22050 Hz are about 440 at 44100 Hz
    EXPECT_TRUE(effects.Playing(kPress));
    Mix(mixer, 100);
    EXPECT_FALSE(effects.Playing(kPress));
    Mix(mixer, 44100 * 39);
    EXPECT_TRUE(effects.Playing(kButton)) << "40 s long";
    Mix(mixer, 44100 + 10);
    EXPECT_FALSE(effects.Playing(kButton));
}

TEST_F(SoundEffectsTest, StopAllStopsEverySoundPlayed) {
    effects.StopAll();  // nothing played yet: nothing happens
    WriteSound(kButton, 1000);
    WriteSound(kPress, 1000);
    effects.Play(kButton);
    effects.Play(kPress);
    effects.StopAll();
    EXPECT_FALSE(effects.Playing(kButton));
    EXPECT_FALSE(effects.Playing(kPress));
    EXPECT_EQ(Mix(mixer, 2), std::vector<int16_t>(4, 0));
}

TEST(SilentSoundEffects, WithoutAnOutputNothingIsLoadedOrPlayed) {
    ScopedWorkDir dir;
    SoundEffects effects(nullptr);
    testing::internal::CaptureStderr();
    effects.Play(kPress);  // missing, but never looked for
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(effects.Playing(kPress));
    effects.StopAll();
}

TEST(HeadlessSoundEffects, EveryPlayIsTracedAndNothingSounds) {
    ScopedWorkDir dir;
    platform::Options options;
    options.headless = true;
    options.traceFile = "trace.txt";
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;

    testing::internal::CaptureStderr();
    EXPECT_TRUE(StartSoundEffects());
    PlaySoundEffect(3);
    platform::Yield();
    PlaySoundEffect(0);
    PlaySoundEffect(46);
    PlaySoundEffect(3);
    EXPECT_FALSE(SoundEffectPlaying(3));
    StopAllSoundEffects();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "")
        << "no device is no failure headless, and no file is read";
    platform::Stop();

    std::ifstream trace("trace.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(trace, line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"0 sound 3", "1 sound 46", "1 sound 3"}));
}
