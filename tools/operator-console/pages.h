// The console's pages, rendered from what was read off the cabinet. Pure functions of their
// views, so every figure on a page can be checked without a server.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "account.h"
#include "cabinet.h"
#include "game_log.h"
#include "ledger.h"
#include "meter_report.h"
#include "payout_course.h"

// The record file as read: its report, or why there is none.
struct RecordView {
    std::string path;
    std::optional<MeterReport> report;  // a file that could be read (it may still be damaged)
    std::string failure;                // why it could not be read
};

// The ledger's balances, or why they could not be read.
struct MoneyView {
    std::optional<Balances> balances;
    std::string failure;
};

struct StatusView {
    std::string cabinet;  // the machine's name
    std::string now;      // the console's clock, local time
    GameProcess process;
    std::optional<GameLogSummary> log;
    std::string logFailure;
    bool failedLogKept = false;
    MoneyView money;
    RecordView record;
};

struct LedgerPageView {
    std::string cabinet;
    MoneyView money;
    long long rowCount = 0;
    long long page = 1;  // 1 is the newest
    long long pageCount = 1;
    std::vector<LedgerRow> rows;  // newest first
};

struct PayoutView {
    std::string cabinet;
    std::optional<PayoutCourse> course;
    std::string ledgerFailure;
    RecordView record;
};

struct LogView {
    std::string cabinet;
    std::string path;
    std::optional<GameLogSummary> log;
    std::string failure;
    std::optional<GameLogSummary> failedLog;  // the kept log of the last failed run
};

inline constexpr int kLedgerRowsPerPage = 50;
inline constexpr size_t kLogLinesShown = 200;
inline constexpr size_t kFailedLogLinesShown = 40;

std::string StatusPage(const StatusView& view);
std::string MetersPage(const std::string& cabinet, const RecordView& record);
std::string LedgerPage(const LedgerPageView& view);
std::string PayoutPage(const PayoutView& view);
std::string LogPage(const LogView& view);
// A page for a request that cannot be answered (bad page number and the like).
std::string ErrorPage(const std::string& cabinet, int status, const std::string& message);

// The ledger as CSV: the header line, then one line per row.
std::string LedgerCsvHeader();
std::string LedgerCsvLine(const LedgerRow& row);
