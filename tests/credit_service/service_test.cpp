// The built credit-service program answering a game over a real loopback socket.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "ledger.h"
#include "service_process.h"

namespace {

// What SQLite's own check says of the file: "ok" for a sound database.
std::string IntegrityOf(const std::string& path) {
    sqlite3* db = nullptr;
    std::string verdict;
    sqlite3_stmt* check = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW) {
        verdict = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
    }
    sqlite3_finalize(check);
    sqlite3_close(db);
    return verdict;
}

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

TEST_F(ServiceTest, TermEndsOnlyThatConnection) {
    auto first = Connect();
    auto second = Connect();
    EXPECT_EQ(first->Exchange("CADD,10\r\n"), "CTEL,10\r\n");
    ASSERT_TRUE(first->Send("CGET\r\nTERM\r\nCADD,99\r\n"));
    EXPECT_EQ(first->ReadLine(), "CTEL,10\r\n");
    EXPECT_TRUE(first->ClosedByService());
    EXPECT_EQ(second->Exchange("CGET\r\n"), "CTEL,10\r\n");  // what followed TERM was not applied

    second.reset();  // the game vanishes without TERM
    auto third = Connect();
    EXPECT_EQ(third->Exchange("CGET\r\n"), "CTEL,10\r\n");
}

// Other local clients must never hold up the game: one that connects and says nothing, one that
// sends a byte now and then, and one that sends without ever reading the replies.
class CrowdedServiceTest : public ServiceTest {
  protected:
    void TearDown() override {
        stop_ = true;
        if (trickler_.joinable()) trickler_.join();
    }

    void StartTrickling(GameConnection& connection) {
        trickler_ = std::thread([this, &connection] {
            const std::string line = "CADD,1\r\n";
            for (size_t i = 0; !stop_; i = (i + 1) % line.size()) {
                if (!connection.Send(line.substr(i, 1))) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        });
    }

    // Sends up to `limit` bytes of empty lines (each answered "FAIL") without reading a reply,
    // until the service stops taking them for a while. How many bytes it took.
    static size_t Flood(GameConnection& connection, size_t limit) {
        const int flags = fcntl(connection.socket(), F_GETFL);
        fcntl(connection.socket(), F_SETFL, flags | O_NONBLOCK);
        const std::string lines(64 * 1024, '\n');
        size_t taken = 0;
        pollfd writable{connection.socket(), POLLOUT, 0};
        while (taken < limit && poll(&writable, 1, 1000) == 1) {
            const ssize_t sent = send(connection.socket(), lines.data(),
                                      std::min(lines.size(), limit - taken), MSG_NOSIGNAL);
            if (sent > 0) taken += static_cast<size_t>(sent);
            if (sent < 0 && errno != EAGAIN && errno != EINTR) break;
        }
        fcntl(connection.socket(), F_SETFL, flags);
        return taken;
    }

    // Reads `count` replies that should all be "FAIL": how many were, up to the first that was
    // not or until the service fell silent.
    static size_t ReadFailReplies(GameConnection& connection, size_t count) {
        constexpr std::string_view kFail = "FAIL\r\n";
        std::string bytes;
        size_t checked = 0;
        char buffer[64 * 1024];
        pollfd readable{connection.socket(), POLLIN, 0};
        while (checked < count && poll(&readable, 1, 10000) == 1) {
            const ssize_t received = recv(connection.socket(), buffer, sizeof buffer, 0);
            if (received <= 0) break;
            bytes.append(buffer, static_cast<size_t>(received));
            size_t at = 0;
            for (; at + kFail.size() <= bytes.size() && checked < count; at += kFail.size()) {
                if (std::string_view(bytes).substr(at, kFail.size()) != kFail) return checked;
                ++checked;
            }
            bytes.erase(0, at);
        }
        return checked;
    }

    std::atomic<bool> stop_ = false;
    std::thread trickler_;
};

TEST_F(CrowdedServiceTest, SilentAndTricklingClientsDoNotHoldUpTheGame) {
    auto silent = Connect();
    ASSERT_TRUE(silent->Send("CG"));  // and never another byte
    auto trickling = Connect();
    StartTrickling(*trickling);
    auto game = Connect();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(game->Exchange("BADD,1\r\n"), "BTEL," + std::to_string(i + 1) + "\r\n");
    }
    // The trickled commands were answered as they completed.
    EXPECT_EQ(trickling->ReadLine().substr(0, 5), "CTEL,");
    EXPECT_EQ(game->Exchange("BGET\r\n"), "BTEL,20\r\n");
}

TEST_F(CrowdedServiceTest, AClientThatNeverReadsIsHeldBackAndTheGameServed) {
    auto flooder = Connect();
    // An endless stream: a service that kept reading would owe six times as many reply bytes.
    constexpr size_t kOffered = size_t{256} << 20;
    const size_t taken = Flood(*flooder, kOffered);
    std::printf("[ figures  ] credit-service took %zu KiB from a client that never reads\n",
                taken >> 10);
    EXPECT_LT(taken, kOffered / 4);

    auto game = Connect();
    EXPECT_EQ(game->Exchange("CADD,40\r\n"), "CTEL,40\r\n");
    EXPECT_EQ(game->Exchange("CGET\r\n"), "CTEL,40\r\n");

    // Once it reads, its lines are answered in turn (the first of them suffice: all of them take
    // long under the sanitizers).
    const size_t sample = std::min<size_t>(taken, 200000);
    EXPECT_EQ(ReadFailReplies(*flooder, sample), sample);
}

// Stop requests end the service however its clients behave, with every committed change kept.
TEST_F(CrowdedServiceTest, StopsOnTerminateWhileClientsAreSilentTricklingOrFlooding) {
    auto game = Connect();
    EXPECT_EQ(game->Exchange("CADD,250\r\n"), "CTEL,250\r\n");
    auto silent = Connect();
    ASSERT_TRUE(silent->Send("BADD,5"));  // a command never finished
    auto trickling = Connect();
    StartTrickling(*trickling);
    auto flooder = Connect();
    Flood(*flooder, size_t{64} << 20);

    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(service_->Stop(SIGTERM), 0);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - asked;
    std::printf("[ figures  ] credit-service stopped %.0f ms after SIGTERM among four clients\n",
                took.count());
    EXPECT_TRUE(game->ClosedByService());
    EXPECT_TRUE(silent->ClosedByService());
    const auto [credit, bank] = StatusOf(db_);
    EXPECT_GE(credit, 250);  // and whatever the trickler completed
    EXPECT_EQ(bank, 0);
    EXPECT_EQ(IntegrityOf(db_), "ok");
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
