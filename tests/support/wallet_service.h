// A credit service that keeps the player's credit and bank as the real one does, for tests that
// play whole games: reads report the balances, a stake comes off the credit (a shortfall is taken
// from the bank in whole pounds, the change landing on the credit), winnings go to the bank and
// the credit. Any command word can be made to answer "FAIL" and change nothing.
//
//     WalletService wallet(120, 300);
//     wallet.Refuse("CUSE");                 // the next stakes are refused
//     ... run the game against wallet.Port() ...
//     EXPECT_EQ(wallet.Credit(), 70);
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "support/fake_credit_service.h"

class WalletService {
  public:
    // Neither balance may pass this, as on the real service (the game reads four digits).
    static constexpr int kMaxBalance = 9999;

    WalletService(int credit, int bank);

    bool Listening() const { return service_.Listening(); }
    uint16_t Port() const { return service_.Port(); }

    // Commands with this word ("CUSE", "BADD", ...) answer "FAIL" and change nothing from now on.
    void Refuse(const std::string& word);

    int Credit() const;
    int Bank() const;
    // Every command line received, in order, exactly as sent.
    std::vector<std::string> Commands() const { return service_.Commands(); }

  private:
    std::string Answer(const std::string& command);
    std::string Apply(const std::string& word, int amount);

    mutable std::mutex mutex_;
    int credit_;
    int bank_;
    std::set<std::string> refused_;
    // Last, so that its thread has stopped before the balances above go.
    FakeCreditService service_;
};
