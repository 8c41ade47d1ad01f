// Conversion of sound samples to the output's 16-bit stereo at its rate.
#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "engines/sound/pcm_convert.h"
#include "engines/sound/wav_reader.h"
#include "sound_test_files.h"
#include "support/work_dir.h"

namespace {

std::vector<int16_t> Converted(const Bytes& file) {
    WaveFile wave;
    std::string error;
    EXPECT_TRUE(ReadWave(file, wave, error)) << error;
    return WaveToStereo16(wave);
}

// A stereo ramp: left rises by `slope` a frame, right falls.
std::vector<int16_t> Ramp(size_t frames, int slope) {
    std::vector<int16_t> samples;
    for (size_t i = 0; i < frames; ++i) {
        samples.push_back(static_cast<int16_t>(i * slope));
        samples.push_back(static_cast<int16_t>(-static_cast<int>(i) * slope));
    }
    return samples;
}

// A mono file of another encoding at 8000 Hz: a format other than plain PCM carries an extra
// size of 0, and a float file the "fact" chunk that editors write before the data.
Bytes EncodedWave(uint16_t tag, uint16_t bits, const Bytes& data) {
    Bytes format = PcmFormat(1, 8000, bits);
    format[0] = static_cast<uint8_t>(tag);
    std::vector<Bytes> chunks;
    if (tag != kWaveFormatPcm) Append16(format, 0);
    chunks.push_back(Chunk("fmt ", format));
    if (tag == kWaveFormatFloat) {
        Bytes frames;
        Append32(frames, static_cast<uint32_t>(data.size() / (bits / 8)));
        chunks.push_back(Chunk("fact", frames));
    }
    chunks.push_back(Chunk("data", data));
    return RiffWave(chunks);
}

template <typename Float>
Bytes FloatBytes(std::initializer_list<Float> values) {
    Bytes bytes;
    for (Float value : values) {
        const auto* p = reinterpret_cast<const uint8_t*>(&value);
        bytes.insert(bytes.end(), p, p + sizeof value);
    }
    return bytes;
}

// Each sample on both sides, as a mono file converts.
std::vector<int16_t> BothSides(std::initializer_list<int16_t> samples) {
    std::vector<int16_t> stereo;
    for (int16_t sample : samples)
        stereo.insert(stereo.end(), {sample, sample});
    return stereo;
}

}  // namespace

TEST(PcmConvert, WiderIntegerSamplesKeepTheirHighSixteenBits) {
    EXPECT_EQ(Converted(EncodedWave(kWaveFormatPcm, 24,
                                    {0x7F, 0x34, 0x12, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F})),
              BothSides({0x1234, -32768, 32767}));
    EXPECT_EQ(
        Converted(EncodedWave(kWaveFormatPcm, 32, {0xFF, 0xFF, 0x34, 0x12, 0, 0, 0xCC, 0xED})),
        BothSides({0x1234, -0x1234}));
}

TEST(PcmConvert, FloatSamplesAreScaledFromFullScaleAtOneAndClipped) {
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(Converted(EncodedWave(kWaveFormatFloat, 32,
                                    FloatBytes<float>({0.5f, -0.25f, 1.0f / 32768, 1.0f, -1.0f,
                                                       1.5f, -7.0f, notANumber}))),
              BothSides({16384, -8192, 1, 32767, -32768, 32767, -32768, 0}));
    EXPECT_EQ(Converted(EncodedWave(kWaveFormatFloat, 64, FloatBytes<double>({0.5, -1.0 / 32768}))),
              BothSides({16384, -1}));
}

