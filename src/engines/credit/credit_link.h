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

// The three commands that move money: taking a stake from the credit ("CTEL" reply), adding
// winnings to the bank ("BTEL" reply) or to the credit ("CTEL" reply).
enum class MoneyCommand { UseCredit, AddBank, AddCredit };

// How the service answered a money command. Accepted: its reply keyword with a number. Refused:
// "FAIL", so nothing changed. Unclear: no reply, a reply cut short, or one that could not be read;
// the service may or may not have made the change, and only its balances can tell.
enum class CreditAnswer { Accepted, Refused, Unclear };

CreditAnswer SendMoneyCommand(MoneyCommand command, int16_t pence);
// The command's four letters, as sent and logged ("CUSE", "BADD", "CADD").
const char* MoneyCommandName(MoneyCommand command);

// The credit and the bank added (a stake may be taken partly from the bank), read afresh, or
// kMoneyUnknown when either read fails. Taken before a money command, it tells afterwards whether
// a command whose answer was unclear was made.
inline constexpr int32_t kMoneyUnknown = -1;
int32_t MoneyHeld();
// True when the money held now differs from `before` by exactly what the command moves.
bool MoneyHeldShows(MoneyCommand command, int16_t pence, int32_t before);

// The parts a win is paid in: nothing for 0 or less; below 100 all to the credit; otherwise the
// whole pounds to the bank first and any pence left to the credit.
struct WinningsPart {
    MoneyCommand command;
    int16_t pence;
};
struct WinningsParts {
    WinningsPart parts[2];
    int count = 0;
};
WinningsParts SplitWinnings(int16_t pence);

// Tells the service the game is ending; reads no reply. True when the send succeeded.
bool SendTerm();
