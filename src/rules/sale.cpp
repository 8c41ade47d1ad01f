#include "rules/sale.h"

#include "base/log.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/control/record_file.h"
#include "engines/credit/credit_link.h"
#include "rules/winnings.h"

namespace {

void CountBankReading() {
    const uint16_t bank = BankReadExchange();
    if (bank < 500) {
        CountIncrement(counter::kBankBelow500);
    } else if (bank < 1000) {
        CountIncrement(counter::kBank500To999);
    } else {
        CountIncrement(counter::kBank1000Up);
    }
}

// Takes the stake from the player. An unclear answer (none, or cut short) is settled by reading
// back the money the service holds: the game is played when the stake was taken.
bool StakeTaken(int16_t stake) {
    const int32_t before = MoneyHeld();
    switch (SendMoneyCommand(MoneyCommand::UseCredit, stake)) {
        case CreditAnswer::Accepted:
            return true;
        case CreditAnswer::Refused:
            return false;
        case CreditAnswer::Unclear:
            break;
    }
    const bool taken = MoneyHeldShows(MoneyCommand::UseCredit, stake, before);
    LogPrint(
        "Stake of %d pence: no clear answer from the credit service, the money it holds shows "
        "it %s\n",
        stake, taken ? "taken" : "not taken");
    return taken;
}

}  // namespace

bool BeginPaidGame() {
    if (!PayWinStillOwed()) return false;
    lWinAmount = 0;
    // The sale is on the meters, and saved, before the stake is taken: a stop at any moment
    // leaves the takings on the meters at least the money taken.
    const MetersSnapshot unsold = TakeMetersSnapshot();
    BookSale();
    WriteRecordFile();
    if (!StakeTaken(uwPriceOfPlay)) {
        RestoreMeters(unsold);
        WriteRecordFile();
        return false;
    }
    CountBankReading();
    return true;
}

void BookSale() {
    ChargeStake();
    Trace("uwPriceOfPlay = %d \n", uwPriceOfPlay);
    Trace("Main Cont %d Start Value : %f\n", ControllerBand(0), ControllerValue(0));
    Trace("MainQuid Cont %d Start Value : %f\n", ControllerBand(1), ControllerValue(1));
    CountIncrement(uwPriceOfPlay >= 100 ? counter::kGamesPound : counter::kGames50p);
}

int CountGameSold() {
    if (uwPriceOfPlay != 50 && uwPriceOfPlay != 100) return 0;
    const bool pound = uwPriceOfPlay == 100;
    const int band = ControllerBand(pound ? 1 : 0);
    const int16_t first = pound ? counter::kGamesPoundByBand : counter::kGames50pByBand;
    CountIncrement(static_cast<int16_t>(first + band));
    return band;
}
