// The frames of the opening rounds: the screen on which the player picks a ball to open, the
// steps of one ball's opening (the ball opens, its value spins in, fades, the ball closes while
// its plate slides off the win plan, the ball fades from its cup) and the player's own ball
// opening at the end. Each draws into the back buffer without presenting.
#pragma once

#include <cstdint>

#include "engines/graphics/sprites.h"
#include "rules/board.h"

// The prompt to pick a ball, at the prompt's place below the board.
extern const char* const kPickABallName;
// The player's ball's box below the board, cleared before its halves part.
inline constexpr ClipBox kPlayersBallRevealArea{265, 538, 466, 583};
// How far each half of a ball's shell moves as the player's ball opens.
inline constexpr int kPlayersBallOpening = 75;

// One frame of the ball menu once the prize ball is chosen: the whole background, the prompt to
// pick a ball blinking every 200 ms, the clock, the board, the player's ball and the win plan.
void DrawOpenPickFrame();
// The screen as the choice of a ball begins: board, player's ball, title plate, win plan and the
// prompt, steady.
void DrawPickScreen();
// Clears the prompt from the screen.
void ClearPrompt();

// While a value spins into view it shows the cells 8, 9, 0, 1, ... 9, 0, 1 of its picture, step
// 0 to 13, and comes to rest on cell 1, the settled value.
inline constexpr int kSpinSteps = 14;
int SpinCell(int step);

// The ball in its box, redrawn from the background: cell 0 closed to 10 open.
void DrawBallInBox(const Ball& ball, int cell);
// The open ball with its value picture (the spin's cell) at that opacity.
void DrawValueOnOpenBall(const Ball& ball, int valueCell, float opacity);
// The ball's plate on the win plan, dim or bright, as it flashes.
void DrawBallsPlate(const Ball& ball, bool bright);
// The ball closing (cell 0 closed to 10 open) while its plate, taken from the win plan, stands
// at plateX on its row.
void DrawClosingBall(const Ball& ball, int cell, int plateX);
// The closed ball fading from its empty cup; at opacity 0 the cup alone.
void DrawBallLeavingCup(const Ball& ball, float opacity);

// The player's ball opened by `gap` pixels each way (0 closed to kPlayersBallOpening), showing
// the inside with the ball's worth (lPrizeAvailableThisGame) written on it.
void DrawPlayersBallOpening(int gap);
// An amount as the balls show it: "5p" below a pound, "£2.35" (pound sign 0xA3) from a pound up.
void FormatPrizeText(int32_t pence, char* text, size_t size);
