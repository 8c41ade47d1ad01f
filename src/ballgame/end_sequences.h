// The end-of-game sequences: the win (which pays the amount) and the loss.
#pragma once

#include <cstdint>

void PlayWinSequence(int32_t amount);
void PlayLossSequence();
