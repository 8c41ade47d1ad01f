#include "engines/sound/music.h"

#include <algorithm>

#include "engines/sound/sound_file.h"
#include "platform/audio.h"
#include "platform/host_path.h"
#include "platform/platform.h"

namespace {

constexpr int kOutputBufferMs = 2000;
constexpr int kLoopRepeats = 10000;
// Far beyond any background song; a larger file is refused rather than read.
constexpr size_t kLargestMusicFile = 256u << 20;

}  // namespace

BackgroundMusic::BackgroundMusic(std::function<platform::AudioMixer*()> output)
    : output_(std::move(output)) {}

bool BackgroundMusic::OpenMusic(const char* fileName) {
    std::vector<uint8_t> bytes;
    if (!ReadSoundFile(platform::HostPath(fileName), kLargestMusicFile, bytes)) return false;
    player_.reset();
    file_ = std::move(bytes);
    player_ = std::make_unique<Mp3Player>(output_);
    if (!player_->OpenStream(file_.data(), file_.size(), kOutputBufferMs)) {
        player_.reset();
        file_.clear();
        return false;
    }
    return true;
}

bool BackgroundMusic::PlayMusicLoop(int startMs, int lengthMs) {
    platform::TraceMusic(true);
    if (!player_) return false;
    // Nothing to play into: the music is only recorded in the trace, and no thread decodes it.
    if (!output_ || !output_()) return true;
    return player_->PlayLoop(std::max(startMs, 0), lengthMs < 0 ? -1 : lengthMs, kLoopRepeats);
}

bool BackgroundMusic::StopMusic() {
    platform::TraceMusic(false);
    if (!player_) return false;
    player_->Stop();
    return true;
}

BackgroundMusic& ProgramMusic() {
    static BackgroundMusic music;
    static const bool opened = music.OpenMusic(kBackgroundMusicFile);
    (void)opened;
    return music;
}

bool PlayMusicLoop(int startMs, int lengthMs) {
    return ProgramMusic().PlayMusicLoop(startMs, lengthMs);
}

bool StopMusic() {
    return ProgramMusic().StopMusic();
}

void ForgetMusic() {
    if (Mp3Player* player = ProgramMusic().Player()) player->Stop();
}
