#include "sound_test_files.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

void Append16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void Append32(Bytes& bytes, uint32_t value) {
    Append16(bytes, static_cast<uint16_t>(value));
    Append16(bytes, static_cast<uint16_t>(value >> 16));
}

Bytes Chunk(const char* tag, const Bytes& body) {
    Bytes chunk(tag, tag + 4);
    Append32(chunk, static_cast<uint32_t>(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() & 1) chunk.push_back(0);
    return chunk;
}

Bytes RiffWave(const std::vector<Bytes>& chunks) {
    Bytes form{'W', 'A', 'V', 'E'};
    for (const Bytes& chunk : chunks)
        form.insert(form.end(), chunk.begin(), chunk.end());
    Bytes file{'R', 'I', 'F', 'F'};
    Append32(file, static_cast<uint32_t>(form.size()));
    file.insert(file.end(), form.begin(), form.end());
    return file;
}

Bytes PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes body;
    const uint16_t blockAlign = static_cast<uint16_t>(channels * bits / 8);
    Append16(body, 1);
    Append16(body, channels);
    Append32(body, rate);
    Append32(body, rate * blockAlign);
    Append16(body, blockAlign);
    Append16(body, bits);
    return body;
}

Bytes PcmWave(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples) {
    Bytes data;
    for (int16_t sample : samples)
        Append16(data, static_cast<uint16_t>(sample));
    return RiffWave({Chunk("fmt ", PcmFormat(channels, rate, 16)), Chunk("data", data)});
}

Bytes Pcm8Wave(uint16_t channels, uint32_t rate, const std::vector<uint8_t>& samples) {
    return RiffWave({Chunk("fmt ", PcmFormat(channels, rate, 8)), Chunk("data", samples)});
}

std::vector<int16_t> TestTone(uint32_t rate, double seconds) {
    const size_t frames = static_cast<size_t>(rate * seconds);
    std::vector<int16_t> samples(frames * 2);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        samples[2 * i] = static_cast<int16_t>(9000 * std::sin(2 * M_PI * 440 * t) +
                                              3000 * std::sin(2 * M_PI * 1250 * t));
        samples[2 * i + 1] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 660 * t) +
                                                  2500 * std::sin(2 * M_PI * 3100 * t));
    }
    return samples;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HaveProgram(const char* name) {
    const std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

bool EncodeMp3(const std::vector<int16_t>& stereo, uint32_t rate, const std::string& options,
               const std::string& mp3Path) {
    const std::string wavPath = mp3Path + ".source.wav";
    WriteBytes(wavPath, PcmWave(2, rate, stereo));
    const std::string command =
        "lame --quiet --nohist " + options + " '" + wavPath + "' '" + mp3Path + "' 2>/dev/null";
    const bool encoded = std::system(command.c_str()) == 0;
    std::remove(wavPath.c_str());
    return encoded;
}

namespace {

TestSongs EncodeSongs() {
    TestSongs songs;
    if (!HaveProgram("lame")) {
        songs.missing = "the lame encoder is not installed";
        return songs;
    }
    char pattern[] = "/tmp/vantor-songs-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) {
        songs.missing = "no temporary directory";
        return songs;
    }
    const std::vector<int16_t> tone = TestTone(44100, 1.5);
    struct Encoding {
        Bytes* song;
        const char* options;
    };
    songs.available = true;
    for (Encoding e : {Encoding{&songs.constant, "-b 128"}, Encoding{&songs.variable, "-V 5"},
                       Encoding{&songs.untagged, "-b 128 -t"},
                       Encoding{&songs.lowRate, "-b 64 --resample 22.05"}}) {
        const std::string path = std::string(dir) + "/song.mp3";
        if (!EncodeMp3(tone, 44100, e.options, path)) {
            songs.available = false;
            songs.missing = std::string("lame failed with ") + e.options;
        }
        *e.song = ReadBytes(path);
        std::remove(path.c_str());
    }
    rmdir(dir);
    return songs;
}

}  // namespace

const TestSongs& Songs() {
    static const TestSongs songs = EncodeSongs();
    return songs;
}
