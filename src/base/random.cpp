#include "base/random.h"

#include <utility>

namespace {
constexpr uint32_t kStartSeed = 1;
uint32_t randomState = kStartSeed;
}  // namespace

void SeedRandom(uint32_t seed) {
    randomState = seed;
}

void ForgetRandomSeed() {
    randomState = kStartSeed;
}

unsigned RandomDraw() {
    randomState = randomState * 214013u + 2531011u;
    return (randomState >> 16) & 0x7FFFu;
}

unsigned RandomBelow(unsigned n) {
    if (n == 0) n = 1;
    return RandomDraw() % n;
}

bool PercentChance(int percent) {
    return static_cast<int>(RandomBelow(100)) < percent;
}

void SwapValues(int& a, int& b) {
    std::swap(a, b);
}

int ShuffleValues(int* values, int count) {
    int steps = 0;
    for (int i = 0; i < count - 1; ++i, ++steps) {
        unsigned j = RandomBelow(static_cast<unsigned>(count - i));
        SwapValues(values[i], values[i + static_cast<int>(j)]);
    }
    return steps;
}
