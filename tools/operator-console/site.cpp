#include "site.h"

#include <ctime>

#include "metrics_text.h"
#include "pages.h"

namespace {

constexpr size_t kChartPoints = 600;
constexpr long long kHighestPage = 1000000000;

MoneyView ReadMoney(LedgerView* ledger, const std::string& openError) {
    MoneyView money;
    if (!ledger) {
        money.failure = openError;
        return money;
    }
    money.balances = ledger->Read();
    if (!money.balances) money.failure = ledger->last_error();
    return money;
}

std::optional<GameLogSummary> ReadLog(const std::string& path, size_t lines, std::string& failure) {
    const GameLogFile file = ReadGameLog(path);
    if (!file.failure.empty()) {
        failure = file.failure;
        return std::nullopt;
    }
    return SummariseGameLog(file.head, file.tail, lines);
}

std::string LocalTimeNow() {
    const time_t now = time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    char text[64];
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %Z", &local);
    return text;
}

// "3" as a page number from 1 up; nothing for anything else.
std::optional<long long> ParsePage(const std::string& text) {
    if (text.empty()) return 1;
    if (text.size() > 10) return std::nullopt;
    long long page = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        page = page * 10 + (c - '0');
    }
    if (page < 1 || page > kHighestPage) return std::nullopt;
    return page;
}

}  // namespace

RecordView ReadRecordView(const std::string& contentDir) {
    RecordView view;
    view.path = RecordFilePath(contentDir);
    const RecordReading reading = ReadRecordSteadily(view.path);
    if (reading.failure.empty()) {
        view.report = ReportRecord(view.path, reading);
    } else {
        view.failure = reading.failure;
    }
    return view;
}

ConsoleSite::ConsoleSite(CabinetPaths paths, std::string cabinetName)
    : paths_(std::move(paths)), cabinet_(std::move(cabinetName)) {}

std::unique_ptr<LedgerView> ConsoleSite::OpenLedger(std::string& error) const {
    return LedgerView::Open(paths_.ledgerPath, error);
}

SiteResponse ConsoleSite::Status() const {
    StatusView view;
    view.cabinet = cabinet_;
    view.now = LocalTimeNow();
    view.process = FindGameProcess(paths_.contentDir);
    view.log = ReadLog(GameLogPath(paths_.contentDir), 0, view.logFailure);
    view.failedLogKept = ReadGameLog(FailedGameLogPath(paths_.contentDir)).failure.empty();
    std::string error;
    const std::unique_ptr<LedgerView> ledger = OpenLedger(error);
    view.money = ReadMoney(ledger.get(), error);
    view.record = ReadRecordView(paths_.contentDir);
    return {200, "text/html; charset=utf-8", StatusPage(view)};
}

SiteResponse ConsoleSite::Meters() const {
    return {200, "text/html; charset=utf-8",
            MetersPage(cabinet_, ReadRecordView(paths_.contentDir))};
}

SiteResponse ConsoleSite::Ledger(const std::string& pageText) const {
    const std::optional<long long> page = ParsePage(pageText);
    if (!page) return Error(400, "The page number must be a whole number from 1 up.");
    LedgerPageView view;
    view.cabinet = cabinet_;
    std::string error;
    const std::unique_ptr<LedgerView> ledger = OpenLedger(error);
    view.money = ReadMoney(ledger.get(), error);
    if (view.money.balances) {
        const std::optional<long long> count = ledger->RowCount();
        const auto rows =
            count ? ledger->NewestRows((*page - 1) * kLedgerRowsPerPage, kLedgerRowsPerPage)
                  : std::nullopt;
        if (!rows) {
            view.money = {std::nullopt, ledger->last_error()};
        } else {
            view.rowCount = *count;
            view.pageCount = std::max(1LL, (*count + kLedgerRowsPerPage - 1) / kLedgerRowsPerPage);
            if (*page > view.pageCount) {
                return Error(404, "The ledger has only " + std::to_string(view.pageCount) +
                                      (view.pageCount == 1 ? " page." : " pages."));
            }
            view.page = *page;
            view.rows = std::move(*rows);
        }
    }
    return {200, "text/html; charset=utf-8", LedgerPage(view)};
}

SiteResponse ConsoleSite::Payout() const {
    PayoutView view;
    view.cabinet = cabinet_;
    std::string error;
    const std::unique_ptr<LedgerView> ledger = OpenLedger(error);
    if (ledger) {
        const std::optional<long long> games = ledger->CommandCount("CUSE");
        PayoutCourseBuilder builder(games.value_or(0), kChartPoints);
        if (games && ledger->ForEachRow([&builder](const LedgerRow& row) { builder.Add(row); })) {
            view.course = builder.Finish();
        } else {
            view.ledgerFailure = ledger->last_error();
        }
    } else {
        view.ledgerFailure = error;
    }
    view.record = ReadRecordView(paths_.contentDir);
    return {200, "text/html; charset=utf-8", PayoutPage(view)};
}

SiteResponse ConsoleSite::Log() const {
    LogView view;
    view.cabinet = cabinet_;
    view.path = GameLogPath(paths_.contentDir);
    view.log = ReadLog(view.path, kLogLinesShown, view.failure);
    std::string failedFailure;
    view.failedLog =
        ReadLog(FailedGameLogPath(paths_.contentDir), kFailedLogLinesShown, failedFailure);
    return {200, "text/html; charset=utf-8", LogPage(view)};
}

SiteResponse ConsoleSite::Metrics() const {
    const RecordView record = ReadRecordView(paths_.contentDir);
    MetricsInput input;
    const bool loaded = record.report && record.report->reading.loadable;
    input.record = loaded ? &*record.report : nullptr;
    input.recordOk = loaded && record.report->warnings.empty();
    std::string error;
    const std::unique_ptr<LedgerView> ledger = OpenLedger(error);
    if (ledger) input.money = ledger->Read();
    input.gameRunning = FindGameProcess(paths_.contentDir).state != GameProcessState::NotRunning;
    return {200, "text/plain; version=0.0.4; charset=utf-8", MetricsText(input)};
}

SiteResponse ConsoleSite::Error(int status, const std::string& message) const {
    return {status, "text/html; charset=utf-8", ErrorPage(cabinet_, status, message)};
}
