// The files the game opens, with the frame counts it loads them with. Paths are relative to the
// content directory, with "/" separators and the game's own spelling.
#pragma once

#include <string>
#include <vector>

struct SpriteFileName {
    int id;            // row of the sprite file table, 1 to 56
    const char* path;  //
    int kind;          // 1 BMP, 2 PCX
    int frames;        // as the game loads it (1 for files it never loads)
};

struct ImageFileName {
    std::string path;
    int frames;
};

const std::vector<SpriteFileName>& SpriteFileNames();
// The start-up image list in its order, then the offer box the ball game loads itself.
const std::vector<ImageFileName>& ImageFileNames();
// Sound effects 1 to 46 in order.
const std::vector<std::string>& SoundFileNames();

constexpr const char* kMusicFile = "sounds/Background2.mp3";
constexpr const char* kVideoFile = "Graphic_resource/avis/Swoop.avi";
