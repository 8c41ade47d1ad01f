// The music's wave output: a ring of decoded frames between the decoding thread, which writes
// them, and the sound output's mixer, which pulls them from the audio thread. It holds a fixed
// number of milliseconds, so music keeps playing while the game thread is busy.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "engines/sound/pcm_convert.h"
#include "platform/audio_mixer.h"

class PcmOutput final : public platform::AudioStream {
  public:
    PcmOutput() = default;
    ~PcmOutput() override;
    PcmOutput(const PcmOutput&) = delete;
    PcmOutput& operator=(const PcmOutput&) = delete;

    // The ring's length, taken at the next Open.
    void SetBufferMs(int ms) { bufferMs_ = ms; }

    // ---- The writer (the decoding thread) ----
    // Starts playing 16-bit stereo at `sampleRate` through the mixer, converting to its rate.
    // False when there is no mixer.
    bool Open(platform::AudioMixer* mixer, int sampleRate);
    // Queues the frames, waiting (and looking again at least every 100 ms) while the ring is
    // full. False when the output was reset meanwhile: the writer should stop.
    bool Write(const int16_t* frames, size_t count);
    // Waits until everything queued has been played, or the output is reset.
    void Drain();
    // Leaves the mixer and throws away what is still queued.
    void Close();

    // ---- Control (any thread) ----
    // While paused the mixer gets nothing and the queued frames wait.
    void Pause(bool paused);
    // Throws away what is queued and makes the writer's waits and writes give up until the next
    // Open.
    void Reset();

    // ---- The mixer (the audio thread) ----
    size_t PullFrames(int16_t* out, size_t frames) override;

  private:
    int bufferMs_ = 2000;
    platform::AudioMixer* mixer_ = nullptr;  // the writer's
    std::optional<StereoResampler> resampler_;
    std::vector<int16_t> converted_;

    std::mutex mutex_;
    std::condition_variable played_;  // signalled whenever the mixer takes frames, and on reset
    std::vector<int16_t> ring_;
    size_t capacity_ = 0;  // frames
    size_t head_ = 0;      // next frame to play
    size_t queued_ = 0;    // frames waiting to play
    bool paused_ = false;
    bool reset_ = false;
};
