#include "engines/control/game_state.h"

uint8_t ucGameState = STATE_LOST;
int16_t uwPriceOfPlay = 100;
int32_t lWinAmount = 0;
bool bPickingPrizeBall = false;

uint8_t GetGameState() {
    return ucGameState;
}

uint8_t SetGameState(int code) {
    ucGameState = static_cast<uint8_t>(code);
    return ucGameState;
}

void ResetGameState() {
    ucGameState = STATE_LOST;
    uwPriceOfPlay = 100;
    lWinAmount = 0;
    bPickingPrizeBall = false;
}
