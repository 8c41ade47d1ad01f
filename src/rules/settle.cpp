#include "rules/settle.h"

#include <iterator>

#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/winnings.h"

namespace {

// The player's-ball meters from counter::kOwnBallByValue on, in order: 5p to £2, then £5 and
// £10. £3 has none.
constexpr int32_t kCountedOwnBallValues[] = {5,  10, 15, 20, 25,  30,  35,  40,  45,  50,
                                             60, 70, 80, 90, 100, 150, 200, 500, 1000};
static_assert(counter::kOwnBallByValue + std::size(kCountedOwnBallValues) == counter::kOffersBy5p,
              "one meter for each value, up to the offer meters");

}  // namespace

int32_t OwnBallWorth(int32_t value) {
    return value < kSmallestPrize ? 0 : value;
}

uint8_t SettledState(int32_t ownBallWorth, int32_t winAmount) {
    return ownBallWorth != 0 || winAmount != 0 ? STATE_WON : STATE_LOST;
}

int32_t SettledWinAmount(int32_t winAmount, int32_t ownBallWorth, int ballsLeft) {
    return ballsLeft == 0 ? ownBallWorth : winAmount;
}

int OwnBallCounter(int32_t value) {
    if (value >= 1 && value < kSmallestPrize) return counter::kOwnBallUnder5p;
    for (size_t i = 0; i < std::size(kCountedOwnBallValues); ++i)
        if (kCountedOwnBallValues[i] == value)
            return counter::kOwnBallByValue + static_cast<int>(i);
    return -1;
}

int16_t BallGameWinCounter(int16_t stake) {
    return stake <= 50 ? counter::kBallGameWon50p : counter::kBallGameWonPound;
}

void CountBallGameStart() {
    CountIncrement(uwPriceOfPlay < 100 ? counter::kBallGames50p : counter::kBallGamesPound);
    const int ownBall = OwnBallCounter(lPrizeAvailableThisGame);
    if (ownBall >= 0) CountIncrement(static_cast<int16_t>(ownBall));
}

bool LostAtOfferQuestion() {
    return GetGameState() == STATE_LOST;
}

void SettleOwnBall() {
    lPrizeAvailableThisGame = OwnBallWorth(lPrizeAvailableThisGame);
    SetGameState(SettledState(lPrizeAvailableThisGame, lWinAmount));
}

void SettleWinnings() {
    const int ballsLeft = BallsLeft();
    if (ballsLeft == 0) CountIncrement(counter::kOwnBallPaid);
    lWinAmount = SettledWinAmount(lWinAmount, lPrizeAvailableThisGame, ballsLeft);
    // The meter adds 16-bit amounts; a win is at most a few pounds.
    CountAdd(BallGameWinCounter(uwPriceOfPlay), static_cast<int16_t>(lWinAmount));
}

void SettleBallGame() {
    SettleOwnBall();
    SettleWinnings();
    if (GetGameState() == STATE_WON) OweWin();
}
