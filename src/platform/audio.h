// The sound output: one device on which the sound effects overlap freely with each other and with
// the background music. The cabinet plays through SDL2 audio; a headless run has no device, and
// neither has a machine without a sound card: the game then runs silent.
#pragma once

#include "platform/audio_mixer.h"

namespace platform {

enum class AudioStatus {
    Open,    // the device plays whatever the mixer gives it
    Absent,  // headless: there is no device by design
    Failed,  // the device could not be opened
};

// Opens the output the first time it is called (signed 16-bit stereo at the device's rate) and
// from then on reports how that went. Closed again at process exit.
AudioStatus OpenAudio();
// The mixer feeding the open output, or null while none is open.
AudioMixer* AudioOutput();
// Closes the output for good: from then on the game runs silent.
void CloseAudio();

}  // namespace platform
