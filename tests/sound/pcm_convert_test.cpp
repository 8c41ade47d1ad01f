// Conversion of sound samples to the output's 16-bit stereo at its rate.
#include <gtest/gtest.h>

#include "engines/sound/pcm_convert.h"
#include "engines/sound/wav_reader.h"
#include "sound_test_files.h"

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

}  // namespace

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
