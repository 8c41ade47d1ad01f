#include "rules/winnings.h"

#include "base/log.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/credit/credit_link.h"

namespace {

// The largest whole-pound payment one exchange with the credit service can carry (16 bits).
constexpr int32_t kLargestPayment = 32700;

enum class WinStage { NothingOwed, Owed, PaidNotBooked };
WinStage winStage = WinStage::NothingOwed;

void PayInPieces(int32_t amount) {
    for (; amount > kLargestPayment; amount -= kLargestPayment)
        PayWinnings(static_cast<int16_t>(kLargestPayment));
    PayWinnings(static_cast<int16_t>(amount));
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
    PayInPieces(amount);
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
