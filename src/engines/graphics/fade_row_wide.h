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

// The multiplier that turns a byte x into floor(x x percent / 100) for percent 0 to 99: the high
// half of x times ceil(percent x 65536 / 100). Its error, under 256 / 65536, can never carry the
// result past a whole number, since x x percent / 100 moves in steps of 1/100. (At 100 the blend
// is a copy of a, which callers get by passing a as b.)
inline int16_t BlendMultiplier(int percent) {
    return static_cast<int16_t>(percent >= 100 ? 0 : (percent * 65536 + 99) / 100);
}

// floor(x x percent / 100) of every byte x.
template <class W>
typename W::V ScaleBytes(typename W::V x, typename W::V multiplier) {
    const typename W::V zero = W::Zero();
    return W::PackBytes(W::MulHighU16(W::LowBytes(x, zero), multiplier),
                        W::MulHighU16(W::HighBytes(x, zero), multiplier));
}

// Every byte b + percent x (a - b) / 100, truncated toward zero: the rise where a is above b, the
// fall where it is below, each scaled on whole bytes.
template <class W>
typename W::V BlendVector(typename W::V a, typename W::V b, typename W::V multiplier) {
    const typename W::V rise = ScaleBytes<W>(W::SubSaturated(a, b), multiplier);
    const typename W::V fall = ScaleBytes<W>(W::SubSaturated(b, a), multiplier);
    return W::SubBytes(W::AddBytes(b, rise), fall);
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
    const V multiplier = W::Set16(BlendMultiplier(percent));
    const uint8_t* from = percent >= 100 ? a : b;
    const V colour = W::Set32(kColourBits);
    const V keyWords = W::Set32(key & kColourBits);
    const V useKey = keyed ? W::Set32(0xFFFFFFFF) : W::Zero();
    int i = 0;
    for (; i + W::kPixels <= count; i += W::kPixels) {
        const V va = W::Load(a + 4 * i), vb = W::Load(from + 4 * i);
        const V keyInA = W::And(useKey, W::Equal32(W::And(va, colour), keyWords));
        const V lanes = Select<W>(keyInA, va, BlendVector<W>(va, vb, multiplier));
        const V shown = Select<W>(colour, lanes, W::Load(layer + 4 * i));
        W::Store(layer + 4 * i, shown);
        if (!back) continue;
        const V hidden = W::And(useKey, W::Equal32(W::And(shown, colour), keyWords));
        W::Store(back + 4 * i, Select<W>(hidden, W::Load(back + 4 * i), shown));
    }
    return i;
}

}  // namespace
