// The inner loop of turned and scaled draws: a row of bilinear samples of a premultiplied
// picture, each composited over the pixel under it. On a 32-bit surface an AVX2 loop does eight
// pixels a step where the processor has it, giving the same bytes as the plain loop.
#pragma once

#include <cstdint>

// A premultiplied 0xAARRGGBB picture with a clear border one pixel wide all round: pixel (x, y),
// for x from -1 to width and y from -1 to height, is origin[y * stride + x].
struct BorderedPicture {
    const uint32_t* origin;
    int stride, width, height;
};

// The sample positions along a destination row in 16.16 fixed point, with pixel (i, j) of the
// picture centred on (i, j): the first pixel's and the step from one pixel to the next.
struct RowWalk {
    int64_t u, v, stepU, stepV;
};

// `count` 32-bit pixels at `to` (in composite.cpp, with the plain loop of every depth).
void FilterRow32(const BorderedPicture& picture, const RowWalk& walk, uint8_t* to, int count);

// The whole steps of eight pixels of a row of `count` 32-bit pixels at `to`; returns how many
// pixels it did and leaves the rest to the caller. Only to be called when HasAvx2() says so, on a
// picture under 16,384 pixels a side, and with every position the walk reaches in `count` + 8
// pixels within 2^30 of 0.
int FilterRowAvx2(const BorderedPicture& picture, const RowWalk& walk, uint8_t* to, int count);
