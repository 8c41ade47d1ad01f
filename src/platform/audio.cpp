// The process-wide sound output: the backend's device and the mixer it plays.
#include "platform/audio.h"

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/audio_device.h"
#include "platform/platform.h"

namespace platform {
namespace {

struct AudioState {
    std::mutex mutex;
    std::optional<AudioStatus> status;  // empty until the first OpenAudio
    std::unique_ptr<AudioDevice> device;
    // Never freed: the device's thread and the music thread may still hold it while the process
    // exits.
    std::unique_ptr<AudioMixer> mixer;
    std::atomic<AudioMixer*> output{nullptr};
};

AudioState& State() {
    static AudioState* state = new AudioState;
    return *state;
}

}  // namespace

AudioStatus OpenAudio() {
    AudioState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.status) return *state.status;

    state.device = CurrentOptions().headless ? MakeHeadlessAudioDevice() : MakeSdlAudioDevice();
    int rate = 0;
    state.status = state.device->Open(rate);
    if (*state.status != AudioStatus::Open) {
        state.device.reset();
        return *state.status;
    }
    state.mixer = std::make_unique<AudioMixer>(rate);
    state.device->Start(*state.mixer);
    state.output = state.mixer.get();
    static bool closeAtExit = (std::atexit(CloseAudio), true);
    (void)closeAtExit;
    return AudioStatus::Open;
}

AudioMixer* AudioOutput() {
    return State().output;
}

void CloseAudio() {
    AudioState& state = State();
    std::lock_guard lock(state.mutex);
    state.output = nullptr;
    if (state.device) state.device->Close();
    state.device.reset();
    state.status = AudioStatus::Absent;
}

}  // namespace platform
