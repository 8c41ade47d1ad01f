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
    lWinAmount = 0;
    ChargeStake();
    Trace("uwPriceOfPlay = %d \n", uwPriceOfPlay);
    Trace("Main Cont %d Start Value : %f\n", ControllerBand(0), ControllerValue(0));
    Trace("MainQuid Cont %d Start Value : %f\n", ControllerBand(1), ControllerValue(1));
    CountIncrement(uwPriceOfPlay >= 100 ? counter::kGamesPound : counter::kGames50p);
}

int CountGameSold() {
    if (uwPriceOfPlay == 50) {
        const int band = ControllerBand(0);
        CountIncrement(static_cast<int16_t>(counter::kGames50pByBand + band));
        return band;
    }
    if (uwPriceOfPlay == 100) {
        const int band = ControllerBand(1);
        CountIncrement(static_cast<int16_t>(counter::kGamesPoundByBand + band));
        return band;
    }
    return 0;
}
