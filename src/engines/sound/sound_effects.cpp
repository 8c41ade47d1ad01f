#include "engines/sound/sound_effects.h"

#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "engines/sound/pcm_convert.h"
#include "engines/sound/sound_file.h"
#include "engines/sound/wav_reader.h"
#include "platform/audio.h"
#include "platform/host_path.h"
#include "platform/platform.h"

namespace {

// Every sound with its file, in number order.
struct SoundFile {
    SoundNumber number;
    const char* name;
};
constexpr SoundFile kSoundFiles[kSoundEffectCount] = {
    {kSoundTimesUp, "sounds\\TimesUp.WAV"},
    {kSoundTeletype, "sounds\\teletype.wav"},
    {kSoundButton, "sounds\\Button.wav"},
    {kSoundCorrect, "sounds\\Correct.wav"},
    {kSoundIncorrect, "sounds\\Incorrect.wav"},
    {kSoundTimerTick, "sounds\\TimerTick.wav"},
    {kSoundHornToot, "sounds\\HornToot.wav"},
    {kSoundBoxDrop, "sounds\\BoxDrop.wav"},
    {kSoundBoxDropLand, "sounds\\BoxDropland.wav"},
    {kSoundScroll, "sounds\\Scroll.wav"},
    {kSoundUp13, "sounds\\Up13.wav"},
    {kSoundDown13, "sounds\\Down13.wav"},
    {kSoundBoxShake, "sounds\\BoxShake.wav"},
    {kSoundCollect, "sounds\\Collect.wav"},
    {kSoundCarryOn, "sounds\\CarryOn.wav"},
    {kSoundNewBox, "sounds\\NewBox.wav"},
    {kSoundBoxEmpty, "sounds\\BoxEmpty.wav"},
    {kSoundBoxCash, "sounds\\BoxCash.wav"},
    {kSoundBoxClose, "sounds\\BoxClose.wav"},
    {kSoundBox13, "sounds\\Box13.wav"},
    {kSoundShowPrizes, "sounds\\ShowPrizes.wav"},
    {kSoundCorvaneLogoSlap, "sounds\\CorvaneLogoSlap.wav"},
    {kSoundEndgameScroll, "sounds\\EndgameScroll.wav"},
    {kSoundEndgameScrollShut, "sounds\\EndgameScrollShut.wav"},
    {kSoundDoorBell, "sounds\\DoorBell.wav"},
    {kSoundCatPurr, "sounds\\CatPurr.wav"},
    {kSoundMeow, "sounds\\Meow.wav"},
    {kSoundNastyKitty, "sounds\\NastyKitty.wav"},
    {kSoundOvenDoor, "sounds\\OvenDoor.wav"},
    {kSoundPress, "sounds\\Press.wav"},
    {kSoundCashInc, "sounds\\Cashinc.wav"},
    {kSoundLoafTing, "sounds\\LoafTing.wav"},
    {kSoundMindHowYouGo, "sounds\\Voices\\MindHowYouGo.wav"},
    {kSoundThatRight, "sounds\\Voices\\ThatRight.wav"},
    {kSoundOohISee, "sounds\\Voices\\OohISee.wav"},
    {kSoundOhRight, "sounds\\Voices\\OhRight.wav"},
    {kSoundOhCorrect, "sounds\\Voices\\OhCorrect.wav"},
    {kSoundRight, "sounds\\Voices\\Right.wav"},
    {kSoundGameOver, "sounds\\Voices\\Gameover.wav"},
    {kSoundComeOnUseYourLoaf, "sounds\\Voices\\ComeOnUseYourLoaf.wav"},
    {kSoundDontFancyIt, "sounds\\Voices\\DontFancyIt.wav"},
    {kSoundProperJob, "sounds\\Voices\\ProperJob.wav"},
    {kSoundBallOpen, "sounds\\BallOpen.wav"},
    {kSoundBallClose, "sounds\\BallClose.wav"},
    {kSoundTryAgain, "sounds\\TryAgain.wav"},
    {kSoundCashSpin, "sounds\\CashSpin.wav"},
};

// Sound n is row n - 1, so the table can be indexed by number.
constexpr bool InNumberOrder() {
    for (int row = 0; row < kSoundEffectCount; ++row)
        if (kSoundFiles[row].number != row + 1) return false;
    return true;
}
static_assert(InNumberOrder());

// Bounds on memory, not on what an artist may make: a sound effect is seconds long, and these
// allow about eleven minutes of 48 kHz stereo in 32-bit floats (the file) and twelve minutes at
// the output (the converted sound, 4 bytes a frame). Anything larger is taken as a wrong file.
constexpr size_t kLargestWaveFile = 256u << 20;
constexpr uint64_t kLargestClipBytes = 128u << 20;
constexpr uint64_t kClipBytesPerFrame = 4;

std::unique_ptr<SoundEffects> theSoundEffects;

bool IsSoundNumber(uint8_t number) {
    return number >= 1 && number <= kSoundEffectCount;
}

// Sound failures are shown in a message box with "Game Failed." as its text and the error as its
// caption; the game then goes on.
void ShowSoundFailure(const std::string& message) {
    platform::ShowMessageBox(message.c_str(), "Game Failed.");
}

// The sound in `bytes` as a clip for the output, or null when it is not a playable WAVE.
std::shared_ptr<const platform::AudioClip> MakeClip(const std::vector<uint8_t>& bytes, int rate) {
    WaveFile wave;
    std::string error;
    if (!ReadWave(bytes, wave, error) || !IsPlayablePcm(wave.format)) return nullptr;
    const uint64_t frames = wave.data.size() / wave.format.blockAlign;
    const uint64_t outputFrames = frames * static_cast<uint64_t>(rate) / wave.format.sampleRate;
    if (outputFrames * kClipBytesPerFrame > kLargestClipBytes) return nullptr;
    return std::make_shared<const platform::AudioClip>(WaveToOutput(wave, rate));
}

}  // namespace

