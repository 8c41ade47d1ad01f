#include "support/wallet_service.h"

#include <algorithm>
#include <cstdlib>

namespace {

const std::string kFail = "FAIL\r\n";

std::string CreditReply(int credit) {
    return "CTEL," + std::to_string(credit) + "\r\n";
}

std::string BankReply(int bank) {
    return "BTEL," + std::to_string(bank) + "\r\n";
}

int WholePoundsAbove(int pence) {
    return (pence + 99) / 100 * 100;
}

}  // namespace

WalletService::WalletService(int credit, int bank) : credit_(credit), bank_(bank) {
    service_.SetResponder([this](const std::string& command) { return Answer(command); });
}

void WalletService::Refuse(const std::string& word) {
    std::lock_guard lock(mutex_);
    refused_.insert(word);
}

int WalletService::Credit() const {
    std::lock_guard lock(mutex_);
    return credit_;
}

int WalletService::Bank() const {
    std::lock_guard lock(mutex_);
    return bank_;
}

std::string WalletService::Answer(const std::string& command) {
    if (command.size() < 6 || command.compare(command.size() - 2, 2, "\r\n") != 0) return kFail;
    const std::string word = command.substr(0, 4);
    const std::string rest = command.substr(4, command.size() - 6);
    int amount = 0;
    if (!rest.empty()) {
        if (rest[0] != ',' || rest.size() < 2) return kFail;
        char* end = nullptr;
        const long value = strtol(rest.c_str() + 1, &end, 10);
        if (*end != '\0' || value < 1 || value > 10000) return kFail;
        amount = static_cast<int>(value);
    }
    std::lock_guard lock(mutex_);
    if (refused_.count(word)) return kFail;
    return Apply(word, amount);
}

std::string WalletService::Apply(const std::string& word, int amount) {
    const bool takesAmount = word == "CUSE" || word == "BADD" || word == "CADD";
    if (takesAmount != (amount > 0)) return kFail;
    if (word == "CGET") return CreditReply(credit_);
    if (word == "BGET") return BankReply(bank_);
    if (word == "CUSE") {
        if (amount > credit_ + bank_) return kFail;
        if (amount > credit_) {
            const int transfer = std::min(bank_, WholePoundsAbove(amount - credit_));
            bank_ -= transfer;
            credit_ += transfer;
        }
        credit_ -= amount;
        return CreditReply(credit_);
    }
    if (word == "CADD" && credit_ + amount <= kMaxBalance) {
        credit_ += amount;
        return CreditReply(credit_);
    }
    if (word == "BADD" && bank_ + amount <= kMaxBalance) {
        bank_ += amount;
        return BankReply(bank_);
    }
    return kFail;
}
