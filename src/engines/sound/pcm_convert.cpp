#include "engines/sound/pcm_convert.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

constexpr int kFractionBits = 32;
constexpr uint64_t kOne = uint64_t{1} << kFractionBits;
// A long sound is converted this many frames at a time, so only the result is held whole.
constexpr size_t kFramesAPiece = 4096;

// Floating-point samples are full scale at -1 and 1: 16-bit samples saved as floats come back
// exactly, louder than full scale is clipped, and a sample that is not a number is silence.
int16_t FromFloat(double value) {
    if (std::isnan(value)) return 0;
    if (value <= -1.0) return -32768;
    if (value >= 1.0) return 32767;
    return static_cast<int16_t>(std::lround(std::min(value * 32768.0, 32767.0)));
}

// Wider integer samples keep their 16 high bits.
int16_t SampleAt(const uint8_t* p, SampleEncoding encoding) {
    switch (encoding) {
        case SampleEncoding::Unsigned8:
            return static_cast<int16_t>((p[0] - 128) * 256);
        case SampleEncoding::Signed16:
            return static_cast<int16_t>(p[0] | p[1] << 8);
        case SampleEncoding::Signed24:
            return static_cast<int16_t>(p[1] | p[2] << 8);
        case SampleEncoding::Signed32:
            return static_cast<int16_t>(p[2] | p[3] << 8);
        case SampleEncoding::Float32: {
            const uint32_t bits = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
            return FromFloat(std::bit_cast<float>(bits));
        }
        case SampleEncoding::Float64: {
            uint64_t bits = 0;
            for (int i = 7; i >= 0; --i)
                bits = bits << 8 | p[i];
            return FromFloat(std::bit_cast<double>(bits));
        }
        case SampleEncoding::Unplayable:
            break;
    }
    return 0;
}

// `frames` frames of the file's samples at `in` to 16-bit stereo appended to `out`.
void AppendStereo16(const WaveFormat& format, SampleEncoding encoding, const uint8_t* in,
                    size_t frames, std::vector<int16_t>& out) {
    const int bytesPerSample = format.bitsPerSample / 8;
    for (size_t i = 0; i < frames; ++i, in += format.blockAlign) {
        const int16_t left = SampleAt(in, encoding);
        out.push_back(left);
        out.push_back(format.channels == 2 ? SampleAt(in + bytesPerSample, encoding) : left);
    }
}

int16_t Between(int16_t a, int16_t b, uint64_t fraction) {
    const int64_t difference = static_cast<int64_t>(b) - a;
    return static_cast<int16_t>(a +
                                ((difference * static_cast<int64_t>(fraction)) >> kFractionBits));
}

}  // namespace

std::vector<int16_t> WaveToStereo16(const WaveFile& wave) {
    const size_t frames = wave.data.size() / wave.format.blockAlign;
    std::vector<int16_t> out;
    out.reserve(frames * 2);
    AppendStereo16(wave.format, PlayableEncoding(wave.format), wave.data.data(), frames, out);
    return out;
}

std::vector<int16_t> WaveToOutput(const WaveFile& wave, int rate) {
    const WaveFormat& format = wave.format;
    if (static_cast<int>(format.sampleRate) == rate) return WaveToStereo16(wave);
    const SampleEncoding encoding = PlayableEncoding(format);
    const size_t frames = wave.data.size() / format.blockAlign;
    StereoResampler resampler(static_cast<int>(format.sampleRate), rate);
    std::vector<int16_t> out;
    out.reserve(resampler.MostFramesFor(frames) * 2);
    std::vector<int16_t> piece;
    for (size_t done = 0; done < frames; done += kFramesAPiece) {
        const size_t count = std::min(kFramesAPiece, frames - done);
        piece.clear();
        AppendStereo16(format, encoding, wave.data.data() + done * format.blockAlign, count, piece);
        resampler.Convert(piece.data(), count, out);
    }
    return out;
}

StereoResampler::StereoResampler(int fromRate, int toRate)
    : step_((static_cast<uint64_t>(fromRate) << kFractionBits) / static_cast<uint64_t>(toRate)) {}

void StereoResampler::Reset() {
    position_ = 0;
    started_ = false;
}

size_t StereoResampler::MostFramesFor(size_t frames) const {
    return static_cast<size_t>((static_cast<double>(frames) + 1) * static_cast<double>(kOne) /
                               static_cast<double>(step_)) +
           1;
}

// The input is seen as previous_ followed by `in`: previous_ is frame 0 and in[k] is frame k + 1.
// An output frame at position p lies between frames p and p + 1 of that sequence.
void StereoResampler::Convert(const int16_t* in, size_t frames, std::vector<int16_t>& out) {
    if (frames == 0) return;
    if (!started_) {
        // The very first frame is output exactly: start one frame in, on in[0].
        previous_[0] = in[0];
        previous_[1] = in[1];
        position_ = kOne;
        started_ = true;
    }
    auto frame = [&](uint64_t index, int side) {
        return index == 0 ? previous_[side] : in[(index - 1) * 2 + side];
    };
    while ((position_ >> kFractionBits) < frames) {
        const uint64_t index = position_ >> kFractionBits;
        const uint64_t fraction = position_ & (kOne - 1);
        out.push_back(Between(frame(index, 0), frame(index + 1, 0), fraction));
        out.push_back(Between(frame(index, 1), frame(index + 1, 1), fraction));
        position_ += step_;
    }
    previous_[0] = in[(frames - 1) * 2];
    previous_[1] = in[(frames - 1) * 2 + 1];
    position_ -= static_cast<uint64_t>(frames) << kFractionBits;
}

std::vector<int16_t> ResampleStereo(const std::vector<int16_t>& frames, int fromRate, int toRate) {
    if (fromRate == toRate) return frames;
    StereoResampler resampler(fromRate, toRate);
    std::vector<int16_t> out;
    out.reserve(resampler.MostFramesFor(frames.size() / 2) * 2);
    resampler.Convert(frames.data(), frames.size() / 2, out);
    return out;
}
