#include "engines/graphics/registry.h"

#include <algorithm>
#include <cstdint>

#include "engines/graphics/display.h"

namespace {

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `query` begins with `name`, ASCII letters compared without regard to case.
bool StartsWithName(const char* query, const char* name) {
    for (; *name; ++query, ++name) {
        if (*query == '\0' || AsciiLower(*query) != AsciiLower(*name)) return false;
    }
    return true;
}

}  // namespace

void AddImageEntry(const char* name, int32_t width, int32_t height, int32_t frameCount) {
    TheDisplayContext.registry.push_back(
        std::make_unique<ImageEntry>(ImageEntry{name, width, height, frameCount}));
}

const ImageRect* FindImageFrame(const char* name, int frame) {
    if (!name) return nullptr;
    DisplayContext& context = TheDisplayContext;
    for (const std::unique_ptr<ImageEntry>& entry : context.registry) {
        if (!entry || !entry->name || !StartsWithName(name, entry->name)) continue;
        // An entry loaded with no frames has no frame to give.
        if (entry->frameCount <= 0 || frame >= entry->frameCount) continue;
        int32_t frameHeight = entry->height / entry->frameCount;
        // A negative frame lies above the picture; keep its rectangle within 32 bits.
        int64_t top = std::max<int64_t>(int64_t{frame} * frameHeight, INT32_MIN);
        context.frameRect = ImageRect{0, static_cast<int32_t>(top), entry->width,
                                      static_cast<int32_t>(top + frameHeight)};
        return &context.frameRect;
    }
    return nullptr;
}
