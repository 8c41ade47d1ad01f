// The offer's price: a share of the average value still hidden on the board, the share growing
// with each offer and with the game's offer level, usually pushed just below the player's own
// ball, rounded down to 5p or 10p steps, never below 5p and capped by the stake. Pure apart from
// the random draws, which come from a draw source (the game's generator unless a test scripts
// them) in a fixed order, so the same seed replays the same offers.
#pragma once

#include <cstdint>
#include <span>

#include "rules/board.h"

inline constexpr int kOfferLevelCount = 5;  // offer and prize levels 0 (meanest) to 4
inline constexpr int kMostOffers = 4;       // 21 balls opened five a round: four offers at most

// Percent of the average hidden value, by offer level and offers already refused.
extern const int offerPercentages[kOfferLevelCount][kMostOffers];
// Multiplier of each offer, in tenths: 1.6, 1.3, 1.4, 1.2.
extern const int offerMultiplierTenths[kMostOffers];
// Difficulty (1 easiest, 3 hardest) of the question after a refusal, by offers already refused
// and the game's prize level.
extern const int refusalQuestionDifficulty[kMostOffers][kOfferLevelCount];

// Where the offer's random numbers come from.
class OfferDraws {
  public:
    virtual ~OfferDraws() = default;
    virtual unsigned Below(unsigned n) = 0;  // 0 to n - 1
    virtual bool Chance(int percent) = 0;    // true with probability percent / 100
};
// The game's own generator (RandomBelow, PercentChance).
OfferDraws& GameDraws();

struct OfferInputs {
    std::span<const Ball> balls;  // the board; only balls still in play count
    int32_t prizeAvailable;       // the value of the player's ball
    int offerLevel;               // 0 to 4
    int offersMade;               // offers already refused in this game, 0 to 3
    int stake;                    // 50 or 100 pence
};

struct OfferResult {
    int32_t amountLeft;           // sum of the non-empty values still in play
    int32_t boxesLeft;            // balls still in play, empty ones included
    float offerBeforeAdjustment;  // the raw offer, before keeping it below the player's ball
    float offer;                  // the final offer: whole pence
};

// Works out the offer for the board. The draws, in order: the percentage's extra 0 to 5; the 70 %
// chance of keeping below the player's ball, only when the offer reaches it; the cap's draw, only
// when the offer is capped. A level or offer count outside its table is taken as the nearest row.
OfferResult CalculateOffer(const OfferInputs& inputs, OfferDraws& draws = GameDraws());

// Books an offer on the meters: one more offer above the player's ball when it is, and one more
// offer of its value (5p steps to 100p, 10p steps to 1000p, any other value on its own meter).
void CountOffer(int32_t offer, int32_t prizeAvailable);

// The difficulty of the question after a refused offer.
int RefusalQuestionDifficulty(int offersMade, int prizeLevel);
