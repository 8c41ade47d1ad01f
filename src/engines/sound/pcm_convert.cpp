#include "engines/sound/pcm_convert.h"

namespace {

constexpr int kFractionBits = 32;
constexpr uint64_t kOne = uint64_t{1} << kFractionBits;

int16_t SampleAt(const uint8_t* p, int bits) {
    if (bits == 8) return static_cast<int16_t>((p[0] - 128) * 256);
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

int16_t Between(int16_t a, int16_t b, uint64_t fraction) {
    const int64_t difference = static_cast<int64_t>(b) - a;
    return static_cast<int16_t>(a +
                                ((difference * static_cast<int64_t>(fraction)) >> kFractionBits));
}

}  // namespace

std::vector<int16_t> WaveToStereo16(const WaveFile& wave) {
    const WaveFormat& format = wave.format;
    const int bytesPerSample = format.bitsPerSample / 8;
    const size_t frames = wave.data.size() / format.blockAlign;
    std::vector<int16_t> out(frames * 2);
    const uint8_t* p = wave.data.data();
    for (size_t i = 0; i < frames; ++i, p += format.blockAlign) {
        const int16_t left = SampleAt(p, format.bitsPerSample);
        out[2 * i] = left;
        out[2 * i + 1] =
            format.channels == 2 ? SampleAt(p + bytesPerSample, format.bitsPerSample) : left;
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
