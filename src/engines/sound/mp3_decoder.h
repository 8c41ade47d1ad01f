// libmad decoding of the audio frames of an MP3 held in memory, as 16-bit stereo. libmad has no
// seek: the decoder restarts a few frames before the wanted one and throws the warm-up away.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engines/sound/mp3_stream.h"

class Mp3Decoder {
  public:
    // `bytes` and `layout` (ScanMp3 of those bytes) must outlive the decoder.
    Mp3Decoder(std::span<const uint8_t> bytes, const Mp3Layout& layout);
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Makes `frame` (an index into layout.frames) the next frame Next gives.
    void Seek(size_t frame);
    // Decodes the next audio frame: `frame` receives its index, `pcm` its samples as interleaved
    // stereo (mono is copied to both sides). False at the end of the stream or on damage the
    // decoder cannot get past. Damaged frames it can step over are left out.
    bool Next(size_t& frame, std::vector<int16_t>& pcm);

  private:
    struct MadState;

    void Restart(size_t fromFrame);
    bool MoveToTail();
    // The index of the frame starting at `at` (an offset in the bytes), or the frame count.
    size_t FrameAt(size_t at) const;

    std::span<const uint8_t> bytes_;
    const Mp3Layout& layout_;
    std::unique_ptr<MadState> mad_;
    size_t target_ = 0;          // frames before this one are warm-up, decoded but not given
    std::vector<uint8_t> tail_;  // the last bytes of the stream followed by zeros
    size_t tailStart_ = 0;       // offset in the bytes of tail_[0]
    bool onTail_ = false;
};
