// The two ways every paid game ends. Both play the swoop animation with the player's ball over it,
// then drop a closed ball onto the animation's last frame and open it on a plate: congratulations
// with the amount on a win, game over on a loss. The win ends by paying the amount through the
// credit service: whole pounds to the bank, pence to the credit.
//
// Touches made while the animation and the ball run are thrown away; only a touch during the
// three-second look at the plate ends the sequence early.
#pragma once

#include <cstdint>
#include <string>

// The win: the swoop, the ball opening on the congratulations plate with the amount, then the
// payment (PayWin). A win owed is paid even when the run is cut short part-way: the way out pays
// it (game/winnings.h).
void PlayWinSequence(int32_t amount);
// The loss: the swoop and the ball opening on the game-over plate. Nothing is paid.
void PlayLossSequence();
// Draws the player's ball halves and the title plate over the current animation frame.
void DrawBallOverVideo();

// A win as the plate shows it: "5p" below a pound, "£2.35" (pound sign 0xA3) from a pound up.
std::string WinAmountText(int32_t pence);
