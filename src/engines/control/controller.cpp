#include "engines/control/controller.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "base/log.h"
#include "base/random.h"
#include "engines/control/game_state.h"

float controllerBalances[kStakeCount] = {0.0f, 0.0f};
int32_t gameCounters[kCounterCount] = {};

const int32_t bandThresholds[kStakeCount][kBandCount] = {
    {1000, 400, 200, -400, -600, -800, -9999999},
    {1000, 400, 200, -400, -600, -800, -9999999},
};

const int16_t levelTable[kBandCount][kLevelColumns] = {
    {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1}, {0, 0, 1, 1, 2, 2}, {0, 1, 2, 2, 3, 3},
    {3, 3, 3, 4, 4, 4}, {4, 4, 4, 4, 4, 4}, {4, 4, 4, 4, 4, 4},
};

namespace {

const char* const kSourceName = "control";

// The record of the game in progress, filled by ControlOpen.
struct GameRecord {
    int16_t prizeLevel = 0;
    int16_t questionLevel = 0;
    int16_t offerLevel = 0;
    int16_t tryAgainLevel = 0;
    bool open = false;
};
GameRecord gameRecord;

bool IsStakeIndex(int stake) {
    return stake >= 0 && stake < kStakeCount;
}
bool IsCounterIndex(int index) {
    return index >= 0 && index < kCounterCount;
}

// The stake index of the stake in force when "above 50" selects the £1 balance.
int16_t StakeIndexAbove50() {
    return uwPriceOfPlay > 50 ? 1 : 0;
}

// Books a win against one stake: its counter by band (the band before the win), its total, its
// balance and its number of winning games.
void BookStakeWin(uint8_t stake, int16_t byBandFirst, int16_t totalCounter, int16_t gamesCounter,
                  int32_t win) {
    const uint8_t band = ControllerBand(stake);
    CountAdd(static_cast<int16_t>(byBandFirst + band), static_cast<int16_t>(win));
    CountAdd(totalCounter, static_cast<int16_t>(win));
    ControllerAdd(stake, static_cast<float>(win));
    CountIncrement(gamesCounter);
}

}  // namespace

void CountIncrement(int16_t index) {
    CountAdd(index, 1);
}

void CountAdd(int16_t index, int16_t amount) {
    if (!IsCounterIndex(index)) return;
    // Unsigned arithmetic: a counter that passes the 32-bit range rolls over instead of
    // overflowing.
    const uint32_t sum = static_cast<uint32_t>(gameCounters[index]) + static_cast<uint32_t>(amount);
    gameCounters[index] = static_cast<int32_t>(sum);
}

int32_t CounterValue(int index) {
    return IsCounterIndex(index) ? gameCounters[index] : 0;
}

int TotalGamesPlayed() {
    const uint32_t sum = static_cast<uint32_t>(gameCounters[counter::kGames50p]) +
                         static_cast<uint32_t>(gameCounters[counter::kGamesPound]);
    return static_cast<int32_t>(sum);
}

float ControllerValue(int16_t stake) {
    return IsStakeIndex(stake) ? controllerBalances[stake] : 0.0f;
}

void ControllerAdd(uint8_t stake, float amount) {
    if (IsStakeIndex(stake)) controllerBalances[stake] += amount;
}

uint8_t ControllerBand(int16_t stake) {
    const float balance = ControllerValue(stake);
    const int row = IsStakeIndex(stake) ? stake : 0;
    for (int band = 0; band < kBandCount - 1; ++band) {
        if (static_cast<float>(bandThresholds[row][band]) <= balance)
            return static_cast<uint8_t>(band);
    }
    return kBandCount - 1;
}

void ChargeStake() {
    const float charge = -(uwPriceOfPlay * kTargetPayoutPercent) / 100.0f;
    if (uwPriceOfPlay == 50) ControllerAdd(0, charge);
    if (uwPriceOfPlay == 100) ControllerAdd(1, charge);
}

void ResetControlData() {
    for (float& balance : controllerBalances)
        balance = 0.0f;
    for (int32_t& count : gameCounters)
        count = 0;
    gameRecord = GameRecord{};
}

int ControlOpen(uint32_t allowReduction) {
    if (gameRecord.open) {
        LogPrint("error in %s...control already open\n", kSourceName);
        return 0;
    }
    gameRecord.open = true;

    int band = ControllerBand(StakeIndexAbove50());
    if (band > 0 && allowReduction != 0 && PercentChance(33)) --band;

    const int16_t* levels = levelTable[band];
    gameRecord.prizeLevel = levels[RandomBelow(kLevelColumns)];
    // The question, offer and try-again levels come from one row, two columns apart.
    const unsigned column = RandomBelow(kLevelColumns);
    gameRecord.questionLevel = levels[column];
    gameRecord.offerLevel = levels[(column + 2) % kLevelColumns];
    gameRecord.tryAgainLevel = levels[(column + 4) % kLevelColumns];
    return 1;
}

int ControlClose() {
    if (!gameRecord.open) {
        LogPrint("error in %s...control not open\n", kSourceName);
        return 0;
    }
    gameRecord.open = false;
    return 1;
}

void EndGameAccounting() {
    const int32_t win = lWinAmount;
    if (win == 0) return;
    if (uwPriceOfPlay == 50) {
        BookStakeWin(0, counter::kWon50pByBand, counter::kWon50p, counter::kWinningGames50p, win);
    }
    if (uwPriceOfPlay == 100) {
        BookStakeWin(1, counter::kWonPoundByBand, counter::kWonPound, counter::kWinningGamesPound,
                     win);
    }
    CountIncrement(counter::kWinningGames);
}

void CountPaidOut(int16_t pence) {
    CountAdd(counter::kWonTotal, pence);
}

MetersSnapshot TakeMetersSnapshot() {
    MetersSnapshot snapshot;
    std::copy(std::begin(controllerBalances), std::end(controllerBalances), snapshot.balances);
    std::copy(std::begin(gameCounters), std::end(gameCounters), snapshot.counters);
    return snapshot;
}

void RestoreMeters(const MetersSnapshot& snapshot) {
    std::copy(std::begin(snapshot.balances), std::end(snapshot.balances), controllerBalances);
    std::copy(std::begin(snapshot.counters), std::end(snapshot.counters), gameCounters);
}

int32_t MaxWinAllowed() {
    const float balance = ControllerValue(StakeIndexAbove50());
    if (!(balance < 0.0f)) return 0;  // 0 or more (or not a number)
    const float magnitude = std::trunc(-balance);
    if (magnitude >= static_cast<float>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(magnitude);
}

int16_t PrizeLevel() {
    return gameRecord.prizeLevel;
}
int16_t QuestionLevel() {
    return gameRecord.questionLevel;
}
int16_t OfferLevel() {
    return gameRecord.offerLevel;
}
int16_t TryAgainLevel() {
    return gameRecord.tryAgainLevel;
}
bool ControlIsOpen() {
    return gameRecord.open;
}
