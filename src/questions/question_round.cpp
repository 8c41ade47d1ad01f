#include "questions/question_round.h"

#include "game/game_state.h"

// Placeholder until the question screens are built: the round is lost at once.
void RunQuestionRound() {
    bPickingPrizeBall = true;
    SetGameState(STATE_LOST);
}
