// The MP3 player behind the background music: a stream held in memory, decoded with libmad in a
// thread of its own into a PcmOutput, playing a stretch of the song in a loop.
//
// States: closed -> open (OpenStream) -> playing <-> paused -> open again after Stop or when the
// repeats are done. The decoding thread shares the player with the game thread under the
// player's lock; Stop waits for the thread to let go before it returns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "engines/sound/mp3_stream.h"
#include "engines/sound/pcm_output.h"
#include "platform/audio_mixer.h"

class Mp3Decoder;

class Mp3Player {
  public:
    // `output` names the mixer to play into, asked each time playback starts; null there means
    // there is no sound output.
    explicit Mp3Player(std::function<platform::AudioMixer*()> output);
    ~Mp3Player();
    Mp3Player(const Mp3Player&) = delete;
    Mp3Player& operator=(const Mp3Player&) = delete;

    // Opens the MP3 in `size` bytes at `data` (kept by the caller while the stream is open) with
    // an output ring of `bufferMs` milliseconds (200 at least).
    bool OpenStream(const uint8_t* data, size_t size, int bufferMs);
    // Stops playback and forgets the stream.
    void Close();

    // Plays the stretch from `startMs` for `lengthMs` (to the end of the song when negative or
    // when the song ends sooner) `repeats` times, jumping back to its start after each play.
    // Resumes instead when paused. False, with the error text, when it cannot start, and when
    // the player is already playing.
    bool PlayLoop(int startMs, int lengthMs, int repeats);
    // Holds playback where it is; PlayLoop resumes it.
    void Pause();
    // Stops playback and returns once the decoding thread has let go. Nothing happens when
    // nothing plays.
    void Stop();

    // The song's length in milliseconds, 0 with no stream open.
    int LengthMs() const;
    bool IsPlaying();
    // The last error, word for word (at most 1023 characters); empty when there was none.
    std::string LastError();

  private:
    struct Loop {
        uint64_t start = 0;   // samples
        uint64_t length = 0;  // samples
        int repeatsWanted = 0;
        int repeatsDone = 0;
    };

    void DecodeThread();
    // Decodes the loop from `position` onwards into `block`, jumping back to the loop start at
    // the end of the stretch. False when the repeats are done or stop was asked for. Called with
    // the lock held.
    bool NextBlock(Mp3Decoder& decoder, uint64_t& position, std::vector<int16_t>& block);
    void SetError(const char* text);  // with the lock held
    // The thread's last act: playing is over, for the reason in `error` when there is one.
    void FinishPlaying(const char* error);

    std::function<platform::AudioMixer*()> output_;
    std::span<const uint8_t> stream_;
    Mp3Layout layout_;
    bool open_ = false;
    PcmOutput pcm_;
    platform::AudioMixer* mixer_ = nullptr;  // chosen when playback starts

    std::mutex lock_;  // guards everything below while the thread runs
    bool playing_ = false;
    bool paused_ = false;
    bool stopRequested_ = false;
    Loop loop_;
    std::string lastError_;
    std::thread thread_;
};
