#include "engines/graphics/image_loader.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "base/log.h"
#include "engines/graphics/display.h"
#include "engines/graphics/image_codecs.h"
#include "engines/graphics/pixel_format.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/tga_reader.h"
#include "platform/host_path.h"

namespace {

// The whole file in one read. False when it cannot be opened as a regular file or read.
bool ReadWholeFile(const char* name, std::vector<uint8_t>& bytes) {
    FILE* file = fopen(platform::HostPath(name).c_str(), "rb");
    if (!file) return false;
    struct stat info;
    bool ok = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
    try {
        if (ok) bytes.resize(static_cast<size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    ok = ok && fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    fclose(file);
    return ok;
}

// The TGA reader's pixels go into the surface unchanged, row for row.
void CopyRows(const DecodedImage& image, Surface& surface) {
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    for (int y = 0; y < image.height; ++y)
        memcpy(surface.Row(y), image.pixels.data() + y * rowBytes, rowBytes);
}

// A codec picture is drawn onto the new, zero-filled surface: one with its own alpha is blended
// over the black surface (colours weighted by alpha, the alpha kept in the fourth byte), any
// other is copied colour for colour.
void DrawDecodedPicture(const DecodedImage& image, Surface& surface) {
    const uint8_t* from = image.pixels.data();
    for (int y = 0; y < image.height; ++y) {
        uint8_t* to = surface.Row(y);
        for (int x = 0; x < image.width; ++x, from += 4, to += 4) {
            const uint32_t alpha = image.hasAlpha ? from[3] : 255;
            for (int channel = 0; channel < 3; ++channel)
                to[channel] = static_cast<uint8_t>(DivideBy255(from[channel] * alpha));
            if (image.hasAlpha) to[3] = from[3];
        }
    }
}

Surface* LoadTgaSurface(const char* name) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(name, bytes)) return nullptr;
    DecodedImage image;
    switch (DecodeTga(bytes, image)) {
        case TgaResult::Ok:
            break;
        case TgaResult::NotThirtyTwoBit:
            LogPrint("Non 32bit image not supported\n");
            return nullptr;
        case TgaResult::OutOfMemory:
            LogPrint("Failed allocate image memory ( %dx%d )\n", image.width, image.height);
            return nullptr;
        case TgaResult::Overrun:
            LogPrint("Failed to buffer allocation\n");
            return nullptr;
        case TgaResult::UnknownFormat:
            LogPrint("unknown image format\n");
            return nullptr;
    }
    bytes = {};
    Surface* surface = CreateImageSurface(image.width, image.height);
    if (!surface) {
        LogPrint("Failed  surface creation\n");
        return nullptr;
    }
    CopyRows(image, *surface);
    return surface;
}

Surface* LoadCodecSurface(const char* name) {
    std::vector<uint8_t> bytes;
    DecodedImage image;
    CodecStatus status =
        ReadWholeFile(name, bytes) ? DecodePicture(bytes, image) : kCodecFileNotFound;
    if (status != kCodecOk) {
        LogPrint("Failed to load surface ( %d )\n", status);
        return nullptr;
    }
    Surface* surface = CreateImageSurface(image.width, image.height);
    if (!surface) {
        LogPrint("Failed to create surface\n");
        return nullptr;
    }
    DrawDecodedPicture(image, *surface);
    return surface;
}

}  // namespace

bool IsTgaName(const char* name) {
    return strstr(name, ".tga") || strstr(name, ".TGA");
}

Surface* LoadImageSurface(const char* name, int frameCount) {
    if (!name) {
        LogPrint("Failed to pFilename == 0\n");
        return nullptr;
    }
    Surface* surface = IsTgaName(name) ? LoadTgaSurface(name) : LoadCodecSurface(name);
    if (surface) AddImageEntry(name, surface->width, surface->height, frameCount);
    return surface;
}

Surface* LoadImageFile(const char* name) {
    return LoadImageSurface(name, 1);
}
