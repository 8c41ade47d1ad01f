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

// One row of a 32-bit cross-fade, `count` pixels kept as 32-bit words (component 0 lowest): the
// blend of a and b (as BlendBytes) becomes the colour of each layer pixel, whose fourth byte is
// kept; with keyed set, a pixel whose colour in `a` is the key keeps a's colour. The new layer
// pixel is then shown on the back buffer row (when there is one) as DrawLayer shows it: every
// pixel, or with keyed set all but those of the key colour.
void FadeRow32(const uint8_t* a, const uint8_t* b, int count, int percent, bool keyed, uint32_t key,
               uint8_t* layer, uint8_t* back);

// Whether the processor has AVX2, for the loops built for it (x86-64 only).
bool HasAvx2();
