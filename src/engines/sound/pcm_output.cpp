#include "engines/sound/pcm_output.h"

#include <algorithm>
#include <chrono>

namespace {

constexpr auto kLongestWait = std::chrono::milliseconds(100);

}  // namespace

PcmOutput::~PcmOutput() {
    Close();
}

bool PcmOutput::Open(platform::AudioMixer* mixer, int sampleRate) {
    if (!mixer) return false;
    const int rate = mixer->Rate();
    if (rate == sampleRate)
        resampler_.reset();
    else
        resampler_.emplace(sampleRate, rate);
    {
        std::lock_guard lock(mutex_);
        capacity_ = std::max<size_t>(1, static_cast<size_t>(bufferMs_) * rate / 1000);
        ring_.assign(capacity_ * platform::kAudioChannels, 0);
        head_ = queued_ = 0;
        paused_ = reset_ = false;
    }
    mixer_ = mixer;
    mixer_->AttachMusic(this);
    return true;
}

bool PcmOutput::Write(const int16_t* frames, size_t count) {
    if (resampler_) {
        converted_.clear();
        resampler_->Convert(frames, count, converted_);
        frames = converted_.data();
        count = converted_.size() / platform::kAudioChannels;
    }
    std::unique_lock lock(mutex_);
    if (capacity_ == 0) return false;  // never opened
    while (count > 0) {
        while (!reset_ && queued_ == capacity_)
            played_.wait_for(lock, kLongestWait);
        if (reset_) return false;
        const size_t tail = (head_ + queued_) % capacity_;
        const size_t run = std::min({count, capacity_ - queued_, capacity_ - tail});
        std::copy_n(frames, run * platform::kAudioChannels,
                    ring_.begin() + static_cast<ptrdiff_t>(tail * platform::kAudioChannels));
        queued_ += run;
        frames += run * platform::kAudioChannels;
        count -= run;
    }
    return true;
}

void PcmOutput::Drain() {
    std::unique_lock lock(mutex_);
    while (!reset_ && queued_ > 0)
        played_.wait_for(lock, kLongestWait);
}

void PcmOutput::Close() {
    if (mixer_) mixer_->DetachMusic(this);
    mixer_ = nullptr;
    std::lock_guard lock(mutex_);
    head_ = queued_ = 0;
}

void PcmOutput::Pause(bool paused) {
    std::lock_guard lock(mutex_);
    paused_ = paused;
}

void PcmOutput::Reset() {
    {
        std::lock_guard lock(mutex_);
        head_ = queued_ = 0;
        paused_ = false;
        reset_ = true;
    }
    played_.notify_all();
}

size_t PcmOutput::PullFrames(int16_t* out, size_t frames) {
    size_t given = 0;
    {
        std::lock_guard lock(mutex_);
        if (paused_) return 0;
        while (given < frames && queued_ > 0) {
            const size_t run = std::min({frames - given, queued_, capacity_ - head_});
            std::copy_n(ring_.begin() + static_cast<ptrdiff_t>(head_ * platform::kAudioChannels),
                        run * platform::kAudioChannels, out + given * platform::kAudioChannels);
            head_ = (head_ + run) % capacity_;
            queued_ -= run;
            given += run;
        }
    }
    if (given > 0) played_.notify_all();
    return given;
}
