// One paid game played by the game's own rules without a screen, for the payout simulator: the
// sale charged to the stake's balance, the controller's band and levels, the question round with
// its difficulties and try-agains, the deal, the opening rounds with the offers and their
// questions, the settle and the booking of the win. The player is a ModelledPlayer.
//
// The game's generator makes every draw that decides the game, in the order the cabinet makes
// them. Draws that only choose what is shown (a question's text and its TRUE or FALSE, the deal's
// flashes, sounds, the sparkle) are left out: they change nothing that is paid.
//
// Nothing here logs, waits, draws, allocates or touches a file, as long as the diagnostic log is
// not open (the simulator never opens it, so the board's log lines go nowhere).
#pragma once

#include <cstdint>

#include "rules/board.h"
#include "rules/offer_calculation.h"
#include "sim/modelled_player.h"

struct SimulatedGame {
    int band = 0;            // the band of the stake's balance when the game was sold
    int32_t paid = 0;        // pence won
    int questionsAsked = 0;  // in the question round
    bool reachedBallGame = false;
    int offersMade = 0;
    int offerTaken = 0;  // the number of the offer taken (1 the first), 0 for none
};

// Sees a game's decisions as they happen (tests use it to follow a game).
class GameWatcher {
  public:
    virtual ~GameWatcher() = default;
    virtual void Dealt(const Ball (&balls)[kBallCount]) = 0;
    virtual void PrizeBallChosen(int ball) = 0;
    virtual void BallOpened(int ball) = 0;
    virtual void Offered(int number, const OfferResult& offer, bool taken) = 0;
};

// Sells and plays one game at a stake of 50 or 100 pence. The controller's balances and meters
// carry over from game to game; ResetControlData starts a fresh cabinet.
SimulatedGame PlaySimulatedGame(int16_t stake, ModelledPlayer& player,
                                GameWatcher* watcher = nullptr);

// The worth of the ball in the player's hand as the player can judge it: the average of the
// values still closed (the player's own ball included, empty balls worth nothing).
double AverageLeft();
