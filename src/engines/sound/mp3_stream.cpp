#include "engines/sound/mp3_stream.h"

#include <algorithm>

namespace {

constexpr size_t kHeaderBytes = 4;
constexpr size_t kId3HeaderBytes = 10;
constexpr size_t kBitReservoirBytes = 511;
constexpr size_t kFilterWarmUpFrames = 2;

// Kilobits a second by bitrate index (1 to 14).
constexpr int kBitrates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2 layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},  // MPEG-2 layers II, III
};

constexpr int kMpeg1Rates[3] = {44100, 48000, 32000};

uint32_t BigEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

bool HasTag(std::span<const uint8_t> bytes, size_t at, const char* tag) {
    return at <= bytes.size() && bytes.size() - at >= 4 &&
           std::equal(tag, tag + 4, bytes.begin() + at);
}

// A frame header at `at`, of the given stream when one is given.
bool IsFrameAt(std::span<const uint8_t> bytes, size_t at, const Mp3FrameHeader* stream,
               Mp3FrameHeader& header) {
    if (!ReadFrameHeader(bytes.subspan(at), header)) return false;
    return !stream || header.SameStreamAs(*stream);
}

// A frame at `at` whose successor is a frame of the same stream (or which reaches the end).
bool IsConfirmedFrameAt(std::span<const uint8_t> bytes, size_t at, const Mp3FrameHeader* stream,
                        Mp3FrameHeader& header) {
    if (!IsFrameAt(bytes, at, stream, header)) return false;
    if (header.length >= bytes.size() - at) return true;
    Mp3FrameHeader next;
    return IsFrameAt(bytes, at + header.length, &header, next);
}

// True when the frame carries a Xing or Info header (after the side information of a layer III
// frame, or 2 bytes later where a writer counted the CRC) or a VBRI header (32 bytes after the
// frame header) instead of audio; `frames` receives the audio frames it announces, 0 when it does
// not say.
bool ReadTaggedFrames(std::span<const uint8_t> frame, const Mp3FrameHeader& header,
                      uint32_t& frames) {
    frames = 0;
    if (header.layer != 3) return false;
    const bool mono = header.channels == 1;
    const size_t sideInfo = header.version == 10 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    for (size_t at : {kHeaderBytes + sideInfo, kHeaderBytes + 2 + sideInfo}) {
        if (!HasTag(frame, at, "Xing") && !HasTag(frame, at, "Info")) continue;
        if (frame.size() - at < 12) return true;
        const uint32_t flags = BigEndian32(frame.data() + at + 4);
        if (flags & 1) frames = BigEndian32(frame.data() + at + 8);
        return true;
    }
    const size_t vbri = kHeaderBytes + 32;
    if (!HasTag(frame, vbri, "VBRI")) return false;
    if (frame.size() - vbri >= 18) frames = BigEndian32(frame.data() + vbri + 14);
    return true;
}

}  // namespace

bool ReadFrameHeader(std::span<const uint8_t> bytes, Mp3FrameHeader& header) {
    if (bytes.size() < kHeaderBytes) return false;
    const uint8_t* p = bytes.data();
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const int versionBits = (p[1] >> 3) & 3;
    const int layerBits = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
        rateIndex == 3 || (p[3] & 3) == 2)
        return false;

    header.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
    header.layer = 4 - layerBits;
    const bool mpeg1 = header.version == 10;
    const int table = mpeg1 ? header.layer - 1 : (header.layer == 1 ? 3 : 4);
    header.bitrate = kBitrates[table][bitrateIndex] * 1000;
    const int divisor = mpeg1 ? 1 : header.version == 20 ? 2 : 4;
    header.sampleRate = kMpeg1Rates[rateIndex] / divisor;
    header.channels = (p[3] >> 6) == 3 ? 1 : 2;

    const int padding = (p[2] >> 1) & 1;
    if (header.layer == 1) {
        header.samplesPerFrame = 384;
        header.length =
            static_cast<size_t>((12 * header.bitrate / header.sampleRate + padding) * 4);
    } else {
        const bool halfFrames = header.layer == 3 && !mpeg1;
        header.samplesPerFrame = halfFrames ? 576 : 1152;
        const int bytesPerRate = halfFrames ? 72 : 144;
        header.length =
            static_cast<size_t>(bytesPerRate * header.bitrate / header.sampleRate + padding);
    }
    return header.length > kHeaderBytes;
}

size_t SkipId3v2Tags(std::span<const uint8_t> bytes) {
    size_t at = 0;
    while (bytes.size() - at >= kId3HeaderBytes && bytes[at] == 'I' && bytes[at + 1] == 'D' &&
           bytes[at + 2] == '3') {
        const uint8_t* p = bytes.data() + at;
        if ((p[6] | p[7] | p[8] | p[9]) & 0x80) break;  // not a syncsafe size: not a tag
        const size_t size = static_cast<size_t>(p[6]) << 21 | p[7] << 14 | p[8] << 7 | p[9];
        const bool footer = p[5] & 0x10;
        at += kId3HeaderBytes + size + (footer ? kId3HeaderBytes : 0);
        if (at >= bytes.size()) return bytes.size();
    }
    return at;
}

uint64_t Mp3Layout::TotalSamples() const {
    const uint64_t count = taggedFrames ? taggedFrames : frames.size();
    return count * static_cast<uint64_t>(first.samplesPerFrame);
}

Mp3Layout ScanMp3(std::span<const uint8_t> bytes) {
    Mp3Layout layout;
    size_t at = SkipId3v2Tags(bytes);
    Mp3FrameHeader header;
    while (at < bytes.size() && !IsConfirmedFrameAt(bytes, at, nullptr, header))
        ++at;
    if (at >= bytes.size()) return layout;
    layout.foundFirstFrame = true;
    layout.first = header;

    bool firstFrame = true;
    while (at < bytes.size()) {
        if (!IsFrameAt(bytes, at, &layout.first, header)) {
            // Damage or a trailing tag: look for the stream again further on.
            ++at;
            while (at < bytes.size() && !IsConfirmedFrameAt(bytes, at, &layout.first, header))
                ++at;
            continue;
        }
        if (header.length > bytes.size() - at) break;  // cut short
        const auto frame = bytes.subspan(at, header.length);
        if (!(firstFrame && ReadTaggedFrames(frame, header, layout.taggedFrames)))
            layout.frames.push_back(at);
        firstFrame = false;
        at += header.length;
        layout.audioEnd = at;
    }
    return layout;
}

size_t WarmUpStart(const std::vector<size_t>& frames, size_t target) {
    target = std::min(target, frames.size());
    if (target == 0) return 0;
    const size_t anchor = target - 1;
    size_t start = anchor;
    while (start > 0 && frames[anchor] - frames[start] < kBitReservoirBytes)
        --start;
    return start > kFilterWarmUpFrames ? start - kFilterWarmUpFrames : 0;
}
