// The money rules of the credit service: what each operation does to the player's credit and bank,
// and which operations are refused. Pure functions; the ledger applies them inside a transaction.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Both balances in pence.
struct Balances {
    int credit = 0;
    int bank = 0;
    bool operator==(const Balances&) const = default;
};

// The game reads balances as four-digit pence: neither may pass 9999.
inline constexpr int kMaxBalance = 9999;
// No single command or coin insertion moves more than this many pence.
inline constexpr int kMaxAmount = 10000;

enum class Operation {
    UseCredit,  // the game takes a stake
    AddCredit,  // the game pays pence won to the credit
    AddBank,    // the game pays pounds won to the bank
    Insert,     // the operator's coin mechanism adds to the credit
    Collect,    // the bank is paid out to the player
};

// The name the ledger records for an operation ("CUSE", "CADD", "BADD", "INSERT", "COLLECT").
std::string_view OperationName(Operation operation);

// The balances after the operation, or nothing when it is refused. Every amount must be 1 to
// kMaxAmount pence. A stake the credit cannot cover takes the shortfall from the bank, rounded up
// to whole pounds (or the whole bank when it holds less), and the change lands on the credit;
// a stake that credit and bank together cannot cover is refused. Collecting takes exactly the
// bank, so the amount must equal it.
std::optional<Balances> ApplyOperation(Balances before, Operation operation, int amount);

// "£12.50": a balance in pence (never negative) as pounds for the operator's console.
std::string FormatPounds(int pence);
