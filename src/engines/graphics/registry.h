// The image registry: every picture the image loader has read, by file name, with its size and
// the number of frames stacked top to bottom in it. Given a name and a frame number it answers
// the rectangle of that frame inside the picture's surface.
#pragma once

#include <cstdint>

#include "engines/graphics/surface.h"

struct ImageEntry {
    const char* name;  // the loader's file name, not copied: it must live for the whole run
    int32_t width;
    int32_t height;  // the whole strip
    int32_t frameCount;
};

// Appends an entry at the back of the registry; duplicates are kept.
void AddImageEntry(const char* name, int32_t width, int32_t height, int32_t frameCount);

// The rectangle of frame `frame` of the first entry whose name starts the query name (letters
// compared without regard to case) and which has more than `frame` frames; null when none has.
// The answer lives in the display context and is overwritten by the next call.
const ImageRect* FindImageFrame(const char* name, int frame);
