// The screen: the 800 x 600 display at 32, 24 or 16 bits, its back buffer, the three work layers
// and the one display context that holds the image registry.
#pragma once

#include <cstdint>

#include "graphics/surface.h"

// The display surfaces, null until StartDisplay succeeds and after StopDisplay.
extern Surface* PrimarySurface;
extern Surface* BackBuffer;
extern Surface* Layer[3];

// Opens the display (32 bits, else 24, else 16) and makes its surfaces. False, with everything
// released, when no depth works.
bool StartDisplay();
// Releases the display surfaces and closes the display. The code says which operation gave up;
// it is not used. Always false, so failure paths can return its result.
bool StopDisplay(int code);

// The chosen depth in bits (0 before the display starts) and its colour key.
int DisplayBitsPerPixel();
uint32_t DisplayColourKey();
