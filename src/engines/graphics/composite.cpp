#include "engines/graphics/composite.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <new>
#include <numbers>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/log.h"
#include "engines/graphics/filter_row.h"
#include "engines/graphics/pixel_format.h"
#include "engines/graphics/pixel_rows.h"

namespace {

using ByteCurve = std::array<uint8_t, 256>;

constexpr ByteCurve kUnchanged = [] {
    ByteCurve curve{};
    for (int i = 0; i < 256; ++i)
        curve[i] = static_cast<uint8_t>(i);
    return curve;
}();

// A curve of byte values kept for the opacity or gamma it was last worked out for: the draws of
// one frame mostly share theirs. Drawing happens on the game's thread only.
struct KeptCurve {
    bool made = false;
    float parameter = 0.0f;
    bool unchanged = false;
    ByteCurve bytes;
};

// x from 0 to 255 rounded to the nearest whole number, halves up, as std::lround rounds it.
inline uint8_t RoundToByte(double x) {
    const int whole = static_cast<int>(x);
    return static_cast<uint8_t>(whole + (x - whole >= 0.5 ? 1 : 0));
}

// `value(i)` rounded for every byte value i, worked out again only when `parameter` changes.
template <typename Value>
const uint8_t* CurveFor(KeptCurve& kept, float parameter, Value value) {
    if (!kept.made || kept.parameter != parameter) {
        for (int i = 0; i < 256; ++i)
            kept.bytes[i] = RoundToByte(value(i));
        kept.made = true;
        kept.parameter = parameter;
        kept.unchanged = kept.bytes == kUnchanged;
    }
    return kept.unchanged ? kUnchanged.data() : kept.bytes.data();
}

// Each alpha times the opacity; 0 means no opacity.
const uint8_t* OpacityCurve(float opacity) {
    static KeptCurve kept;
    if (opacity == 0.0f) return kUnchanged.data();
    return CurveFor(kept, opacity,
                    [=](int i) { return std::clamp(i * double{opacity}, 0.0, 255.0); });
}

// Each colour channel raised to the power gamma, on 0 to 1.
const uint8_t* GammaCurve(float gamma) {
    static KeptCurve kept;
    return CurveFor(kept, gamma, [=](int i) { return 255.0 * std::pow(i / 255.0, double{gamma}); });
}

// What one draw does to each source pixel: the alpha each source alpha becomes after the opacity
// factor, and each colour channel after the gamma curve, both read from kept curves.
struct PixelAdjustment {
    bool keyed = false;     // magenta is not drawn (pictures without alpha)
    bool ownAlpha = false;  // the fourth byte is straight alpha
    bool curved = false;    // a gamma curve applies
    bool asItIs = false;    // own alpha, no opacity and no curve: pixels are drawn as they are
    uint32_t key = kMagentaKey;
    const uint8_t* alpha = kUnchanged.data();
    const uint8_t* colour = kUnchanged.data();
};

PixelAdjustment PrepareAdjustment(const Surface& src, bool useAlpha, float opacity, float gamma) {
    PixelAdjustment adjustment;
    adjustment.keyed = !useAlpha;
    adjustment.ownAlpha = useAlpha;
    adjustment.curved = gamma != 0.0f;
    adjustment.key = src.colourKey & kRgbMask;
    adjustment.alpha = OpacityCurve(opacity);
    if (adjustment.curved) adjustment.colour = GammaCurve(gamma);
    adjustment.asItIs = useAlpha && !adjustment.curved && adjustment.alpha == kUnchanged.data();
    return adjustment;
}

// The alpha a source pixel is drawn with: 0 for the key.
inline uint32_t DrawnAlpha(const PixelAdjustment& adjustment, uint32_t pixel) {
    if (adjustment.keyed && (pixel & kRgbMask) == adjustment.key) return 0;
    return adjustment.alpha[adjustment.ownAlpha ? pixel >> 24 : 255];
}

// The source pixel's colour as 0x00RRGGBB after the gamma curve.
inline uint32_t DrawnColour(const PixelAdjustment& adjustment, uint32_t pixel) {
    if (!adjustment.curved) return pixel & kRgbMask;
    const uint8_t* curve = adjustment.colour;
    return curve[pixel >> 16 & 0xFF] << 16 | curve[pixel >> 8 & 0xFF] << 8 | curve[pixel & 0xFF];
}

// The source pixel as drawn: 0xAARRGGBB with straight alpha.
inline uint32_t DrawnPixel(const PixelAdjustment& adjustment, uint32_t pixel) {
    return DrawnAlpha(adjustment, pixel) << 24 | DrawnColour(adjustment, pixel);
}

// The drawn pixels of `count` source pixels at `from`, each handed to `put(i, pixel)`. The
// common kinds of draw have loops of their own.
template <typename Put>
inline void AdjustPixels(const uint8_t* from, int count, const PixelAdjustment& adjustment,
                         Put put) {
    if (adjustment.asItIs) {
        for (int i = 0; i < count; ++i)
            put(i, LoadPixel32(from + 4 * i));
    } else if (adjustment.ownAlpha && !adjustment.curved) {
        const uint8_t* alpha = adjustment.alpha;
        for (int i = 0; i < count; ++i) {
            const uint32_t pixel = LoadPixel32(from + 4 * i);
            put(i, uint32_t{alpha[pixel >> 24]} << 24 | (pixel & kRgbMask));
        }
    } else {
        for (int i = 0; i < count; ++i)
            put(i, DrawnPixel(adjustment, LoadPixel32(from + 4 * i)));
    }
}

// Straight-alpha OVER: each channel (colour x alpha + under x (255 - alpha)) / 255, rounded.
inline uint32_t OverStraight(uint32_t colour, uint32_t alpha, uint32_t under) {
    const uint32_t rest = 255 - alpha;
    uint32_t redBlue = (colour & 0xFF00FF) * alpha + (under & 0xFF00FF) * rest;
    uint32_t green = (colour >> 8 & 0xFF) * alpha + (under >> 8 & 0xFF) * rest;
    return DivideBy255Pair(redBlue) | DivideBy255(green) << 8;
}

// OVER of a premultiplied pixel 0xAARRGGBB: its colour plus what its alpha leaves of `under`.
inline uint32_t OverPremultiplied(uint32_t pixel, uint32_t under) {
    const uint32_t rest = 255 - (pixel >> 24);
    uint32_t redBlue = DivideBy255Pair((under & 0xFF00FF) * rest);
    uint32_t green = DivideBy255((under >> 8 & 0xFF) * rest);
    return (pixel & kRgbMask) + (redBlue | green << 8);
}

// A drawn pixel 0xAARRGGBB blended straight over the display pixel at `to`, which keeps its
// fourth byte.
template <int kBytes>
inline void BlendPixel(uint32_t pixel, uint8_t* to) {
    const uint32_t alpha = pixel >> 24;
    if (alpha == 0) return;
    const uint32_t under = ReadDisplayPixel<kBytes>(to);
    WriteDisplayPixel<kBytes>(to, alpha == 255 ? pixel : OverStraight(pixel, alpha, under), under);
}

// The whole steps of four pixels of a row of drawn pixels blended onto a 32-bit row; returns how
// many pixels it did. Clear and opaque steps take shortcuts; the rest blend as OverStraight
// does, channel for channel on 16-bit lanes, where no sum passes 255 x 255 + 255.
int BlendRowWide(const uint8_t* from, uint8_t* to, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128);
    const __m128i full = _mm_set1_epi16(255);
    const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000));
    // Two pixels over two, each widened to four 16-bit channels.
    auto over = [&](__m128i pixels, __m128i under) {
        const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, 0xFF), 0xFF);
        __m128i x = _mm_add_epi16(_mm_mullo_epi16(pixels, alpha),
                                  _mm_mullo_epi16(under, _mm_sub_epi16(full, alpha)));
        x = _mm_add_epi16(x, half);
        return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= count; i += 4) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 4 * i));
        const __m128i alphas = _mm_and_si128(pixels, alphaBytes);
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alphas, zero)) == 0xFFFF) continue;
        __m128i* at = reinterpret_cast<__m128i*>(to + 4 * i);
        const __m128i under = _mm_loadu_si128(at);
        __m128i blended = pixels;
        if (_mm_movemask_epi8(_mm_cmpeq_epi32(alphas, alphaBytes)) != 0xFFFF)
            blended = _mm_packus_epi16(
                over(_mm_unpacklo_epi8(pixels, zero), _mm_unpacklo_epi8(under, zero)),
                over(_mm_unpackhi_epi8(pixels, zero), _mm_unpackhi_epi8(under, zero)));
        _mm_storeu_si128(at, _mm_or_si128(_mm_andnot_si128(alphaBytes, blended),
                                          _mm_and_si128(alphaBytes, under)));
    }
