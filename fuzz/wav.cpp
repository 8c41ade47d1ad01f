// The WAVE reader over any bytes, and for a playable file (integers of 8 to 32 bits, floats) the
// conversion the sound effects make: to 16-bit stereo, then to the output's rate, whole, in two
// pieces and a piece at a time as the effects load it (which must all agree).
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "engines/sound/pcm_convert.h"
#include "engines/sound/wav_reader.h"

namespace {

constexpr int kOutputRate = 44100;

bool Inside(std::span<const uint8_t> part, std::span<const uint8_t> whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

void CheckResampledInPieces(const std::vector<int16_t>& stereo, int fromRate, size_t splitFrame) {
    const std::vector<int16_t> whole = ResampleStereo(stereo, fromRate, kOutputRate);
    const size_t frames = stereo.size() / 2;
    if (fromRate == kOutputRate || frames == 0) return;
    splitFrame %= frames;
    StereoResampler resampler(fromRate, kOutputRate);
    std::vector<int16_t> pieces;
    resampler.Convert(stereo.data(), splitFrame, pieces);
    resampler.Convert(stereo.data() + splitFrame * 2, frames - splitFrame, pieces);
    if (pieces != whole) std::abort();
    if (whole.size() / 2 > resampler.MostFramesFor(frames)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    WaveFile wave;
    std::string error;
    if (!ReadWave(bytes, wave, error)) {
        if (error.empty()) std::abort();  // every refusal says why
        return 0;
    }
    if (!Inside(wave.data, bytes)) std::abort();
    if (!IsPlayablePcm(wave.format)) return 0;
    const std::vector<int16_t> stereo = WaveToStereo16(wave);
    const size_t frames = wave.data.size() / wave.format.blockAlign;
    if (stereo.size() != frames * 2) std::abort();
    CheckResampledInPieces(stereo, static_cast<int>(wave.format.sampleRate), size);
    if (WaveToOutput(wave, kOutputRate) !=
        ResampleStereo(stereo, static_cast<int>(wave.format.sampleRate), kOutputRate))
        std::abort();
    return 0;
}
