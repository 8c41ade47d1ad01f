// RIFF WAVE files read from memory: the "fmt " chunk (with its extra format bytes) and the "data"
// chunk; every other chunk is stepped over. A reader over bytes only, so a broken file can never
// make it read outside them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint16_t kWaveFormatFloat = 3;  // IEEE floating point, as sound editors save by default
constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    std::vector<uint8_t> extra;  // the extra format bytes of a format other than plain PCM
};

struct WaveFile {
    WaveFormat format;
    std::span<const uint8_t> data;  // the sample data, inside the bytes that were read
};

// Reads the RIFF WAVE held in `bytes`. False, with a short reason in `error`, when it is not one
// or has no format or data. A data chunk that claims more bytes than the file holds has the
// bytes there are.
bool ReadWave(std::span<const uint8_t> bytes, WaveFile& wave, std::string& error);

// How the samples of a format the game can play are stored.
enum class SampleEncoding {
    Unplayable,
    Unsigned8,  // integer PCM, unsigned around 128
    Signed16,   // integer PCM, signed, little-endian
    Signed24,
    Signed32,
    Float32,  // IEEE floating point, full scale at -1 and 1
    Float64,
};

// Integer PCM of 8, 16, 24 or 32 bits or floating point of 32 or 64 bits (plain or extensible),
// mono or stereo, at a rate from 1000 to 192000 frames a second; Unplayable for anything else.
SampleEncoding PlayableEncoding(const WaveFormat& format);
bool IsPlayablePcm(const WaveFormat& format);
