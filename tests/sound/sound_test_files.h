// Sound files made by the tests themselves: RIFF WAVE files built chunk by chunk, and MP3s
// encoded from them with the lame command-line encoder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

void Append16(Bytes& bytes, uint16_t value);
void Append32(Bytes& bytes, uint32_t value);

// One RIFF chunk: tag, size and body, with the pad byte after an odd-sized body.
Bytes Chunk(const char* tag, const Bytes& body);
// "RIFF", size, "WAVE" and the chunks.
Bytes RiffWave(const std::vector<Bytes>& chunks);
// The body of a "fmt " chunk for integer PCM (format tag 1).
Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits);
// A whole PCM WAVE file of 16-bit samples (interleaved when stereo).
Bytes PcmWave(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples);
// A whole PCM WAVE file of 8-bit samples.
Bytes Pcm8Wave(uint16_t channels, uint32_t rate, const std::vector<uint8_t>& samples);

// A tone to encode: a sum of two sines, different on the left and right, `seconds` long.
std::vector<int16_t> TestTone(uint32_t rate, double seconds);

void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);

// True when the named program can be run.
bool HaveProgram(const char* name);
// Encodes the 16-bit stereo samples at `rate` with lame and the given options (for example
// "-b 128") into `mp3Path`. False when lame failed.
bool EncodeMp3(const std::vector<int16_t>& stereo, uint32_t rate, const std::string& options,
               const std::string& mp3Path);

// Songs encoded once per test program from a 1.5 s TestTone at 44100 Hz: constant bitrate with
// its Info header, variable bitrate with its Xing header, constant bitrate without a header, and
// MPEG-2 at 22050 Hz. `available` is false (with the reason) when lame cannot be run.
struct TestSongs {
    bool available = false;
    std::string missing;
    Bytes constant, variable, untagged, lowRate;
};
const TestSongs& Songs();