#endif
    return i;
}

// A row of drawn pixels 0xAARRGGBB, in the image layout, blended onto `count` display pixels.
template <int kBytes>
void BlendRow(const uint8_t* from, uint8_t* to, int count) {
    int i = 0;
    if constexpr (kBytes == 4) i = BlendRowWide(from, to, count);
    for (; i < count; ++i)
        BlendPixel<kBytes>(LoadPixel32(from + 4 * i), to + static_cast<size_t>(i) * kBytes);
}

// A draw at the picture's own size without rotation: every destination pixel has exactly one
// source pixel, blended directly. Pixels that need adjusting are adjusted a stretch of a row at
// a time into a buffer on the stack, then blended from there.
template <int kBytes>
void BlendAtOwnSize(const Surface& src, ImageRect s, Surface& dst, ImageRect d,
                    const PixelAdjustment& adjustment) {
    constexpr int kStretch = 256;
    uint8_t adjusted[kStretch * 4];
    for (int row = 0; row < d.Height(); ++row) {
        const uint8_t* from = src.Row(s.top + row) + static_cast<size_t>(s.left) * 4;
        uint8_t* to = dst.Row(d.top + row) + static_cast<size_t>(d.left) * kBytes;
        for (int done = 0; done < d.Width(); done += kStretch) {
            const int count = std::min(kStretch, d.Width() - done);
            const uint8_t* pixels = from + static_cast<size_t>(done) * 4;
            if (!adjustment.asItIs) {
                AdjustPixels(pixels, count, adjustment,
                             [&](int i, uint32_t pixel) { StorePixel32(adjusted + 4 * i, pixel); });
                pixels = adjusted;
            }
            BlendRow<kBytes>(pixels, to + static_cast<size_t>(done) * kBytes, count);
        }
    }
}

