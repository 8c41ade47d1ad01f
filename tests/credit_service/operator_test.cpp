// The operator's command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "service_process.h"

namespace {

TEST(OperatorCommands, InsertCollectStatusAndLedger) {
    ScratchDir dir;
    const std::string db = dir.File("credit.db");
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
    EXPECT_EQ(RunCreditService({"insert", "9000", "--db", db}).exit_code, 0);
    EXPECT_EQ(RunCreditService({"insert", "1000", "--db", db}).exit_code, 1);
    EXPECT_EQ(StatusOf(db), std::make_pair(9000, 0));
    EXPECT_EQ(RunCreditService({"insert", "999", "--db", db}).exit_code, 0);
    EXPECT_EQ(StatusOf(db), std::make_pair(9999, 0));
}

TEST(OperatorCommands, ReadingCommandsNeedAnExistingLedger) {
    ScratchDir dir;
    for (const char* command : {"status", "collect", "ledger"}) {
        const CommandOutput result = RunCreditService({command, "--db", dir.File("typo.db")});
        EXPECT_EQ(result.exit_code, 1) << command;
        EXPECT_EQ(result.out, "") << command;
    }
}

TEST(OperatorCommands, TheLedgerComesFromTheEnvironmentWhenNotGiven) {
    ScratchDir dir;
    const std::string db = dir.File("from-environment.db");
    EXPECT_EQ(RunCreditService({"insert", "120"}, {"VANTOR_CREDIT_DB=" + db}).exit_code, 0);
    EXPECT_EQ(StatusOf(db), std::make_pair(120, 0));
}

TEST(OperatorCommands, BadArgumentsPrintUsageAndFail) {
    ScratchDir dir;
    const std::string db = dir.File("credit.db");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"spend"},
        {"insert", "--db", db},
        {"insert", "0", "--db", db},
        {"insert", "-5", "--db", db},
        {"insert", "2.50", "--db", db},
        {"insert", "100", "200", "--db", db},
        {"status", "extra", "--db", db},
        {"status", "--db"},
        {"status", "--port", "6667", "--db", db},
        {"serve", "--port", "65536", "--db", db},
        {"serve", "--port", "http", "--db", db},
        {"serve", "--verbose", "--db", db},
    };
    for (const auto& arguments : bad) {
        const CommandOutput result = RunCreditService(arguments);
        EXPECT_EQ(result.exit_code, 2) << testing::PrintToString(arguments);
        EXPECT_EQ(result.out, "") << testing::PrintToString(arguments);
    }
    const CommandOutput help = RunCreditService({"--help"});
    EXPECT_EQ(help.exit_code, 0);
    EXPECT_NE(help.out.find("usage: credit-service"), std::string::npos);
}

}  // namespace
