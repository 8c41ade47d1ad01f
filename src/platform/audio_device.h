// What an audio backend supplies to the sound output: a device that, once started, asks the mixer
// for frames from its own thread.
#pragma once

#include <memory>

#include "platform/audio.h"

namespace platform {

class AudioDevice {
  public:
    virtual ~AudioDevice() = default;
    // Opens the device, silent, for signed 16-bit stereo; `rate` receives its frames per second.
    virtual AudioStatus Open(int& rate) = 0;
    // Starts playback: from now on the device's thread calls mixer.Mix.
    virtual void Start(AudioMixer& mixer) = 0;
    // Stops the device; once this returns the mixer is no longer called.
    virtual void Close() = 0;
};

std::unique_ptr<AudioDevice> MakeSdlAudioDevice();
std::unique_ptr<AudioDevice> MakeHeadlessAudioDevice();

}  // namespace platform
