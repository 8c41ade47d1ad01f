#include "engines/graphics/pixel_rows.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engines/graphics/fade_row_wide.h"

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFF;

uint32_t LoadWord(const uint8_t* bytes) {
    uint32_t word;
    std::memcpy(&word, bytes, 4);
    return word;
}

void StoreWord(uint8_t* bytes, uint32_t word) {
    std::memcpy(bytes, &word, 4);
}

#if defined(__SSE2__)
struct Sse2 {
    using V = __m128i;
    static constexpr int kPixels = 4;
    static V Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
    static void Store(uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Set16(int16_t v) { return _mm_set1_epi16(v); }
    static V Set32(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
    static V LowBytes(V v, V zero) { return _mm_unpacklo_epi8(v, zero); }
    static V HighBytes(V v, V zero) { return _mm_unpackhi_epi8(v, zero); }
    static V MulHighU16(V x, V y) { return _mm_mulhi_epu16(x, y); }
    static V SubSaturated(V x, V y) { return _mm_subs_epu8(x, y); }
    static V AddBytes(V x, V y) { return _mm_add_epi8(x, y); }
    static V SubBytes(V x, V y) { return _mm_sub_epi8(x, y); }
    static V PackBytes(V low, V high) { return _mm_packus_epi16(low, high); }
    static V And(V x, V y) { return _mm_and_si128(x, y); }
    static V Or(V x, V y) { return _mm_or_si128(x, y); }
    static V Xor(V x, V y) { return _mm_xor_si128(x, y); }
    static V Equal8(V x, V y) { return _mm_cmpeq_epi8(x, y); }
    static V Equal32(V x, V y) { return _mm_cmpeq_epi32(x, y); }
    // Where mask is set take `chosen`, elsewhere `other`.
    static V Select(V mask, V chosen, V other) {
        return _mm_or_si128(_mm_and_si128(mask, chosen), _mm_andnot_si128(mask, other));
    }
    static bool AllZero(V v) { return _mm_movemask_epi8(v) == 0; }
};
#endif

}  // namespace

void CopyKeyedRow32(const uint8_t* in, uint8_t* out, int count, uint32_t key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i keyWords = _mm_set1_epi32(static_cast<int>(key & kColourBits));
    for (; i + 4 <= count; i += 4) {
        const __m128i source = Sse2::Load(in + 4 * i);
        const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(source, colour), keyWords);
        Sse2::Store(out + 4 * i, Sse2::Select(keyed, Sse2::Load(out + 4 * i), source));
    }
#endif
    for (; i < count; ++i) {
        const uint32_t source = LoadWord(in + 4 * i);
        if (((source ^ key) & kColourBits) != 0) StoreWord(out + 4 * i, source);
    }
}

void BlendBytes(const uint8_t* a, const uint8_t* b, int count, int percent, uint8_t* out) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i multiplier = Sse2::Set16(BlendMultiplier(percent));
    const uint8_t* from = percent >= 100 ? a : b;
    for (; i + 16 <= count; i += 16)
        Sse2::Store(out + i,
                    BlendVector<Sse2>(Sse2::Load(a + i), Sse2::Load(from + i), multiplier));
#endif
    for (; i < count; ++i)
        out[i] = static_cast<uint8_t>(b[i] + percent * (a[i] - b[i]) / 100);
}

void FadeRow32(const uint8_t* a, const uint8_t* b, int count, int percent, bool keyed, uint32_t key,
               uint8_t* layer, uint8_t* back) {
    int i = 0;
#if defined(__x86_64__)
    if (HasAvx2()) i = FadeRowAvx2(a, b, count, percent, keyed, key, layer, back);
#endif
#if defined(__SSE2__)
    i += FadeRowWide<Sse2>(a + 4 * i, b + 4 * i, count - i, percent, keyed, key, layer + 4 * i,
                           back ? back + 4 * i : nullptr);
#endif
    for (; i < count; ++i) {
        const uint32_t fromA = LoadWord(a + 4 * i);
        uint32_t lanes = fromA;
        if (!keyed || ((fromA ^ key) & kColourBits) != 0) {
            uint8_t blended[4];
            BlendBytes(a + 4 * i, b + 4 * i, 4, percent, blended);
            lanes = LoadWord(blended);
        }
        const uint32_t shown = (LoadWord(layer + 4 * i) & ~kColourBits) | (lanes & kColourBits);
        StoreWord(layer + 4 * i, shown);
        if (back && (!keyed || ((shown ^ key) & kColourBits) != 0)) StoreWord(back + 4 * i, shown);
    }
}

#if defined(__x86_64__)
bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}
#endif
