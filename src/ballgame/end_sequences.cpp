#include "ballgame/end_sequences.h"

#include "credit/credit_link.h"

// Placeholders until the end sequences are built: the win is paid, nothing is shown.
void PlayWinSequence(int32_t amount) { PayWinnings(static_cast<int16_t>(amount)); }
void PlayLossSequence() {}
