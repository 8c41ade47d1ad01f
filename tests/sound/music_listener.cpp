#include "music_listener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engines/sound/mp3_decoder.h"
#include "engines/sound/mp3_stream.h"

Pcm DecodeWholeSong(const Bytes& song) {
    const Mp3Layout layout = ScanMp3(song);
    Mp3Decoder decoder(song, layout);
    Pcm all, frame;
    size_t index = 0;
    while (decoder.Next(index, frame))
        all.insert(all.end(), frame.begin(), frame.end());
    return all;
}

Pcm Frames(const Pcm& pcm, size_t from, size_t to) {
    return Pcm(pcm.begin() + static_cast<ptrdiff_t>(2 * from),
               pcm.begin() + static_cast<ptrdiff_t>(2 * to));
}

Pcm Join(std::initializer_list<Pcm> parts) {
    Pcm joined;
    for (const Pcm& part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

Pcm Listen(platform::AudioMixer& mixer, const std::function<bool()>& stillPlaying, size_t frames) {
    constexpr size_t kPiece = 256;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    Pcm heard;
    int16_t piece[kPiece * 2];
    while (heard.size() / 2 < frames) {
        const bool playing = stillPlaying();
        const size_t got = mixer.Mix(piece, std::min(kPiece, frames - heard.size() / 2));
        heard.insert(heard.end(), piece, piece + got * 2);
        if (got > 0) continue;
        if (!playing) break;  // over, and everything it queued has been heard
        if (std::chrono::steady_clock::now() > giveUp) {
            ADD_FAILURE() << "the music stopped coming";
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return heard;
}
