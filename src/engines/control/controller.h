// The payout controller: the cabinet pays out 30 % of what each stake takes. It keeps one running
// balance per stake (index 0 for 50p, 1 for £1, in pence), charges every paid game to it, books
// every win against it, sorts the balance into one of seven bands and, at the start of each game,
// draws from the band the levels that make the game meaner (0) or more generous (4). It also owns
// the cabinet's 181 game counters (the meters), which the record file saves across restarts.
#pragma once

#include <cstdint>

inline constexpr int kStakeCount = 2;  // stake index 0: 50p, 1: £1
inline constexpr int kBandCount = 7;
inline constexpr int kLevelColumns = 6;
inline constexpr int kCounterCount = 181;
inline constexpr int kTargetPayoutPercent = 30;

// ---- Program-wide tables ------------------------------------------------------------------------
// The balance of each stake, in pence: positive when the stake has paid out more than its target
// since it was last cleared, negative when it has paid out less. Saved by the record file.
extern float controllerBalances[kStakeCount];
// The game counters, indexes 0 to 180 (names below). Saved by the record file.
extern int32_t gameCounters[kCounterCount];
// Lowest balance of each band, band 0 first; the same for both stakes.
extern const int32_t bandThresholds[kStakeCount][kBandCount];
// The levels a game can draw in each band, 0 (meanest) to 4 (most generous).
extern const int16_t levelTable[kBandCount][kLevelColumns];

// ---- The game counters --------------------------------------------------------------------------
// The first index of every counter or run of counters. Money counters are in pence, the playing
// time in seconds, the rest are counts.
namespace counter {
inline constexpr int16_t kGames50p = 0;
inline constexpr int16_t kGamesPound = 1;
inline constexpr int16_t kGames50pByBand = 2;    // + band at the start of the game
inline constexpr int16_t kGamesPoundByBand = 9;  // + band
inline constexpr int16_t kAnswersTimedOut = 16;
inline constexpr int16_t kQuestionsAsked = 17;
inline constexpr int16_t kQuestionRoundsLost = 18;
inline constexpr int16_t kBallGamesReached = 19;
inline constexpr int16_t kOwnBallPaid = 20;
inline constexpr int16_t kWon50p = 21;
inline constexpr int16_t kWonPound = 22;
inline constexpr int16_t kWonTotal = 23;
inline constexpr int16_t kWon50pByBand = 24;    // + band at the end of the game
inline constexpr int16_t kWonPoundByBand = 31;  // + band
inline constexpr int16_t kWinningGames = 38;
inline constexpr int16_t kWinningGamesPound = 39;
inline constexpr int16_t kWinningGames50p = 40;
inline constexpr int16_t kBankBelow500 = 41;
inline constexpr int16_t kBank500To999 = 42;
inline constexpr int16_t kBank1000Up = 43;
inline constexpr int16_t kPlayingSeconds = 44;
inline constexpr int16_t kBallGames50p = 45;
inline constexpr int16_t kBallGamesPound = 46;
inline constexpr int16_t kOwnBallByValue = 47;  // 5, 10, ... 50, 60, ... 100, 150, 200, 500, 1000p
inline constexpr int16_t kOffersBy5p = 66;      // offers of 5 to 100p: 65 + value / 5
inline constexpr int16_t kOffersBy10p = 86;     // offers of 110 to 1000p: 75 + value / 10
inline constexpr int16_t kOffersOther = 176;
inline constexpr int16_t kOffersAboveOwnBall = 177;
inline constexpr int16_t kBallGameWon50p = 178;
inline constexpr int16_t kBallGameWonPound = 179;
inline constexpr int16_t kOwnBallUnder5p = 180;
}  // namespace counter

// Adds 1, or an amount, to a counter; an index outside 0 to 180 is ignored. A counter that passes
// the largest 32-bit value rolls over, as a mechanical meter would.
void CountIncrement(int16_t index);
void CountAdd(int16_t index, int16_t amount);
// The counter's value, 0 for an index outside 0 to 180.
int32_t CounterValue(int index);
// Games sold so far: 50p games plus £1 games.
int TotalGamesPlayed();

// ---- Balances and bands -------------------------------------------------------------------------
// The balance of a stake index; an index other than 0 or 1 reads as 0.
float ControllerValue(int16_t stake);
// Adds an amount to a stake's balance; an index other than 0 or 1 is ignored.
void ControllerAdd(uint8_t stake, float amount);
// The band of a stake's balance: 0 at 1000 or more, down to 6 below -800.
uint8_t ControllerBand(int16_t stake);
// The balances and counters as they stand: a sale is booked before its stake is taken, and put
// back when the stake is not taken.
struct MetersSnapshot {
    float balances[kStakeCount];
    int32_t counters[kCounterCount];
};
MetersSnapshot TakeMetersSnapshot();
void RestoreMeters(const MetersSnapshot& snapshot);
// Zeroes both balances and every counter, and forgets a game record left open (its levels too),
// as at start-up.
void ResetControlData();

// ---- One paid game ------------------------------------------------------------------------------
// Charges 30 % of the stake in force (`uwPriceOfPlay`, 50 or 100) to the stake's balance.
void ChargeStake();
// Opens the game record: picks the band of the stake in force (a band above 0 is lowered by one
// a third of the time when `allowReduction` is non-zero) and draws the game's four levels from
// it. 1 when opened; 0, logged, when the record is already open.
int ControlOpen(uint32_t allowReduction);
// Closes the game record. 1 when closed; 0, logged, when it was not open.
int ControlClose();
// Books the game's win (`lWinAmount`) against the stake's balance and the win counters. What
// reaches the player is counted apart, as it is paid (CountPaidOut).
void EndGameAccounting();
// Counts pence of winnings the player has been paid (counter::kWonTotal).
void CountPaidOut(int16_t pence);
// The most the stake's balance would let the cabinet pay: the magnitude of a negative balance in
// whole pence, 0 when the balance is 0 or more. A diagnostic figure only.
int32_t MaxWinAllowed();

// ---- The levels of the game in progress (valid between ControlOpen and ControlClose) -----------
int16_t PrizeLevel();
int16_t QuestionLevel();
int16_t OfferLevel();
int16_t TryAgainLevel();
bool ControlIsOpen();