// A straight 0xAARRGGBB pixel premultiplied: each colour channel x alpha / 255, rounded.
inline uint32_t PremultiplyPixel(uint32_t pixel) {
    const uint32_t alpha = pixel >> 24;
    // Green rides with an opaque 0xFF in the alpha place, which comes out as the alpha.
    const uint32_t alphaGreen = DivideBy255Pair((0xFF0000 | (pixel >> 8 & 0xFF)) * alpha);
    return alphaGreen << 8 | DivideBy255Pair((pixel & 0xFF00FF) * alpha);
}

// A row of straight pixels premultiplied in place, four at a time where the machine has SSE2.
void PremultiplyRow(uint32_t* pixels, int count) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi16(128);
    const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000));
    // Four channels of two pixels times each pixel's alpha, divided as DivideBy255 divides.
    auto multiply = [&](__m128i channels) {
        const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(channels, 0xFF), 0xFF);
        const __m128i x = _mm_add_epi16(_mm_mullo_epi16(channels, alpha), half);
        return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
    };
    for (; i + 4 <= count; i += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(pixels + i);
        const __m128i straight = _mm_loadu_si128(at);
        const __m128i multiplied = _mm_packus_epi16(multiply(_mm_unpacklo_epi8(straight, zero)),
                                                    multiply(_mm_unpackhi_epi8(straight, zero)));
        _mm_storeu_si128(at, _mm_or_si128(_mm_andnot_si128(alphaBytes, multiplied),
                                          _mm_and_si128(alphaBytes, straight)));
    }
#endif
    for (; i < count; ++i)
        pixels[i] = PremultiplyPixel(pixels[i]);
}

