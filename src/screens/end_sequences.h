// The two ways every paid game ends. Both play the swoop animation with the player's ball over it,
// then drop a closed ball onto the animation's last frame and open it on a plate: congratulations
// with the amount on a win, game over on a loss.
//
// Touches made while the animation and the ball run are thrown away; only a touch during the
// three-second look at the plate ends the sequence early.
#pragma once

#include <cstdint>
#include <string>

// The win: the swoop and the ball opening on the congratulations plate with the amount. The order
// of play pays the win when it ends (rules/play_game.h); a run cut short part-way pays it on its
// way out (rules/winnings.h).
void PlayWinSequence(int32_t amount);
// The loss: the swoop and the ball opening on the game-over plate. Nothing is paid.
void PlayLossSequence();
// Has the swoop animation opened and its first frames decoded ahead of every end sequence (on a
// worker thread), so that no game's ending waits for the file. Start-up calls it once.
void KeepSwoopReady();
// Draws the player's ball halves and the title plate over the current animation frame.
void DrawBallOverVideo();

// A win as the plate shows it: "5p" below a pound, "£2.35" (pound sign 0xA3) from a pound up.
std::string WinAmountText(int32_t pence);
