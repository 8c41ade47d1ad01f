// The stake screen: two doors open on a 50p and a £1 game, and the player has 15 seconds to touch
// one (£1 only with money for it); when the time runs out the stake is 50p.
#pragma once

// Money needed for a £1 game.
constexpr int kPoundMoney = 100;

// Runs the stake screen, sets uwPriceOfPlay to the stake chosen (50 or 100) and buys the game at
// that stake (BeginPaidGame) while the choice is still shown. True when the game was bought.
bool ChooseStakeAndBuy();

// The stake screen with both doors as far open as the money allows and nothing pressed.
void DrawStakeScreen();
