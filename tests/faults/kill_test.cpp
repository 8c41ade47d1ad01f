// kill -9 at random moments. The game killed anywhere in start-up, a game or its recording must
// leave a record file that is whole (the old one or the new one) and a credit ledger that
// balances; the credit service killed anywhere in a busy series of changes must keep every
// change it acknowledged and a ledger that balances after its restart.
//
// The number of runs comes from VANTOR_KILL_RUNS (the test suite runs a few dozen; the kill-test
// script runs hundreds) and the random moments from VANTOR_KILL_SEED.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "engines/control/owed_win_file.h"
#include "game_dir.h"
#include "game_process.h"
#include "ledger_check.h"
#include "service_process.h"
#include "support/work_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kGamesPerRun = 2;
// A run that has not ended after this much wall time is hanging.
constexpr int kRunLimitMs = 240000;

int FromEnvironment(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::atoi(text) : fallback;
}

int Milliseconds(Clock::duration duration) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(duration).count());
}

// Keeps the player in money and the bank clear of its ceiling, as an operator would.
void LookAfterTheMoney(const std::string& db) {
    const LedgerCheck ledger = CheckLedger(db);
    if (ledger.credit + ledger.bank < 400) RunCreditService({"insert", "5000", "--db", db});
    if (ledger.bank > 5000) RunCreditService({"collect", "--db", db});
}

// The modelled player for one run: two games at a random stake, skill and offer choice.
std::string PlayerFor(int run, std::mt19937& random) {
    const int stake = random() % 2 ? 100 : 50;
    const int right = 60 + static_cast<int>(random() % 41);
    const int take = static_cast<int>(random() % 4);
    return "games=" + std::to_string(kGamesPerRun) + ",stake=" + std::to_string(stake) +
           ",right=" + std::to_string(right) + ",take=" + std::to_string(take) +
           ",seed=" + std::to_string(run);
}

// How a run ends: played out, killed at a random moment, or killed the moment the game starts
// rewriting its record file (its temporary file appears), which random moments rarely hit.
enum class KillMoment { Never, AtRandom, WhileRecording };

KillMoment KillMomentFor(int run) {
    if (run == 0) return KillMoment::Never;
    return run % 3 == 0 ? KillMoment::WhileRecording : KillMoment::AtRandom;
}

// The pence of a win the game still owes (its owed win file), 0 when it owes nothing.
int OwedPence() {
    const std::optional<OwedWin> owed = DecodeOwedWin(ReadFileText("data/owed-win.txt"));
    return owed ? owed->pence : 0;
}

bool RecordBeingRewritten() {
    return std::filesystem::exists("data/brasswick.rec.tmp");
}

}  // namespace

