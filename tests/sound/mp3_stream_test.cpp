// The layout of MP3 files found from their frame headers: headers, ID3v2 tags, the first valid
// frame, damage, Xing/Info/VBRI headers, and where decoding restarts for a seek.
#include <gtest/gtest.h>

#include <random>

#include "engines/sound/mp3_stream.h"
#include "sound_test_files.h"

namespace {

const Bytes kStereo128k{0xFF, 0xFB, 0x90,
                        0x64};                  // MPEG-1 layer III, 128 kbit/s, 44100, joint stereo
const Bytes kMono128k{0xFF, 0xFB, 0x90, 0xC4};  // the same, mono
constexpr size_t k128kFrameBytes = 417;         // 144 * 128000 / 44100

Bytes Frame(const Bytes& header, uint8_t fill = 0) {
    Bytes frame = header;
    frame.resize(k128kFrameBytes, fill);
    return frame;
}

Bytes Frames(int count, const Bytes& header = kStereo128k) {
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
        const Bytes frame = Frame(header, static_cast<uint8_t>(i));
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    return bytes;
}

void AppendBigEndian32(Bytes& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

// A frame carrying a Xing/Info header (at `at`) or a VBRI header that announces `frames`.
Bytes TagFrame(const Bytes& header, const char* tag, size_t at, uint32_t frames) {
    Bytes frame = Frame(header);
    std::copy_n(tag, 4, frame.begin() + static_cast<ptrdiff_t>(at));
    if (std::string(tag) == "VBRI") {
        AppendBigEndian32(frame, at + 14, frames);
    } else {
        AppendBigEndian32(frame, at + 4, 1);  // flags: the frame count is present
        AppendBigEndian32(frame, at + 8, frames);
    }
    return frame;
}

// An ID3v2 tag whose body holds what looks like two 64 kbit/s MP3 frames (208 bytes each).
Bytes Id3TagWithFalseFrames() {
    Bytes body;
    for (int i = 0; i < 2; ++i) {
        body.insert(body.end(), {0xFF, 0xFB, 0x50, 0x64});
        body.resize(body.size() + 204, 0);
    }
    body.resize(1000, 0);
    Bytes tag{'I', 'D', '3', 3, 0, 0};
    const size_t size = body.size();
    for (int shift : {21, 14, 7, 0})
        tag.push_back(static_cast<uint8_t>((size >> shift) & 0x7F));
    tag.insert(tag.end(), body.begin(), body.end());
    return tag;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

std::vector<size_t> EveryFrame(size_t first, int count, size_t step = k128kFrameBytes) {
    std::vector<size_t> offsets;
    for (int i = 0; i < count; ++i)
        offsets.push_back(first + i * step);
    return offsets;
}

}  // namespace

TEST(Mp3Header, ReadsFormatAndFrameLength) {
    struct Case {
        Bytes header;
        int version, layer, bitrate, rate, channels, samples;
        size_t length;
    };
    for (const Case& c : {
             Case{{0xFF, 0xFB, 0x90, 0x64}, 10, 3, 128000, 44100, 2, 1152, 417},
             Case{{0xFF, 0xFB, 0x92, 0xC4}, 10, 3, 128000, 44100, 1, 1152, 418},  // padded, mono
             Case{{0xFF, 0xFA, 0xB4, 0x00}, 10, 3, 192000, 48000, 2, 1152, 576},  // with CRC
             Case{{0xFF, 0xF3, 0x80, 0x44}, 20, 3, 64000, 22050, 2, 576, 208},
             Case{{0xFF, 0xE3, 0x18, 0xC4}, 25, 3, 8000, 8000, 1, 576, 72},
             Case{{0xFF, 0xFD, 0xA0, 0x04}, 10, 2, 192000, 44100, 2, 1152, 626},
             Case{{0xFF, 0xFF, 0x90, 0x04}, 10, 1, 288000, 44100, 2, 384, 312},
         }) {
        Mp3FrameHeader header;
        ASSERT_TRUE(ReadFrameHeader(c.header, header));
        EXPECT_EQ(header.version, c.version);
        EXPECT_EQ(header.layer, c.layer);
        EXPECT_EQ(header.bitrate, c.bitrate);
        EXPECT_EQ(header.sampleRate, c.rate);
        EXPECT_EQ(header.channels, c.channels);
        EXPECT_EQ(header.samplesPerFrame, c.samples);
        EXPECT_EQ(header.length, c.length);
    }
}

TEST(Mp3Header, RefusesWhatIsNoFrameHeader) {
    for (const Bytes& bad : {
             Bytes{0xFF, 0xFB, 0x90},        // too short
             Bytes{0xFE, 0xFB, 0x90, 0x64},  // no sync
             Bytes{0xFF, 0xEB, 0x90, 0x64},  // reserved version
             Bytes{0xFF, 0xF9, 0x90, 0x64},  // reserved layer
             Bytes{0xFF, 0xFB, 0x00, 0x64},  // free format
             Bytes{0xFF, 0xFB, 0xF0, 0x64},  // bad bitrate
             Bytes{0xFF, 0xFB, 0x9C, 0x64},  // reserved sample rate
             Bytes{0xFF, 0xFB, 0x90, 0x66},  // reserved emphasis
         }) {
        Mp3FrameHeader header;
        EXPECT_FALSE(ReadFrameHeader(bad, header));
    }
}

TEST(Mp3Id3, TagsAtTheStartAreSkipped) {
    const Bytes tag = Id3TagWithFalseFrames();
    EXPECT_EQ(SkipId3v2Tags(Frames(1)), 0u);
    EXPECT_EQ(SkipId3v2Tags(Join({tag, Frames(1)})), tag.size());
    EXPECT_EQ(SkipId3v2Tags(Join({tag, tag, Frames(1)})), 2 * tag.size());
    Bytes withFooter = tag;
    withFooter[5] = 0x10;
    EXPECT_EQ(SkipId3v2Tags(Join({withFooter, Bytes(10, 0), Frames(1)})), tag.size() + 10);
    Bytes notSyncsafe = tag;
    notSyncsafe[7] = 0x80;
    EXPECT_EQ(SkipId3v2Tags(notSyncsafe), 0u);
    EXPECT_EQ(SkipId3v2Tags(Bytes(tag.begin(), tag.begin() + 500)), 500u)
        << "a tag cut short ends the bytes";
}

TEST(Mp3Scan, FindsEveryFrameAfterTheFirstValidOne) {
    Mp3Layout layout = ScanMp3(Frames(10));
    ASSERT_TRUE(layout.foundFirstFrame);
    EXPECT_EQ(layout.frames, EveryFrame(0, 10));
    EXPECT_EQ(layout.audioEnd, 10 * k128kFrameBytes);
    EXPECT_EQ(layout.first.sampleRate, 44100);
    EXPECT_EQ(layout.taggedFrames, 0u);
    EXPECT_EQ(layout.TotalSamples(), 10u * 1152);

    // Junk before, with a false sync: the first frame is one followed by another of its stream.
    const Bytes junk{0x00, 0xFF, 0xFB, 0x90, 0x64, 0x12, 0x00, 0xFF, 0xF0};
    layout = ScanMp3(Join({junk, Frames(4)}));
    EXPECT_EQ(layout.frames, EveryFrame(junk.size(), 4));

    // A single frame that ends the bytes exactly is a stream.
    layout = ScanMp3(Frames(1));
    EXPECT_EQ(layout.frames, EveryFrame(0, 1));
}

TEST(Mp3Scan, AnId3TagIsNotMistakenForFrames) {
    const Bytes tag = Id3TagWithFalseFrames();
    const Mp3Layout layout = ScanMp3(Join({tag, Frames(3)}));
    EXPECT_EQ(layout.frames, EveryFrame(tag.size(), 3));
    EXPECT_EQ(layout.first.bitrate, 128000);
}

TEST(Mp3Scan, StepsOverDamageAndTrailingTags) {
    Bytes damaged = Frames(6);
    damaged[2 * k128kFrameBytes] = 0x00;  // the third frame's header is gone
    Mp3Layout layout = ScanMp3(damaged);
    std::vector<size_t> expected = EveryFrame(0, 6);
    expected.erase(expected.begin() + 2);
    EXPECT_EQ(layout.frames, expected);

    Bytes id3v1{'T', 'A', 'G'};
    id3v1.resize(128, 0xFF);
    layout = ScanMp3(Join({Frames(5), id3v1}));
    EXPECT_EQ(layout.frames, EveryFrame(0, 5));
    EXPECT_EQ(layout.audioEnd, 5 * k128kFrameBytes);

    Bytes cut = Frames(5);
    cut.resize(cut.size() - 100);
    layout = ScanMp3(cut);
    EXPECT_EQ(layout.frames, EveryFrame(0, 4)) << "a frame cut short is not audio";
    EXPECT_EQ(layout.audioEnd, 4 * k128kFrameBytes);

    // Frames of another stream (another sample rate) in the middle are not this song's.
    layout = ScanMp3(Join({Frames(3), Frames(2, Bytes{0xFF, 0xFB, 0x94, 0x64}), Frames(3)}));
    EXPECT_EQ(layout.frames.size(), 6u);
}

TEST(Mp3Scan, NoFirstFrameInNoise) {
    EXPECT_FALSE(ScanMp3(Bytes{}).foundFirstFrame);
    EXPECT_FALSE(ScanMp3(Bytes(5000, 0xFF)).foundFirstFrame);
    EXPECT_FALSE(ScanMp3(Id3TagWithFalseFrames()).foundFirstFrame);
    const Bytes lonely = Join({Frame(kStereo128k), Bytes(20, 0x55)});
    EXPECT_FALSE(ScanMp3(lonely).foundFirstFrame) << "a header not followed by a frame";
}

TEST(Mp3Scan, XingInfoAndVbriHeadersGiveTheLengthAndAreNotAudio) {
    struct Case {
        Bytes header;
        const char* tag;
        size_t at;
    };
    for (const Case& c : {Case{kStereo128k, "Xing", 36}, Case{kStereo128k, "Info", 36},
                          Case{kMono128k, "Info", 21}, Case{kStereo128k, "VBRI", 36}}) {
        SCOPED_TRACE(c.tag);
        const Mp3Layout layout =
            ScanMp3(Join({TagFrame(c.header, c.tag, c.at, 1000), Frames(5, c.header)}));
        EXPECT_EQ(layout.taggedFrames, 1000u);
        EXPECT_EQ(layout.frames, EveryFrame(k128kFrameBytes, 5));
        EXPECT_EQ(layout.TotalSamples(), 1000u * 1152);
    }
    // Only the first frame can be such a header; a Xing header without a count gives no length.
    Bytes noCount = TagFrame(kStereo128k, "Xing", 36, 7);
    AppendBigEndian32(noCount, 40, 0);
    const Mp3Layout layout =
        ScanMp3(Join({noCount, Frames(3), TagFrame(kStereo128k, "Xing", 36, 9)}));
    EXPECT_EQ(layout.taggedFrames, 0u);
    EXPECT_EQ(layout.frames.size(), 4u);
    EXPECT_EQ(layout.TotalSamples(), 4u * 1152);
}

TEST(Mp3Scan, WarmUpCoversTheBitReservoirAndTwoFramesMore) {
    const std::vector<size_t> big = EveryFrame(0, 100);
    EXPECT_EQ(WarmUpStart(big, 0), 0u);
    EXPECT_EQ(WarmUpStart(big, 1), 0u);
    EXPECT_EQ(WarmUpStart(big, 3), 0u);
    // Frame 9 depends on up to 511 bytes before frame 8: frames 6 and 7 hold them.
    EXPECT_EQ(WarmUpStart(big, 9), 4u);
    EXPECT_EQ(WarmUpStart(big, 200), WarmUpStart(big, 100)) << "clamped to the frames there are";

    const std::vector<size_t> tiny = EveryFrame(0, 100, 26);  // 8 kbit/s frames
    // 511 bytes before frame 59 is 20 frames back (520 bytes), then two more.
    EXPECT_EQ(WarmUpStart(tiny, 60), 37u);
}

// Damaged and random bytes: whatever is found must be frames of the stream, inside the bytes.
TEST(Mp3Scan, SurvivesRandomDamage) {
    const Bytes good =
        Join({Id3TagWithFalseFrames(), TagFrame(kStereo128k, "Xing", 36, 50), Frames(12)});
    std::mt19937 random(77);
    for (int round = 0; round < 3000; ++round) {
        Bytes bytes = good;
        for (int i = 0; i < 1 + static_cast<int>(random() % 8); ++i)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (random() % 2) bytes.resize(random() % bytes.size());
        const Bytes exact(bytes);
        const Mp3Layout layout = ScanMp3(exact);
        size_t previousEnd = 0;
        for (size_t at : layout.frames) {
            Mp3FrameHeader header;
            ASSERT_GE(at, previousEnd);
            ASSERT_TRUE(ReadFrameHeader(std::span(exact).subspan(at), header));
            ASSERT_TRUE(header.SameStreamAs(layout.first));
            ASSERT_LE(at + header.length, exact.size());
            previousEnd = at + header.length;
        }
        ASSERT_LE(layout.audioEnd, exact.size());
        WarmUpStart(layout.frames, random() % 20);
    }
}
