#include "engines/graphics/draw_surface.h"

#include <cmath>
#include <cstdint>

#include "base/log.h"
#include "engines/graphics/composite.h"
#include "engines/graphics/pixel_format.h"
#include "engines/graphics/pixel_rows.h"

namespace {

// Error codes reported when a plain copy is refused.
constexpr uint32_t kErrorInvalidRect = 0x88760096;
constexpr uint32_t kErrorInvalidPixelFormat = 0x88760091;

// trunc() of a float product or quotient as a pixel count; values beyond any screen saturate
// and a value that is not a number counts as 0.
int32_t TruncatedPixels(double value) {
    constexpr double kLimit = 1 << 30;
    if (std::isnan(value)) return 0;
    if (value > kLimit) return static_cast<int32_t>(kLimit);
    if (value < -kLimit) return static_cast<int32_t>(-kLimit);
    return static_cast<int32_t>(value);
}

int PointerForLog(const void* pointer) {
    return static_cast<int>(reinterpret_cast<intptr_t>(pointer));
}

bool LiesWithin(const ImageRect& r, const Surface& surface) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= surface.width && r.bottom <= surface.height;
}

// Where the picture lands: its size, stretched by any scale that is not exactly 1.
ImageRect DestinationRect(const ImageRect& s, int x, int y, float scaleX, float scaleY) {
    double width = s.Width(), height = s.Height();
    if (scaleX != 1.0f) width = TruncatedPixels(scaleX * width);
    if (scaleY != 1.0f) height = TruncatedPixels(scaleY * height);
    return ImageRect{x, y, TruncatedPixels(x + width), TruncatedPixels(y + height)};
}

void LogCopyFailure(const Surface& dst, bool sameSize, uint32_t error) {
    if (dst.bytesPerPixel != 4)
        LogPrint("Failed to get surface TransparentBlt\n");
    else if (sameSize)
        LogPrint("Failed to get surface BltFast ( %d,%x )\n", static_cast<int>(error), error);
    else
        LogPrint("Failed to get surface Blt ( %d,%x )\n", static_cast<int>(error), error);
}

// A row of `fromCount` source pixels spread over `toCount` destination pixels, each taking the
// source pixel under its centre, key pixels skipped, converted to the destination's format.
template <int kBytes>
void CopyKeyedRowStretched(const uint8_t* from, int fromCount, uint8_t* to, int toCount,
                           uint32_t key) {
    const uint64_t step = (static_cast<uint64_t>(fromCount) << 16) / toCount;
    uint64_t position = step / 2;
    for (int i = 0; i < toCount; ++i, position += step, to += kBytes) {
        uint32_t pixel = LoadPixel32(from + 4 * (position >> 16));
        if ((pixel & kRgbMask) != key) WriteDisplayPixel<kBytes>(to, pixel, pixel);
    }
}

template <int kBytes>
void CopyKeyed(const Surface& src, const ImageRect& s, Surface& dst, const ImageRect& d) {
    const uint32_t key = src.colourKey & kRgbMask;
    const bool sameSize = s.Width() == d.Width() && s.Height() == d.Height();
    for (int row = 0; row < d.Height(); ++row) {
        int sourceRow = s.top + static_cast<int>((int64_t{2} * row + 1) * s.Height() /
                                                 (int64_t{2} * d.Height()));
        const uint8_t* from = src.Row(sourceRow) + static_cast<size_t>(s.left) * 4;
        uint8_t* to = dst.Row(d.top + row) + static_cast<size_t>(d.left) * kBytes;
        if (kBytes == 4 && sameSize)
            CopyKeyedRow32(from, to, d.Width(), key);  // the sprite engine's keyed row copy
        else
            CopyKeyedRowStretched<kBytes>(from, s.Width(), to, d.Width(), key);
    }
}

// The plain path: clip to the destination, moving the source edges by the clipped amounts in
// source pixels, then a keyed copy, stretched when the sizes differ. Clipping only ever shrinks
// the source rectangle, which lies within the source.
bool DrawPlain(const Surface& src, ImageRect s, Surface& dst, ImageRect d, float scaleX,
               float scaleY) {
    if (d.right < 0 || d.left >= dst.width || d.bottom < 0 || d.top >= dst.height) return false;
    if (d.Width() <= 0 || d.Height() <= 0) return false;  // scaled to nothing

    if (d.left < 0) {
        s.left += TruncatedPixels(-static_cast<double>(d.left) / scaleX);
        d.left = 0;
    }
    if (d.top < 0) {
        s.top += TruncatedPixels(-static_cast<double>(d.top) / scaleY);
        d.top = 0;
    }
    if (d.right >= dst.width) {
        s.right -= TruncatedPixels((static_cast<double>(d.right) - dst.width) / scaleX);
        d.right = dst.width;
    }
    if (d.bottom >= dst.height) {
        s.bottom -= TruncatedPixels((static_cast<double>(d.bottom) - dst.height) / scaleY);
        d.bottom = dst.height;
    }
    if (d.Width() <= 0 || d.Height() <= 0 || s.Width() <= 0 || s.Height() <= 0)
        return false;  // clipped to nothing
    if (dst.bytesPerPixel == 4)
        CopyKeyed<4>(src, s, dst, d);
    else if (dst.bytesPerPixel == 3)
        CopyKeyed<3>(src, s, dst, d);
    else
        CopyKeyed<2>(src, s, dst, d);
    return true;
}

}  // namespace

bool DrawSurface(const Surface* src, const ImageRect* srcRect, Surface* dst, int x, int y,
                 float scaleX, float scaleY, float angle, uint8_t useAlpha, float opacity,
                 float gamma) {
    if (!src || !dst) {
        LogPrint("Failed parameters; pSrc=%d,pDest=%d\n", PointerForLog(src), PointerForLog(dst));
        return false;
    }
    const bool composited = angle != 0.0f || opacity != 0.0f || gamma != 0.0f || useAlpha;
    ImageRect s = srcRect ? *srcRect : ImageRect{0, 0, src->width, src->height};
    // Only whole 32-bit image pixels can be read: a rectangle reaching outside the picture (a
    // negative frame number, say) is refused rather than read past the surface.
    if (src->bytesPerPixel != 4 || !LiesWithin(s, *src)) {
        if (composited)
            LogPrint("Failed to draw surface,%d\n", kDrawInvalidParameter);
        else
            LogCopyFailure(*dst, scaleX == 1.0f && scaleY == 1.0f,
                           src->bytesPerPixel != 4 ? kErrorInvalidPixelFormat : kErrorInvalidRect);
        return false;
    }
    ImageRect d = DestinationRect(s, x, y, scaleX, scaleY);
    if (composited) return DrawComposited(*src, s, *dst, d, angle, useAlpha != 0, opacity, gamma);
    return DrawPlain(*src, s, *dst, d, scaleX, scaleY);
}