// The same sound saved by ffmpeg at every depth it writes (24 bits and more in the extensible
// format, with its LIST chunk) comes back sample for sample.
TEST(PcmConvert, FilesSavedByFfmpegAtEveryDepthGiveBackTheirSamples) {
    if (!HaveProgram("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    ScopedWorkDir dir;
    const std::vector<int16_t> tone = TestTone(22050, 0.2);
    Bytes raw;
    for (int16_t sample : tone)
        Append16(raw, static_cast<uint16_t>(sample));
    WriteBytes("tone.raw", raw);
    for (const char* codec : {"pcm_s16le", "pcm_s24le", "pcm_s32le", "pcm_f32le", "pcm_f64le"}) {
        SCOPED_TRACE(codec);
        const std::string command =
            std::string("ffmpeg -v error -y -f s16le -ar 22050 -ac 2 -i tone.raw -c:a ") + codec +
            " saved.wav";
        ASSERT_EQ(std::system(command.c_str()), 0);
        const Bytes file = ReadBytes("saved.wav");
        WaveFile wave;
        std::string error;
        ASSERT_TRUE(ReadWave(file, wave, error)) << error;
        ASSERT_TRUE(IsPlayablePcm(wave.format)) << "format " << wave.format.formatTag;
        EXPECT_EQ(WaveToStereo16(wave), tone);
        for (int rate : {22050, 44100})
            EXPECT_EQ(WaveToOutput(wave, rate), ResampleStereo(tone, 22050, rate));
    }
}

TEST(PcmConvert, EightBitSamplesAreUnsignedAroundTheMiddle) {
    EXPECT_EQ(Converted(Pcm8Wave(1, 8000, {0, 128, 255, 1})),
              (std::vector<int16_t>{-32768, -32768, 0, 0, 32512, 32512, -32512, -32512}));
    EXPECT_EQ(Converted(Pcm8Wave(2, 8000, {0, 255, 128, 64})),
              (std::vector<int16_t>{-32768, 32512, 0, -16384}));
}

TEST(PcmConvert, MonoIsCopiedToBothSidesAndStereoKeepsItsSides) {
    EXPECT_EQ(Converted(PcmWave(1, 8000, {-5, 7, 32767})),
              (std::vector<int16_t>{-5, -5, 7, 7, 32767, 32767}));
    EXPECT_EQ(Converted(PcmWave(2, 8000, {1, -1, -32768, 300})),
              (std::vector<int16_t>{1, -1, -32768, 300}));
}

TEST(PcmConvert, APartialFrameAtTheEndIsDropped) {
    Bytes data;
    for (int16_t s : {10, 20, 30})
        Append16(data, static_cast<uint16_t>(s));
    EXPECT_EQ(Converted(RiffWave({Chunk("fmt ", PcmFormat(2, 8000, 16)), Chunk("data", data)})),
              (std::vector<int16_t>{10, 20}));
}

TEST(PcmConvert, EqualRatesPassFramesUnchanged) {
    const std::vector<int16_t> ramp = Ramp(1000, 7);
    EXPECT_EQ(ResampleStereo(ramp, 44100, 44100), ramp);
}

TEST(PcmConvert, RateChangesKeepTheDurationAndInterpolate) {
    const std::vector<int16_t> ramp = Ramp(2205, 10);  // 100 ms at 22050
    const std::vector<int16_t> up = ResampleStereo(ramp, 22050, 44100);
    EXPECT_NEAR(static_cast<double>(up.size() / 2), 4410, 2);
    // Halfway between two frames of a ramp lies the mean of the two.
    EXPECT_EQ(up[0], 0);
    EXPECT_EQ(up[2], 5);
    EXPECT_EQ(up[4], 10);
    EXPECT_EQ(up[3], -5);
    for (size_t i = 0; i + 1 < up.size() / 2; ++i)
        EXPECT_EQ(up[2 * i], static_cast<int16_t>(i * 5));

    const std::vector<int16_t> down = ResampleStereo(Ramp(4800, 1), 48000, 44100);
    EXPECT_NEAR(static_cast<double>(down.size() / 2), 4410, 2);
    for (size_t i = 0; i < down.size() / 2; ++i)
        EXPECT_NEAR(down[2 * i], i * 48000.0 / 44100.0, 1.0);
}

TEST(PcmConvert, AStreamConvertedInPiecesJoinsUpExactly) {
    const std::vector<int16_t> tone = TestTone(22050, 0.2);
    std::vector<int16_t> whole;
    StereoResampler once(22050, 48000);
    once.Convert(tone.data(), tone.size() / 2, whole);

    std::vector<int16_t> pieces;
    StereoResampler streamed(22050, 48000);
    size_t at = 0;
    for (size_t piece = 1; at < tone.size() / 2; piece = piece * 3 % 1153 + 1) {
        const size_t frames = std::min(piece, tone.size() / 2 - at);
        streamed.Convert(tone.data() + at * 2, frames, pieces);
        at += frames;
    }
    EXPECT_EQ(pieces, whole);
    EXPECT_LE(whole.size() / 2, once.MostFramesFor(tone.size() / 2));

    streamed.Reset();
    std::vector<int16_t> again;
    streamed.Convert(tone.data(), tone.size() / 2, again);
    EXPECT_EQ(again, whole) << "after a reset the stream starts afresh";
}
