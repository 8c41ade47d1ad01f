#include "engines/sound/mp3_player.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <system_error>

#include "engines/sound/mp3_decoder.h"

namespace {

constexpr int kSmallestBufferMs = 200;
constexpr size_t kLongestErrorText = 1023;

}  // namespace

Mp3Player::Mp3Player(std::function<platform::AudioMixer*()> output) : output_(std::move(output)) {}

Mp3Player::~Mp3Player() {
    Stop();
}

void Mp3Player::SetError(const char* text) {
    lastError_.assign(text, strnlen(text, kLongestErrorText));
}

bool Mp3Player::OpenStream(const uint8_t* data, size_t size, int bufferMs) {
    std::lock_guard lock(lock_);
    if (open_) {
        SetError("Mp3Player::OpenStream->You need to close mp3 stream before open new one");
        return false;
    }
    if (!data) {
        SetError("Mp3Player::OpenStream->Can't open NULL stream!");
        return false;
    }
    if (bufferMs < kSmallestBufferMs) {
        SetError("Mp3Player::OpenStream->Buffer can't be smaller than 200 ms");
        return false;
    }
    stream_ = std::span<const uint8_t>(data, size);
    layout_ = ScanMp3(stream_);
    if (!layout_.foundFirstFrame) {
        SetError("Mp3Player::OpenStream->Can't find first valid mp3 frame");
        return false;
    }
    pcm_.SetBufferMs(bufferMs);
    open_ = true;
    return true;
}

void Mp3Player::Close() {
    Stop();
    std::lock_guard lock(lock_);
    open_ = false;
    stream_ = {};
    layout_ = Mp3Layout{};
}

int Mp3Player::LengthMs() const {
    if (!open_) return 0;
    const uint64_t ms =
        layout_.TotalSamples() * 1000 / static_cast<uint64_t>(layout_.first.sampleRate);
    return static_cast<int>(std::min<uint64_t>(ms, INT_MAX));
}

bool Mp3Player::PlayLoop(int startMs, int lengthMs, int repeats) {
    {
        std::lock_guard lock(lock_);
        if (!open_) {
            SetError("Mp3Player::PlayLoop->Stream isn't open!");
            return false;
        }
        if (paused_) {
            paused_ = false;
            pcm_.Pause(false);
            return true;
        }
        if (playing_) return false;
    }
    // A thread that finished its repeats has let go already: collect it.
    if (thread_.joinable()) thread_.join();

    std::lock_guard lock(lock_);
    const uint64_t rate = static_cast<uint64_t>(layout_.first.sampleRate);
    const uint64_t total = layout_.TotalSamples();
    const uint64_t start = static_cast<uint64_t>(std::max(startMs, 0)) * rate / 1000;
    if (start >= total) {
        SetError("Mp3Player::PlayLoop->Can't seek to start of loop!");
        return false;
    }
    const uint64_t rest = total - start;
    loop_.start = start;
    loop_.length =
        lengthMs < 0 ? rest : std::min(rest, static_cast<uint64_t>(lengthMs) * rate / 1000);
    loop_.repeatsWanted = repeats;
    loop_.repeatsDone = 0;
    mixer_ = output_ ? output_() : nullptr;
    stopRequested_ = false;
    playing_ = true;
    try {
        thread_ = std::thread(&Mp3Player::DecodeThread, this);
    } catch (const std::system_error&) {
        playing_ = false;
        SetError("Mp3Player::PlayLoop->Can't create decoding thread!");
        return false;
    }
    return true;
}

void Mp3Player::Pause() {
    std::lock_guard lock(lock_);
    if (!playing_ || paused_) return;
    paused_ = true;
    pcm_.Pause(true);
}

void Mp3Player::Stop() {
    {
        std::lock_guard lock(lock_);
        stopRequested_ = true;
        playing_ = false;
        paused_ = false;
    }
    // After the stop request, so a thread that opens its output later still sees the request.
    pcm_.Reset();
    if (thread_.joinable()) thread_.join();
}

bool Mp3Player::IsPlaying() {
    std::lock_guard lock(lock_);
    return playing_;
}

std::string Mp3Player::LastError() {
    std::lock_guard lock(lock_);
    return lastError_;
}

void Mp3Player::FinishPlaying(const char* error) {
    std::lock_guard lock(lock_);
    if (error) SetError(error);
    playing_ = false;
    paused_ = false;
}

bool Mp3Player::NextBlock(Mp3Decoder& decoder, uint64_t& position, std::vector<int16_t>& block) {
    const uint64_t samplesPerFrame = static_cast<uint64_t>(layout_.first.samplesPerFrame);
    for (;;) {
        const uint64_t end = loop_.start + loop_.length;
        size_t frame = 0;
        if (position < end && decoder.Next(frame, block)) {
            const uint64_t frameStart = frame * samplesPerFrame;
            const uint64_t frameEnd = frameStart + block.size() / 2;
            const uint64_t from = std::max(position, frameStart);
            const uint64_t to = std::min(end, frameEnd);
            if (from >= to) {
                if (frameStart >= end) position = end;
                continue;
            }
            block.resize((to - frameStart) * 2);
            block.erase(block.begin(),
                        block.begin() + static_cast<ptrdiff_t>((from - frameStart) * 2));
            position = to;
            return true;
        }
        // The end of the stretch, or of the stream: once more from the loop start, or done.
        if (++loop_.repeatsDone >= loop_.repeatsWanted) return false;
        decoder.Seek(loop_.start / samplesPerFrame);
        position = loop_.start;
    }
}

void Mp3Player::DecodeThread() {
    if (layout_.frames.empty()) return FinishPlaying("Mp3Player::DecodeThread->Stream too small");
    if (!pcm_.Open(mixer_, layout_.first.sampleRate))
        return FinishPlaying("Mp3Player::DecodeThread->Can't open wave output");

    Mp3Decoder decoder(stream_, layout_);
    std::vector<int16_t> block;
    uint64_t position = 0;
    bool repeatsDone = false;
    {
        std::lock_guard lock(lock_);
        position = loop_.start;
        decoder.Seek(loop_.start / static_cast<uint64_t>(layout_.first.samplesPerFrame));
    }
    for (;;) {
        {
            std::lock_guard lock(lock_);
            if (stopRequested_) break;
            if (!NextBlock(decoder, position, block)) {
                repeatsDone = true;
                break;
            }
        }
        if (!pcm_.Write(block.data(), block.size() / 2)) break;
    }
    if (repeatsDone) pcm_.Drain();
    pcm_.Close();
    FinishPlaying(nullptr);
}
