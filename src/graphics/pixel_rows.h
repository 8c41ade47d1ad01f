// The inner loops of the sprite engine and the cross-fade, one row at a time. They run over the
// whole screen every frame of a fade, so they use SSE2 where the machine has it; the plain loop
// finishes what the wide one leaves.
#pragma once

#include <cstdint>

// Copies `count` 32-bit pixels except those whose blue, green and red equal the key's.
void CopyKeyedRow32(const uint8_t* in, uint8_t* out, int count, uint32_t key);

// out = b + percent x (a - b) / 100 for each of `count` bytes, the division truncating toward
// zero (percent 0 to 100).
void BlendBytes(const uint8_t* a, const uint8_t* b, int count, int percent, uint8_t* out);

// Writes `count` pixels of three-component lanes (a 32-bit word each, component 0 lowest) into a
// 32-bit row, keeping each pixel's fourth byte. With keyed set, a pixel whose lanes in `a` equal
// `key` takes its lanes from `a` instead of `blended`.
void WriteLanesRow32(const uint8_t* blended, const uint8_t* a, int count, bool keyed, uint32_t key,
                     uint8_t* out);
