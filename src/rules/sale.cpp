#include "rules/sale.h"

#include "base/log.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/credit/credit_link.h"

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

}  // namespace

bool BeginPaidGame() {
    lWinAmount = 0;
    if (!UseCredit(uwPriceOfPlay)) return false;
    BookSale();
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
