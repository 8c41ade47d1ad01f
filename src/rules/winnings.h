// The money a won game owes the player, and the one way it is paid.
//
// A ball game settled as won owes its win from that moment: nothing the player is shown after it
// (the own ball opening, the win sequence) may lose it. The win sequence pays it at its end;
// whatever ends the run before that (the window closing, a stop signal, the display failing)
// pays it on the way out. Either way the win is paid once and booked on the meters once.
#pragma once

#include <cstdint>

// The ball game has just been settled as won: lWinAmount is owed to the player.
void OweWin();

// Pays `amount` through the credit service, in parts a 16-bit exchange can carry; an amount that
// is not a win is not paid (a negative credit-add would take money from the player). A win owed
// is paid from then on. The win is first kept in the owed win file, and each part is counted as
// paid out only once the service has taken it; what the service does not take stays in the file
// (and the log) for PayWinStillOwed.
void PayWin(int32_t amount);

// Pays a win kept owed by an earlier payment the service did not take (in this run or one before
// it). True when nothing is owed any more; false while the service still does not take it.
bool PayWinStillOwed();

// The game's win has been booked on the meters (EndGameAccounting): nothing is left to do.
void WinBooked();

// The way out of a run cut short mid-game: a win still owed is paid (and logged), and a win paid
// but not yet booked is booked. Nothing for a game that owes nothing.
void SettleCutShortGame();

// Forgets any win owed, as at start-up.
void ForgetWinnings();
