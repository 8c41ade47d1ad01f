#include "support/misbehaving_credit_service.h"

#include <cstdlib>
#include <thread>

MisbehavingCreditService::MisbehavingCreditService(int credit, int bank, Fault fault)
    : fault_(std::move(fault)), credit_(credit), bank_(bank), counting_(fault_.after.empty()) {
    service_.SetResponder([this](const std::string& command) { return Answer(command); });
}

int MisbehavingCreditService::Credit() const {
    std::lock_guard lock(mutex_);
    return credit_;
}

int MisbehavingCreditService::Bank() const {
    std::lock_guard lock(mutex_);
    return bank_;
}

int MisbehavingCreditService::StakesTaken() const {
    std::lock_guard lock(mutex_);
    return stakesTaken_;
}

int MisbehavingCreditService::Winnings() const {
    std::lock_guard lock(mutex_);
    return winnings_;
}

bool MisbehavingCreditService::Misbehaved() const {
    std::lock_guard lock(mutex_);
    return misbehaved_;
}

void MisbehavingCreditService::WhileHolding(std::function<void(bool holding)> watcher) {
    std::lock_guard lock(mutex_);
    watcher_ = std::move(watcher);
}

bool MisbehavingCreditService::IsTheFaultyOne(const std::string& word) {
    std::lock_guard lock(mutex_);
    const bool counted = counting_;
    if (word == fault_.after) counting_ = true;
    const bool chosen = ("|" + fault_.command + "|").find("|" + word + "|") != std::string::npos;
    if (!counted || !chosen || ++seen_ != fault_.occurrence) return false;
    misbehaved_ = true;
    return true;
}

// The real service's answer: reads report, changes apply (a stake the credit cannot cover is
// refused), anything else is refused.
std::string MisbehavingCreditService::TruthfulReply(const std::string& word, int amount) {
    std::lock_guard lock(mutex_);
    const std::string credit = "CTEL," + std::to_string(credit_) + "\r\n";
    const std::string bank = "BTEL," + std::to_string(bank_) + "\r\n";
    if (word == "CGET") return credit;
    if (word == "BGET") return bank;
    if (amount <= 0) return "FAIL\r\n";
    if (word == "CUSE" && amount <= credit_) {
        credit_ -= amount;
        ++stakesTaken_;
        return "CTEL," + std::to_string(credit_) + "\r\n";
    }
    if (word == "CADD") {
        credit_ += amount;
        winnings_ += amount;
        return "CTEL," + std::to_string(credit_) + "\r\n";
    }
    if (word == "BADD") {
        bank_ += amount;
        winnings_ += amount;
        return "BTEL," + std::to_string(bank_) + "\r\n";
    }
    return "FAIL\r\n";
}

std::string MisbehavingCreditService::Answer(const std::string& command) {
    const std::string word = command.substr(0, 4);
    const size_t comma = command.find(',');
    const int amount = comma == std::string::npos ? 0 : std::atoi(command.c_str() + comma + 1);
    if (!IsTheFaultyOne(word)) return TruthfulReply(word, amount);

    switch (fault_.what) {
        case Misbehaviour::GoAway:
            return FakeCreditService::kClose;
        case Misbehaviour::Garbage:
            return kGarbage;
        case Misbehaviour::Refuse:
            return "FAIL\r\n";
        case Misbehaviour::Slow: {
            std::function<void(bool)> watcher;
            {
                std::lock_guard lock(mutex_);
                watcher = watcher_;
            }
            if (watcher) watcher(true);
            std::this_thread::sleep_for(kSlowReply);
            if (watcher) watcher(false);
            return TruthfulReply(word, amount);
        }
        case Misbehaviour::Split: {
            const std::string reply = TruthfulReply(word, amount);
            return reply.substr(0, 2) + FakeCreditService::kPause + reply.substr(2);
        }
        case Misbehaviour::LateSplit: {
            const std::string reply = TruthfulReply(word, amount);
            return reply.substr(0, 2) + FakeCreditService::kLongPause + reply.substr(2);
        }
        case Misbehaviour::Twice: {
            const std::string reply = TruthfulReply(word, amount);
            return reply + FakeCreditService::kPause + reply;
        }
    }
    return "FAIL\r\n";
}
