#include "ledger.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "service_process.h"

namespace {

std::unique_ptr<Ledger> OpenOrFail(const std::string& path,
                                   Ledger::Access access = Ledger::Access::CreateIfMissing) {
    std::string error;
    std::unique_ptr<Ledger> ledger = Ledger::Open(path, access, error);
    EXPECT_TRUE(ledger) << error;
    return ledger;
}

std::vector<LedgerRow> RowsOf(Ledger& ledger) {
    std::vector<LedgerRow> rows;
    EXPECT_TRUE(ledger.ForEachRow([&rows](const LedgerRow& row) { rows.push_back(row); }));
    return rows;
}

std::string PragmaOf(const std::string& path, const char* pragma) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

TEST(Ledger, StartsEmptyWithNoMoney) {
    ScratchDir dir;
    auto ledger = OpenOrFail(dir.File("credit.db"));
    ASSERT_TRUE(ledger);
    EXPECT_EQ(ledger->Read(), (Balances{0, 0}));
    EXPECT_TRUE(RowsOf(*ledger).empty());
    EXPECT_EQ(PragmaOf(dir.File("credit.db"), "PRAGMA journal_mode"), "wal");
}

TEST(Ledger, RecordsEveryChangeAsARowWithTheBalancesAfter) {
    ScratchDir dir;
    auto ledger = OpenOrFail(dir.File("credit.db"));
    ASSERT_TRUE(ledger);
    EXPECT_EQ(ledger->Apply(Operation::Insert, 30).outcome, ChangeOutcome::Applied);
    EXPECT_EQ(ledger->Apply(Operation::AddBank, 200).outcome, ChangeOutcome::Applied);
    const ChangeResult stake = ledger->Apply(Operation::UseCredit, 50);
    EXPECT_EQ(stake.outcome, ChangeOutcome::Applied);
    EXPECT_EQ(stake.after, (Balances{80, 100}));
    const ChangeResult collected = ledger->Collect();
    EXPECT_EQ(collected.outcome, ChangeOutcome::Applied);
    EXPECT_EQ(collected.amount, 100);

    const std::vector<LedgerRow> rows = RowsOf(*ledger);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].command, "INSERT");
    EXPECT_EQ(rows[1].command, "BADD");
    EXPECT_EQ(rows[2].command, "CUSE");
    EXPECT_EQ(rows[2].amount, 50);
    EXPECT_EQ(rows[2].after, (Balances{80, 100}));
    EXPECT_EQ(rows[3].command, "COLLECT");
    EXPECT_EQ(rows[3].after, (Balances{80, 0}));
    EXPECT_EQ(rows[3].time.size(), std::string("2024-01-01T00:00:00.000Z").size());
    EXPECT_EQ(ledger->Read(), rows.back().after);
}

TEST(Ledger, RefusalsChangeNothingAndLeaveNoRow) {
    ScratchDir dir;
    auto ledger = OpenOrFail(dir.File("credit.db"));
    ASSERT_TRUE(ledger);
    ledger->Apply(Operation::Insert, 9990);
    const ChangeResult refused = ledger->Apply(Operation::AddCredit, 10);
    EXPECT_EQ(refused.outcome, ChangeOutcome::Refused);
    EXPECT_EQ(refused.after, (Balances{9990, 0}));
    EXPECT_EQ(ledger->Collect().outcome, ChangeOutcome::Refused);  // the bank is empty
    EXPECT_EQ(ledger->Apply(Operation::UseCredit, 10000).outcome, ChangeOutcome::Refused);
    EXPECT_EQ(RowsOf(*ledger).size(), 1u);
    EXPECT_EQ(ledger->Read(), (Balances{9990, 0}));
}

TEST(Ledger, KeepsTheBalancesAcrossReopening) {
    ScratchDir dir;
    {
        auto ledger = OpenOrFail(dir.File("credit.db"));
        ASSERT_TRUE(ledger);
        ledger->Apply(Operation::Insert, 500);
        ledger->Apply(Operation::AddBank, 300);
    }
    auto reopened = OpenOrFail(dir.File("credit.db"), Ledger::Access::MustExist);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->Read(), (Balances{500, 300}));
    EXPECT_EQ(PragmaOf(dir.File("credit.db"), "PRAGMA user_version"), "1");
}

TEST(Ledger, TwoHoldersOfTheFileSeeEachOthersChanges) {
    ScratchDir dir;
    auto service = OpenOrFail(dir.File("credit.db"));
    auto operator_console = OpenOrFail(dir.File("credit.db"));
    ASSERT_TRUE(service && operator_console);
    operator_console->Apply(Operation::Insert, 200);
    EXPECT_EQ(service->Apply(Operation::UseCredit, 50).after, (Balances{150, 0}));
    EXPECT_EQ(operator_console->Read(), (Balances{150, 0}));
}

// Ledgers written before the service marked its files: the same table, no application id.
TEST(Ledger, AnUnmarkedLedgerIsReadAndMarkedWhenTheServiceOpensIt) {
    ScratchDir dir;
    const std::string path = dir.File("credit.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA journal_mode=WAL;"
                           "CREATE TABLE ledger(id INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " time TEXT NOT NULL, command TEXT NOT NULL, amount INTEGER NOT NULL,"
                           " credit_after INTEGER NOT NULL, bank_after INTEGER NOT NULL);"
                           "INSERT INTO ledger VALUES(1, '2024-05-01T10:00:00.000Z', 'INSERT',"
                           " 400, 400, 0);"
                           "PRAGMA user_version=1;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    OpenOrFail(path, Ledger::Access::MustExist);
    EXPECT_EQ(PragmaOf(path, "PRAGMA application_id"), "0");  // an operator's look changes nothing
    auto service = OpenOrFail(path, Ledger::Access::CreateIfMissing);
    ASSERT_TRUE(service);
    EXPECT_EQ(PragmaOf(path, "PRAGMA application_id"), "1447251015");
    EXPECT_EQ(service->Read(), (Balances{400, 0}));
    EXPECT_EQ(service->Apply(Operation::UseCredit, 100).after, (Balances{300, 0}));
}

TEST(Ledger, RefusesFilesItCannotUse) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(Ledger::Open(dir.File("missing.db"), Ledger::Access::MustExist, error));
    EXPECT_NE(error.find("missing.db"), std::string::npos) << error;

    std::ofstream(dir.File("notes.txt")) << "this is not a ledger, just some text\n";
    error.clear();
    EXPECT_FALSE(Ledger::Open(dir.File("notes.txt"), Ledger::Access::MustExist, error));
    EXPECT_FALSE(error.empty());

    auto other = OpenOrFail(dir.File("other.db"));
    ASSERT_TRUE(other);
    other.reset();
    sqlite3* db = nullptr;
    sqlite3_open(dir.File("other.db").c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version=7", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    error.clear();
    EXPECT_FALSE(Ledger::Open(dir.File("other.db"), Ledger::Access::MustExist, error));
    EXPECT_NE(error.find("version 7"), std::string::npos) << error;
}

}  // namespace
