// The screen: the 800 x 600 display at 32, 24 or 16 bits, its back buffer, the three work layers
// and the one display context that holds the image registry.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "engines/graphics/registry.h"
#include "engines/graphics/surface.h"

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

// What the image path knows about the display. It exists, empty, before start-up and lives until
// the process ends.
struct DisplayContext {
    int32_t interfaceVersion = 0;  // 7 once a display is attached, 0 before
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    int32_t bitsPerPixel = 0;
    uint32_t colourKeyLow = 0;
    uint32_t colourKeyHigh = 0;
    ImageRect frameRect;  // where FindImageFrame leaves its answer
    std::list<std::unique_ptr<ImageEntry>> registry;
    // Every image surface made so far. Callers keep plain pointers to them for the whole run.
    std::vector<std::unique_ptr<Surface>> imageSurfaces;
};

extern DisplayContext TheDisplayContext;

// Fills the context from the back buffer (size, depth, keys), logs the display's description,
// and seeds the random generator with the calendar time.
void AttachDisplay(const Surface* backBuffer);

// A zero-filled 32-bit image surface keyed with magenta, owned by the display context. Null when
// the display has not been attached, or (logged) when the surface cannot be made.
Surface* CreateImageSurface(int width, int height);

// Empties the registry from the back to the front and frees the image surfaces. Runs at process
// exit.
void ReleaseDisplayContext();

// Stops the display and returns the context to its state before start-up, for a new run in the
// same process (the tests' runs, and every start of RunVantor).
void ResetDisplayForTests();
