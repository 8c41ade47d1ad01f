// The layout of an MP3 file held in memory, found by reading frame headers only: where its audio
// frames start, their format, and the length announced by a Xing, Info (LAME) or VBRI header.
// Pure functions over bytes: a broken file gives no frames, never a read outside the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct Mp3FrameHeader {
    int version = 0;  // 10 for MPEG-1, 20 for MPEG-2, 25 for MPEG-2.5
    int layer = 0;    // 1 to 3
    int bitrate = 0;  // bits a second
    int sampleRate = 0;
    int channels = 0;
    int samplesPerFrame = 0;
    size_t length = 0;  // bytes of the whole frame, header included

    // Frames of one stream share version, layer and sample rate.
    bool SameStreamAs(const Mp3FrameHeader& other) const {
        return version == other.version && layer == other.layer && sampleRate == other.sampleRate;
    }
};

// Reads the 4-byte frame header at the start of `bytes`. False when there are fewer than 4 bytes
// or they are not a header of a frame with a fixed bitrate (free format is not played).
bool ReadFrameHeader(std::span<const uint8_t> bytes, Mp3FrameHeader& header);

// The offset just after the ID3v2 tags at the start of the file (0 when there are none).
size_t SkipId3v2Tags(std::span<const uint8_t> bytes);

struct Mp3Layout {
    bool foundFirstFrame = false;
    Mp3FrameHeader first;  // the header of the first valid frame
    // Start of every complete audio frame of the stream, in order. A Xing, Info or VBRI frame is
    // not audio and is left out.
    std::vector<size_t> frames;
    size_t audioEnd = 0;        // the end of the last complete audio frame
    uint32_t taggedFrames = 0;  // audio frames announced by a Xing, Info or VBRI header, or 0

    // The song's length in samples (per channel): the announced frames when a header gives them,
    // else the frames found.
    uint64_t TotalSamples() const;
};

// Finds the first valid frame (after any ID3v2 tag: a frame header followed by another frame of
// the same stream, or by the end of the bytes), then every frame after it, stepping over damage
// and trailing tags.
Mp3Layout ScanMp3(std::span<const uint8_t> bytes);

// The frame to start decoding at so that frame `target` comes out exactly as it would from a
// decode of the whole stream: far enough back to hold the bit reservoir of the frame before it
// (511 bytes), and two frames more for the decoder's filters.
size_t WarmUpStart(const std::vector<size_t>& frames, size_t target);
