// A credit service that keeps a credit and a bank as the real one does, and misbehaves once, at
// a chosen exchange: the n-th command of a kind ("CUSE", "BGET", ...) gets a bad answer, or none.
//
//     MisbehavingCreditService service(500, 0, {"BADD", 1, Misbehaviour::Refuse});
//     ... run the game against service.Port() ...
//     EXPECT_TRUE(service.Misbehaved());
//     EXPECT_EQ(service.Bank(), 0);
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_credit_service.h"

enum class Misbehaviour {
    GoAway,     // closes the connection instead of answering; every later exchange fails
    Garbage,    // answers bytes that are no reply at all, and changes nothing
    Refuse,     // answers "FAIL" and changes nothing
    Slow,       // answers truthfully, but only after kSlowReply of wall time
    Split,      // answers truthfully in two pieces, kSplitPause apart
    LateSplit,  // answers truthfully in two pieces 1.5 s apart, beyond the game's wait for the rest
    Twice,      // answers truthfully, and sends the same answer again a moment later
};

struct Fault {
    Fault(std::string command, int occurrence, Misbehaviour what, std::string after = {})
        : command(std::move(command)),
          occurrence(occurrence),
          what(what),
          after(std::move(after)) {}

    // The command word ("CGET", "BGET", "CUSE", "BADD" or "CADD"), or several joined by "|"
    // ("BADD|CADD": whichever comes).
    std::string command;
    int occurrence;  // which of them, counting from 1
    Misbehaviour what;
    std::string after;  // when set, counting starts after the first command of this word
};

class MisbehavingCreditService {
  public:
    static constexpr std::chrono::milliseconds kSlowReply{2000};
    static constexpr std::chrono::milliseconds kSplitPause = FakeCreditService::kPauseLength;
    static inline const std::string kGarbage = "\x01\xfeZ#,,\x7f garbage\r\n";

    MisbehavingCreditService(int credit, int bank, Fault fault);

    bool Listening() const { return service_.Listening(); }
    uint16_t Port() const { return service_.Port(); }

    // The account as it stands.
    int Credit() const;
    int Bank() const;
    // Stakes taken and pence won (credit and bank adds), as answered truthfully.
    int StakesTaken() const;
    int Winnings() const;
    // True once the chosen exchange has come (and been spoiled).
    bool Misbehaved() const;
    // Every command line received, in order.
    std::vector<std::string> Commands() const { return service_.Commands(); }
    bool WaitForCommands(size_t count, std::chrono::milliseconds timeout) const {
        return service_.WaitForCommands(count, timeout);
    }

    // Called with true when a slow reply starts being held back and with false just before it
    // is sent, on the service's thread.
    void WhileHolding(std::function<void(bool holding)> watcher);

  private:
    std::string Answer(const std::string& command);
    std::string TruthfulReply(const std::string& word, int amount);
    bool IsTheFaultyOne(const std::string& word);

    const Fault fault_;
    mutable std::mutex mutex_;
    int credit_;
    int bank_;
    int stakesTaken_ = 0;
    int winnings_ = 0;
    int seen_ = 0;
    bool counting_ = false;
    bool misbehaved_ = false;
    std::function<void(bool)> watcher_;
    // Last, so that its thread has stopped before the account above goes.
    FakeCreditService service_;
};
