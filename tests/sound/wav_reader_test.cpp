// Reading RIFF WAVE files: the formats the cabinet's sounds come in, the chunks around them, and
// broken files, which must fail without reading outside the bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engines/sound/wav_reader.h"
#include "sound_test_files.h"

namespace {

// A file's bytes and what was read from them (the data points into the bytes).
struct ReadFile {
    Bytes bytes;
    WaveFile wave;
    bool ok = false;
};

ReadFile Read(Bytes bytes) {
    ReadFile read;
    read.bytes = std::move(bytes);
    std::string error;
    read.ok = ReadWave(read.bytes, read.wave, error);
    return read;
}

Bytes SomeSamples(size_t count) {
    Bytes samples;
    for (size_t i = 0; i < count; ++i)
        samples.push_back(static_cast<uint8_t>(i * 7));
    return samples;
}

// A fmt body of another format: the 16 PCM bytes, the extra size, the extra bytes.
Bytes FormatWithExtra(uint16_t tag, const Bytes& extra) {
    Bytes body = PcmFormat(2, 22050, 16);
    body[0] = static_cast<uint8_t>(tag);
    body[1] = static_cast<uint8_t>(tag >> 8);
    Append16(body, static_cast<uint16_t>(extra.size()));
    body.insert(body.end(), extra.begin(), extra.end());
    return body;
}

}  // namespace

TEST(WaveReader, ReadsTheFormatAndDataOfPcmFiles) {
    struct Case {
        uint16_t channels, bits;
        uint32_t rate;
    };
    for (Case c : {Case{1, 8, 11025}, Case{2, 8, 22050}, Case{1, 16, 44100}, Case{2, 16, 48000}}) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.bits << " bits");
        const Bytes samples = SomeSamples(c.channels * c.bits / 8 * 100);
        const ReadFile read = Read(RiffWave(
            {Chunk("fmt ", PcmFormat(c.channels, c.rate, c.bits)), Chunk("data", samples)}));
        ASSERT_TRUE(read.ok);
        const WaveFile& wave = read.wave;
        EXPECT_EQ(wave.format.formatTag, kWaveFormatPcm);
        EXPECT_EQ(wave.format.channels, c.channels);
        EXPECT_EQ(wave.format.sampleRate, c.rate);
        EXPECT_EQ(wave.format.bitsPerSample, c.bits);
        EXPECT_EQ(wave.format.blockAlign, c.channels * c.bits / 8);
        EXPECT_TRUE(wave.format.extra.empty());
        EXPECT_EQ(Bytes(wave.data.begin(), wave.data.end()), samples);
        EXPECT_TRUE(IsPlayablePcm(wave.format));
    }
}

TEST(WaveReader, OtherChunksAreSteppedOverWhereverTheyAre) {
    const Bytes samples = SomeSamples(41);              // odd: the data chunk is padded too
    const Bytes list = Chunk("LIST", SomeSamples(27));  // odd-sized, so followed by a pad byte
    for (const auto& chunks :
         {std::vector<Bytes>{Chunk("fmt ", PcmFormat(1, 8000, 8)), list, Chunk("data", samples)},
          std::vector<Bytes>{list, Chunk("data", samples), Chunk("fmt ", PcmFormat(1, 8000, 8))},
          std::vector<Bytes>{Chunk("fact", SomeSamples(4)), Chunk("fmt ", PcmFormat(1, 8000, 8)),
                             Chunk("data", samples), list}}) {
        const ReadFile read = Read(RiffWave(chunks));
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.wave.format.sampleRate, 8000u);
        EXPECT_EQ(Bytes(read.wave.data.begin(), read.wave.data.end()), samples);
    }
}

