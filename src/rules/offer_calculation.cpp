#include "rules/offer_calculation.h"

#include <algorithm>

#include "base/log.h"
#include "base/random.h"
#include "engines/control/controller.h"

const int offerPercentages[kOfferLevelCount][kMostOffers] = {
    {45, 50, 60, 70}, {45, 55, 65, 75}, {50, 60, 75, 80}, {65, 75, 85, 95}, {70, 80, 86, 95},
};

const int offerMultiplierTenths[kMostOffers] = {16, 13, 14, 12};

const int refusalQuestionDifficulty[kMostOffers][kOfferLevelCount] = {
    {3, 2, 1, 1, 1},
    {3, 3, 2, 1, 1},
    {3, 3, 2, 2, 1},
    {3, 3, 2, 2, 1},
};

namespace {

class GameGeneratorDraws final : public OfferDraws {
  public:
    unsigned Below(unsigned n) override { return RandomBelow(n); }
    bool Chance(int percent) override { return PercentChance(percent); }
};

// Values 1 to 4 are the empty balls: they hide nothing.
constexpr int32_t kLargestEmptyValue = 4;
constexpr int32_t kSmallestOffer = 5;
constexpr int kChanceOfKeepingBelowOwnBall = 70;

// The whole pence of an offer, dropping any fraction.
int32_t Whole(float offer) {
    return static_cast<int32_t>(offer);
}

// Takes whole pence off an offer, keeping its fraction. Exact: the offer and the result are far
// below the range where a float loses its fractional bits, so this is the same as subtracting
// 1.0 that many times.
float LessWholePence(float offer, int32_t pence) {
    return offer - static_cast<float>(pence);
}

// Mostly keeps an offer that reaches the player's ball just below it; an empty ball is never
// undercut. The chance is drawn only when the offer reaches the ball.
float KeepBelowPlayersBall(float offer, int32_t prizeAvailable, OfferDraws& draws) {
    if (Whole(offer) < prizeAvailable) return offer;
    const bool keepBelow = draws.Chance(kChanceOfKeepingBelowOwnBall);
    if (!keepBelow || prizeAvailable <= kLargestEmptyValue) return offer;
    return LessWholePence(offer, Whole(offer) - (prizeAvailable - 1));
}

// Rounds down to a multiple of 10p above 90p, of 5p otherwise.
float RoundDownToStep(float offer) {
    const int32_t pence = Whole(offer);
    const int32_t step = pence > 90 ? 10 : 5;
    return LessWholePence(offer, pence % step);
}

// Replaces a large offer by a random one well below the stake's limit: 300 to 450p in 10p steps
// at £1 once the offer reaches 500p, 200 to 250p at 50p once it reaches 300p.
float CapForStake(float offer, int stake, OfferDraws& draws) {
    const bool poundStake = stake > 50;
    const int32_t limit = poundStake ? 500 : 300;
    if (Whole(offer) < limit) return offer;
    const unsigned tens = poundStake ? draws.Below(16) + 30 : draws.Below(6) + 20;
    return static_cast<float>(tens * 10);
}

void TraceResult(const OfferResult& result, const OfferInputs& inputs) {
    Trace("fOffer AFTER Adjustment= %f\n", result.offer);
    Trace("lPrizeAvailableThisGame = <%d>\n", inputs.prizeAvailable);
    Trace("fOffer = %f\n", result.offer);
    Trace("fOffer = \xA3%.2f\n", result.offer / 100.0);
    Trace("AmountLeft = %d\n", result.amountLeft);
    Trace("BoxesLeft = %d\n", result.boxesLeft);
    Trace("NumberOfOffersMade = %d>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>\n", inputs.offersMade);
}

}  // namespace

OfferDraws& GameDraws() {
    static GameGeneratorDraws gameDraws;
    return gameDraws;
}

OfferResult CalculateOffer(const OfferInputs& inputs, OfferDraws& draws) {
    const int level = std::clamp(inputs.offerLevel, 0, kOfferLevelCount - 1);
    const int made = std::clamp(inputs.offersMade, 0, kMostOffers - 1);

    int64_t amountLeft = 0;
    int32_t boxesLeft = 0;
    for (const Ball& ball : inputs.balls) {
        if (ball.inPlay == 0) continue;
        ++boxesLeft;
        if (ball.value > kLargestEmptyValue) amountLeft += ball.value;
    }

    // The player's ball joins the sum but not the count. With nothing left to open (the rounds
    // never offer then) the player's ball alone would set the average, rather than dividing by 0.
    const int64_t average = (amountLeft + inputs.prizeAvailable) / std::max<int32_t>(boxesLeft, 1);
    const int64_t percent = offerPercentages[level][made] + draws.Below(6);
    // Whole numbers throughout, so the product is truncated exactly, never a hair below.
    const int64_t base = percent * average / 100;
    float offer =
        static_cast<float>(static_cast<double>(base * offerMultiplierTenths[made]) / 10.0);

    OfferResult result{};
    result.amountLeft = static_cast<int32_t>(amountLeft);
    result.boxesLeft = boxesLeft;
    result.offerBeforeAdjustment = offer;
    Trace("fOffer BEFORE adjustment= %f\n", offer);

    offer = KeepBelowPlayersBall(offer, inputs.prizeAvailable, draws);
    offer = RoundDownToStep(offer);
    if (Whole(offer) < kSmallestOffer) offer = static_cast<float>(kSmallestOffer);
    offer = CapForStake(offer, inputs.stake, draws);
    result.offer = static_cast<float>(Whole(offer));

    TraceResult(result, inputs);
    return result;
}

void CountOffer(int32_t offer, int32_t prizeAvailable) {
    if (offer > prizeAvailable) CountIncrement(counter::kOffersAboveOwnBall);
    if (offer >= 5 && offer <= 100 && offer % 5 == 0) {
        CountIncrement(static_cast<int16_t>(counter::kOffersBy5p - 1 + offer / 5));
    } else if (offer >= 110 && offer <= 1000 && offer % 10 == 0) {
        CountIncrement(static_cast<int16_t>(counter::kOffersBy10p - 11 + offer / 10));
    } else {
        CountIncrement(counter::kOffersOther);
    }
}

int RefusalQuestionDifficulty(int offersMade, int prizeLevel) {
    return refusalQuestionDifficulty[std::clamp(offersMade, 0, kMostOffers - 1)]
                                    [std::clamp(prizeLevel, 0, kOfferLevelCount - 1)];
}
