// Loading the pictures of the image path into image surfaces: 32-bit TGA files through the
// game's own reader (their alpha kept in the fourth byte), PNG and BMP through the codecs. Every
// picture loaded is recorded in the registry under the name it was loaded by.
#pragma once

#include "engines/graphics/surface.h"

// Loads a picture of `frameCount` frames stacked top to bottom. The name is kept by the registry
// as given, so it must live for the whole run (the game passes literals). Null on failure, with
// the reason in the log and no registry entry.
Surface* LoadImageSurface(const char* name, int frameCount);
// A picture of one frame.
Surface* LoadImageFile(const char* name);

// A name goes to the TGA reader when it contains ".tga" or ".TGA" (mixed case does not count).
bool IsTgaName(const char* name);
