#include "engines/sound/wav_reader.h"

#include <algorithm>

namespace {

constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kPcmFormatBytes = 16;
constexpr uint32_t kLowestRate = 1000;
constexpr uint32_t kHighestRate = 192000;

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Read32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool IsTag(const uint8_t* p, const char* tag) {
    return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

struct Chunk {
    std::span<const uint8_t> body;
    bool found = false;
};

// Looks for the chunk `tag` among the sub-chunks in `form`. Chunks are word aligned: an odd-sized
// chunk is followed by a pad byte. The chunk looked for, when it claims more bytes than remain (a
// file cut short, or a writer that never went back to fill in the size), holds what remains; any
// other such chunk hides the rest.
bool FindChunk(std::span<const uint8_t> form, const char* tag, Chunk& chunk, std::string& error) {
    size_t at = 0;
    while (form.size() - at >= kChunkHeaderBytes) {
        const uint8_t* header = form.data() + at;
        const size_t size = Read32(header + 4);
        at += kChunkHeaderBytes;
        if (IsTag(header, tag)) {
            chunk.body = form.subspan(at, std::min(size, form.size() - at));
            chunk.found = true;
            return true;
        }
        if (size > form.size() - at) break;
        at += size + (size & 1);
        if (at > form.size()) break;
    }
    error = std::string("no \"") + tag + "\" chunk";
    return false;
}

bool ReadFormat(std::span<const uint8_t> body, WaveFormat& format, std::string& error) {
    if (body.size() < kPcmFormatBytes) {
        error = "the \"fmt \" chunk is too short";
        return false;
    }
    const uint8_t* p = body.data();
    format.formatTag = Read16(p);
    format.channels = Read16(p + 2);
    format.sampleRate = Read32(p + 4);
    format.byteRate = Read32(p + 8);
    format.blockAlign = Read16(p + 12);
    format.bitsPerSample = Read16(p + 14);
    format.extra.clear();
    if (format.formatTag == kWaveFormatPcm) return true;

    if (body.size() < kPcmFormatBytes + 2) {
        error = "the \"fmt \" chunk has no extra format size";
        return false;
    }
    const size_t extraSize = Read16(p + kPcmFormatBytes);
    if (extraSize > body.size() - kPcmFormatBytes - 2) {
        error = "the extra format bytes run past the \"fmt \" chunk";
        return false;
    }
    const uint8_t* extra = p + kPcmFormatBytes + 2;
    format.extra.assign(extra, extra + extraSize);
    return true;
}

}  // namespace

bool ReadWave(std::span<const uint8_t> bytes, WaveFile& wave, std::string& error) {
    if (bytes.size() < 12 || !IsTag(bytes.data(), "RIFF") || !IsTag(bytes.data() + 8, "WAVE")) {
        error = "not a RIFF WAVE file";
        return false;
    }
    // The RIFF size is trusted only as far as the bytes go: some writers leave it too large.
    const size_t riffSize = Read32(bytes.data() + 4);
    const size_t formEnd = riffSize < bytes.size() - 8 ? 8 + riffSize : bytes.size();
    const std::span<const uint8_t> form = bytes.subspan(12, formEnd < 12 ? 0 : formEnd - 12);

    Chunk fmt, data;
    if (!FindChunk(form, "fmt ", fmt, error) || !ReadFormat(fmt.body, wave.format, error))
        return false;
    if (!FindChunk(form, "data", data, error)) return false;
    wave.data = data.body;
    return true;
}

SampleEncoding PlayableEncoding(const WaveFormat& format) {
    uint16_t tag = format.formatTag;
    // Extensible formats name their real format in the first two bytes of the sub-format GUID,
    // which follows the valid bits (2 bytes) and the channel mask (4 bytes). Samples with fewer
    // valid bits than their container are read at the container's size: the valid bits are the
    // high ones.
    if (tag == kWaveFormatExtensible)
        tag = format.extra.size() >= 22 ? Read16(format.extra.data() + 6) : 0;
    const bool channels = format.channels == 1 || format.channels == 2;
    if (!channels || format.sampleRate < kLowestRate || format.sampleRate > kHighestRate ||
        format.blockAlign != format.channels * format.bitsPerSample / 8)
        return SampleEncoding::Unplayable;
    if (tag == kWaveFormatPcm) {
        switch (format.bitsPerSample) {
            case 8:
                return SampleEncoding::Unsigned8;
            case 16:
                return SampleEncoding::Signed16;
            case 24:
                return SampleEncoding::Signed24;
            case 32:
                return SampleEncoding::Signed32;
        }
    } else if (tag == kWaveFormatFloat) {
        if (format.bitsPerSample == 32) return SampleEncoding::Float32;
        if (format.bitsPerSample == 64) return SampleEncoding::Float64;
    }
    return SampleEncoding::Unplayable;
}

bool IsPlayablePcm(const WaveFormat& format) {
    return PlayableEncoding(format) != SampleEncoding::Unplayable;
}
