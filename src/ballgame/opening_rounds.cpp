#include "ballgame/opening_rounds.h"

#include "game/game_state.h"

// Placeholder until the ball game is built: nothing is won.
void PlayOpeningRounds() {
    lWinAmount = 0;
    SetGameState(STATE_LOST);
}
