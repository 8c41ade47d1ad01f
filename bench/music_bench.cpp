// Figures for the music and the animation: the share of a core the music thread needs, the
// silence heard while the game thread is busy drawing, and the time to decode and draw one
// 800 x 600 frame of the swoop. The test files are made with lame and ffmpeg in a scratch folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "engines/graphics/display.h"
#include "engines/graphics/surface.h"
#include "engines/graphics/video.h"
#include "engines/sound/mp3_decoder.h"
#include "engines/sound/mp3_player.h"
#include "engines/sound/mp3_stream.h"
#include "engines/sound/pcm_output.h"
#include "platform/audio_mixer.h"
#include "platform/platform.h"

namespace {

constexpr int kRate = 44100;
constexpr double kSongSeconds = 20;
constexpr size_t kDeviceFrames = 1024;  // what the sound device asks for at a time

// The scratch folder and the files made in it, removed when the benchmarks end.
struct Scratch {
    std::string dir;
    std::vector<uint8_t> song;  // 20 s, 128 kbit/s mono, as the cabinet's music
    std::string video;          // 40 frames of 800 x 600 Motion JPEG, as the swoop
    std::string missing;

    Scratch() {
        char pattern[] = "/tmp/vantor-bench-XXXXXX";
        dir = mkdtemp(pattern);
        MakeSong();
        MakeVideo();
    }
    ~Scratch() { std::filesystem::remove_all(dir); }

    void MakeSong() {
        const size_t frames = static_cast<size_t>(kRate * kSongSeconds);
        std::vector<uint8_t> wav;
        auto put = [&](uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i)
                wav.push_back(static_cast<uint8_t>(value >> (8 * i)));
        };
        wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
        put(static_cast<uint32_t>(36 + frames * 2), 4);
        wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
        for (uint32_t v : {16u, 0x00010001u, static_cast<uint32_t>(kRate),
                           static_cast<uint32_t>(kRate * 2), 0x00100002u})
            put(v, 4);
        wav.insert(wav.end(), {'d', 'a', 't', 'a'});
        put(static_cast<uint32_t>(frames * 2), 4);
        for (size_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double note = 220 * std::pow(2.0, static_cast<int>(t * 4) % 12 / 12.0);
            put(static_cast<uint16_t>(
                    static_cast<int16_t>(8000 * std::sin(2 * M_PI * note * t) +
                                         2000 * std::sin(2 * M_PI * 3 * note * t))),
                2);
        }
        const std::string wavPath = dir + "/song.wav", mp3Path = dir + "/song.mp3";
        std::ofstream(wavPath, std::ios::binary)
            .write(reinterpret_cast<const char*>(wav.data()),
                   static_cast<std::streamsize>(wav.size()));
        const std::string command = "lame --quiet --cbr -b 128 -m m " + wavPath + " " + mp3Path;
        if (std::system(command.c_str()) != 0) {
            missing = "lame could not make the song";
            return;
        }
        std::ifstream in(mp3Path, std::ios::binary);
        song.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void MakeVideo() {
        video = dir + "/swoop.avi";
        const std::string command =
            "ffmpeg -v error -nostdin -y -f lavfi -i testsrc2=size=800x600:rate=25 "
            "-frames:v 40 -c:v mjpeg -q:v 3 -fflags +bitexact " +
            video;
        if (std::system(command.c_str()) != 0) missing = "ffmpeg could not make the video";
    }
};

Scratch& Files() {
    static Scratch scratch;
    return scratch;
}

double ThreadCpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The music thread's work for the whole song: decode every frame and queue it for the output,
// which a device (here the same thread) takes at once. The figure is the share of one core
// needed to keep up with playback.
void MusicThreadCpu(benchmark::State& state) {
    if (!Files().missing.empty()) return state.SkipWithError(Files().missing.c_str());
    const std::vector<uint8_t>& song = Files().song;
    const Mp3Layout layout = ScanMp3(song);
    platform::AudioMixer mixer(static_cast<int>(state.range(0)));
    PcmOutput output;
    std::vector<int16_t> pcm, heard(kDeviceFrames * 4);
    double cpu = 0, audio = 0;
    for (auto _ : state) {
        const double before = ThreadCpuSeconds();
        output.Open(&mixer, layout.first.sampleRate);
        Mp3Decoder decoder(song, layout);
        size_t frame = 0;
        while (decoder.Next(frame, pcm)) {
            output.Write(pcm.data(), pcm.size() / 2);
            while (mixer.Mix(heard.data(), kDeviceFrames) > 0) {
            }
        }
        output.Close();
        cpu += ThreadCpuSeconds() - before;
        audio += static_cast<double>(layout.TotalSamples()) / layout.first.sampleRate;
    }
    state.counters["core_percent"] = 100 * cpu / audio;
}
BENCHMARK(MusicThreadCpu)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond);

