#include "game/play_game.h"

#include "ballgame/board.h"
#include "ballgame/end_sequences.h"
#include "ballgame/opening_rounds.h"
#include "ballgame/prize_ball.h"
#include "control/controller.h"
#include "game/game_state.h"
#include "graphics/assets.h"
#include "graphics/sprites.h"
#include "questions/question_round.h"

namespace {

void PlayBallGame() {
    CountIncrement(19);
    DealBalls();
    ChoosePrizeBall();
    bPickingPrizeBall = false;
    PlayOpeningRounds();
}

void PlayEndSequence() {
    switch (GetGameState()) {
        case STATE_LOST:
            lWinAmount = 0;
            PlayLossSequence();
            break;
        case STATE_WON:
            PlayWinSequence(lWinAmount);
            break;
        default:
            break;
    }
}

}  // namespace

int PlayGame() {
    ControlOpen(static_cast<uint32_t>(TotalGamesPlayed()));
    RunQuestionRound();
    if (GetGameState() == STATE_BALL_GAME) PlayBallGame();
    PlayEndSequence();
    // The next screen presents this background.
    DrawSprite(menuBackgroundSprite, 0, 0, 0, nullptr, 0);
    ControlClose();
    return 0;
}
