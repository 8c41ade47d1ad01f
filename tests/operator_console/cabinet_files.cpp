#include "cabinet_files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engines/control/controller.h"

TestCabinet::TestCabinet() {
    char pattern[] = "/tmp/vantor-console-test.XXXXXX";
    const char* made = mkdtemp(pattern);
    root_ = made ? made : "";
    std::filesystem::create_directories(content() + "/data");
    std::filesystem::create_directories(content() + "/~system/logs");
}

TestCabinet::~TestCabinet() {
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
}

void TestCabinet::WriteRecord(const RecordContents& contents) const {
    const std::vector<uint8_t> bytes = EncodeRecord(contents);
    const std::string temporary = recordPath() + ".new";
    std::ofstream(temporary, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::filesystem::rename(temporary, recordPath());
}

void TestCabinet::WriteLog(const std::string& text) const {
    std::ofstream(logPath(), std::ios::binary) << text;
}

void TestCabinet::Book(Operation operation, int amount) const {
    std::string error;
    const std::unique_ptr<Ledger> ledger =
        Ledger::Open(ledgerPath(), Ledger::Access::CreateIfMissing, error);
    ASSERT_TRUE(ledger) << error;
    const ChangeResult result =
        operation == Operation::Collect ? ledger->Collect() : ledger->Apply(operation, amount);
    ASSERT_EQ(result.outcome, ChangeOutcome::Applied);
}

RecordContents PlayedRecord(int games50, int gamesPound, int paid50, int paidPound) {
    RecordContents contents;
    contents.balances[0] = 120.5f;
    contents.balances[1] = -40.0f;
    contents.counters[counter::kGames50p] = games50;
    contents.counters[counter::kGamesPound] = gamesPound;
    contents.counters[counter::kWon50p] = paid50;
    contents.counters[counter::kWonPound] = paidPound;
    contents.counters[counter::kWonTotal] = paid50 + paidPound;
    contents.counters[counter::kPlayingSeconds] = 95 * (games50 + gamesPound);
    contents.firstWritten = "03/14/26";
    return contents;
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}
