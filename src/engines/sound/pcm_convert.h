// Sample conversion to the sound output's format: signed 16-bit stereo at the output's rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engines/sound/wav_reader.h"

// Converts a playable file's samples (IsPlayablePcm) to interleaved signed 16-bit stereo at its
// own rate: 8-bit samples are unsigned around 128, wider integers keep their high 16 bits,
// floating point is scaled from -1..1 and clipped, mono is copied to both sides. A trailing
// partial frame is dropped.
std::vector<int16_t> WaveToStereo16(const WaveFile& wave);

// The same samples at the output's rate, converted a piece at a time so that only the result is
// held whole; equal to ResampleStereo(WaveToStereo16(wave), the file's rate, rate).
std::vector<int16_t> WaveToOutput(const WaveFile& wave, int rate);

// Changes the rate of a stream of interleaved 16-bit stereo frames by linear interpolation. It
// keeps its place between calls, so a stream converted in pieces joins up without clicks; at equal
// rates the frames pass unchanged.
class StereoResampler {
  public:
    StereoResampler(int fromRate, int toRate);

    // Appends to `out` the frames that the `frames` frames of `in` give at the new rate.
    void Convert(const int16_t* in, size_t frames, std::vector<int16_t>& out);
    // Forgets the stream so far: the next frame converted starts a new one.
    void Reset();

    // An upper bound of the frames Convert appends for `frames` frames in.
    size_t MostFramesFor(size_t frames) const;

  private:
    uint64_t step_;          // input frames per output frame, 32.32 fixed point
    uint64_t position_ = 0;  // next output frame, in input frames counted from previous_
    int16_t previous_[2] = {0, 0};
    bool started_ = false;
};

// A whole clip converted between rates.
std::vector<int16_t> ResampleStereo(const std::vector<int16_t>& frames, int fromRate, int toRate);
