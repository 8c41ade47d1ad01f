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

// Every byte b + percent x (a - b) / 100, truncated toward zero: the distance between a and b is
// scaled once on whole bytes, then added to b where a is above it and taken off where it is not
// (-s is (s ^ ~0) - ~0 in bytes).
template <class W>
typename W::V BlendVector(typename W::V a, typename W::V b, typename W::V multiplier) {
    using V = typename W::V;
    const V rise = W::SubSaturated(a, b);
    const V scaled = ScaleBytes<W>(W::Or(rise, W::SubSaturated(b, a)), multiplier);
    const V down = W::Equal8(rise, W::Zero());
    return W::AddBytes(b, W::SubBytes(W::Xor(scaled, down), down));
}

// All ones in each 32-bit pixel whose colour (the low three bytes) is the key's.
template <class W>
typename W::V KeyPixels(typename W::V pixels, typename W::V colour, typename W::V keyWords) {
    return W::Equal32(W::And(pixels, colour), keyWords);
}

// The whole steps of one fade row (see FadeRow32), keyed or not; returns the pixels done. The
// back buffer is read only at the rare steps where some pixel keeps it.
template <class W, bool kKeyed>
int FadeRowSteps(const uint8_t* a, const uint8_t* b, int count, int percent, uint32_t key,
                 uint8_t* layer, uint8_t* back) {
    using V = typename W::V;
    constexpr uint32_t kColourBits = 0x00FFFFFF;
    const V multiplier = W::Set16(BlendMultiplier(percent));
    const uint8_t* from = percent >= 100 ? a : b;
    const V colour = W::Set32(kColourBits);
    const V keyWords = W::Set32(key & kColourBits);
    int i = 0;
    for (; i + W::kPixels <= count; i += W::kPixels) {
        const V va = W::Load(a + 4 * i);
        V lanes = BlendVector<W>(va, W::Load(from + 4 * i), multiplier);
        if constexpr (kKeyed) lanes = W::Select(KeyPixels<W>(va, colour, keyWords), va, lanes);
        const V shown = W::Select(colour, lanes, W::Load(layer + 4 * i));
        W::Store(layer + 4 * i, shown);
        if (!back) continue;
        V onBack = shown;
        if constexpr (kKeyed) {
            const V hidden = KeyPixels<W>(shown, colour, keyWords);
            if (!W::AllZero(hidden)) onBack = W::Select(hidden, W::Load(back + 4 * i), shown);
        }
        W::Store(back + 4 * i, onBack);
    }
    return i;
}

template <class W>
int FadeRowWide(const uint8_t* a, const uint8_t* b, int count, int percent, bool keyed,
                uint32_t key, uint8_t* layer, uint8_t* back) {
    return keyed ? FadeRowSteps<W, true>(a, b, count, percent, key, layer, back)
                 : FadeRowSteps<W, false>(a, b, count, percent, key, layer, back);
}

}  // namespace
