#include "ballgame/board.h"

#include <algorithm>

#include "ballgame/board_drawing.h"
#include "control/controller.h"
#include "game/game_state.h"
#include "graphics/assets.h"
#include "graphics/sprites.h"
#include "shell/log.h"
#include "shell/random.h"
#include "shell/waits.h"
#include "sound/sound_effects.h"

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

namespace {

constexpr int kDealSound = 2;
constexpr uint32_t kFirstLookMs = 2000;
constexpr uint32_t kFlashMsPerBall = 200;

// The player's last look at the closed board before the values flash.
void ShowClosedBoard() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    DrawDealBoard();
    PresentFrame();
    WaitForTouch(kFirstLookMs);
}

// Opens `count` balls that have not flashed yet in this deal, any ball (the blue one included)
// equally likely, and shows them for count x 200 ms.
void FlashGroup(int count, bool flashed[kBallCount]) {
    const int unflashed = static_cast<int>(std::count(flashed, flashed + kBallCount, false));
    count = std::min(count, unflashed);
    for (int picked = 0; picked < count; ++picked) {
        int ball;
        do
            ball = static_cast<int>(RandomBelow(kBallCount));
        while (flashed[ball]);
        flashed[ball] = true;
        abFlash[ball] = 1;
    }
    PlaySoundEffect(kDealSound);
    DrawDealBoard();
    PresentFrame();
    WaitMs(static_cast<uint32_t>(count) * kFlashMsPerBall);
}

void CloseAllBalls() {
    std::fill(std::begin(abFlash), std::end(abFlash), 0);
    DrawDealBoard();
    PresentFrame();
}

}  // namespace

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

void DealBalls() {
    int steps[kBallCount];
    ChooseFlashPattern(PrizeLevel(), steps);

    std::fill(std::begin(abFlash), std::end(abFlash), 0);
    DealValues();
    ShowClosedBoard();

    bool flashed[kBallCount] = {};
    for (int groupSize : steps) {
        if (groupSize > 0) FlashGroup(groupSize, flashed);
        CloseAllBalls();
    }
    for (int i = 0; i < kBallCount; ++i)
        Trace("axBalls[%d].value = <%d>\n", i, axBalls[i].value);
}

int BallsLeft() {
    int left = 0;
    for (const Ball& ball : axBalls)
        left += ball.inPlay != 0;
    return left;
}
