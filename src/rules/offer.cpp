#include "rules/offer.h"

#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/settle.h"

int32_t NumberOfOffersMade = 0;
float fOffer = 0.0f;

namespace {
OfferResult lastOffer{};
bool offerTaken = false;
}  // namespace

void WorkOutOffer() {
    lastOffer = CalculateOffer(
        {axBalls, lPrizeAvailableThisGame, OfferLevel(), NumberOfOffersMade, uwPriceOfPlay});
    fOffer = lastOffer.offer;
    offerTaken = false;
    CountOffer(static_cast<int32_t>(fOffer), lPrizeAvailableThisGame);
}

const OfferResult& LastOfferWorkedOut() {
    return lastOffer;
}

void TakeOffer() {
    if (offerTaken) return;
    offerTaken = true;
    lWinAmount = static_cast<int32_t>(fOffer);
    SettleBallGame();
}

void ForgetOffer() {
    NumberOfOffersMade = 0;
    fOffer = 0.0f;
    lastOffer = OfferResult{};
    offerTaken = false;
}