// The source rectangle as premultiplied 0xAARRGGBB with the key, opacity and gamma applied, in a
// clear border. The buffer is kept between draws so that drawing does not allocate.
BorderedPicture Premultiply(const Surface& src, const ImageRect& s,
                            const PixelAdjustment& adjustment) {
    static std::vector<uint32_t> buffer;
    const int stride = s.Width() + 2;
    buffer.resize(static_cast<size_t>(stride) * (s.Height() + 2));
    std::fill_n(buffer.begin(), stride, 0u);
    std::fill_n(buffer.end() - stride, stride, 0u);
    uint32_t* out = buffer.data() + stride;
    for (int row = s.top; row < s.bottom; ++row, out += stride) {
        out[0] = out[stride - 1] = 0;
        AdjustPixels(src.Row(row) + static_cast<size_t>(s.left) * 4, s.Width(), adjustment,
                     [out](int i, uint32_t pixel) { out[i + 1] = pixel; });
        PremultiplyRow(out + 1, s.Width());
    }
    return BorderedPicture{buffer.data() + stride + 1, stride, s.Width(), s.Height()};
}

// Two premultiplied pixels mixed, the second weighing `weight` / 256.
inline uint32_t Mix(uint32_t first, uint32_t second, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    uint32_t redBlue = ((first & 0xFF00FF) * keep + (second & 0xFF00FF) * weight) >> 8 & 0xFF00FF;
    uint32_t alphaGreen = (first >> 8 & 0xFF00FF) * keep + (second >> 8 & 0xFF00FF) * weight;
    return redBlue | (alphaGreen & 0xFF00FF00);
}

// The four neighbours mixed across (top pair, bottom pair) and then down, each weight in 256ths.
inline uint32_t Blend2x2(uint32_t topLeft, uint32_t topRight, uint32_t bottomLeft,
                         uint32_t bottomRight, uint32_t across, uint32_t down) {
#if defined(__SSE2__)
    // The same sums as Mix, four channels at a time in 16-bit lanes: left pixels in the low
    // half, right pixels in the high half, the top row in the lower lanes of each.
    const __m128i zero = _mm_setzero_si128();
    const __m128i left =
        _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(topLeft)),
                                             _mm_cvtsi32_si128(static_cast<int>(bottomLeft))),
                          zero);
    const __m128i right =
        _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(topRight)),
                                             _mm_cvtsi32_si128(static_cast<int>(bottomRight))),
                          zero);
    const __m128i rows = _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(left, _mm_set1_epi16(static_cast<int16_t>(256 - across))),
                      _mm_mullo_epi16(right, _mm_set1_epi16(static_cast<int16_t>(across)))),
        8);
    const __m128i mixed = _mm_srli_epi16(
        _mm_add_epi16(
            _mm_mullo_epi16(rows, _mm_set1_epi16(static_cast<int16_t>(256 - down))),
            _mm_mullo_epi16(_mm_srli_si128(rows, 8), _mm_set1_epi16(static_cast<int16_t>(down)))),
        8);
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(mixed, zero)));
#else
    return Mix(Mix(topLeft, topRight, across), Mix(bottomLeft, bottomRight, across), down);
#endif
}

// Bilinear sample at a position in 16.16 fixed point, measured so that pixel (i, j) has its
// centre at (i, j); the weights keep 8 bits of the fraction. A position that the fixed point's
// rounding has carried past the border is held on it.
inline uint32_t Sample(const BorderedPicture& picture, int64_t u, int64_t v) {
    u = std::clamp<int64_t>(u, -65536, int64_t{picture.width} * 65536 - 1);
    v = std::clamp<int64_t>(v, -65536, int64_t{picture.height} * 65536 - 1);
    const uint32_t across = static_cast<uint32_t>(u >> 8 & 0xFF);
    const uint32_t down = static_cast<uint32_t>(v >> 8 & 0xFF);
    const uint32_t* top = picture.origin + (v >> 16) * picture.stride + (u >> 16);
    const uint32_t* bottom = top + picture.stride;
    return Blend2x2(top[0], top[1], bottom[0], bottom[1], across, down);
}

// Where the picture sits on the destination: source position (u, v) goes to
// (m[0][0] u + m[0][1] v + m[0][2], m[1][0] u + m[1][1] v + m[1][2]).
struct Affine {
    double m[2][3];

