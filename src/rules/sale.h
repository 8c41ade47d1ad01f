// Selling a game and counting it: the cabinet sells through the credit service, payout-sim books
// the same sale without one.
#pragma once

// Pays a win still owed from before, then, nothing won yet, books the sale (BookSale, saved at
// once) and takes the stake (`uwPriceOfPlay`) from the player's credit, and counts the bank the
// player holds. False, with nothing charged or counted in the end, when a win is still owed or the
// stake is not taken.
bool BeginPaidGame();

// A sale the stake was taken for: 30 % of the stake charged to its balance, the game counted by
// stake.
void BookSale();

// The game counted by its stake and the band of that stake's balance (counter::kGames50pByBand or
// kGamesPoundByBand + band), as the main loop does once a game is sold. Returns the band (0 for a
// stake that is neither).
int CountGameSold();
