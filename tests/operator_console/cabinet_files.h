// A cabinet on disk for the console's tests: a content directory with a record file and a log,
// and a credit ledger written by the credit service's own code, in a fresh scratch directory.
#pragma once

#include <string>

#include "engines/control/record_file.h"
#include "ledger.h"

class TestCabinet {
  public:
    TestCabinet();
    ~TestCabinet();
    TestCabinet(const TestCabinet&) = delete;
    TestCabinet& operator=(const TestCabinet&) = delete;

    const std::string& root() const { return root_; }
    std::string content() const { return root_ + "/content"; }
    std::string ledgerPath() const { return root_ + "/credit.db"; }
    std::string recordPath() const { return content() + "/data/brasswick.rec"; }
    std::string logPath() const { return content() + "/~system/logs/Vantor.txt"; }

    // Writes the record file (replacing it in one rename, as the game does).
    void WriteRecord(const RecordContents& contents) const;
    void WriteLog(const std::string& text) const;
    // Applies one change to the ledger through the credit service's Ledger.
    void Book(Operation operation, int amount) const;

  private:
    std::string root_;
};

// A record file's contents after some play: `games50` and `gamesPound` sold, `paid` pence paid.
RecordContents PlayedRecord(int games50, int gamesPound, int paid50, int paidPound);

// Every byte of a file ("" when it cannot be read).
std::string FileBytes(const std::string& path);
