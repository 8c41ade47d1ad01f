// The filtered draw's row loop at AVX2 width. This file alone is compiled for AVX2 with the
// fade's (see src/CMakeLists.txt); it is only called once the processor has been seen to have it.
// The sums are those of the plain loop lane for lane, so both give the same bytes.
#include "engines/graphics/filter_row.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace {

using V = __m256i;

// first + (second - first) x weight / 256 on 16-bit lanes, rounded down. It equals
// (first x (256 - weight) + second x weight) / 256: that sum fits 16 bits, so the lanes where the
// product wraps still add up right.
inline V Lerp16(V first, V second, V weight) {
    const V scaled = _mm256_slli_epi16(first, 8);
    const V moved = _mm256_mullo_epi16(_mm256_sub_epi16(second, first), weight);
    return _mm256_srli_epi16(_mm256_add_epi16(scaled, moved), 8);
}

// Premultiplied OVER on 16-bit channel lanes: sample + under x (255 - sample's alpha) / 255, the
// division rounded as DivideBy255 rounds it.
inline V Over16(V sample, V under) {
    const V alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(sample, 0xFF), 0xFF);
    const V rest = _mm256_sub_epi16(_mm256_set1_epi16(255), alpha);
    V x = _mm256_add_epi16(_mm256_mullo_epi16(under, rest), _mm256_set1_epi16(128));
    x = _mm256_srli_epi16(_mm256_add_epi16(x, _mm256_srli_epi16(x, 8)), 8);
    return _mm256_add_epi16(sample, x);
}

// The four neighbours of eight sample positions, and the weights across and down (0 to 255),
// each weight in both 16-bit halves of its lane.
struct Neighbours {
    V topLeft, topRight, bottomLeft, bottomRight, across, down;
};

inline Neighbours Gather(const BorderedPicture& picture, V u, V v) {
    // Positions that wander past the border by the fixed point's rounding are held on it.
    u = _mm256_min_epi32(_mm256_max_epi32(u, _mm256_set1_epi32(-65536)),
                         _mm256_set1_epi32(picture.width * 65536 - 1));
    v = _mm256_min_epi32(_mm256_max_epi32(v, _mm256_set1_epi32(-65536)),
                         _mm256_set1_epi32(picture.height * 65536 - 1));
    const V index = _mm256_add_epi32(
        _mm256_mullo_epi32(_mm256_srai_epi32(v, 16), _mm256_set1_epi32(picture.stride)),
        _mm256_srai_epi32(u, 16));
    const int* top = reinterpret_cast<const int*>(picture.origin);
    const int* bottom = top + picture.stride;
    auto weight = [](V position) {
        const V fraction =
            _mm256_and_si256(_mm256_srli_epi32(position, 8), _mm256_set1_epi32(0xFF));
        return _mm256_or_si256(fraction, _mm256_slli_epi32(fraction, 16));
    };
    return Neighbours{_mm256_i32gather_epi32(top, index, 4),
                      _mm256_i32gather_epi32(top + 1, index, 4),
                      _mm256_i32gather_epi32(bottom, index, 4),
                      _mm256_i32gather_epi32(bottom + 1, index, 4),
                      weight(u),
                      weight(v)};
}

// Each pixel's weight in the four 16-bit lanes of its channels, for the pixels that unpacking
// the low (or high) bytes of eight pixels brings out.
inline V WeightsOfLowPixels(V weight) {
    return _mm256_unpacklo_epi32(weight, weight);
}
inline V WeightsOfHighPixels(V weight) {
    return _mm256_unpackhi_epi32(weight, weight);
}

// The bilinear sample composited over `under`, for the half of the pixels `Unpack` brings out.
template <V (*Unpack)(V, V), V (*Weights)(V)>
inline V SampleOverHalf(const Neighbours& n, V under) {
    const V zero = _mm256_setzero_si256();
    const V across = Weights(n.across), down = Weights(n.down);
    const V top = Lerp16(Unpack(n.topLeft, zero), Unpack(n.topRight, zero), across);
    const V bottom = Lerp16(Unpack(n.bottomLeft, zero), Unpack(n.bottomRight, zero), across);
    return Over16(Lerp16(top, bottom, down), Unpack(under, zero));
}

inline V UnpackLow(V a, V b) {
    return _mm256_unpacklo_epi8(a, b);
}
inline V UnpackHigh(V a, V b) {
    return _mm256_unpackhi_epi8(a, b);
}

}  // namespace

int FilterRowAvx2(const BorderedPicture& picture, const RowWalk& walk, uint8_t* to, int count) {
    const V lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    auto start = [&](int64_t position, int64_t step) {
        return _mm256_add_epi32(
            _mm256_set1_epi32(static_cast<int32_t>(position)),
            _mm256_mullo_epi32(lanes, _mm256_set1_epi32(static_cast<int32_t>(step))));
    };
    V u = start(walk.u, walk.stepU), v = start(walk.v, walk.stepV);
    const V stepU = _mm256_set1_epi32(static_cast<int32_t>(walk.stepU * 8));
    const V stepV = _mm256_set1_epi32(static_cast<int32_t>(walk.stepV * 8));
    const V colour = _mm256_set1_epi32(0x00FFFFFF);
    int i = 0;
    for (; i + 8 <= count; i += 8, to += 32) {
        const Neighbours n = Gather(picture, u, v);
        const V under = _mm256_loadu_si256(reinterpret_cast<const V*>(to));
        const V drawn =
            _mm256_packus_epi16(SampleOverHalf<UnpackLow, WeightsOfLowPixels>(n, under),
                                SampleOverHalf<UnpackHigh, WeightsOfHighPixels>(n, under));
        // The colour is drawn; the fourth byte stays the destination's.
        const V kept =
            _mm256_or_si256(_mm256_and_si256(drawn, colour), _mm256_andnot_si256(colour, under));
        _mm256_storeu_si256(reinterpret_cast<V*>(to), kept);
        u = _mm256_add_epi32(u, stepU);
        v = _mm256_add_epi32(v, stepV);
    }
    return i;
}
#endif
