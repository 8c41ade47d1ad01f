#include "ledger.h"

#include <sqlite3.h>

#include <filesystem>
#include <iterator>
#include <string_view>
#include <vector>

namespace {

// Another process (the service or an operator's command) may hold the write lock briefly.
constexpr int kBusyTimeoutMs = 5000;
constexpr int kSchemaVersion = 1;
// "VCLG" (Vantor credit ledger) in the database header's application id.
constexpr int kApplicationId = 0x56434C47;
constexpr const char* kColumns[] = {"id",     "time",         "command",
                                    "amount", "credit_after", "bank_after"};

constexpr const char* kCreateSchema = R"sql(
CREATE TABLE IF NOT EXISTS ledger(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    time TEXT NOT NULL,
    command TEXT NOT NULL,
    amount INTEGER NOT NULL CHECK (amount > 0),
    credit_after INTEGER NOT NULL CHECK (credit_after BETWEEN 0 AND 9999),
    bank_after INTEGER NOT NULL CHECK (bank_after BETWEEN 0 AND 9999)
))sql";

// A prepared statement that finalises itself.
class Statement {
  public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
            statement_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return statement_ != nullptr; }
    sqlite3_stmt* get() { return statement_; }
    int Step() { return sqlite3_step(statement_); }
    int Int(int column) { return sqlite3_column_int(statement_, column); }
    std::string Text(int column) {
        const unsigned char* text = sqlite3_column_text(statement_, column);
        return text ? reinterpret_cast<const char*>(text) : "";
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace

std::unique_ptr<Ledger> Ledger::Open(const std::string& path, Access access, std::string& error) {
    std::error_code ignored;
    if (access == Access::MustExist && !std::filesystem::exists(path, ignored)) {
        error = "no credit ledger at " + path;
        return nullptr;
    }
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (access != Access::MustExist) flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    const int status = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (status != SQLITE_OK) {
        error = "cannot open " + path + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(status));
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<Ledger> ledger(new Ledger(db));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    if (!ledger->Prepare(ledger->Identify(), access) || !ledger->Configure()) {
        error = path + ": " + ledger->last_error();
        return nullptr;
    }
    return ledger;
}

Ledger::~Ledger() {
    sqlite3_close(db_);
}

// Reads only the header and the list of tables: nothing is written to a file before it is known
// to be a ledger.
Ledger::Found Ledger::Identify() {
    Statement header(db_,
                     "SELECT (SELECT application_id FROM pragma_application_id), "
                     "(SELECT user_version FROM pragma_user_version), "
                     "(SELECT count(*) FROM sqlite_master)");
    if (!header.ok() || header.Step() != SQLITE_ROW) {
        Fail("not a credit ledger");
        return Found::Unreadable;
    }
    const int application_id = header.Int(0);
    version_ = header.Int(1);
    const int objects = header.Int(2);
    if (application_id == kApplicationId) return Found::Marked;
    if (application_id != 0) return Found::Foreign;
    if (objects == 0 && version_ == 0) return Found::Blank;
    if ((version_ == 0 || version_ == kSchemaVersion) && HasLedgerTable()) return Found::Unmarked;
    return Found::Foreign;
}

bool Ledger::HasLedgerTable() {
    Statement columns(db_, "SELECT name FROM pragma_table_info('ledger') ORDER BY cid");
    if (!columns.ok()) return false;
    std::vector<std::string> names;
    while (columns.Step() == SQLITE_ROW)
        names.push_back(columns.Text(0));
    return names == std::vector<std::string>(std::begin(kColumns), std::end(kColumns));
}

bool Ledger::Prepare(Found found, Access access) {
    switch (found) {
        case Found::Unreadable:
            return false;
        case Found::Foreign:
            last_error_ = "not a credit ledger (left unchanged)";
            return false;
        case Found::Blank:
            if (access != Access::MustExist) return Mark(true);
            last_error_ = "no credit ledger here (the database is empty)";
            return false;
        case Found::Marked:
        case Found::Unmarked:
            break;
    }
    if (version_ != kSchemaVersion && found == Found::Marked) {
        last_error_ = "unknown ledger version " + std::to_string(version_);
        return false;
    }
    if (access == Access::CreateNew) {
        last_error_ = "a credit ledger is already there (left unchanged)";
        return false;
    }
    if (found == Found::Unmarked && access == Access::CreateIfMissing) return Mark(false);
    return true;
}

// Creates the table (when `create`) and writes the mark, in one transaction.
bool Ledger::Mark(bool create) {
    const std::string sql = std::string("BEGIN IMMEDIATE;") + (create ? kCreateSchema : "") +
                            ";PRAGMA application_id=" + std::to_string(kApplicationId) +
                            ";PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";COMMIT;";
    if (Execute(sql.c_str())) return true;
    const std::string reason = last_error_;
    Execute("ROLLBACK");
    last_error_ = reason;
    return false;
}

bool Ledger::Configure() {
    {
        Statement wal(db_, "PRAGMA journal_mode=WAL");
        if (!wal.ok() || wal.Step() != SQLITE_ROW) return Fail("cannot select the WAL journal");
        if (wal.Text(0) != "wal") {
            last_error_ = "the file system does not support a WAL journal";
            return false;
        }
    }
    return Execute("PRAGMA synchronous=FULL");
}

bool Ledger::Execute(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    last_error_ = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
}

bool Ledger::Fail(const char* what) {
    last_error_ = std::string(what) + ": " + sqlite3_errmsg(db_);
    return false;
}

std::optional<Balances> Ledger::Read() {
    Statement last(db_, "SELECT credit_after, bank_after FROM ledger ORDER BY id DESC LIMIT 1");
    if (!last.ok()) {
        Fail("cannot read the balances");
        return std::nullopt;
    }
    switch (last.Step()) {
        case SQLITE_ROW:
            return Balances{last.Int(0), last.Int(1)};
        case SQLITE_DONE:
            return Balances{};
        default:
            Fail("cannot read the balances");
            return std::nullopt;
    }
}

bool Ledger::AppendRow(Operation operation, int amount, Balances after) {
    Statement insert(db_,
                     "INSERT INTO ledger(time, command, amount, credit_after, bank_after) "
                     "VALUES(strftime('%Y-%m-%dT%H:%M:%fZ', 'now'), ?, ?, ?, ?)");
    if (!insert.ok()) return Fail("cannot record the change");
    const std::string_view name = OperationName(operation);
    sqlite3_bind_text(insert.get(), 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    sqlite3_bind_int(insert.get(), 2, amount);
    sqlite3_bind_int(insert.get(), 3, after.credit);
    sqlite3_bind_int(insert.get(), 4, after.bank);
    if (insert.Step() != SQLITE_DONE) return Fail("cannot record the change");
    return true;
}

ChangeResult Ledger::Change(Operation operation, const std::function<int(Balances)>& amount_for) {
    // IMMEDIATE takes the write lock before the balances are read, so no other process can
    // change them between the read and the new row.
    if (!Execute("BEGIN IMMEDIATE")) return {};
    const std::optional<Balances> before = Read();
    if (!before) {
        Execute("ROLLBACK");
        return {};
    }
    const int amount = amount_for(*before);
    const std::optional<Balances> after = ApplyOperation(*before, operation, amount);
    if (!after) {
        Execute("ROLLBACK");
        return {ChangeOutcome::Refused, *before, amount};
    }
    if (!AppendRow(operation, amount, *after) || !Execute("COMMIT")) {
        const std::string reason = last_error_;
        Execute("ROLLBACK");
        last_error_ = reason;
        return {};
    }
    return {ChangeOutcome::Applied, *after, amount};
}

ChangeResult Ledger::Apply(Operation operation, int amount) {
    return Change(operation, [amount](Balances) { return amount; });
}

ChangeResult Ledger::Collect() {
    return Change(Operation::Collect, [](Balances before) { return before.bank; });
}

bool Ledger::ForEachRow(const std::function<void(const LedgerRow&)>& visit) {
    Statement rows(db_,
                   "SELECT id, time, command, amount, credit_after, bank_after FROM ledger "
                   "ORDER BY id");
    if (!rows.ok()) return Fail("cannot read the ledger");
    int status;
    while ((status = rows.Step()) == SQLITE_ROW) {
        LedgerRow row;
        row.id = sqlite3_column_int64(rows.get(), 0);
        row.time = rows.Text(1);
        row.command = rows.Text(2);
        row.amount = rows.Int(3);
        row.after = {rows.Int(4), rows.Int(5)};
        visit(row);
    }
    if (status != SQLITE_DONE) return Fail("cannot read the ledger");
    return true;
}
