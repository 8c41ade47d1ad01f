// The background music: a song played in a loop while the cabinet waits for a player. The game
// uses three calls on one program-wide façade: open a file, play a stretch of it in a loop, stop.
// Music that fails to open or play leaves the game silent but running.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engines/sound/mp3_player.h"
#include "platform/audio.h"
#include "platform/audio_mixer.h"

// The game's music file, opened when the program-wide façade is made.
constexpr const char* kBackgroundMusicFile = "sounds//Background2.mp3";

class BackgroundMusic {
  public:
    // `output` names the mixer music plays into (the sound output by default); when it has none
    // (headless, no sound card) the music is only recorded in the harness trace.
    explicit BackgroundMusic(std::function<platform::AudioMixer*()> output = platform::AudioOutput);

    // Reads the whole MP3 file into memory and opens a player on it with a 2000 ms output ring.
    // False when the file cannot be read (the previous music is kept) or holds no MP3 stream
    // (there is then no music at all).
    bool OpenMusic(const char* fileName);
    // Plays the stretch from `startMs` for `lengthMs` milliseconds, 10000 times over. A negative
    // start counts as 0, a negative length as the whole song. False when there is no music.
    bool PlayMusicLoop(int startMs, int lengthMs);
    // Stops the music if there is any (false when there is none).
    bool StopMusic();

    // The player, or null when no music is open.
    Mp3Player* Player() { return player_.get(); }

  private:
    std::function<platform::AudioMixer*()> output_;
    std::vector<uint8_t> file_;          // the whole MP3, read by the player while it exists
    std::unique_ptr<Mp3Player> player_;  // declared after file_: destroyed before it
};

// The program-wide music. The first call makes it and opens kBackgroundMusicFile; it lives until
// the process exits.
BackgroundMusic& ProgramMusic();

// The game's calls, on the program-wide music. Each call is recorded in the harness trace.
bool PlayMusicLoop(int startMs, int lengthMs);
bool StopMusic();
// Silences the program-wide music as it is at start-up, opened but not playing; unlike StopMusic
// it leaves no line in the harness trace.
void ForgetMusic();
