// The composited half of DrawSurface: per-pixel alpha, opacity, gamma, the magenta key, scaling
// and rotation. Draws at the picture's own size without rotation blend each pixel straight over
// the destination, rounded once; scaled and turned draws premultiply the picture and filter it
// bilinearly, touching only the destination pixels within a pixel of the placed picture.
#pragma once

#include "engines/graphics/surface.h"

// Failure codes written in "Failed to draw surface,%d": a request that cannot be drawn (a
// negative gamma, a value that is not a number), and memory running out.
constexpr int kDrawInvalidParameter = 2;
constexpr int kDrawOutOfMemory = 3;

// Draws `s` of a 32-bit source (within it) onto the rectangle `d` of `dst`, turned clockwise by
// `angle` degrees about the centre of the unscaled picture placed at d's top-left corner.
bool DrawComposited(const Surface& src, const ImageRect& s, Surface& dst, const ImageRect& d,
                    float angle, bool useAlpha, float opacity, float gamma);
