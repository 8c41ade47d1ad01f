// Drawing an image surface onto another surface (the back buffer, as the screens do it): a plain
// keyed copy, stretched when scaled, or a composited draw that scales, rotates, fades, applies a
// gamma curve and honours per-pixel alpha.
#pragma once

#include <cstdint>

#include "engines/graphics/surface.h"

// Draws `srcRect` of `src` (the whole surface when null) with its top-left corner at (x, y) of
// `dst`, scaled by scaleX and scaleY.
//
// With angle, opacity and gamma all exactly 0 and useAlpha 0 the draw is a plain copy that skips
// magenta pixels, clipped to the destination; a draw wholly off the destination gives false and
// logs nothing. Otherwise it is composited: turned clockwise by `angle` degrees about the centre
// of the unscaled picture, with the fourth byte as straight alpha when useAlpha is 1 (magenta
// keyed out when it is 0), every alpha multiplied by `opacity` when that is not 0, and colour
// channels raised to the power `gamma` when that is not 0. Turned and scaled draws are filtered.
// Sources must be 32-bit image surfaces. Failures are logged and give false.
bool DrawSurface(const Surface* src, const ImageRect* srcRect, Surface* dst, int x, int y,
                 float scaleX, float scaleY, float angle, uint8_t useAlpha, float opacity,
                 float gamma);
