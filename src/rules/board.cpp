#include "rules/board.h"

#include <algorithm>
#include <iterator>

#include "base/log.h"
#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"

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

// Generous games flash the balls two or three at a time, mean games mostly one at a time, so
// the player has less time to remember each value.
const int generousFlashPatterns[kGenerousPatternCount][kBallCount] = {
    {3, 3, 3, 3, 3, 3, 2, 2},       {3, 3, 3, 3, 3, 3, 2, 2},    {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
    {2, 2, 2, 2, 2, 2, 2, 2, 3, 3}, {2, 2, 2, 2, 2, 3, 3, 3, 3}, {3, 3, 3, 3, 3, 3, 3, 1},
};
const int meanFlashPatterns[kMeanPatternCount][kBallCount] = {
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 0, 2, 0, 2, 2},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
};

const int32_t* StakeValueTable() {
    return uwPriceOfPlay > 50 ? poundValues : fiftyPenceValues;
}

int32_t WinPlanY(int entry) {
    return 570 - kPlateHeight * entry;
}

void ChooseFlashPattern(int prizeLevel, int steps[kBallCount]) {
    const int* pattern = prizeLevel > 1 ? generousFlashPatterns[RandomBelow(kGenerousPatternCount)]
                                        : meanFlashPatterns[RandomBelow(kMeanPatternCount)];
    std::copy(pattern, pattern + kBallCount, steps);
    ShuffleValues(steps, kBallCount);
}

void DealValues() {
    const int32_t* values = StakeValueTable();
    bool used[kBallCount] = {};
    used[0] = true;  // the blue ball's empty value
    for (int i = 0; i < kBallCount; ++i) {
        if (i == kBlueBall) continue;
        int entry;
        do
            entry = static_cast<int>(RandomBelow(kBallCount));
        while (used[entry]);
        used[entry] = true;
        axBalls[i].value = values[entry];
        axBalls[i].planX = kWinPlanX;
        axBalls[i].planY = WinPlanY(entry);
    }
}

void ResetBoard() {
    for (int i = 0; i < kBallCount; ++i) {
        axBalls[i] = Ball{};
        axBalls[i].x = ballPositions[i].x;
        axBalls[i].y = ballPositions[i].y;
        axBalls[i].inPlay = 1;
    }
    Ball& blue = axBalls[kBlueBall];
    blue.isBlue = 1;
    blue.value = StakeValueTable()[0];
    blue.planX = kWinPlanX;
    blue.planY = WinPlanY(0);

    DealValues();
    for (int i = 0; i < kBallCount; ++i)
        LogPrint("axBalls[%d].value = %d \n", i, axBalls[i].value);

    const int32_t* values = StakeValueTable();
    for (int k = 0; k < kBallCount; ++k)
        axWinPlan[k] = {kWinPlanX, WinPlanY(k), values[k], 1};

    std::fill(std::begin(abFlash), std::end(abFlash), 0);
    bPickingPrizeBall = true;
    bPrizeBallChosen = false;
    lPrizeAvailableThisGame = 0;
}

void ForgetBoard() {
    std::fill(std::begin(axBalls), std::end(axBalls), Ball{});
    std::fill(std::begin(axWinPlan), std::end(axWinPlan), WinPlanPlate{});
    std::fill(std::begin(abFlash), std::end(abFlash), 0);
    bPrizeBallChosen = false;
    lPrizeAvailableThisGame = 0;
}

int BallsLeft() {
    int left = 0;
    for (const Ball& ball : axBalls)
        left += ball.inPlay != 0;
    return left;
}

bool CanPickBall(int ball) {
    if (ball < 0 || ball >= kBallCount || !axBalls[ball].inPlay) return false;
    return !(bPickingPrizeBall && axBalls[ball].isBlue);
}

bool CanOpenBall(int ball) {
    if (ball < 0 || ball >= kBallCount || axBalls[ball].inPlay == 0) {
        LogPrint("Failed 1\n");
        return false;
    }
    if (axBalls[ball].value == lPrizeAvailableThisGame) {
        LogPrint("Failed 2 - Ball == prize picked\n");
        return false;
    }
    return true;
}

void TakePrizeBall(int ball) {
    Ball& chosen = axBalls[ball];
    chosen.inPlay = 0;
    lPrizeAvailableThisGame = chosen.value;
    Trace("Ballpick = <%d>\n", ball);
    Trace("lPrizeAvailableThisGame = <%d>\n", lPrizeAvailableThisGame);
    chosen.isPlayers = 1;
    bPrizeBallChosen = true;
}

void TakeOffBoard(Ball& ball) {
    ball.inPlay = 0;
    ball.showValue = 0;
    for (WinPlanPlate& plate : axWinPlan)
        if (plate.value == ball.value) plate.lit = 0;
}
