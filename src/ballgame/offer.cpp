#include "ballgame/offer.h"

int32_t NumberOfOffersMade = 0;
float fOffer = 0.0f;

// Placeholder until the offers are built: every offer is left and the game goes on.
bool MakeOffer() {
    ++NumberOfOffersMade;
    return false;
}
void DrawOfferFrame() {}
