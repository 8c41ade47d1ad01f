// The sprite engine: backgrounds, menus, buttons, question boxes and font glyphs from a fixed
// table of BMP and PCX files, copied to the screen with plain keyed copies. It also owns the
// frame cycle: every screen ends a frame with PresentFrame.
//
// A file that is missing or malformed stops the display: one line naming the file goes to the
// log and every drawing operation does nothing from then on (frames are still paced, so screen
// loops keep their timing and their input).
#pragma once

#include <cstdint>

#include "engines/graphics/surface.h"
#include "platform/platform.h"

struct Sprite {
    int32_t width = 0;
    int32_t frameHeight = 0;
    int32_t fileIndex = 0;  // row of the sprite file table
    int16_t frameCount = 0;
};

// Left, right, top, bottom (right and bottom outside), not the order of a rectangle.
struct ClipBox {
    int32_t left, right, top, bottom;
};

// The whole screen, for operations whose box is left out.
constexpr ClipBox kFullScreenBox{0, 800, 0, 600};

// Fills the sprite from the file's header; the pixels are decoded at its first draw.
void DescribeSprite(Sprite& sprite, int fileId, int frameCount);
// Decodes the file into its surface now (once per file) and fills the sprite.
void LoadSprite(Sprite& sprite, int fileId, int frameCount);

// Copies a frame with its top-left corner at (x, y) of the back buffer (or a work layer),
// clipped to the box or the whole screen; keyed non-zero leaves magenta pixels out.
void DrawSprite(const Sprite& sprite, int frame, int x, int y, const ClipBox* box, int keyed);
void DrawSpriteToLayer(int layer, const Sprite& sprite, int frame, int x, int y, const ClipBox* box,
                       int keyed);

// Copies a rectangle of the back buffer into a work layer at the same place.
void SaveToLayer(int layer, int left, int top, int right, int bottom);
// Copies the layer's rectangle shifted by (-offsetX, -offsetY) into the back buffer rectangle.
// keyMode 0 copies every pixel, 4 leaves out the value 255, any other the display colour key.
void DrawLayer(int layer, int offsetX, int offsetY, int keyMode, int left, int top, int right,
               int bottom);

// Shows the back buffer, waits until 15 ms have passed since the previous frame ended (handling
// input meanwhile) and starts the next frame from a copy of the one shown.
void PresentFrame();
// Shows and paces like PresentFrame without the copy back, for loops that redraw everything.
void FlipFrame();
// The rows [first, end) of the frame shown last that differ from the frame shown before it: all
// the screen was sent of it.
platform::ChangedRows LastShownRows();

void ClearBackBuffer();
// Colour in the display's pixel format.
void FillBackBufferRect(int left, int top, int right, int bottom, uint32_t colour);
// Releases every decoded sprite file (at shut-down).
void UnloadAllSprites();
// Puts the sprite engine back as it is at start-up: no file decoded, no frame paced yet (the next
// frame is due at once on a clock that may have started again) and no failure seen.
void ForgetSprites();

// Fades: CaptureLayer reads layer 0 into picture A or layer 1 into picture B; CrossFade writes
// percent of A over B into layer 0 inside the box and shows that part of it on the back buffer.
void CaptureLayer(int which, const ClipBox* box);
void CrossFade(int percent, const ClipBox* box, bool keyed);
// Clears both fade pictures, as at start-up.
void ForgetFadePictures();

// The stop code (7 file, 9 surface, 20 memory) of the last sprite failure that stopped the
// display, or 0 when none has.
int SpriteFailureCode();
// True from a sprite failure until the display is started again: nothing can be drawn, and the
// shell ends the run as a display failure.
bool SpritesStoppedTheDisplay();
