// The link to the credit service: one TCP connection to 127.0.0.1, kept for the whole run, with a
// line protocol of six commands. The game keeps no copy of the player's money: every read is a
// fresh exchange, and every exchange blocks until the reply arrives.
#pragma once

#include <cstdint>

enum class CreditConnectResult { Connected, SocketFailed, ConnectFailed };

// Opens the connection to 127.0.0.1:port.
CreditConnectResult ConnectCreditService(uint16_t port);
// Closes the connection (after SendTerm on every orderly or failure exit).
void CloseCreditService();

// The raw exchanges: the number of a "CTEL" / "BTEL" reply truncated to 16 bits, or 65535 when
// sending or receiving fails or the reply is anything else.
uint16_t CreditReadExchange();
uint16_t BankReadExchange();

// The credit and bank as the screens use them: a reading of 10000 or more (a failed exchange
// included) counts as 0.
uint16_t ReadCredit();
uint16_t ReadBank();

// Takes the stake from the credit; true only on a "CTEL" reply with a number.
bool UseCredit(int16_t pence);
// Adds winnings to the bank ("BTEL" reply) or to the credit ("CTEL" reply).
bool AddBank(int16_t pence);
bool AddCredit(int16_t pence);

// Pays a win: nothing for 0; below 100 (negative included) all to the credit; otherwise the
// whole pounds to the bank first and any pence left to the credit. A part the service does not
// accept is not sent again, but logged ("Payment failed: BADD,300 ..."), so nothing owed to the
// player goes unrecorded.
void PayWinnings(int16_t pence);

// Tells the service the game is ending; reads no reply. True when the send succeeded.
bool SendTerm();
