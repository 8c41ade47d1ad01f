#include "platform/audio_mixer.h"

#include <algorithm>

namespace platform {
namespace {

// Frames mixed at a time: the accumulator lives on the stack of the audio thread.
constexpr size_t kChunkFrames = 512;

int16_t Clip16(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

void AudioMixer::Play(int voice, std::shared_ptr<const AudioClip> clip) {
    if (voice < 0 || voice >= kEffectVoices) return;
    std::lock_guard lock(mutex_);
    Voice& v = voices_[voice];
    v.clip = std::move(clip);
    v.position = 0;
    v.playing = v.clip && v.clip->size() >= kAudioChannels;
}

bool AudioMixer::Playing(int voice) {
    if (voice < 0 || voice >= kEffectVoices) return false;
    std::lock_guard lock(mutex_);
    return voices_[voice].playing;
}

void AudioMixer::Stop(int voice) {
    if (voice < 0 || voice >= kEffectVoices) return;
    std::lock_guard lock(mutex_);
    voices_[voice].playing = false;
}

void AudioMixer::AttachMusic(AudioStream* stream) {
    std::lock_guard lock(mutex_);
    music_ = stream;
}

void AudioMixer::DetachMusic(AudioStream* stream) {
    std::lock_guard lock(mutex_);
    if (music_ == stream) music_ = nullptr;
}

size_t AudioMixer::Mix(int16_t* out, size_t frames) {
    std::lock_guard lock(mutex_);
    size_t music = 0;
    while (frames > 0) {
        const size_t chunk = std::min(frames, kChunkFrames);
        music += MixChunk(out, chunk);
        out += chunk * kAudioChannels;
        frames -= chunk;
    }
    return music;
}

size_t AudioMixer::MixChunk(int16_t* out, size_t frames) {
    const size_t samples = frames * kAudioChannels;
    int32_t sum[kChunkFrames * kAudioChannels] = {};

    for (Voice& v : voices_) {
        if (!v.playing) continue;
        const AudioClip& clip = *v.clip;
        const size_t clipFrames = clip.size() / kAudioChannels;
        const size_t take = std::min(frames, clipFrames - v.position);
        const int16_t* from = clip.data() + v.position * kAudioChannels;
        for (size_t i = 0; i < take * kAudioChannels; ++i)
            sum[i] += from[i];
        v.position += take;
        if (v.position >= clipFrames) v.playing = false;
    }

    size_t music = 0;
    if (music_) {
        int16_t pulled[kChunkFrames * kAudioChannels];
        music = std::min(music_->PullFrames(pulled, frames), frames);
        for (size_t i = 0; i < music * kAudioChannels; ++i)
            sum[i] += pulled[i];
    }

    for (size_t i = 0; i < samples; ++i)
        out[i] = Clip16(sum[i]);
    return music;
}

}  // namespace platform