// The game thread draws flat out (copies and blends of 800 x 600 frames) while the music plays
// into a device that takes 1024 frames every 23 ms. Counts the silence the device got once the
// music had begun: none means the ring never ran dry.
void MusicGapsWhileDrawing(benchmark::State& state) {
    if (!Files().missing.empty()) return state.SkipWithError(Files().missing.c_str());
    const std::vector<uint8_t>& song = Files().song;
    platform::AudioMixer mixer(kRate);
    for (auto _ : state) {
        Mp3Player player([&] { return &mixer; });
        player.OpenStream(song.data(), song.size(), static_cast<int>(state.range(0)));
        player.PlayLoop(42, 60030, 10000);

        std::atomic<bool> done{false};
        size_t silentFrames = 0, longestSilence = 0, run = 0;
        std::thread device([&] {
            std::vector<int16_t> out(kDeviceFrames * 2);
            bool begun = false;
            auto next = std::chrono::steady_clock::now();
            while (!done) {
                const size_t music = mixer.Mix(out.data(), kDeviceFrames);
                begun = begun || music > 0;
                if (begun) {
                    silentFrames += kDeviceFrames - music;
                    run = music == kDeviceFrames ? 0 : run + kDeviceFrames - music;
                    longestSilence = std::max(longestSilence, run);
                }
                next += std::chrono::microseconds(kDeviceFrames * 1000000 / kRate);
                std::this_thread::sleep_until(next);
            }
        });

        std::vector<uint32_t> screen(800 * 600), layer(800 * 600, 0x80402010);
        const auto stop = std::chrono::steady_clock::now() + std::chrono::seconds(6);
        while (std::chrono::steady_clock::now() < stop) {
            for (size_t i = 0; i < screen.size(); ++i)
                screen[i] = ((screen[i] & 0xFEFEFE) >> 1) + ((layer[i] & 0xFEFEFE) >> 1) +
                            static_cast<uint32_t>(i);
            std::memcpy(layer.data(), screen.data(), screen.size() * 4);
            benchmark::DoNotOptimize(layer.data());
        }
        done = true;
        device.join();
        player.Stop();
        state.counters["silence_ms"] = silentFrames * 1000.0 / kRate;
        state.counters["longest_silence_ms"] = longestSilence * 1000.0 / kRate;
    }
}
BENCHMARK(MusicGapsWhileDrawing)->Arg(2000)->Arg(200)->Iterations(1)->Unit(benchmark::kSecond);

// One frame of the swoop decoded, converted and drawn on an 800 x 600 back buffer, frame after
// frame as the end sequence shows it.
void VideoFrame800x600(benchmark::State& state) {
    if (!Files().missing.empty()) return state.SkipWithError(Files().missing.c_str());
    auto screen = CreateSurface(800, 600, static_cast<int>(state.range(0)));
    Surface* previous = BackBuffer;
    BackBuffer = screen.get();
    OpenVideo(Files().video.c_str(), 0, 0);
    DrawVideoFrame(-1, 0, 0);
    for (auto _ : state) {
        platform::Yield();  // one millisecond of the virtual clock: past the interval
        DrawVideoFrame(1, 0, 0);
        if (VideoState() != kVideoPlaying) {
            state.PauseTiming();
            DrawVideoFrame(-1, 0, 0);
            state.ResumeTiming();
        }
    }
    CloseVideo();
    BackBuffer = previous;
}
BENCHMARK(VideoFrame800x600)->Arg(32)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace
