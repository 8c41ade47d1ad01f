// The modelled player's settings (--autoplay games=G,stake=S,right=P,take=K,seed=S).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct AutoplaySettings {
    bool enabled = false;
    int games = 1;            // games to play, then Main Menu
    int stake = 50;           // 50 or 100 pence
    int rightPercent = 100;   // chance of answering a question right
    int takeOffer = 0;        // take the K-th offer; 0 never takes one
    uint32_t seed = 1;        // the player's own random numbers, never the game's generator
};

// Reads the comma-separated settings; false with a message for an unknown key or a bad value.
bool ParseAutoplaySettings(const std::string& text, AutoplaySettings& settings, std::string& error);

}  // namespace platform
