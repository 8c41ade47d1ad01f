// Drawing shared by the ball-game and question screens: the board of 22 balls (normal and during
// the deal's flashes), the value shown on an open ball, the win plan, and the sparkle, a small
// turning star that fades in and out at random places along the top of the screen.
//
// Screens are redrawn piece by piece onto the back buffer: a region is first restored from its
// background sprite, then the pictures are drawn over it.
#pragma once

#include <cstdint>

#include "engines/graphics/sprites.h"
#include "engines/graphics/surface.h"
#include "rules/board.h"

// ---- Drawing pieces ---------------------------------------------------------------------------
// Draws cell `cell` of a picture strip, found by its file name, at scale 1 with per-pixel alpha.
// An opacity of 0 or less draws nothing; a missing picture or cell draws nothing.
void DrawImageCell(const Surface* image, const char* name, int cell, int x, int y,
                   float opacity = 1.0f, float angle = 0.0f);
// Draws a whole one-cell picture (the empty cups) at scale 1 with per-pixel alpha.
void DrawWholeImage(const Surface* image, int x, int y, float opacity = 1.0f);
// Restores a region of the back buffer from the board's background sprite.
void RestoreFromBoardBackground(const ClipBox& box);

// ---- Ball values ------------------------------------------------------------------------------
inline constexpr int kValueImageCount = 20;
inline constexpr int kEmptyValueImage = 0;
inline constexpr int kSettledValueCell = 1;
// Which of the 20 value pictures shows a value: 0 the empty picture (values 1 to 4), then 5p to
// £5 in ascending order.
int ValueImageIndex(int32_t value);
// The picture and file name of a value-picture index (null picture for an index out of range).
const Surface* ValueImage(int index);
const char* ValueImageName(int index);

// ---- Win plan ---------------------------------------------------------------------------------
inline constexpr int kPlateOverlayCell = 23;
// Which cell of the plate pictures carries a value: the top prize first, the four empty values
// last, each with a plate of its own.
int WinPlanCell(int32_t value);
extern const char* const kWinPlanName;
extern const char* const kWinPlanBrightName;

// ---- Balls ------------------------------------------------------------------------------------
inline constexpr int kClosedBallCell = 0;
inline constexpr int kOpenBallCell = 10;
extern const char* const kRedBallName;
extern const char* const kBlueBallName;
// Cell `cell` (0 closed to 10 open) of the ball's picture, red or blue, at its position.
void DrawBallCell(const Ball& ball, int cell, float opacity = 1.0f);
// The empty cup, red or blue, left where the ball stood.
void DrawEmptyCup(const Ball& ball);

// ---- The board --------------------------------------------------------------------------------
// Restores the board area and draws each ball as it stands: closed, open with its value, or the
// empty cup once it has left play.
void DrawBoard();
// The board during the deal: every ball closed, or open with its value while it flashes.
void DrawDealBoard();
// The settled value picture on ball i.
void DrawBallValue(int ball);
// Restores the win-plan column and draws every lit plate with its overlay.
void DrawWinPlan();

// ---- The sparkle ------------------------------------------------------------------------------
// 35 places along an arch over the top of the screen. The nine over the middle (13 to 21) are
// never chosen; ball-game screens keep to places 0 to 12 and 22 to 26, clear of the win plan.
inline constexpr int kSparklePlaces = 35;
extern const BoardPosition sparklePlaces[kSparklePlaces];

// One step of the sparkle: flag 0 on ball-game screens (restoring from the board background and
// redrawing the win plan), 1 on question screens. Steps come at most every 40 ms; a faded-out
// sparkle rests half a second before it appears somewhere else.
void DrawSparkle(int flag);
// Makes the sparkle due at once at a random place of the first 27.
void ResetSparkle();
// The place the sparkle is at or will appear at next.
int SparklePlace();
// Puts the sparkle back as it is at start-up (a new run's clock starts again from 0).
void ForgetSparkle();
