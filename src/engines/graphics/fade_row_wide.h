// The cross-fade's row loop written once over a vector width: SSE2 (4 pixels a step) everywhere,
// AVX2 (8 pixels) where the processor has it, chosen when the program runs. Each file that uses
// it supplies its own width's operations, compiled for that instruction set, so nothing built
// for AVX2 can leak into code that runs on a processor without it.
#pragma once

#include <cstdint>

// The AVX2 row loop, built in a file of its own for AVX2; it returns how many pixels it did (a
// multiple of 8) and leaves the rest to the caller. Only to be called when HasAvx2() says so.
int FadeRowAvx2(const uint8_t* a, const uint8_t* b, int count, int percent, bool keyed,
                uint32_t key, uint8_t* layer, uint8_t* back);

namespace {

// Eight (or sixteen) signed values of at most 25,500 in size divided by 100, truncating toward
// zero: the high half of x * 5243 shifted by 3 is floor(x / 100) over that range, and negative
// values are then moved up by one toward zero.
template <class W>
typename W::V DivideBy100(typename W::V x) {
    const typename W::V floor = W::ShiftRight16(W::MulHigh16(x, W::Set16(5243)), 3);
    return W::Sub16(floor, W::ShiftRight16(x, 15));
}

// b + percent x (a - b) / 100 on 16-bit lanes.
template <class W>
typename W::V BlendHalf(typename W::V a, typename W::V b, typename W::V percent) {
    return W::Add16(b, DivideBy100<W>(W::MulLow16(W::Sub16(a, b), percent)));
}

// Blends every byte of a and b.
template <class W>
typename W::V BlendVector(typename W::V a, typename W::V b, typename W::V percent) {
    const typename W::V zero = W::Zero();
    return W::PackBytes(BlendHalf<W>(W::LowBytes(a, zero), W::LowBytes(b, zero), percent),
                        BlendHalf<W>(W::HighBytes(a, zero), W::HighBytes(b, zero), percent));
}

// Where mask is set take `chosen`, elsewhere `other`.
template <class W>
typename W::V Select(typename W::V mask, typename W::V chosen, typename W::V other) {
    return W::Or(W::And(mask, chosen), W::AndNot(mask, other));
}

// The whole steps of one fade row (see FadeRow32); returns the pixels done.
template <class W>
int FadeRowWide(const uint8_t* a, const uint8_t* b, int count, int percent, bool keyed,
                uint32_t key, uint8_t* layer, uint8_t* back) {
    using V = typename W::V;
    constexpr uint32_t kColourBits = 0x00FFFFFF;
    const V scale = W::Set16(static_cast<int16_t>(percent));
    const V colour = W::Set32(kColourBits);
    const V keyWords = W::Set32(key & kColourBits);
    const V useKey = keyed ? W::Set32(0xFFFFFFFF) : W::Zero();
    int i = 0;
    for (; i + W::kPixels <= count; i += W::kPixels) {
        const V va = W::Load(a + 4 * i), vb = W::Load(b + 4 * i);
        const V keyInA = W::And(useKey, W::Equal32(W::And(va, colour), keyWords));
        const V lanes = Select<W>(keyInA, va, BlendVector<W>(va, vb, scale));
        const V shown = Select<W>(colour, lanes, W::Load(layer + 4 * i));
        W::Store(layer + 4 * i, shown);
        if (!back) continue;
        const V hidden = W::And(useKey, W::Equal32(W::And(shown, colour), keyWords));
        W::Store(back + 4 * i, Select<W>(hidden, W::Load(back + 4 * i), shown));
    }
    return i;
}

}  // namespace