TEST(WaveReader, KeepsTheExtraFormatBytesOfOtherFormats) {
    const Bytes adpcmExtra = SomeSamples(32);
    ReadFile read = Read(
        RiffWave({Chunk("fmt ", FormatWithExtra(2, adpcmExtra)), Chunk("data", SomeSamples(8))}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.wave.format.formatTag, 2);
    EXPECT_EQ(read.wave.format.extra, adpcmExtra);
    EXPECT_FALSE(IsPlayablePcm(read.wave.format)) << "compressed formats are not played";

    // Extensible PCM names PCM in its sub-format: valid bits, channel mask, then the GUID.
    Bytes extensible;
    Append16(extensible, 16);
    Append32(extensible, 3);
    Append16(extensible, kWaveFormatPcm);
    extensible.resize(22, 0x11);
    read = Read(RiffWave({Chunk("fmt ", FormatWithExtra(kWaveFormatExtensible, extensible)),
                          Chunk("data", SomeSamples(8))}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.wave.format.extra.size(), 22u);
    EXPECT_TRUE(IsPlayablePcm(read.wave.format));
    extensible[6] = 3;  // IEEE float, which has no 16-bit samples
    read = Read(RiffWave({Chunk("fmt ", FormatWithExtra(kWaveFormatExtensible, extensible)),
                          Chunk("data", SomeSamples(8))}));
    ASSERT_TRUE(read.ok);
    EXPECT_FALSE(IsPlayablePcm(read.wave.format));
    extensible[0] = 24;  // 24 valid bits in 32-bit floats: only the container counts
    Bytes floats = FormatWithExtra(kWaveFormatExtensible, extensible);
    floats[12] = 8;   // block align
    floats[14] = 32;  // bits per sample
    read = Read(RiffWave({Chunk("fmt ", floats), Chunk("data", SomeSamples(8))}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(PlayableEncoding(read.wave.format), SampleEncoding::Float32);
}

TEST(WaveReader, PcmOutsideWhatTheGameCanPlayIsRecognised) {
    WaveFormat format;
    format.formatTag = kWaveFormatPcm;
    format.channels = 2;
    format.sampleRate = 44100;
    format.bitsPerSample = 16;
    format.blockAlign = 4;
    EXPECT_TRUE(IsPlayablePcm(format));
    for (auto change : std::vector<void (*)(WaveFormat&)>{
             [](WaveFormat& f) { f.bitsPerSample = 12; },
             [](WaveFormat& f) { f.formatTag = kWaveFormatFloat; },  // 16-bit floats
             [](WaveFormat& f) { f.blockAlign = 6; },
             [](WaveFormat& f) { f.channels = 6; },
             [](WaveFormat& f) { f.channels = 0; },
             [](WaveFormat& f) { f.sampleRate = 0; },
             [](WaveFormat& f) { f.sampleRate = 10'000'000; },
             [](WaveFormat& f) { f.blockAlign = 0; },
         }) {
        WaveFormat changed = format;
        change(changed);
        EXPECT_FALSE(IsPlayablePcm(changed));
    }
}

TEST(WaveReader, BrokenFilesAreRefused) {
    const Bytes fmt = Chunk("fmt ", PcmFormat(1, 22050, 16));
    Bytes truncatedFormat = fmt;
    truncatedFormat.resize(18);
    Bytes format12 = PcmFormat(1, 22050, 16);
    format12.resize(12);
    const Bytes shortFormat = Chunk("fmt ", format12);
    Bytes extraPastChunk = FormatWithExtra(2, SomeSamples(10));
    extraPastChunk[16] = 200;  // the extra size claims more than the chunk holds
    Bytes notWave = RiffWave({fmt, Chunk("data", SomeSamples(4))});
    notWave[8] = 'A';

    for (const Bytes& broken : {
             Bytes{},
             Bytes{'R', 'I', 'F', 'F'},
             notWave,
             RiffWave({}),
             RiffWave({Chunk("data", SomeSamples(10))}),  // no format
             RiffWave({fmt}),                             // no data
             RiffWave({truncatedFormat}),                 // format cut short
             RiffWave({shortFormat, Chunk("data", SomeSamples(10))}),
             RiffWave({Chunk("fmt ", extraPastChunk), Chunk("data", SomeSamples(10))}),
         }) {
        WaveFile wave;
        std::string error;
        EXPECT_FALSE(ReadWave(broken, wave, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(WaveReader, ARiffSizeLargerThanTheFileIsTrustedOnlyAsFarAsTheBytesGo) {
    Bytes file = RiffWave({Chunk("fmt ", PcmFormat(1, 22050, 16)), Chunk("data", SomeSamples(20))});
    file[4] = file[5] = file[6] = file[7] = 0xFF;
    const ReadFile read = Read(file);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.wave.data.size(), 20u);
}

// A file cut short, or one whose writer never filled in the sizes, plays as far as it goes.
TEST(WaveReader, ADataChunkClaimingMoreThanTheFileHoldsHasWhatThereIs) {
    Bytes cut = RiffWave({Chunk("fmt ", PcmFormat(1, 22050, 16)), Chunk("data", SomeSamples(100))});
    cut.resize(cut.size() - 40);
    ReadFile read = Read(cut);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(Bytes(read.wave.data.begin(), read.wave.data.end()), SomeSamples(60));

    Bytes unfinished = RiffWave({Chunk("fmt ", PcmFormat(1, 22050, 16)), Chunk("data", {})});
    for (size_t at : {size_t{4}, unfinished.size() - 4})
        std::fill_n(unfinished.begin() + static_cast<ptrdiff_t>(at), 4, 0xFF);
    const Bytes samples = SomeSamples(30);
    unfinished.insert(unfinished.end(), samples.begin(), samples.end());
    read = Read(unfinished);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(Bytes(read.wave.data.begin(), read.wave.data.end()), samples);
}

// Random damage of a good file at every length and in every byte: the reader must refuse or
// accept without ever reading outside the bytes (AddressSanitizer watches), and what it accepts
// must lie inside them.
TEST(WaveReader, SurvivesTruncationAndRandomDamage) {
    const Bytes good = RiffWave({Chunk("fmt ", FormatWithExtra(2, SomeSamples(6))),
                                 Chunk("LIST", SomeSamples(9)), Chunk("data", SomeSamples(64))});
    auto check = [](const Bytes& bytes) {
        // A copy of exactly the tested length, so any read past it is caught.
        std::vector<uint8_t> exact(bytes);
        WaveFile wave;
        std::string error;
        if (ReadWave(exact, wave, error)) {
            EXPECT_GE(wave.data.data(), exact.data());
            EXPECT_LE(wave.data.data() + wave.data.size(), exact.data() + exact.size());
        }
    };
    for (size_t length = 0; length <= good.size(); ++length)
        check(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(length)));

    std::mt19937 random(20240601);
    for (int round = 0; round < 20000; ++round) {
        Bytes damaged = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i)
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        if (random() % 3 == 0) damaged.resize(random() % damaged.size());
        check(damaged);
    }
    for (int round = 0; round < 2000; ++round) {
        Bytes noise(random() % 200);
        for (uint8_t& byte : noise)
            byte = static_cast<uint8_t>(random());
        if (noise.size() >= 12) std::copy_n("RIFF\x40\0\0\0WAVE", 12, noise.begin());
        check(noise);
    }
}
