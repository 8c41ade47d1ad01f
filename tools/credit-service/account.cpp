#include "account.h"

#include <algorithm>
#include <cstdio>

namespace {

int RoundUpToPounds(int pence) {
    return (pence + 99) / 100 * 100;
}

std::optional<Balances> UseCredit(Balances balances, int stake) {
    if (stake <= balances.credit) {
        balances.credit -= stake;
        return balances;
    }
    const int shortfall = stake - balances.credit;
    if (shortfall > balances.bank) return std::nullopt;
    const int transfer = std::min(balances.bank, RoundUpToPounds(shortfall));
    balances.bank -= transfer;
    balances.credit += transfer - stake;
    return balances;
}

std::optional<int> AddWithinLimit(int balance, int amount) {
    if (balance + amount > kMaxBalance) return std::nullopt;
    return balance + amount;
}

}  // namespace

std::string_view OperationName(Operation operation) {
    switch (operation) {
        case Operation::UseCredit:
            return "CUSE";
        case Operation::AddCredit:
            return "CADD";
        case Operation::AddBank:
            return "BADD";
        case Operation::Insert:
            return "INSERT";
        case Operation::Collect:
            return "COLLECT";
    }
    return "?";
}

std::optional<Balances> ApplyOperation(Balances before, Operation operation, int amount) {
    if (amount < 1 || amount > kMaxAmount) return std::nullopt;
    Balances after = before;
    switch (operation) {
        case Operation::UseCredit:
            return UseCredit(before, amount);
        case Operation::AddCredit:
        case Operation::Insert:
            if (auto credit = AddWithinLimit(before.credit, amount)) {
                after.credit = *credit;
                return after;
            }
            return std::nullopt;
        case Operation::AddBank:
            if (auto bank = AddWithinLimit(before.bank, amount)) {
                after.bank = *bank;
                return after;
            }
            return std::nullopt;
        case Operation::Collect:
            if (amount != before.bank) return std::nullopt;
            after.bank = 0;
            return after;
    }
    return std::nullopt;
}

std::string FormatPounds(int pence) {
    char text[32];
    std::snprintf(text, sizeof text, "\u00a3%d.%02d", pence / 100, pence % 100);
    return text;
}
