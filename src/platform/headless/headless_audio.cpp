// A headless run has no audio device: effects and music are only recorded in the harness trace.
#include "platform/audio_device.h"

namespace platform {
namespace {

class HeadlessAudioDevice final : public AudioDevice {
  public:
    AudioStatus Open(int&) override { return AudioStatus::Absent; }
    void Start(AudioMixer&) override {}
    void Close() override {}
};

}  // namespace

std::unique_ptr<AudioDevice> MakeHeadlessAudioDevice() {
    return std::make_unique<HeadlessAudioDevice>();
}

}  // namespace platform
