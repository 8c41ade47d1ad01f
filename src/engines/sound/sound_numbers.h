// The game's 46 sound effects by number. Each is named after its file in the sound table
// (sound_effects.cpp); the number is what PlaySoundEffect takes and what the harness trace
// records, so a screen names the sound and never its number.
#pragma once

#include <cstdint>

inline constexpr int kSoundEffectCount = 46;

enum SoundNumber : uint8_t {
    kSoundTimesUp = 1,
    kSoundTeletype = 2,
    kSoundButton = 3,
    kSoundCorrect = 4,
    kSoundIncorrect = 5,
    kSoundTimerTick = 6,
    kSoundHornToot = 7,
    kSoundBoxDrop = 8,
    kSoundBoxDropLand = 9,
    kSoundScroll = 10,
    kSoundUp13 = 11,
    kSoundDown13 = 12,
    kSoundBoxShake = 13,
    kSoundCollect = 14,
    kSoundCarryOn = 15,
    kSoundNewBox = 16,
    kSoundBoxEmpty = 17,
    kSoundBoxCash = 18,
    kSoundBoxClose = 19,
    kSoundBox13 = 20,
    kSoundShowPrizes = 21,
    kSoundCorvaneLogoSlap = 22,
    kSoundEndgameScroll = 23,
    kSoundEndgameScrollShut = 24,
    kSoundDoorBell = 25,
    kSoundCatPurr = 26,
    kSoundMeow = 27,
    kSoundNastyKitty = 28,
    kSoundOvenDoor = 29,
    kSoundPress = 30,
    kSoundCashInc = 31,
    kSoundLoafTing = 32,
    // The voices.
    kSoundMindHowYouGo = 33,
    kSoundThatRight = 34,
    kSoundOohISee = 35,
    kSoundOhRight = 36,
    kSoundOhCorrect = 37,
    kSoundRight = 38,
    kSoundGameOver = 39,
    kSoundComeOnUseYourLoaf = 40,
    kSoundDontFancyIt = 41,
    kSoundProperJob = 42,
    kSoundBallOpen = 43,
    kSoundBallClose = 44,
    kSoundTryAgain = 45,
    kSoundCashSpin = 46,
};