    double X(double u, double v) const { return m[0][0] * u + m[0][1] * v + m[0][2]; }
    double Y(double u, double v) const { return m[1][0] * u + m[1][1] * v + m[1][2]; }
    Affine Inverse() const {
        const double det = m[0][0] * m[1][1] - m[0][1] * m[1][0];
        const double a = m[1][1] / det, b = -m[0][1] / det, c = -m[1][0] / det, e = m[0][0] / det;
        return Affine{{{a, b, -(a * m[0][2] + b * m[1][2])}, {c, e, -(c * m[0][2] + e * m[1][2])}}};
    }
};

// Scaled to d's size and placed at its top-left corner, then turned clockwise on the screen
// (y grows downwards) about the centre of the unscaled picture.
Affine Placement(const ImageRect& s, const ImageRect& d, float angle) {
    const double scaleX = static_cast<double>(d.Width()) / s.Width();
    const double scaleY = static_cast<double>(d.Height()) / s.Height();
    const double pivotX = d.left + (s.Width() >> 1), pivotY = d.top + (s.Height() >> 1);
    const double radians = double{angle} * std::numbers::pi / 180.0;
    const double c = std::cos(radians), n = std::sin(radians);
    const double offsetX = d.left - pivotX, offsetY = d.top - pivotY;
    return Affine{{{c * scaleX, -n * scaleY, pivotX + c * offsetX - n * offsetY},
                   {n * scaleX, c * scaleY, pivotY + n * offsetX + c * offsetY}}};
}

// The destination rows the placed picture can touch, and the filter's reach of a pixel round
// them, within the destination.
std::pair<int, int> TouchedRows(const Affine& placement, const ImageRect& s, const Surface& dst) {
    double top = HUGE_VAL, bottom = -HUGE_VAL;
    for (double u : {0.0, static_cast<double>(s.Width())}) {
        for (double v : {0.0, static_cast<double>(s.Height())}) {
            top = std::min(top, placement.Y(u, v));
            bottom = std::max(bottom, placement.Y(u, v));
        }
    }
    auto within = [&](double y) {
        return static_cast<int>(std::clamp(y, 0.0, static_cast<double>(dst.height)));
    };
    return {within(std::floor(top) - 1), within(std::ceil(bottom) + 1)};
}

// The pixels x of a row with lowest < start + x x step < highest, narrowed into [first, last).
void NarrowSpan(double start, double step, double lowest, double highest, double& first,
                double& last) {
    if (std::abs(step) < 1e-12) {
        if (!(start > lowest && start < highest)) last = first;
        return;
    }
    double a = (lowest - start) / step, b = (highest - start) / step;
    first = std::max(first, std::floor(std::min(a, b)) + 1);
    last = std::min(last, std::ceil(std::max(a, b)));
}

constexpr double kFixedOne = 65536.0;

// Whether the wide loop's 32-bit lanes hold every position of a walk over `count` pixels, and
// the eight that it may step past the end, with room to spare.
bool FitsWideWalk(const BorderedPicture& picture, const RowWalk& walk, int count) {
    constexpr int64_t kReach = int64_t{1} << 30;
    auto within = [&](int64_t start, int64_t step) {
        const int64_t end = start + (count + 8) * step;
        return std::abs(start) <= kReach && std::abs(end) <= kReach;
    };
    return count >= 8 && picture.width < 16384 && picture.height < 16384 &&
           within(walk.u, walk.stepU) && within(walk.v, walk.stepV);
}

// The pixels at the start of a row that the AVX2 loop does, on a 32-bit surface where the
// processor has it.
template <int kBytes>
int FilterRowWide(const BorderedPicture& picture, const RowWalk& walk, uint8_t* to, int count) {
#if defined(__x86_64__)
    if constexpr (kBytes == 4) {
        if (HasAvx2() && FitsWideWalk(picture, walk, count))
            return FilterRowAvx2(picture, walk, to, count);
    }
#endif
    return 0;
}

