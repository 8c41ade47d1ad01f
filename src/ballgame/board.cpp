#include "ballgame/board.h"

#include "game/game_state.h"
#include "shell/log.h"
#include "shell/random.h"

Ball axBalls[kBallCount];
WinPlanPlate axWinPlan[kBallCount];
uint8_t abFlash[kBallCount];
int32_t lPrizeAvailableThisGame = 0;
bool bPrizeBallChosen = false;

const BoardPosition ballPositions[kBallCount] = {
    {42, 102},  {117, 102}, {192, 102}, {267, 102}, {342, 102}, {417, 102}, {492, 102}, {567, 102},
    {52, 217},  {127, 217}, {202, 217}, {277, 217}, {352, 217}, {427, 217}, {502, 217}, {577, 217},
    {137, 332}, {212, 332}, {287, 332}, {362, 332}, {437, 332}, {512, 332},
};

const int32_t fiftyPenceValues[kBallCount] = {1,  2,  3,  4,  5,  10, 15, 20,  25,  30,  35,
                                              40, 45, 50, 60, 70, 80, 90, 100, 150, 200, 300};
const int32_t poundValues[kBallCount] = {1,  2,  3,  4,  5,  10, 15, 20,  25,  30,  35,
                                         40, 45, 50, 60, 70, 80, 90, 100, 150, 300, 500};

const int32_t* StakeValueTable() {
    return uwPriceOfPlay > 50 ? poundValues : fiftyPenceValues;
}

int32_t WinPlanY(int entry) {
    return 570 - kPlateHeight * entry;
}

int BallsLeft() {
    int left = 0;
    for (const Ball& ball : axBalls)
        left += ball.inPlay != 0;
    return left;
}

// Temporary: filled in with the deal.
void DealValues() {}
void ResetBoard() {}
void DealBalls() {}
void ChooseFlashPattern(int, int*) {}
const int generousFlashPatterns[kGenerousPatternCount][kBallCount] = {};
const int meanFlashPatterns[kMeanPatternCount][kBallCount] = {};
