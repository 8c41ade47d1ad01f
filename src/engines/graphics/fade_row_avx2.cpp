// The cross-fade's row loop at AVX2 width. This file alone is compiled for AVX2 (see
// src/CMakeLists.txt); it is only called once the processor has been seen to have it.
#include "engines/graphics/fade_row_wide.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace {

struct Avx2 {
    using V = __m256i;
    static constexpr int kPixels = 8;
    static V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
    static void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Set16(int16_t v) { return _mm256_set1_epi16(v); }
    static V Set32(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
    static V LowBytes(V v, V zero) { return _mm256_unpacklo_epi8(v, zero); }
    static V HighBytes(V v, V zero) { return _mm256_unpackhi_epi8(v, zero); }
    static V MulHighU16(V x, V y) { return _mm256_mulhi_epu16(x, y); }
    static V SubSaturated(V x, V y) { return _mm256_subs_epu8(x, y); }
    static V AddBytes(V x, V y) { return _mm256_add_epi8(x, y); }
    static V SubBytes(V x, V y) { return _mm256_sub_epi8(x, y); }
    static V PackBytes(V low, V high) { return _mm256_packus_epi16(low, high); }
    static V And(V x, V y) { return _mm256_and_si256(x, y); }
    static V Or(V x, V y) { return _mm256_or_si256(x, y); }
    static V Xor(V x, V y) { return _mm256_xor_si256(x, y); }
    static V Equal8(V x, V y) { return _mm256_cmpeq_epi8(x, y); }
    static V Equal32(V x, V y) { return _mm256_cmpeq_epi32(x, y); }
    // Where mask is set take `chosen`, elsewhere `other` (mask bytes all ones or all zeros).
    static V Select(V mask, V chosen, V other) { return _mm256_blendv_epi8(other, chosen, mask); }
    static bool AllZero(V v) { return _mm256_testz_si256(v, v) != 0; }
};

}  // namespace

int FadeRowAvx2(const uint8_t* a, const uint8_t* b, int count, int percent, bool keyed,
                uint32_t key, uint8_t* layer, uint8_t* back) {
    return FadeRowWide<Avx2>(a, b, count, percent, keyed, key, layer, back);
}
#endif
