// The sprite engine: backgrounds, menus, buttons, question boxes and font glyphs from a fixed
// table of BMP and PCX files, copied to the screen with plain keyed copies. It also owns the
// frame cycle: every screen ends a frame with PresentFrame.
#pragma once

#include <cstdint>

#include "graphics/surface.h"

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

void DescribeSprite(Sprite& sprite, int fileId, int frameCount);
void LoadSprite(Sprite& sprite, int fileId, int frameCount);
void DrawSprite(const Sprite& sprite, int frame, int x, int y, const ClipBox* box, int keyed);
void DrawSpriteToLayer(int layer, const Sprite& sprite, int frame, int x, int y,
                       const ClipBox* box, int keyed);
void SaveToLayer(int layer, int left, int top, int right, int bottom);
void DrawLayer(int layer, int offsetX, int offsetY, int keyMode, int left, int top, int right,
               int bottom);
void PresentFrame();
void FlipFrame();
void ClearBackBuffer();
void FillBackBufferRect(int left, int top, int right, int bottom, uint32_t colour);
void UnloadAllSprites();
void CaptureLayer(int which, const ClipBox* box);
void CrossFade(int percent, const ClipBox* box, bool keyed);