const char* SoundEffectFile(int number) {
    return number >= 1 && number <= kSoundEffectCount ? kSoundFiles[number - 1].name : nullptr;
}

std::shared_ptr<const platform::AudioClip> SoundEffects::ReadClip(int number) const {
    std::vector<uint8_t> bytes;
    if (!ReadSoundFile(platform::HostPath(SoundEffectFile(number)), kLargestWaveFile, bytes))
        return nullptr;
    return MakeClip(bytes, output_->Rate());
}

void SoundEffects::ReadAll() {
    if (!output_) return;
    for (int number = 1; number <= kSoundEffectCount; ++number)
        clips_[number - 1] = ReadClip(number);
}

void SoundEffects::Play(uint8_t number) {
    if (!output_ || !IsSoundNumber(number)) return;
    const int slot = number - 1;
    if (!played_[slot]) {
        // A sound that could not be read at start-up is tried once more, and the failure shown.
        if (!clips_[slot]) clips_[slot] = ReadClip(number);
        if (!clips_[slot]) {
            char message[300];
            snprintf(message, sizeof message, "Couldn't open WAV file %s!",
                     SoundEffectFile(number));
            ShowSoundFailure(message);
        }
        played_[slot] = true;
    }
    if (clips_[slot]) output_->Play(slot, clips_[slot]);
}

bool SoundEffects::Playing(uint8_t number) {
    if (!output_ || !IsSoundNumber(number) || !played_[number - 1]) return false;
    return output_->Playing(number - 1);
}

void SoundEffects::StopAll() {
    if (!output_) return;
    for (int slot = 0; slot < kSoundEffectCount; ++slot)
        if (played_[slot]) output_->Stop(slot);
}

bool StartSoundEffects() {
    if (theSoundEffects) return true;
    if (platform::OpenAudio() == platform::AudioStatus::Failed)
        ShowSoundFailure("Couldn't init DirectSound");
    theSoundEffects.reset(new (std::nothrow) SoundEffects(platform::AudioOutput()));
    if (theSoundEffects) theSoundEffects->ReadAll();
    return theSoundEffects != nullptr;
}

void PlaySoundEffect(uint8_t number) {
    if (!IsSoundNumber(number)) return;
    platform::TraceSound(number);
    if (theSoundEffects) theSoundEffects->Play(number);
}

bool SoundEffectPlaying(uint8_t number) {
    return theSoundEffects && theSoundEffects->Playing(number);
}

void StopAllSoundEffects() {
    if (theSoundEffects) theSoundEffects->StopAll();
}

void ForgetSoundEffects() {
    StopAllSoundEffects();
    theSoundEffects.reset();
}
