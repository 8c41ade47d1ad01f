// The tests' side of the music: a reference decode of a whole song, and a listener that pulls
// music from a mixer the way the sound device's thread does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/audio_mixer.h"
#include "sound_test_files.h"

using Pcm = std::vector<int16_t>;  // interleaved stereo

// Every audio frame of the song decoded from its start, in one piece.
Pcm DecodeWholeSong(const Bytes& song);
// Frames [from, to) of the stereo samples.
Pcm Frames(const Pcm& pcm, size_t from, size_t to);
Pcm Join(std::initializer_list<Pcm> parts);

// Pulls music from the mixer, in the pieces a device would ask for, until `frames` frames have
// come or `stillPlaying` says the music is over and nothing more comes. Gives up (with a test
// failure) after a minute.
Pcm Listen(platform::AudioMixer& mixer, const std::function<bool()>& stillPlaying,
           size_t frames = SIZE_MAX);
