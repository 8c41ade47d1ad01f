#include "engines/graphics/display.h"

#include "base/input.h"
#include "base/log.h"
#include "base/random.h"
#include "platform/platform.h"

Surface* PrimarySurface = nullptr;
Surface* BackBuffer = nullptr;
Surface* Layer[3] = {nullptr, nullptr, nullptr};

DisplayContext TheDisplayContext;

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kAttachedInterfaceVersion = 7;
constexpr int kGraphicsStartupStatus = 0;  // the software compositor always starts
// Error codes reported when an image surface cannot be made.
constexpr uint32_t kErrorInvalidParams = 0x80070057;
constexpr uint32_t kErrorOutOfMemory = 0x8007000E;

// The display surfaces own their memory here; the public pointers above refer to it.
struct DisplaySurfaces {
    std::unique_ptr<Surface> primary, back, layers[3];
};
DisplaySurfaces displaySurfaces;
bool displayOpen = false;
int displayDepth = 0;

// Asks for 32 bits, then 24, then 16: only a refused mode lowers the depth.
bool OpenDisplayMode() {
    for (int depth = 32;; depth -= 8) {
        platform::ModeResult result = platform::OpenDisplay(kScreenWidth, kScreenHeight, depth);
        if (result == platform::ModeResult::Ok) {
            displayOpen = true;
            displayDepth = depth;
            return true;
        }
        if (result != platform::ModeResult::InvalidMode || depth <= 16) return false;
    }
}

bool MakeDisplaySurface(std::unique_ptr<Surface>& owner, Surface*& published, uint32_t key) {
    owner = CreateSurface(kScreenWidth, kScreenHeight, displayDepth);
    if (!owner) return false;
    owner->colourKey = key;
    published = owner.get();
    return true;
}

void ReleaseDisplaySurface(std::unique_ptr<Surface>& owner, Surface*& published) {
    published = nullptr;
    owner.reset();
}

}  // namespace

bool StartDisplay() {
    StopDisplay(0);  // a second start replaces the first display
    displayDepth = 0;
    if (!OpenDisplayMode()) return StopDisplay(0);
    uint32_t key = DisplayColourKey();
    if (!MakeDisplaySurface(displaySurfaces.primary, PrimarySurface, key) ||
        !MakeDisplaySurface(displaySurfaces.back, BackBuffer, key))
        return StopDisplay(0);
    for (int i = 0; i < 3; ++i)
        if (!MakeDisplaySurface(displaySurfaces.layers[i], Layer[i], key)) return StopDisplay(0);
    AttachDisplay(BackBuffer);
    NoteDisplayLost(false);
    return true;
}

bool StopDisplay(int) {
    ReleaseDisplaySurface(displaySurfaces.back, BackBuffer);
    ReleaseDisplaySurface(displaySurfaces.primary, PrimarySurface);
    for (int i = 0; i < 3; ++i)
        ReleaseDisplaySurface(displaySurfaces.layers[i], Layer[i]);
    if (displayOpen) {
        platform::CloseDisplay();
        displayOpen = false;
    }
    return false;
}

int DisplayBitsPerPixel() {
    return displayDepth;
}

uint32_t DisplayColourKey() {
    return displayDepth == 16 ? kMagentaKey16 : kMagentaKey;
}

void AttachDisplay(const Surface* backBuffer) {
    DisplayContext& context = TheDisplayContext;
    context.interfaceVersion = 0;
    context.screenWidth = context.screenHeight = context.bitsPerPixel = 0;
    context.colourKeyLow = context.colourKeyHigh = 0;
    if (backBuffer) {
        context.interfaceVersion = kAttachedInterfaceVersion;
        context.screenWidth = backBuffer->width;
        context.screenHeight = backBuffer->height;
        context.bitsPerPixel = backBuffer->bytesPerPixel * 8;
        // Image surfaces are always 32-bit, so their key is magenta at every display depth.
        context.colourKeyLow = context.colourKeyHigh = kMagentaKey;
    }
    LogPrint("Width=%d,Height=%d,BPP=%d,DD=%d\n", context.screenWidth, context.screenHeight,
             context.bitsPerPixel, context.interfaceVersion);
    LogPrint("StartupStatus=%d\n", kGraphicsStartupStatus);
    SeedRandom(static_cast<uint32_t>(platform::CalendarSeconds()));
}

Surface* CreateImageSurface(int width, int height) {
    DisplayContext& context = TheDisplayContext;
    if (context.interfaceVersion == 0) return nullptr;

    std::unique_ptr<Surface> surface = CreateSurface(width, height, 32);
    if (!surface) {
        uint32_t error = width > 0 && height > 0 ? kErrorOutOfMemory : kErrorInvalidParams;
        LogPrint("Failed to create DDv7 surface ( %d,%x )\n", static_cast<int>(error), error);
        return nullptr;
    }
    surface->colourKey = context.colourKeyLow;
    try {
        context.imageSurfaces.push_back(std::move(surface));
    } catch (const std::bad_alloc&) {
        LogPrint("Failed to create DDv7 surface ( %d,%x )\n", static_cast<int>(kErrorOutOfMemory),
                 kErrorOutOfMemory);
        return nullptr;
    }
    return context.imageSurfaces.back().get();
}

void ReleaseDisplayContext() {
    DisplayContext& context = TheDisplayContext;
    while (!context.registry.empty())
        context.registry.pop_back();
    context.imageSurfaces.clear();
}

void ResetDisplayForTests() {
    StopDisplay(0);
    ReleaseDisplayContext();
    DisplayContext& context = TheDisplayContext;
    context.interfaceVersion = 0;
    context.screenWidth = context.screenHeight = context.bitsPerPixel = 0;
    context.colourKeyLow = context.colourKeyHigh = 0;
    context.frameRect = ImageRect{};
    displayDepth = 0;
}
