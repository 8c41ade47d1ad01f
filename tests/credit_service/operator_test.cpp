// The operator's command line.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "service_process.h"

namespace {

// A new, empty ledger at `db`, as the operator makes one.
void Init(const std::string& db) {
    const CommandOutput init = RunCreditService({"init", "--db=" + db});
    ASSERT_EQ(init.exit_code, 0) << init.err;
    EXPECT_EQ(init.out, "created an empty credit ledger at " + db + "\n");
}

std::string ContentsOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// One line on stderr, naming the program, as every refusal and usage error prints.
void ExpectOneLine(const CommandOutput& result, const std::string& context) {
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << context << result.err;
    EXPECT_TRUE(result.err.starts_with("credit-service: ")) << context << result.err;
    EXPECT_TRUE(result.err.ends_with("\n")) << context << result.err;
    EXPECT_EQ(result.out, "") << context;
}

TEST(OperatorCommands, InsertCollectStatusAndLedger) {
    ScratchDir dir;
    const std::string db = dir.File("credit.db");
    Init(db);
    EXPECT_EQ(RunCreditService({"insert", "550", "--db", db}).out,
              "inserted \u00a35.50: credit \u00a35.50\n");
    const CommandOutput status = RunCreditService({"--db", db, "status"});
    EXPECT_EQ(status.exit_code, 0);
    EXPECT_EQ(status.out, "credit 550 (\u00a35.50)\nbank 0 (\u00a30.00)\n");

    const CommandOutput empty = RunCreditService({"collect", "--db", db});
    EXPECT_EQ(empty.exit_code, 0);
    EXPECT_EQ(empty.out, "collected 0 (\u00a30.00): the bank is empty\n");

    const CommandOutput ledger = RunCreditService({"ledger", "--db", db});
    EXPECT_EQ(ledger.exit_code, 0);
    EXPECT_EQ(std::count(ledger.out.begin(), ledger.out.end(), '\n'), 2) << ledger.out;
    const std::string row = ledger.out.substr(ledger.out.find('\n') + 1);
    long long id = 0;
    char time[64] = {};
    char command[16] = {};
    int amount = 0, credit = 0, bank = 0;
    ASSERT_EQ(std::sscanf(row.c_str(), "%lld %63s %15s %d %d %d", &id, time, command, &amount,
                          &credit, &bank),
              6)
        << ledger.out;
    EXPECT_EQ(id, 1);
    EXPECT_STREQ(command, "INSERT");
    EXPECT_EQ(amount, 550);
    EXPECT_EQ(credit, 550);
    EXPECT_EQ(bank, 0);
}

TEST(OperatorCommands, InsertRefusesToPassTheCreditTheGameCanShow) {
    ScratchDir dir;
    const std::string db = dir.File("credit.db");
    Init(db);
    EXPECT_EQ(RunCreditService({"insert", "9000", "--db", db}).exit_code, 0);
    EXPECT_EQ(RunCreditService({"insert", "1000", "--db", db}).exit_code, 1);
    EXPECT_EQ(StatusOf(db), std::make_pair(9000, 0));
    EXPECT_EQ(RunCreditService({"insert", "999", "--db", db}).exit_code, 0);
    EXPECT_EQ(StatusOf(db), std::make_pair(9999, 0));
}

// A mistyped --db must not make a ledger the service never reads.
TEST(OperatorCommands, EveryOperatorCommandNeedsAnExistingLedger) {
    ScratchDir dir;
    const std::string typo = dir.File("typo.db");
    for (const char* command : {"insert", "status", "collect", "ledger"}) {
        std::vector<std::string> arguments = {command, "--db", typo};
        if (std::string_view(command) == "insert") arguments.push_back("100");
        const CommandOutput result = RunCreditService(arguments);
        EXPECT_EQ(result.exit_code, 1) << command;
        ExpectOneLine(result, command);
        EXPECT_NE(result.err.find("no credit ledger at " + typo), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(typo)) << command;
    }
}

TEST(OperatorCommands, InitMakesAnEmptyLedgerOnceAndNeverOverwrites) {
    ScratchDir dir;
    const std::string db = dir.File("credit.db");
    Init(db);
    EXPECT_EQ(StatusOf(db), std::make_pair(0, 0));
    ASSERT_EQ(RunCreditService({"insert", "300", "--db", db}).exit_code, 0);

    const CommandOutput again = RunCreditService({"init", "--db", db});
    EXPECT_EQ(again.exit_code, 1);
    ExpectOneLine(again, "init again");
    EXPECT_NE(again.err.find("already"), std::string::npos) << again.err;
    EXPECT_EQ(StatusOf(db), std::make_pair(300, 0));
}

TEST(OperatorCommands, TheLedgerComesFromTheEnvironmentWhenNotGiven) {
    ScratchDir dir;
    const std::string db = dir.File("from-environment.db");
    const std::vector<std::string> environment = {"VANTOR_CREDIT_DB=" + db};
    EXPECT_EQ(RunCreditService({"init"}, environment).exit_code, 0);
    EXPECT_EQ(RunCreditService({"insert", "120"}, environment).exit_code, 0);
    EXPECT_EQ(StatusOf(db), std::make_pair(120, 0));
}

// Another program's database, and a file that is no database at all: no command adds its table
// to them or changes a byte, not even the service.
TEST(OperatorCommands, FilesThatAreNotLedgersAreRefusedAndLeftAlone) {
    ScratchDir dir;
    const std::string other = dir.File("other.db");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(other.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE notes(text TEXT); INSERT INTO notes VALUES('keep me')", nullptr,
                 nullptr, nullptr);
    sqlite3_close(db);
    const std::string text = dir.File("notes.txt");
    std::ofstream(text) << "not a database, just some text\n";

    for (const std::string& path : {other, text}) {
        const std::string before = ContentsOf(path);
        for (const std::vector<std::string>& arguments :
             std::vector<std::vector<std::string>>{{"serve", "--port", "0"},
                                                   {"init"},
                                                   {"insert", "100"},
                                                   {"collect"},
                                                   {"status"},
                                                   {"ledger"}}) {
            std::vector<std::string> with_db = arguments;
            with_db.insert(with_db.end(), {"--db", path});
            const CommandOutput result = RunCreditService(with_db);
            const std::string context = testing::PrintToString(with_db);
            EXPECT_EQ(result.exit_code, 1) << context;
            ExpectOneLine(result, context);
        }
        EXPECT_EQ(ContentsOf(path), before) << path;
        EXPECT_FALSE(std::filesystem::exists(path + "-wal")) << path;
    }
}

TEST(OperatorCommands, BadArgumentsSayWhatIsWrongInOneLine) {
    ScratchDir dir;
    const std::string db = dir.File("credit.db");
    Init(db);
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"spend"},
        {"insert", "--db", db},
        {"insert", "0", "--db", db},
        {"insert", "-5", "--db", db},
        {"insert", "+5", "--db", db},
        {"insert", "2.50", "--db", db},
        {"insert", "5x", "--db", db},
        {"insert", "", "--db", db},
        {"insert", "99999999999999999999", "--db", db},
        {"insert", "100", "200", "--db", db},
        {"status", "extra", "--db", db},
        {"status", "--db"},
        {"status", "--db="},
        {"status", "--port", "6667", "--db", db},
        {"serve", "--port", "65536", "--db", db},
        {"serve", "--port=-1", "--db", db},
        {"serve", "--port", "http", "--db", db},
        {"serve", "--verbose", "--db", db},
    };
    for (const auto& arguments : bad) {
        const CommandOutput result = RunCreditService(arguments);
        const std::string context = testing::PrintToString(arguments);
        EXPECT_EQ(result.exit_code, 2) << context;
        ExpectOneLine(result, context);
        EXPECT_NE(result.err.find("--help"), std::string::npos) << context << result.err;
    }
    EXPECT_EQ(StatusOf(db), std::make_pair(0, 0));

    // The usage promises 1 to 9999 pence: 10000 is a bad argument, not a refusal.
    const CommandOutput too_much = RunCreditService({"insert", "10000", "--db", db});
    EXPECT_EQ(too_much.exit_code, 2);
    EXPECT_TRUE(too_much.err.starts_with(
        "credit-service: insert: amount must be 1 to 9999 pence, got '10000'"))
        << too_much.err;
    EXPECT_EQ(RunCreditService({"serve", "--verbose", "--db", db}).err.substr(0, 42),
              "credit-service: unknown option '--verbose'");
}

TEST(OperatorCommands, HelpAndVersionGoToStandardOutput) {
    for (const char* help : {"--help", "-h"}) {
        const CommandOutput usage = RunCreditService({"status", help});
        EXPECT_EQ(usage.exit_code, 0);
        EXPECT_TRUE(usage.out.starts_with("usage: credit-service")) << usage.out;
        EXPECT_NE(usage.out.find("init"), std::string::npos);
        EXPECT_EQ(usage.err, "");
    }
    const CommandOutput version = RunCreditService({"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("credit-service [0-9]+(\\.[0-9]+)*\n")))
        << version.out;
}

}  // namespace
