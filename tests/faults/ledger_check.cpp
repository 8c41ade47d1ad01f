#include "ledger_check.h"

#include <cstdio>
#include <sstream>

#include "service_process.h"

namespace {

struct Row {
    long long id = 0;
    std::string command;
    int amount = 0;
    int credit = 0;
    int bank = 0;
};

// "    12  2026-03-07T14:05:09.123Z  CUSE         50     950       0"
bool ParseRow(const std::string& line, Row& row) {
    char command[16];
    return std::sscanf(line.c_str(), "%lld %*s %15s %d %d %d", &row.id, command, &row.amount,
                       &row.credit, &row.bank) == 5 &&
           (row.command = command, true);
}

// Why `row` cannot follow balances of `credit` and `bank`; empty when it can.
std::string RowProblem(const Row& row, int credit, int bank) {
    if (row.amount <= 0) return "an amount that is not positive";
    if (row.credit < 0 || row.bank < 0 || row.credit > 9999 || row.bank > 9999)
        return "a balance outside 0 to 9999";
    const int total = credit + bank;
    const int after = row.credit + row.bank;
    if (row.command == "INSERT" || row.command == "CADD")
        return row.credit == credit + row.amount && row.bank == bank ? "" : "credit add wrong";
    if (row.command == "BADD")
        return row.bank == bank + row.amount && row.credit == credit ? "" : "bank add wrong";
    if (row.command == "COLLECT")
        return row.amount == bank && row.bank == 0 && row.credit == credit ? "" : "collect wrong";
    if (row.command == "CUSE") {
        // The stake comes off the credit; a shortfall may be made up from the bank.
        if (after != total - row.amount) return "stake not taken exactly";
        return row.bank <= bank ? "" : "stake added to the bank";
    }
    return "unknown command " + row.command;
}

}  // namespace

LedgerCheck CheckLedger(const std::string& db) {
    LedgerCheck check;
    const CommandOutput listing = RunCreditService({"ledger", "--db", db});
    if (listing.exit_code != 0) {
        check.problem = "the ledger cannot be listed";
        return check;
    }
    std::istringstream lines(listing.out);
    std::string line;
    std::getline(lines, line);  // the heading
    long long lastId = 0;
    while (std::getline(lines, line)) {
        Row row;
        if (!ParseRow(line, row)) {
            check.problem = "unreadable ledger line: " + line;
            return check;
        }
        const std::string problem = RowProblem(row, check.credit, check.bank);
        if (!problem.empty() || row.id <= lastId) {
            check.problem = "row " + std::to_string(row.id) + ": " +
                            (problem.empty() ? "out of order" : problem);
            return check;
        }
        lastId = row.id;
        ++check.rows;
        check.credit = row.credit;
        check.bank = row.bank;
        if (row.command == "CUSE") ++check.stakes;
        if (row.command == "CADD" || row.command == "BADD") check.paid += row.amount;
        if (row.command == "CUSE" || row.command == "CADD" || row.command == "BADD")
            ++check.gameChanges;
    }
    if (StatusOf(db) != std::make_pair(check.credit, check.bank))
        check.problem = "the stored balances differ from the ledger's last row";
    return check;
}