TEST(KillTheGame, LeavesAWholeRecordFileAndABalancedLedger) {
    const int runs = FromEnvironment("VANTOR_KILL_RUNS", 6);
    std::mt19937 random(static_cast<uint32_t>(FromEnvironment("VANTOR_KILL_SEED", 20260307)));
    ScopedWorkDir dir;
    WriteGameContent();
    const std::string db = dir.path() + "/credit.db";
    ASSERT_EQ(RunCreditService({"init", "--db", db}).exit_code, 0);
    ASSERT_EQ(RunCreditService({"insert", "5000", "--db", db}).exit_code, 0);
    RunningService service(db);
    ASSERT_TRUE(service.listening());

    RecordContents before;
    std::string firstWritten;
    int killedAtRandom = 0, killedWhileRecording = 0, endedByThemselves = 0;
    int keptOld = 0, gotNew = 0;
    int longestRunMs = 0;
    for (int run = 0; run < runs; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        LookAfterTheMoney(db);
        const KillMoment moment = KillMomentFor(run);
        // The first run plays to its end and sets the span the random moments are spread over.
        const int waitMs =
            moment == KillMoment::Never ? kRunLimitMs
            : moment == KillMoment::AtRandom
                ? static_cast<int>(random() % static_cast<uint32_t>(longestRunMs + 1))
                : longestRunMs * 2;
        std::filesystem::remove("data/brasswick.rec.tmp");
        const Clock::time_point started = Clock::now();
        GameProcess game(service.port(), {"--autoplay", PlayerFor(run, random)});
        ASSERT_GT(game.pid(), 0);
        GameExit exit;
        const bool ended = game.WaitFor(waitMs, exit, [moment] {
            return moment == KillMoment::WhileRecording && RecordBeingRewritten();
        });
        if (!ended) {
            const bool recording = RecordBeingRewritten();
            exit = game.Kill();
            ++(recording ? killedWhileRecording : killedAtRandom);
        } else {
            ++endedByThemselves;
            EXPECT_EQ(exit.signal, 0);
            EXPECT_EQ(exit.exitStatus, 0) << ReadFileText("output.txt");
        }
        longestRunMs = std::max(longestRunMs, Milliseconds(Clock::now() - started));

        const RecordReading record = ReadGameRecord(killedAtRandom + killedWhileRecording);
        if (record.present) {
            ASSERT_EQ(record.problem, "");
            if (firstWritten.empty()) firstWritten = record.contents.firstWritten;
            EXPECT_EQ(record.contents.firstWritten, firstWritten);
            const int sold = GamesSold(record.contents) - GamesSold(before);
            EXPECT_GE(sold, 0) << "a record file older than the one before";
            EXPECT_LE(sold, kGamesPerRun) << "more games recorded than were played";
            ++(sold == 0 ? keptOld : gotNew);
            before = record.contents;
        }
        const LedgerCheck ledger = CheckLedger(db);
        ASSERT_EQ(ledger.problem, "");
        // Every stake taken is on the meters: a sale is saved before its stake is taken, so a
        // game killed in between is on the meters without its stake.
        EXPECT_GE(GamesSold(before), ledger.stakes);
        EXPECT_LE(GamesSold(before), ledger.stakes + killedAtRandom + killedWhileRecording);
    }
    // A last run played out settles what the kills left on its way (a win part in flight), and
    // then the meters and the ledger agree on every penny paid out: counter 23 plus any win still
    // owed. The games sold may exceed the stakes by the sales killed before their stake was taken.
    LookAfterTheMoney(db);
    GameProcess last(service.port(), {"--autoplay", "games=1,stake=50,seed=99"});
    GameExit lastExit;
    ASSERT_TRUE(last.WaitFor(kRunLimitMs, lastExit));
    EXPECT_EQ(lastExit.exitStatus, 0) << ReadFileText("output.txt");
    const RecordReading record = ReadGameRecord(killedAtRandom + killedWhileRecording);
    ASSERT_TRUE(record.present);
    const LedgerCheck ledger = CheckLedger(db);
    const int owed = OwedPence();
    EXPECT_EQ(ledger.paid, record.contents.counters[counter::kWonTotal] + owed);
    EXPECT_GE(GamesSold(record.contents), ledger.stakes);
    EXPECT_LE(GamesSold(record.contents), ledger.stakes + killedAtRandom + killedWhileRecording);
    std::printf(
        "[ figures  ] %d runs of the game: %d killed at random, %d killed while rewriting "
        "the record file, %d ended by themselves; record file whole every time (%d runs "
        "left the old one, %d a new one); %d games on the meters against %d stakes in a "
        "balanced ledger of %d rows; paid out %dp by the ledger, %dp on the meters + %dp "
        "owed\n",
        runs, killedAtRandom, killedWhileRecording, endedByThemselves, keptOld, gotNew,
        GamesSold(record.contents), ledger.stakes, ledger.rows, ledger.paid,
        record.contents.counters[counter::kWonTotal], owed);
}

// The credit service killed at random moments while a game sends it change after change and the
// operator inserts and collects: after each restart the ledger balances, holds every change the
// game heard acknowledged, and at most the one change in flight beyond them.
TEST(KillTheCreditService, KeepsEveryAcknowledgedChangeAndBalances) {
    const int kills = FromEnvironment("VANTOR_KILL_RUNS", 24);
    std::mt19937 random(static_cast<uint32_t>(FromEnvironment("VANTOR_KILL_SEED", 20260307)));
    ScratchDir scratch;
    const std::string db = scratch.File("credit.db");
    ASSERT_EQ(RunCreditService({"init", "--db", db}).exit_code, 0);
    ASSERT_EQ(RunCreditService({"insert", "3000", "--db", db}).exit_code, 0);
    static const char* const kChanges[] = {"CADD,7\r\n", "CUSE,50\r\n", "BADD,100\r\n",
                                           "CUSE,100\r\n", "CADD,93\r\n"};

    int acknowledged = 0;
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        RunningService service(db);
        ASSERT_TRUE(service.listening());
        std::atomic<bool> stop{false};
        std::thread operatorConsole([&] {
            while (!stop) {
                RunCreditService({"insert", "200", "--db", db});
                RunCreditService({"collect", "--db", db});
            }
        });
        const Clock::time_point killAt =
            Clock::now() + std::chrono::milliseconds(20 + random() % 400);
        GameConnection game(service.port());
        ASSERT_TRUE(game.connected());
        for (int i = 0; Clock::now() < killAt; ++i) {
            const std::string reply = game.Exchange(kChanges[i % 5]);
            if (reply.starts_with("CTEL,") || reply.starts_with("BTEL,")) ++acknowledged;
        }
        service.Kill();
        stop = true;
        operatorConsole.join();

        const LedgerCheck ledger = CheckLedger(db);
        ASSERT_EQ(ledger.problem, "");
        EXPECT_GE(ledger.gameChanges, acknowledged);
        EXPECT_LE(ledger.gameChanges, acknowledged + 1);
        acknowledged = ledger.gameChanges;  // the change in flight counts once it is committed
    }
    std::printf(
        "[ figures  ] credit service killed %d times: %d game changes kept, ledger "
        "balances\n",
        kills, acknowledged);
}
