// The credit ledger as the operator's "credit-service ledger" command prints it, rebuilt row by
// row: every row must follow from the one before by the money rules of its command, and the
// balances "credit-service status" reports must be those of the last row.
#pragma once

#include <string>

struct LedgerCheck {
    std::string problem;  // empty when the ledger balances
    int rows = 0;
    int stakes = 0;       // CUSE rows: stakes the game had taken
    int gameChanges = 0;  // rows of the game's own commands (CUSE, CADD, BADD)
    int paid = 0;         // pence of winnings paid: the CADD and BADD rows summed
    int credit = 0;       // the balances rebuilt from the rows
    int bank = 0;
};

LedgerCheck CheckLedger(const std::string& db);
