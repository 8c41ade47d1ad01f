// The built credit-service program answering a game over a real loopback socket.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "ledger.h"
#include "service_process.h"

namespace {

class ServiceTest : public testing::Test {
  protected:
    void SetUp() override {
        service_ = std::make_unique<RunningService>(db_);
        ASSERT_TRUE(service_->listening());
    }

    // A game connected to the running service.
    std::unique_ptr<GameConnection> Connect() {
        auto game = std::make_unique<GameConnection>(service_->port());
        EXPECT_TRUE(game->connected());
        return game;
    }

    ScratchDir dir_;
    std::string db_ = dir_.File("credit.db");
    std::unique_ptr<RunningService> service_;
};

TEST_F(ServiceTest, AnswersTheGamesCommands) {
    auto game = Connect();
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,0\r\n");
    EXPECT_EQ(game->Exchange("BGET\r\n"), "BTEL,0\r\n");
    EXPECT_EQ(game->Exchange("CADD,130\r\n"), "CTEL,130\r\n");
    EXPECT_EQ(game->Exchange("BADD,500\r\n"), "BTEL,500\r\n");
    EXPECT_EQ(game->Exchange("CUSE,100\r\n"), "CTEL,30\r\n");
    // The credit cannot cover a stake of 50: a pound comes over from the bank.
    EXPECT_EQ(game->Exchange("CUSE,50\r\n"), "CTEL,80\r\n");
    EXPECT_EQ(game->Exchange("BGET\r\n"), "BTEL,400\r\n");
    EXPECT_EQ(game->Exchange("CGET\n"), "CTEL,80\r\n");
}

TEST_F(ServiceTest, RefusesWhatItCannotDoAndChangesNothing) {
    auto game = Connect();
    EXPECT_EQ(game->Exchange("CUSE,50\r\n"), "FAIL\r\n");  // no money to play with
    ASSERT_EQ(game->Exchange("CADD,9000\r\n"), "CTEL,9000\r\n");
    ASSERT_EQ(game->Exchange("BADD,9000\r\n"), "BTEL,9000\r\n");
    using namespace std::literals;
    for (std::string_view bad :
         {"CADD,1000\r\n"sv, "BADD,1000\r\n"sv, "CUSE,0\r\n"sv, "CADD,0\r\n"sv, "CADD,-5\r\n"sv,
          "CADD,10001\r\n"sv, "CADD\r\n"sv, "CADD,x\r\n"sv, "HELO\r\n"sv, "cget\r\n"sv, "\r\n"sv,
          "\x00\x01\xfe\xff\r\n"sv, "CGET\0\r\n"sv, "CGET,1\r\n"sv}) {
        EXPECT_EQ(game->Exchange(bad), "FAIL\r\n") << bad;
    }
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,9000\r\n");
    EXPECT_EQ(game->Exchange("BGET\r\n"), "BTEL,9000\r\n");
    EXPECT_EQ(StatusOf(db_), std::make_pair(9000, 9000));
}

TEST_F(ServiceTest, AnswersEachCommandOnceHoweverItIsSegmented) {
    auto game = Connect();
    for (std::string_view piece : {"CA", "DD,", "25", "\r", "\n"}) {
        ASSERT_TRUE(game->Send(piece));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(game->ReadLine(), "CTEL,25\r\n");

    ASSERT_TRUE(game->Send("CGET\r\nBADD,200\r\nCUSE,20\r\nBOGUS\r\nBGET\r\nCG"));
    for (std::string_view reply :
         {"CTEL,25\r\n", "BTEL,200\r\n", "CTEL,5\r\n", "FAIL\r\n", "BTEL,200\r\n"}) {
        EXPECT_EQ(game->ReadLine(), reply);
    }
    // Nothing extra was sent: the next reply is the one for the completed "CGET".
    EXPECT_EQ(game->Exchange("ET\r\n"), "CTEL,5\r\n");
}

TEST_F(ServiceTest, RefusesAnOverlongLineOnceAndCarriesOn) {
    auto game = Connect();
    ASSERT_TRUE(game->Send(std::string(100000, 'C')));
    EXPECT_EQ(game->Exchange("CGET\r\n"), "FAIL\r\n");
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,0\r\n");
}

TEST_F(ServiceTest, ServesTheNextGameAfterTermOrDisconnect) {
    auto first = Connect();
    EXPECT_EQ(first->Exchange("CADD,10\r\n"), "CTEL,10\r\n");
    // A second game waits while the first is served.
    auto second = Connect();
    ASSERT_TRUE(second->Send("CGET\r\n"));
    EXPECT_EQ(second->ReadLine(200), "");
    ASSERT_TRUE(first->Send("TERM\r\nCADD,99\r\n"));
    EXPECT_TRUE(first->ClosedByService());
    EXPECT_EQ(second->ReadLine(), "CTEL,10\r\n");  // what followed TERM was not applied

    second.reset();  // the game vanishes without TERM
    auto third = Connect();
    EXPECT_EQ(third->Exchange("CGET\r\n"), "CTEL,10\r\n");
}

TEST_F(ServiceTest, KeepsTheBalancesAcrossARestart) {
    {
        auto game = Connect();
        EXPECT_EQ(game->Exchange("CADD,250\r\n"), "CTEL,250\r\n");
        EXPECT_EQ(game->Exchange("BADD,300\r\n"), "BTEL,300\r\n");
    }
    EXPECT_EQ(service_->Stop(SIGTERM), 0);
    service_ = std::make_unique<RunningService>(db_);
    ASSERT_TRUE(service_->listening());
    auto game = Connect();
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,250\r\n");
    EXPECT_EQ(game->Exchange("BGET\r\n"), "BTEL,300\r\n");
}

TEST_F(ServiceTest, StopsCleanlyOnInterruptEvenWithAGameConnected) {
    auto game = Connect();
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,0\r\n");
    EXPECT_EQ(service_->Stop(SIGINT), 0);
    EXPECT_TRUE(game->ClosedByService());
}

TEST_F(ServiceTest, RefusesASecondServiceOnTheSamePort) {
    const CommandOutput second = RunCreditService(
        {"serve", "--db", dir_.File("other.db"), "--port", std::to_string(service_->port())});
    EXPECT_EQ(second.exit_code, 1);
    EXPECT_EQ(second.out, "");
}

TEST_F(ServiceTest, OperatorCommandsWorkWhileAGameIsConnected) {
    auto game = Connect();
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,0\r\n");
    const CommandOutput inserted = RunCreditService({"insert", "200", "--db", db_});
    EXPECT_EQ(inserted.exit_code, 0);
    EXPECT_EQ(inserted.out, "inserted \u00a32.00: credit \u00a32.00\n");
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,200\r\n");
    EXPECT_EQ(game->Exchange("BADD,700\r\n"), "BTEL,700\r\n");

    const CommandOutput collected = RunCreditService({"collect", "--db", db_});
    EXPECT_EQ(collected.exit_code, 0);
    EXPECT_EQ(collected.out, "collected 700 (\u00a37.00)\n");
    EXPECT_EQ(game->Exchange("BGET\r\n"), "BTEL,0\r\n");
    EXPECT_EQ(StatusOf(db_), std::make_pair(200, 0));

    const CommandOutput ledger = RunCreditService({"ledger", "--db", db_});
    EXPECT_EQ(ledger.exit_code, 0);
    EXPECT_NE(ledger.out.find("INSERT"), std::string::npos) << ledger.out;
    EXPECT_NE(ledger.out.find("BADD"), std::string::npos) << ledger.out;
    EXPECT_NE(ledger.out.find("COLLECT"), std::string::npos) << ledger.out;
}

// The game and the operator write at the same time: every change lands exactly once and each
// row follows from the one before.
TEST_F(ServiceTest, GameAndOperatorChangesInterleaveWithoutLoss) {
    constexpr int kGameChanges = 150;
    constexpr int kInserts = 6;
    std::thread game_thread([this] {
        auto game = Connect();
        for (int i = 0; i < kGameChanges; ++i) {
            ASSERT_EQ(game->Exchange("CADD,1\r\n").substr(0, 5), "CTEL,");
        }
    });
    for (int i = 0; i < kInserts; ++i) {
        EXPECT_EQ(RunCreditService({"insert", "100", "--db", db_}).exit_code, 0);
    }
    game_thread.join();

    EXPECT_EQ(StatusOf(db_), std::make_pair(kGameChanges + 100 * kInserts, 0));
    std::string error;
    auto ledger = Ledger::Open(db_, Ledger::Access::MustExist, error);
    ASSERT_TRUE(ledger) << error;
    int rows = 0;
    int credit = 0;
    ledger->ForEachRow([&](const LedgerRow& row) {
        EXPECT_EQ(row.after.credit, credit + row.amount) << "row " << row.id;
        credit = row.after.credit;
        ++rows;
    });
    EXPECT_EQ(rows, kGameChanges + kInserts);
}

// kill -9 in the middle of a stream of changes: the ledger holds every acknowledged change,
// and at most the one change in flight beyond them.
TEST_F(ServiceTest, AKilledServiceKeepsEveryAcknowledgedChange) {
    constexpr int kStart = 5000;
    constexpr int kCommands = 4000;
    constexpr int kKillAfter = 100;
    ASSERT_EQ(RunCreditService({"insert", std::to_string(kStart), "--db", db_}).exit_code, 0);
    // Alternate CADD,3 and CUSE,2: the credit after k commands is known exactly.
    auto credit_after = [](int k) { return kStart + 3 * ((k + 1) / 2) - 2 * (k / 2); };

    auto game = Connect();
    std::thread writer([&game] {
        for (int i = 0; i < kCommands; ++i) {
            if (!game->Send(i % 2 == 0 ? "CADD,3\r\n" : "CUSE,2\r\n")) return;
        }
    });
    int acknowledged = 0;
    for (std::string reply; !(reply = game->ReadLine()).empty();) {
        ASSERT_EQ(reply, "CTEL," + std::to_string(credit_after(acknowledged + 1)) + "\r\n");
        if (++acknowledged == kKillAfter) service_->Kill();
    }
    writer.join();
    ASSERT_GE(acknowledged, kKillAfter);
    EXPECT_LT(acknowledged, kCommands);

    std::string error;
    auto ledger = Ledger::Open(db_, Ledger::Access::MustExist, error);
    ASSERT_TRUE(ledger) << error;
    int committed = -1;  // the insert is not one of the stream
    ledger->ForEachRow([&committed](const LedgerRow&) { ++committed; });
    EXPECT_GE(committed, acknowledged);
    EXPECT_LE(committed, acknowledged + 1);
    EXPECT_EQ(StatusOf(db_), std::make_pair(credit_after(committed), 0));
}

// Not a pass/fail figure: round trips per second on loopback, as the game makes them.
TEST_F(ServiceTest, PrintsRoundTripsPerSecond) {
    auto game = Connect();
    auto rate = [&game](int count, auto command_for) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) {
            if (game->Exchange(command_for(i)).empty()) return 0.0;
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        return count / took.count();
    };
    const double reads = rate(2000, [](int i) { return i % 2 ? "CGET\r\n" : "BGET\r\n"; });
    const double changes = rate(400, [](int i) { return i % 2 ? "CUSE,1\r\n" : "CADD,1\r\n"; });
    std::printf("[ figures  ] credit-service round trips per second: reads %.0f, changes %.0f\n",
                reads, changes);
    EXPECT_GT(reads, 0);
    EXPECT_GT(changes, 0);
}

}  // namespace
