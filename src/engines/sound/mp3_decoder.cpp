#include "engines/sound/mp3_decoder.h"

#include <mad.h>

#include <algorithm>

struct Mp3Decoder::MadState {
    mad_stream stream;
    mad_frame frame;
    mad_synth synth;

    MadState() {
        mad_stream_init(&stream);
        mad_frame_init(&frame);
        mad_synth_init(&synth);
    }
    ~MadState() {
        mad_synth_finish(&synth);
        mad_frame_finish(&frame);
        mad_stream_finish(&stream);
    }
};

namespace {

// libmad's 28-bit fixed point to 16 bits, rounded and clipped.
int16_t ToSample(mad_fixed_t value) {
    value += 1L << (MAD_F_FRACBITS - 16);
    value = std::clamp<mad_fixed_t>(value, -MAD_F_ONE, MAD_F_ONE - 1);
    return static_cast<int16_t>(value >> (MAD_F_FRACBITS + 1 - 16));
}

void CopyPcm(const mad_pcm& pcm, std::vector<int16_t>& out) {
    out.resize(static_cast<size_t>(pcm.length) * 2);
    const int right = pcm.channels == 2 ? 1 : 0;
    for (size_t i = 0; i < pcm.length; ++i) {
        out[2 * i] = ToSample(pcm.samples[0][i]);
        out[2 * i + 1] = ToSample(pcm.samples[right][i]);
    }
}

}  // namespace

Mp3Decoder::Mp3Decoder(std::span<const uint8_t> bytes, const Mp3Layout& layout)
    : bytes_(bytes), layout_(layout) {
    Seek(0);
}

Mp3Decoder::~Mp3Decoder() = default;

void Mp3Decoder::Seek(size_t frame) {
    target_ = std::min(frame, layout_.frames.size());
    Restart(WarmUpStart(layout_.frames, target_));
}

// A fresh decoder (no bit reservoir, silent filters) fed from frame `fromFrame` to the end of the
// audio.
void Mp3Decoder::Restart(size_t fromFrame) {
    mad_ = std::make_unique<MadState>();
    onTail_ = false;
    const size_t from =
        fromFrame < layout_.frames.size() ? layout_.frames[fromFrame] : layout_.audioEnd;
    mad_stream_buffer(&mad_->stream, bytes_.data() + from, layout_.audioEnd - from);
}

// libmad needs MAD_BUFFER_GUARD bytes after the last frame to decode it: the rest of the stream
// is copied into a buffer with zeros after it.
bool Mp3Decoder::MoveToTail() {
    if (onTail_) return false;
    const uint8_t* rest = mad_->stream.next_frame;
    const uint8_t* end = bytes_.data() + layout_.audioEnd;
    tailStart_ = static_cast<size_t>(rest - bytes_.data());
    tail_.assign(rest, end);
    tail_.resize(tail_.size() + MAD_BUFFER_GUARD, 0);
    mad_stream_buffer(&mad_->stream, tail_.data(), tail_.size());
    onTail_ = true;
    return true;
}

size_t Mp3Decoder::FrameAt(size_t at) const {
    const auto found = std::lower_bound(layout_.frames.begin(), layout_.frames.end(), at);
    if (found == layout_.frames.end() || *found != at) return layout_.frames.size();
    return static_cast<size_t>(found - layout_.frames.begin());
}

bool Mp3Decoder::Next(size_t& frame, std::vector<int16_t>& pcm) {
    mad_stream& stream = mad_->stream;
    for (;;) {
        if (mad_frame_decode(&mad_->frame, &stream) != 0) {
            if (stream.error == MAD_ERROR_BUFLEN) {
                if (!MoveToTail()) return false;
                continue;
            }
            if (MAD_RECOVERABLE(stream.error)) continue;
            return false;
        }
        const uint8_t* base = onTail_ ? tail_.data() : bytes_.data();
        const size_t at =
            static_cast<size_t>(stream.this_frame - base) + (onTail_ ? tailStart_ : 0);
        const size_t index = FrameAt(at);
        if (index == layout_.frames.size()) continue;  // a false sync in damaged data
        // Warm-up frames still pass through the filters, which is what primes them.
        mad_synth_frame(&mad_->synth, &mad_->frame);
        if (index < target_) continue;
        CopyPcm(mad_->synth.pcm, pcm);
        frame = index;
        return true;
    }
}
