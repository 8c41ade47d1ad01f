// Reading the cabinet: the game's log, the ledger read-only, the record file while it changes,
// and finding the game's process.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cabinet.h"
#include "cabinet_files.h"
#include "game_log.h"
#include "ledger_view.h"

namespace {

const std::string kOrderlyLog =
    "10/12/2026 11:48:42 - Vantor 1.0.0.1 - Start of Log\n"
    "\n"
    "10/12/2026 11:48:42 - Width=800,Height=600,BPP=32,DD=7\n"
    "10/12/2026 11:50:01 - Payment failed: BADD,300 not accepted by the credit service\n"
    "10/12/2026 11:52:13 - Closing log\n";

TEST(GameLog, StartEndAndLastLinesOfAnOrderlyRun) {
    const GameLogSummary log = SummariseGameLog(kOrderlyLog, "", 3);
    EXPECT_EQ(log.startedAt, "10/12/2026 11:48:42");
    EXPECT_EQ(log.version, "1.0.0.1");
    EXPECT_EQ(log.endedAt, "10/12/2026 11:52:13");
    EXPECT_EQ(log.exitStatus, 0);
    EXPECT_EQ(DescribeEnd(log), "orderly end (exit status 0)");
    ASSERT_EQ(log.lastLines.size(), 3u);
    EXPECT_EQ(log.lastLines.back(), "10/12/2026 11:52:13 - Closing log");
}

TEST(GameLog, FailuresAndRunsThatNeverEnded) {
    const std::string start = "01/02/2026 09:00:00 - Vantor 1.0.0.1 - Start of Log\n";
    const GameLogSummary questions =
        SummariseGameLog(start + "01/02/2026 09:00:01 - Initialise Questions Failed\n", "", 10);
    EXPECT_EQ(questions.exitStatus, 249);
    const GameLogSummary display = SummariseGameLog(
        start + "01/02/2026 09:00:05 - Display lost, stopping (sprite stop code 3)\n", "", 10);
    EXPECT_EQ(display.exitStatus, 250);
    EXPECT_EQ(display.endMessage, "Display lost, stopping (sprite stop code 3)");
    const GameLogSummary killed =
        SummariseGameLog(start + "01/02/2026 09:00:05 - axBalls[0].value = 80\n", "", 10);
    EXPECT_EQ(killed.exitStatus, -1);
    EXPECT_TRUE(killed.endedAt.empty());
    EXPECT_EQ(DescribeEnd(killed), "no end recorded");
    // A message that merely mentions the words, not at the start of a stamped line, ends nothing.
    const GameLogSummary mention =
        SummariseGameLog(start + "Closing log\n01/02/2026 09:00:05 - not Closing log\n", "", 10);
    EXPECT_EQ(mention.exitStatus, -1);
    EXPECT_TRUE(SummariseGameLog("", "", 10).startedAt.empty());
}

TEST(GameLog, GameTextBecomesUtf8) {
    const GameLogSummary log = SummariseGameLog(
        "01/02/2026 09:00:00 - won \xA3"
        "5.00 \xE2\x82\xAC\n",
        "", 10);
    ASSERT_EQ(log.lastLines.size(), 1u);
    EXPECT_EQ(log.lastLines[0],
              "01/02/2026 09:00:00 - won \xC2\xA3"
              "5.00 \xE2\x82\xAC");
}

TEST(GameLog, AHugeLogIsReadOnlyAtItsEnds) {
    TestCabinet cabinet;
    {
        std::ofstream log(cabinet.logPath(), std::ios::binary);
        log << "01/02/2026 09:00:00 - Vantor 1.0.0.1 - Start of Log\n";
        for (int i = 0; i < 200000; ++i)
            log << "01/02/2026 09:00:01 - Payment failed: line " << i << "\n";
        log << "01/02/2026 10:00:00 - Closing log\n";
    }
    const GameLogFile file = ReadGameLog(cabinet.logPath());
    ASSERT_TRUE(file.failure.empty());
    EXPECT_GT(file.size, 5'000'000u);
    EXPECT_LT(file.head.size() + file.tail.size(), 100'000u);
    const GameLogSummary log = SummariseGameLog(file.head, file.tail, 5);
    EXPECT_EQ(log.startedAt, "01/02/2026 09:00:00");
    EXPECT_EQ(log.exitStatus, 0);
    ASSERT_EQ(log.lastLines.size(), 5u);
    EXPECT_EQ(log.lastLines[3], "01/02/2026 09:00:01 - Payment failed: line 199999");
    // The piece of a line the tail begins in is never shown as a line.
    const GameLogSummary all = SummariseGameLog(file.head, file.tail, 1000000);
    EXPECT_TRUE(all.lastLines.front().starts_with("01/02/2026 09:00:01 - Payment failed: line"));
    EXPECT_FALSE(ReadGameLog(cabinet.root() + "/none.txt").failure.empty());
    EXPECT_FALSE(ReadGameLog(cabinet.root()).failure.empty());
}

TEST(LedgerView, ReadsWhatTheServiceWroteNewestFirst) {
    TestCabinet cabinet;
    cabinet.Book(Operation::Insert, 500);
    for (int game = 0; game < 7; ++game) {
        cabinet.Book(Operation::UseCredit, 50);
        if (game % 2 == 0) cabinet.Book(Operation::AddBank, 100);
    }
    std::string error;
    const auto view = LedgerView::Open(cabinet.ledgerPath(), error);
    ASSERT_TRUE(view) << error;
    EXPECT_EQ(view->Read(), (Balances{150, 400}));
    EXPECT_EQ(view->RowCount(), 12);
    EXPECT_EQ(view->CommandCount("CUSE"), 7);
    EXPECT_EQ(view->CommandCount("INSERT"), 1);

    const auto newest = view->NewestRows(0, 5);
    ASSERT_TRUE(newest);
    ASSERT_EQ(newest->size(), 5u);
    EXPECT_EQ(newest->front().id, 12);
    EXPECT_EQ(newest->front().command, "BADD");
    EXPECT_EQ(newest->back().id, 8);
    const auto oldest = view->NewestRows(10, 5);
    ASSERT_TRUE(oldest);
    ASSERT_EQ(oldest->size(), 2u);
    EXPECT_EQ(oldest->back().command, "INSERT");
    EXPECT_EQ(oldest->back().after, (Balances{500, 0}));

    const auto after = view->RowsAfter(10, 100);
    ASSERT_TRUE(after);
    ASSERT_EQ(after->size(), 2u);
    EXPECT_EQ(after->front().id, 11);
    int visited = 0;
    EXPECT_TRUE(
        view->ForEachRow([&visited](const LedgerRow& row) { EXPECT_EQ(row.id, ++visited); }));
    EXPECT_EQ(visited, 12);
}

TEST(LedgerView, NeverChangesTheLedgerNorHoldsUpTheService) {
    TestCabinet cabinet;
    cabinet.Book(Operation::Insert, 200);
    const std::string before = FileBytes(cabinet.ledgerPath());
    std::string error;
    {
        const auto view = LedgerView::Open(cabinet.ledgerPath(), error);
        ASSERT_TRUE(view) << error;
        EXPECT_EQ(view->Read(), (Balances{200, 0}));
    }
    EXPECT_EQ(FileBytes(cabinet.ledgerPath()), before);
    EXPECT_FALSE(std::filesystem::exists(cabinet.ledgerPath() + "-wal"));
    EXPECT_FALSE(std::filesystem::exists(cabinet.ledgerPath() + "-shm"));

    // While the service has the ledger open, a view sees each booking at once, and the service
    // books while the view is open.
    const auto service = Ledger::Open(cabinet.ledgerPath(), Ledger::Access::MustExist, error);
    ASSERT_TRUE(service) << error;
    const auto view = LedgerView::Open(cabinet.ledgerPath(), error);
    ASSERT_TRUE(view) << error;
    EXPECT_EQ(view->Read(), (Balances{200, 0}));
    EXPECT_EQ(service->Apply(Operation::UseCredit, 100).outcome, ChangeOutcome::Applied);
    EXPECT_EQ(view->Read(), (Balances{100, 0}));
    EXPECT_EQ(view->RowCount(), 2);
}

TEST(LedgerView, RefusesWhatIsNotALedger) {
    TestCabinet cabinet;
    std::string error;
    EXPECT_FALSE(LedgerView::Open(cabinet.ledgerPath(), error));
    EXPECT_NE(error.find("no credit ledger"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(cabinet.ledgerPath()));  // nothing created
    EXPECT_FALSE(LedgerView::Open(cabinet.root(), error));
    std::ofstream(cabinet.ledgerPath()) << "not a database at all, just some text\n";
    error.clear();
    EXPECT_FALSE(LedgerView::Open(cabinet.ledgerPath(), error));
    EXPECT_FALSE(error.empty());
    // A path with characters an SQLite URI gives meaning to.
    TestCabinet other;
    const std::string odd = other.root() + "/led?ger#1%.db";
    other.Book(Operation::Insert, 300);
    std::filesystem::rename(other.ledgerPath(), odd);
    const auto view = LedgerView::Open(odd, error);
    ASSERT_TRUE(view) << error;
    EXPECT_EQ(view->Read(), (Balances{300, 0}));
}

TEST(RecordReading, AFileReplacedAllTheTimeIsAlwaysReadWhole) {
    TestCabinet cabinet;
    cabinet.WriteRecord(PlayedRecord(1, 1, 0, 0));
    std::atomic<bool> stop = false;
    // The game replaces the file in one rename after every game: a reader never misses it and
    // never sees half of one version.
    std::thread writer([&] {
        for (int games = 1; !stop; ++games)
            cabinet.WriteRecord(PlayedRecord(games, games, 0, 0));
    });
    for (int i = 0; i < 300; ++i) {
        const RecordReading reading = ReadRecordSteadily(cabinet.recordPath());
        ASSERT_EQ(reading.failure, "");
        EXPECT_EQ(reading.fileSize, kRecordFileSize);
        EXPECT_EQ(reading.contents.counters[0], reading.contents.counters[1]);
    }
    stop = true;
    writer.join();
}

TEST(GameProcess, FoundByNameAndWorkingDirectory) {
    TestCabinet cabinet;
    TestCabinet elsewhere;
    EXPECT_EQ(FindGameProcess(cabinet.content()).state, GameProcessState::NotRunning);
    // A stand-in program called vantor, running in the cabinet's content directory.
    const std::string program = cabinet.root() + "/vantor";
    std::filesystem::copy_file("/bin/sleep", program);
    const auto start = [&program](const std::string& directory) {
        const pid_t child = fork();
        if (child == 0) {
            if (chdir(directory.c_str()) != 0) _exit(127);
            execl(program.c_str(), "vantor", "30", static_cast<char*>(nullptr));
            _exit(127);
        }
        return child;
    };
    const pid_t other = start(elsewhere.content());
    const pid_t ours = start(cabinet.content());
    GameProcess found;
    for (int i = 0; i < 200 && found.state == GameProcessState::NotRunning; ++i) {
        usleep(10000);
        found = FindGameProcess(cabinet.content());
    }
    EXPECT_EQ(found.state, GameProcessState::Running);
    EXPECT_EQ(found.pid, ours);
    kill(ours, SIGKILL);
    waitpid(ours, nullptr, 0);
    EXPECT_EQ(FindGameProcess(cabinet.content()).state, GameProcessState::NotRunning);
    kill(other, SIGKILL);
    waitpid(other, nullptr, 0);
}

}  // namespace