template <int kBytes>
void FilterRow(const BorderedPicture& picture, RowWalk walk, uint8_t* to, int count) {
    const int done = FilterRowWide<kBytes>(picture, walk, to, count);
    walk.u += done * walk.stepU, walk.v += done * walk.stepV, to += done * kBytes;
    for (int x = done; x < count; ++x, walk.u += walk.stepU, walk.v += walk.stepV, to += kBytes) {
        const uint32_t pixel = Sample(picture, walk.u, walk.v);
        if (pixel >> 24 == 0) continue;
        const uint32_t under = ReadDisplayPixel<kBytes>(to);
        WriteDisplayPixel<kBytes>(to, OverPremultiplied(pixel, under), under);
    }
}

// Scaled or turned draws: every destination pixel whose centre maps within a pixel of the
// picture takes a bilinear sample of the premultiplied picture and is composited over.
template <int kBytes>
void DrawFiltered(const BorderedPicture& picture, const Affine& placement, Surface& dst) {
    const Affine toSource = placement.Inverse();
    const auto [firstRow, endRow] =
        TouchedRows(placement, {0, 0, picture.width, picture.height}, dst);
    for (int y = firstRow; y < endRow; ++y) {
        // Source position of the centre of pixel (0, y), measured from pixel centres.
        const double u0 = toSource.X(0.5, y + 0.5) - 0.5, v0 = toSource.Y(0.5, y + 0.5) - 0.5;
        const double du = toSource.m[0][0], dv = toSource.m[1][0];
        double first = 0, last = dst.width;
        NarrowSpan(u0, du, -1.0, picture.width, first, last);
        NarrowSpan(v0, dv, -1.0, picture.height, first, last);
        if (first >= last) continue;

        const RowWalk walk{std::llround((u0 + first * du) * kFixedOne),
                           std::llround((v0 + first * dv) * kFixedOne),
                           std::llround(du * kFixedOne), std::llround(dv * kFixedOne)};
        const int count = static_cast<int>(last - first);
        FilterRow<kBytes>(picture, walk, dst.Row(y) + static_cast<size_t>(first) * kBytes, count);
    }
}

template <int kBytes>
int DrawAtDepth(const Surface& src, ImageRect s, Surface& dst, ImageRect d, float angle,
                const PixelAdjustment& adjustment) {
    if (angle == 0.0f && d.Width() == s.Width() && d.Height() == s.Height()) {
        // Clip to the destination, moving the source by the same amounts.
        if (d.left < 0) s.left -= d.left, d.left = 0;
        if (d.top < 0) s.top -= d.top, d.top = 0;
        if (d.right > dst.width) s.right -= d.right - dst.width, d.right = dst.width;
        if (d.bottom > dst.height) s.bottom -= d.bottom - dst.height, d.bottom = dst.height;
        if (d.Width() > 0 && d.Height() > 0) BlendAtOwnSize<kBytes>(src, s, dst, d, adjustment);
        return 0;
    }
    const Affine placement = Placement(s, d, angle);
    try {
        DrawFiltered<kBytes>(Premultiply(src, s, adjustment), placement, dst);
    } catch (const std::bad_alloc&) {
        return kDrawOutOfMemory;
    }
    return 0;
}

}  // namespace

void FilterRow32(const BorderedPicture& picture, const RowWalk& walk, uint8_t* to, int count) {
    FilterRow<4>(picture, walk, to, count);
}

bool DrawComposited(const Surface& src, const ImageRect& s, Surface& dst, const ImageRect& d,
                    float angle, bool useAlpha, float opacity, float gamma) {
    if (!std::isfinite(angle) || !std::isfinite(opacity) || !std::isfinite(gamma) || gamma < 0) {
        LogPrint("Failed to draw surface,%d\n", kDrawInvalidParameter);
        return false;
    }
    if (d.Width() == 0 || d.Height() == 0) return true;  // scaled to nothing: nothing to draw

    const PixelAdjustment adjustment = PrepareAdjustment(src, useAlpha, opacity, gamma);
    int status = dst.bytesPerPixel == 4   ? DrawAtDepth<4>(src, s, dst, d, angle, adjustment)
                 : dst.bytesPerPixel == 3 ? DrawAtDepth<3>(src, s, dst, d, angle, adjustment)
                                          : DrawAtDepth<2>(src, s, dst, d, angle, adjustment);
    if (status != 0) {
        LogPrint("Failed to draw surface,%d\n", status);
        return false;
    }
    return true;
}
