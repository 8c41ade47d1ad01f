#include "ledger_view.h"

#include <sqlite3.h>
#include <sys/stat.h>

// Runs a prepared query; its columns are those of a ledger row.
class LedgerView::Query {
  public:
    Query(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
            statement_ = nullptr;
        }
    }
    ~Query() { sqlite3_finalize(statement_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    bool ok() const { return statement_ != nullptr; }
    void Bind(int index, long long value) { sqlite3_bind_int64(statement_, index, value); }
    void Bind(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    int Step() { return sqlite3_step(statement_); }
    long long Int(int column) { return sqlite3_column_int64(statement_, column); }
    LedgerRow Row() {
        LedgerRow row;
        row.id = Int(0);
        const unsigned char* time = sqlite3_column_text(statement_, 1);
        const unsigned char* command = sqlite3_column_text(statement_, 2);
        row.time = time ? reinterpret_cast<const char*>(time) : "";
        row.command = command ? reinterpret_cast<const char*>(command) : "";
        row.amount = sqlite3_column_int(statement_, 3);
        row.after = {sqlite3_column_int(statement_, 4), sqlite3_column_int(statement_, 5)};
        return row;
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

namespace {

constexpr int kBusyTimeoutMs = 2000;
constexpr int kLedgerVersion = 1;

// A path as an SQLite URI: the characters a URI gives meaning to are escaped.
std::string FileUri(const std::string& path, const char* query) {
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            uri += '%';
            uri += kHex[static_cast<unsigned char>(c) >> 4];
            uri += kHex[static_cast<unsigned char>(c) & 15];
        } else {
            uri += c;
        }
    }
    return uri + "?" + query;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

sqlite3* OpenUri(const std::string& uri) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) !=
        SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

}  // namespace

std::unique_ptr<LedgerView> LedgerView::Open(const std::string& path, std::string& error) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = "no credit ledger at " + path;
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + " is not a file";
        return nullptr;
    }
    // While the service runs, its journal (credit.db-wal) lies beside the ledger and the ledger
    // is read through it. When there is none, the file alone holds every row and is read as it
    // stands: opening it as a journalled reader would leave new journal files beside it, made by
    // the console's user, which the service might then be unable to write.
    const bool journal = Exists(path + "-wal");
    std::unique_ptr<LedgerView> view;
    if (sqlite3* db = OpenUri(FileUri(path, journal ? "mode=ro" : "immutable=1"))) {
        view.reset(new LedgerView(db));
        if (view->Check()) return view;
    }
    error = "cannot read the credit ledger " + path +
            (view ? ": " + view->error_ : std::string(": cannot open it"));
    return nullptr;
}

LedgerView::~LedgerView() {
    sqlite3_close(db_);
}

bool LedgerView::Check() {
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    Query version(db_, "PRAGMA user_version");
    if (!version.ok() || version.Step() != SQLITE_ROW) return Fail("not a credit ledger");
    if (version.Int(0) != kLedgerVersion) {
        error_ = "not a credit ledger (version " + std::to_string(version.Int(0)) + ")";
        return false;
    }
    Query table(db_,
                "SELECT id, time, command, amount, credit_after, bank_after FROM ledger "
                "LIMIT 0");
    if (!table.ok()) return Fail("not a credit ledger");
    return true;
}

bool LedgerView::Fail(const char* what) {
    error_ = std::string(what) + ": " + sqlite3_errmsg(db_);
    return false;
}

std::optional<Balances> LedgerView::Read() {
    // The balances are those after the newest row; none before the first.
    const std::optional<std::vector<LedgerRow>> newest = NewestRows(0, 1);
    if (!newest) return std::nullopt;
    return newest->empty() ? Balances{} : newest->front().after;
}

std::optional<long long> LedgerView::Count(Query& count) {
    if (!count.ok() || count.Step() != SQLITE_ROW) {
        Fail("cannot count the ledger's rows");
        return std::nullopt;
    }
    return count.Int(0);
}

std::optional<long long> LedgerView::RowCount() {
    Query count(db_, "SELECT count(*) FROM ledger");
    return Count(count);
}

std::optional<long long> LedgerView::CommandCount(const std::string& command) {
    Query count(db_, "SELECT count(*) FROM ledger WHERE command = ?");
    if (count.ok()) count.Bind(1, command);
    return Count(count);
}

bool LedgerView::Each(Query& rows, const std::function<void(const LedgerRow&)>& visit) {
    if (!rows.ok()) return Fail("cannot read the ledger");
    int status;
    while ((status = rows.Step()) == SQLITE_ROW)
        visit(rows.Row());
    if (status != SQLITE_DONE) return Fail("cannot read the ledger");
    return true;
}

std::optional<std::vector<LedgerRow>> LedgerView::Collect(Query& rows, long long first,
                                                          long long second) {
    std::vector<LedgerRow> found;
    if (rows.ok()) {
        rows.Bind(1, first);
        rows.Bind(2, second);
    }
    if (!Each(rows, [&found](const LedgerRow& row) { found.push_back(row); })) return std::nullopt;
    return found;
}

std::optional<std::vector<LedgerRow>> LedgerView::NewestRows(long long skip, int limit) {
    Query rows(db_,
               "SELECT id, time, command, amount, credit_after, bank_after FROM ledger "
               "ORDER BY id DESC LIMIT ? OFFSET ?");
    return Collect(rows, limit, skip);
}

std::optional<std::vector<LedgerRow>> LedgerView::RowsAfter(long long afterId, int limit) {
    Query rows(db_,
               "SELECT id, time, command, amount, credit_after, bank_after FROM ledger "
               "WHERE id > ? ORDER BY id LIMIT ?");
    return Collect(rows, afterId, limit);
}

bool LedgerView::ForEachRow(const std::function<void(const LedgerRow&)>& visit) {
    Query rows(db_,
               "SELECT id, time, command, amount, credit_after, bank_after FROM ledger "
               "ORDER BY id");
    return Each(rows, visit);
}
