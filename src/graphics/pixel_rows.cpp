#include "graphics/pixel_rows.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
__m128i Load(const uint8_t* bytes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}
void Store(uint8_t* bytes, __m128i value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), value);
}
// Where mask is set take `chosen`, elsewhere `other`.
__m128i Select(__m128i mask, __m128i chosen, __m128i other) {
    return _mm_or_si128(_mm_and_si128(mask, chosen), _mm_andnot_si128(mask, other));
}

// Eight signed values of at most 25,500 in size divided by 100, truncating toward zero: the high
// half of x * 5243 shifted by 3 is floor(x / 100) over that range, and negative values are then
// moved up by one toward zero.
__m128i DivideBy100(__m128i x) {
    const __m128i floor = _mm_srai_epi16(_mm_mulhi_epi16(x, _mm_set1_epi16(5243)), 3);
    return _mm_sub_epi16(floor, _mm_srai_epi16(x, 15));
}

__m128i BlendHalf(__m128i a, __m128i b, __m128i percent) {
    const __m128i step = DivideBy100(_mm_mullo_epi16(_mm_sub_epi16(a, b), percent));
    return _mm_add_epi16(b, step);
}
#endif

}  // namespace

void CopyKeyedRow32(const uint8_t* in, uint8_t* out, int count, uint32_t key) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i keyWords = _mm_set1_epi32(static_cast<int>(key & kColourBits));
    for (; i + 4 <= count; i += 4) {
        const __m128i source = Load(in + 4 * i);
        const __m128i keyed = _mm_cmpeq_epi32(_mm_and_si128(source, colour), keyWords);
        Store(out + 4 * i, Select(keyed, Load(out + 4 * i), source));
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
    const __m128i zero = _mm_setzero_si128();
    const __m128i scale = _mm_set1_epi16(static_cast<int16_t>(percent));
    for (; i + 16 <= count; i += 16) {
        const __m128i va = Load(a + i), vb = Load(b + i);
        const __m128i low =
            BlendHalf(_mm_unpacklo_epi8(va, zero), _mm_unpacklo_epi8(vb, zero), scale);
        const __m128i high =
            BlendHalf(_mm_unpackhi_epi8(va, zero), _mm_unpackhi_epi8(vb, zero), scale);
        Store(out + i, _mm_packus_epi16(low, high));
    }
#endif
    for (; i < count; ++i)
        out[i] = static_cast<uint8_t>(b[i] + percent * (a[i] - b[i]) / 100);
}

void WriteLanesRow32(const uint8_t* blended, const uint8_t* a, int count, bool keyed, uint32_t key,
                     uint8_t* out) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i colour = _mm_set1_epi32(static_cast<int>(kColourBits));
    const __m128i keyWords = _mm_set1_epi32(static_cast<int>(key & kColourBits));
    const __m128i useA = keyed ? _mm_set1_epi32(-1) : _mm_setzero_si128();
    for (; i + 4 <= count; i += 4) {
        const __m128i fromA = Load(a + 4 * i);
        const __m128i isKey =
            _mm_and_si128(useA, _mm_cmpeq_epi32(_mm_and_si128(fromA, colour), keyWords));
        const __m128i lanes = Select(isKey, fromA, Load(blended + 4 * i));
        Store(out + 4 * i, Select(colour, lanes, Load(out + 4 * i)));
    }
#endif
    for (; i < count; ++i) {
        const uint32_t fromA = LoadWord(a + 4 * i);
        const uint32_t lanes =
            keyed && ((fromA ^ key) & kColourBits) == 0 ? fromA : LoadWord(blended + 4 * i);
        StoreWord(out + 4 * i, (LoadWord(out + 4 * i) & ~kColourBits) | (lanes & kColourBits));
    }
}
