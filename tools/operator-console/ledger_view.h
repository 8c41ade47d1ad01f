// The credit service's ledger, opened read-only: the console never writes to it, takes no write
// lock and so never holds up the service. The rows are those the service's Ledger writes.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "account.h"
#include "ledger.h"

struct sqlite3;

class LedgerView {
  public:
    // Opens the ledger at `path` for reading. Nothing, with the reason, when there is no ledger,
    // it cannot be read or is not a credit ledger.
    static std::unique_ptr<LedgerView> Open(const std::string& path, std::string& error);
    ~LedgerView();
    LedgerView(const LedgerView&) = delete;
    LedgerView& operator=(const LedgerView&) = delete;

    // The balances now (zero before the first row).
    std::optional<Balances> Read();
    std::optional<long long> RowCount();
    // How many rows record this command.
    std::optional<long long> CommandCount(const std::string& command);
    // Up to `limit` rows, newest first, after skipping the `skip` newest.
    std::optional<std::vector<LedgerRow>> NewestRows(long long skip, int limit);
    // Up to `limit` rows after the row `afterId`, oldest first: a long ledger read in pieces.
    std::optional<std::vector<LedgerRow>> RowsAfter(long long afterId, int limit);
    // Every row, oldest first, one at a time.
    bool ForEachRow(const std::function<void(const LedgerRow&)>& visit);

    const std::string& last_error() const { return error_; }

  private:
    class Query;
    explicit LedgerView(sqlite3* db) : db_(db) {}
    bool Check();
    bool Fail(const char* what);
    std::optional<long long> Count(Query& count);
    bool Each(Query& rows, const std::function<void(const LedgerRow&)>& visit);
    std::optional<std::vector<LedgerRow>> Collect(Query& rows, long long first, long long second);

    sqlite3* db_;
    std::string error_;
};
