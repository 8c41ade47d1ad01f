// The mixer behind the sound output: one voice per sound effect and one music stream, summed into
// the device's signed 16-bit stereo frames. The device's audio thread calls Mix; the game thread
// starts and stops voices and attaches the music, so every operation takes the mixer's lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

// Interleaved signed 16-bit stereo frames at the device rate (left, right, left, right, ...).
using AudioClip = std::vector<int16_t>;

constexpr int kAudioChannels = 2;
constexpr int kEffectVoices = 64;

// A source of music frames, pulled from the audio thread while it is attached.
class AudioStream {
  public:
    virtual ~AudioStream() = default;
    // Copies up to `frames` stereo frames into `out`; returns how many it gave. The mixer plays
    // silence for the rest.
    virtual size_t PullFrames(int16_t* out, size_t frames) = 0;
};

class AudioMixer {
  public:
    explicit AudioMixer(int rate) : rate_(rate), voices_(kEffectVoices) {}

    // Frames per second of everything played through this mixer.
    int Rate() const { return rate_; }

    // Plays the clip on the voice from its first frame, cutting off whatever the voice played.
    // Voices outside 0 to kEffectVoices - 1 are ignored.
    void Play(int voice, std::shared_ptr<const AudioClip> clip);
    bool Playing(int voice);
    void Stop(int voice);

    // The music stream mixed beside the voices (one at a time; attaching replaces the previous
    // one). Once Detach returns, the mixer no longer calls the stream.
    void AttachMusic(AudioStream* stream);
    void DetachMusic(AudioStream* stream);

    // Fills `frames` stereo frames with the sum of the playing voices and the music, clipped to
    // 16 bits, and advances them. Returns the frames of music mixed in: a music stream that runs
    // short plays silence after what it gave.
    size_t Mix(int16_t* out, size_t frames);

  private:
    struct Voice {
        std::shared_ptr<const AudioClip> clip;
        size_t position = 0;  // next frame to play
        bool playing = false;
    };

    size_t MixChunk(int16_t* out, size_t frames);

    const int rate_;
    std::mutex mutex_;
    std::vector<Voice> voices_;
    AudioStream* music_ = nullptr;
};

}  // namespace platform
