#include "ballgame_rounds/ball_game.h"

#include "base/random.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "screens/touch_menu.h"
#include "support/screen_run.h"

std::string TouchOnBall(uint32_t ms, int ball) {
    const MenuButton& button = ballMenuButtons[ball];
    return TouchLine(ms, button.x + button.width / 2, button.y + button.height / 2);
}

void SetUpBallGame(int16_t stake, uint32_t seed, int playersBall) {
    ResetGameState();
    uwPriceOfPlay = stake;
    SeedRandom(seed);
    ResetBoard();
    TakeAsPlayersBall(playersBall);
    bPrizeBallChosen = true;
    bPickingPrizeBall = false;
    SetGameState(STATE_BALL_GAME);
}

void TakeAsPlayersBall(int ball) {
    for (Ball& each : axBalls) {
        if (each.isPlayers) each.inPlay = 1;
        each.isPlayers = 0;
    }
    axBalls[ball].inPlay = 0;
    axBalls[ball].isPlayers = 1;
    lPrizeAvailableThisGame = axBalls[ball].value;
}

int BallWithValue(int32_t value) {
    for (int ball = 0; ball < kBallCount; ++ball)
        if (axBalls[ball].value == value) return ball;
    return -1;
}
