// The cabinet's sound output: the default SDL2 audio device, asked for signed 16-bit stereo at
// 44100 frames a second. SDL converts sample format and channels if the hardware differs; a
// different rate is accepted and the game converts its sounds to it.
#include <SDL.h>

#include <cstdio>

#include "platform/audio_device.h"

namespace platform {
namespace {

constexpr int kPreferredRate = 44100;
constexpr Uint16 kFramesPerCallback = 1024;  // about 23 ms at 44100

class SdlAudioDevice final : public AudioDevice {
  public:
    ~SdlAudioDevice() override { Close(); }

    AudioStatus Open(int& rate) override {
        // The sound may start before the window: SDL must leave the stop signals to the platform.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            fprintf(stderr, "vantor: cannot start the sound system: %s\n", SDL_GetError());
            return AudioStatus::Failed;
        }
        started_ = true;
        SDL_AudioSpec wanted{};
        wanted.freq = kPreferredRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = kAudioChannels;
        wanted.samples = kFramesPerCallback;
        wanted.callback = &SdlAudioDevice::Callback;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        device_ =
            SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (device_ == 0) {
            fprintf(stderr, "vantor: no sound output, the game runs silent: %s\n", SDL_GetError());
            return AudioStatus::Failed;
        }
        rate = obtained.freq;
        return AudioStatus::Open;
    }

    void Start(AudioMixer& mixer) override {
        SDL_LockAudioDevice(device_);
        mixer_ = &mixer;
        SDL_UnlockAudioDevice(device_);
        SDL_PauseAudioDevice(device_, 0);
    }

    void Close() override {
        if (device_ != 0) SDL_CloseAudioDevice(device_);
        device_ = 0;
        mixer_ = nullptr;
        if (started_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        started_ = false;
    }

  private:
    static void SDLCALL Callback(void* userdata, Uint8* stream, int length) {
        auto* self = static_cast<SdlAudioDevice*>(userdata);
        const size_t frames = static_cast<size_t>(length) / (sizeof(int16_t) * kAudioChannels);
        if (self->mixer_)
            self->mixer_->Mix(reinterpret_cast<int16_t*>(stream), frames);
        else
            SDL_memset(stream, 0, static_cast<size_t>(length));
    }

    bool started_ = false;
    SDL_AudioDeviceID device_ = 0;
    AudioMixer* mixer_ = nullptr;
};

}  // namespace

std::unique_ptr<AudioDevice> MakeSdlAudioDevice() {
    return std::make_unique<SdlAudioDevice>();
}

}  // namespace platform
