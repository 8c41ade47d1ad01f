// The credit service's storage: an SQLite ledger in which every change to the credit or bank is
// one row (time, command, amount, credit after, bank after). The balances are those of the last
// row, so the ledger and the balances can never disagree. Every change is one transaction,
// committed (WAL, synchronous FULL) before the caller hears of it. Several processes may use the
// same file at once: the service and the operator's commands.
//
// A ledger carries its own mark in the database header (application id and version), so the
// service never mistakes another program's database for one and never writes into it. Ledgers
// made before the mark existed are recognised by their table and marked when the service opens
// them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "account.h"

struct sqlite3;

struct LedgerRow {
    long long id = 0;
    std::string time;  // UTC, "YYYY-MM-DDTHH:MM:SS.SSSZ"
    std::string command;
    int amount = 0;
    Balances after;
};

enum class ChangeOutcome {
    Applied,  // committed and durable
    Refused,  // the money rules forbid it; nothing changed
    Failed,   // the database failed; nothing changed (see Ledger::last_error)
};

struct ChangeResult {
    ChangeOutcome outcome = ChangeOutcome::Failed;
    Balances after;  // the balances after the change (Applied) or as they stand (Refused)
    int amount = 0;  // the amount recorded (Applied) or asked for (Refused)
};

class Ledger {
  public:
    enum class Access {
        CreateIfMissing,  // the service: creates an empty ledger, marks an unmarked one
        MustExist,        // the operator's commands: only a ledger that is already there
        CreateNew,        // a new, empty ledger: refused where a database already lies
    };

    // Opens (or creates) the ledger at `path`. Nothing and a reason in `error` on failure; a file
    // that is not a ledger is refused and left as it was.
    static std::unique_ptr<Ledger> Open(const std::string& path, Access access, std::string& error);
    ~Ledger();
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;

    // The balances now; nothing when the database fails.
    std::optional<Balances> Read();
    // Applies one operation of the money rules (Collect excepted) and records it.
    ChangeResult Apply(Operation operation, int amount);
    // Pays out the whole bank: refused when it is empty.
    ChangeResult Collect();
    // Calls `visit` for every row, oldest first. False when the database fails.
    bool ForEachRow(const std::function<void(const LedgerRow&)>& visit);

    const std::string& last_error() const { return last_error_; }

  private:
    // What lies at the path: an empty database, a ledger with or without its mark, something
    // else, or nothing SQLite can read.
    enum class Found { Blank, Marked, Unmarked, Foreign, Unreadable };

    explicit Ledger(sqlite3* db) : db_(db) {}
    Found Identify();
    bool HasLedgerTable();
    bool Prepare(Found found, Access access);
    bool Mark(bool create);
    bool Configure();
    bool Execute(const char* sql);
    bool AppendRow(Operation operation, int amount, Balances after);
    ChangeResult Change(Operation operation, const std::function<int(Balances)>& amount_for);
    bool Fail(const char* what);

    sqlite3* db_;
    int version_ = 0;
    std::string last_error_;
};
