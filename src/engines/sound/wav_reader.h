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
// or a chunk runs past the end of the bytes.
bool ReadWave(std::span<const uint8_t> bytes, WaveFile& wave, std::string& error);

// True when the format is integer PCM the game can play: 8-bit unsigned or 16-bit signed samples,
// mono or stereo, at a rate from 1000 to 192000 frames a second (plain or extensible PCM).
bool IsPlayablePcm(const WaveFormat& format);
