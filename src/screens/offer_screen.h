// The offer as the player sees it: the offer ball dropping in and opening on the plate, ten
// seconds to touch Take or Leave, the pressed button, and a refused offer's ball closing and
// falling away.
#pragma once

// The screen is kept as the backdrop; the ball drops in and opens on the offer (fOffer).
void BringInOffer();
// Ten seconds to take or leave; a clock that runs out leaves the offer. True for Take.
bool PlayerTakesOffer();
// Take pressed.
void ShowOfferTaken();
// Leave pressed; the ball closes over the plate and falls off the bottom of the screen.
void ShowOfferLeft();
