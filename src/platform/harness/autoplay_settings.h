// The modelled player's settings
// (--autoplay games=G,stake=S,right=P,take=K,seed=S,answers=RWL...,pick=touch|blue|wait).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// How the player chooses its prize ball.
enum class PrizePick {
    Touch,  // touches a ball the game accepts
    Blue,   // touches the blue ball first (which the game refuses), then an acceptable one
    Wait,   // touches nothing, so the pick times out and the game chooses
};

struct AutoplaySettings {
    bool enabled = false;
    int games = 1;           // games to play, then Main Menu
    int stake = 50;          // 50 or 100 pence
    int rightPercent = 100;  // chance of answering a question right
    int takeOffer = 0;       // take the K-th offer; 0 never takes one
    uint32_t seed = 1;       // the player's own random numbers, never the game's generator
    // The answers of each game in order, one letter per answer given (a question repeated after
    // a try-again is answered again): R right, W wrong, L late (no touch, the clock runs out).
    // Answers beyond the script are right with the chance above.
    std::string answers;
    PrizePick pick = PrizePick::Touch;
};

// Reads the comma-separated settings; false with a message for an unknown key or a bad value.
bool ParseAutoplaySettings(const std::string& text, AutoplaySettings& settings, std::string& error);

}  // namespace platform
