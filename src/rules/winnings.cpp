#include "rules/winnings.h"

#include <algorithm>
#include <string>

#include "base/log.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/control/owed_win_file.h"
#include "engines/control/record_file.h"
#include "engines/credit/credit_link.h"

namespace {

// The largest whole-pound payment one exchange with the credit service can carry (16 bits).
constexpr int32_t kLargestPayment = 32700;

enum class WinStage { NothingOwed, Owed, PaidNotBooked };
WinStage winStage = WinStage::NothingOwed;

// The next part of an owed win to send: whole pounds to the bank first (as much as one exchange
// carries), then the pence left to the credit.
WinningsPart NextPart(int32_t owed) {
    const WinningsParts split =
        SplitWinnings(static_cast<int16_t>(std::min(owed, kLargestPayment)));
    return split.parts[0];
}

// A part that reached the player: counted as paid out, and the meters saved before the owed win
// forgets it, so a stop between the two can be told apart from a part never counted.
void CountPartPaid(OwedWin& owed, int32_t pence) {
    CountPaidOut(static_cast<int16_t>(pence));
    WriteRecordFile();
    owed.pence -= pence;
    owed.sending.reset();
    SaveOwedWin(owed);
}

// A part on its way when the game last stopped: the service made the change when the money it
// holds shows it, and the meters counted it when the paid-out counter moved on from its value
// then. False when the service cannot be read yet.
bool ResolvePartInFlight(OwedWin& owed) {
    const PaymentInFlight part = *owed.sending;
    const int32_t now = MoneyHeld();
    if (now == kMoneyUnknown) return false;
    if (now == part.moneyBefore + part.pence) {
        LogPrint("Owed win: %s,%d sent before the stop was made by the credit service\n",
                 part.command.c_str(), part.pence);
        if (CounterValue(counter::kWonTotal) == part.paidOutBefore) {
            CountPartPaid(owed, part.pence);
            return true;
        }
        owed.pence -= part.pence;
    }
    owed.sending.reset();
    SaveOwedWin(owed);
    return true;
}

// Sends one part, confirmed: an unclear answer is settled by reading back the money held.
bool PayPart(OwedWin& owed) {
    const WinningsPart part = NextPart(owed.pence);
    const int32_t before = MoneyHeld();
    if (before == kMoneyUnknown) return false;
    owed.sending = PaymentInFlight{MoneyCommandName(part.command), part.pence, before,
                                   CounterValue(counter::kWonTotal)};
    SaveOwedWin(owed);
    const CreditAnswer answer = SendMoneyCommand(part.command, part.pence);
    if (answer == CreditAnswer::Accepted ||
        (answer == CreditAnswer::Unclear && MoneyHeldShows(part.command, part.pence, before))) {
        CountPartPaid(owed, part.pence);
        return true;
    }
    LogPrint("Payment failed: %s,%d not accepted by the credit service\n",
             MoneyCommandName(part.command), part.pence);
    owed.sending.reset();
    SaveOwedWin(owed);
    return false;
}

// Pays what `owed` holds, part by part. False, with the rest kept in the owed win file and
// logged, when the service does not take a part.
bool PayOwed(OwedWin& owed) {
    if (owed.sending && !ResolvePartInFlight(owed)) return false;
    while (owed.pence > 0)
        if (!PayPart(owed)) {
            LogPrint("Win of %d pence owed: kept in %s to pay when the credit service answers\n",
                     owed.pence, std::string(kOwedWinFileName).c_str());
            return false;
        }
    return true;
}

}  // namespace

void OweWin() {
    winStage = WinStage::Owed;
}

void PayWin(int32_t amount) {
    if (winStage == WinStage::Owed) winStage = WinStage::PaidNotBooked;
    if (amount <= 0) {
        if (amount < 0) LogPrint("End of game: a win of %d pence is not paid\n", amount);
        return;
    }
    // An older win still owed is paid first, with this one: both are the player's.
    OwedWin owed = LoadOwedWin().value_or(OwedWin{});
    owed.pence += amount;
    SaveOwedWin(owed);
    PayOwed(owed);
}

bool PayWinStillOwed() {
    std::optional<OwedWin> owed = LoadOwedWin();
    if (!owed) return true;
    const int32_t pence = owed->pence;
    if (!PayOwed(*owed)) return false;
    LogPrint("Owed win of %d pence paid\n", pence);
    return true;
}

void WinBooked() {
    winStage = WinStage::NothingOwed;
}

void SettleCutShortGame() {
    if (winStage == WinStage::Owed) {
        LogPrint("Run ended with a win of %d pence owed: paying it\n", lWinAmount);
        PayWin(lWinAmount);
    }
    if (winStage == WinStage::PaidNotBooked) {
        EndGameAccounting();
        WinBooked();
    }
}

void ForgetWinnings() {
    winStage = WinStage::NothingOwed;
}
