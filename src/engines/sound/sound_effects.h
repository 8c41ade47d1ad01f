// The numbered sound effects, 1 to 46. All are read from their WAV files when the sound output
// opens and kept for the rest of the run; effects overlap freely with each other and with the
// music.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "engines/sound/sound_numbers.h"
#include "platform/audio_mixer.h"

// Creates the sound-effects object, opens the sound output and reads every sound. An output that
// cannot be opened shows the failure message box and leaves the game silent. False only when the
// object itself cannot be created.
bool StartSoundEffects();
// Plays sound 1 to 46 (sound_numbers.h names them) once from its start, restarting it if it is
// already playing; other numbers are ignored. Every sound played is recorded in the harness trace.
void PlaySoundEffect(uint8_t number);
// True while the sound is playing. Silent runs (headless, no sound card) answer false.
bool SoundEffectPlaying(uint8_t number);
// Stops every sound that has been played.
void StopAllSoundEffects();
// Stops them and drops the sound-effects object with every sound it has read, as at start-up:
// the next StartSoundEffects makes a new one on the sound output of that moment.
void ForgetSoundEffects();

// The file of sound 1 to 46 as the game names it ("sounds\Button.wav"), or null.
const char* SoundEffectFile(int number);

// The object behind the operations above, playing through `output`, or silent when it is null.
class SoundEffects {
  public:
    explicit SoundEffects(platform::AudioMixer* output) : output_(output) {}

    void Play(uint8_t number);
    bool Playing(uint8_t number);
    void StopAll();

    // Reads every sound into its slot, so that no frame waits for a file; a sound that cannot
    // be read is left for its first play, which tries again and shows the failure.
    void ReadAll();

  private:
    // Sound `number` as a clip for the output, or null when its file cannot be read.
    std::shared_ptr<const platform::AudioClip> ReadClip(int number) const;

    platform::AudioMixer* output_;
    std::array<std::shared_ptr<const platform::AudioClip>, kSoundEffectCount> clips_;
    std::array<bool, kSoundEffectCount> played_{};  // set at the first play
};
