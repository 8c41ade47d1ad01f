#include "pages.h"

#include <cstdio>

#include "engines/control/controller.h"
#include "engines/control/counter_meanings.h"
#include "html.h"

namespace {

const char* const kStakeNames[kStakeCount] = {"50p", "£1"};

std::string Cell(const std::string& html, bool number = false) {
    return std::string(number ? "<td class=\"n\">" : "<td>") + html + "</td>";
}

std::string Figure(const char* id, const char* label, const std::string& valueHtml) {
    return std::string("<div class=\"figure\"><div class=\"label\">") + label +
           "</div><div class=\"value\" id=\"" + id + "\">" + valueHtml + "</div></div>";
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

const double* Percent(const std::optional<double>& percent) {
    return percent ? &*percent : nullptr;
}

// Notices about the record file: it could not be read, or it is damaged or incomplete.
std::string RecordNotices(const RecordView& record) {
    if (!record.report) {
        return Notice("error", "The record file " + record.path + " cannot be read (" +
                                   record.failure +
                                   "). The game writes it after its first game; until then "
                                   "there are no meters to show.");
    }
    std::string html;
    for (const std::string& warning : record.report->warnings)
        html += Notice("warning", "Record file: " + warning + ".");
    return html;
}

std::string MoneySection(const MoneyView& money) {
    if (!money.balances) {
        return "<section><h2>Credit and bank</h2>" +
               Notice("error", "The credit ledger cannot be read: " + money.failure) + "</section>";
    }
    return "<section><h2>Credit and bank</h2><div class=\"figures\">" +
           Figure("credit", "Credit", PoundsHtml(money.balances->credit)) +
           Figure("bank", "Bank", PoundsHtml(money.balances->bank)) +
           "</div><p class=\"muted\">From the credit ledger. Collect a bank before it nears "
           "£99.99: a win that would take it past is refused.</p></section>";
}

std::string GameSection(const StatusView& view) {
    std::string state;
    switch (view.process.state) {
        case GameProcessState::Running:
            state = "<span class=\"ok\" id=\"game-state\">Running</span> (process " +
                    std::to_string(view.process.pid) + ")";
            break;
        case GameProcessState::RunningUnconfirmed:
            state = "<span class=\"ok\" id=\"game-state\">Running</span> (process " +
                    std::to_string(view.process.pid) +
                    "; the console may not see its directory, so it cannot check that it is "
                    "this cabinet's game)";
            break;
        case GameProcessState::NotRunning:
            state = "<span class=\"bad\" id=\"game-state\">Not running</span>";
            break;
    }
    std::string rows = "<tr><th>Game</th><td>" + state + "</td></tr>";
    if (!view.log) {
        rows += "<tr><th>Log</th><td>" + HtmlEscape("cannot be read: " + view.logFailure) +
                "</td></tr>";
    } else {
        const GameLogSummary& log = *view.log;
        rows +=
            "<tr><th>Last start</th><td id=\"last-start\">" +
            (log.startedAt.empty() ? std::string("not in the log")
                                   : HtmlEscape(log.startedAt + " (version " + log.version + ")")) +
            "</td></tr>";
        std::string end;
        if (log.exitStatus >= 0) {
            end = HtmlEscape(log.endedAt + ": " + DescribeEnd(log));
        } else if (view.process.state != GameProcessState::NotRunning) {
            end = "none yet: the game is still running";
        } else {
            end =
                "<span class=\"bad\">none recorded</span>: the last run stopped without closing "
                "its log (killed, crashed or power lost), or ended before it could write "
                "(exit status 1 or 2: no socket, or no credit service)";
        }
        rows += "<tr><th>Last end</th><td id=\"last-end\">" + end + "</td></tr>";
    }
    if (view.failedLogKept) {
        rows +=
            "<tr><th>Failed run</th><td>The log of the last run that failed is kept: "
            "<a href=\"/log#failed\">see the log page</a></td></tr>";
    }
    return "<section><h2>Game</h2><div class=\"scroll\"><table>" + rows +
           "</table></div></section>";
}

std::string TakingsSection(const RecordView& record) {
    if (!record.report || !record.report->reading.loadable) return "";
    const MeterFigures& figures = record.report->figures;
    return "<section><h2>Takings (record file)</h2><div class=\"figures\">" +
           Figure("games-sold", "Games sold", std::to_string(figures.overall.gamesSold)) +
           Figure("money-taken", "Money taken", PoundsHtml(figures.overall.takenPence)) +
           Figure("money-paid", "Money paid", PoundsHtml(figures.overall.paidPence)) +
           Figure("payout", "Payout (target 30 %)",
                  PercentHtml(Percent(figures.overall.payoutPercent))) +
           "</div><p><a href=\"/meters\">All 181 meters</a></p></section>";
}

std::string BalancesSection(const MeterFigures& figures) {
    std::string rows;
    for (int stake = 0; stake < kStakeCount; ++stake) {
        const BalanceFigure& balance = figures.balances[stake];
        rows += "<tr>" + Cell(kStakeNames[stake]) + "<td class=\"n\" id=\"balance-" +
                std::to_string(kStakePence[stake]) + "\">" + Fixed(balance.pence, 2) + "</td>" +
                Cell(std::to_string(balance.band), true) + "</tr>";
    }
    return "<section><h2>Payout controller</h2><div class=\"scroll\"><table><tr><th>Stake</th>"
           "<th class=\"n\">Balance (pence)</th><th class=\"n\">Band</th></tr>" +
           rows +
           "</table></div><p class=\"muted\">A balance above 0 means the stake has paid out "
           "more than its target so far.</p></section>";
}

std::string PayoutRow(const char* name, const char* id, const PayoutFigures& figures) {
    std::string against = "n/a";
    if (figures.payoutPercent) {
        const double points = *figures.payoutPercent - kTargetPayoutPercent;
        against = (points >= 0 ? "+" : "") + Fixed(points, 1) + " points";
    }
    return std::string("<tr>") + Cell(name) + Cell(std::to_string(figures.gamesSold), true) +
           Cell(PoundsHtml(figures.takenPence), true) + "<td class=\"n\" id=\"paid-" + id + "\">" +
           PoundsHtml(figures.paidPence) + "</td>" + "<td class=\"n\" id=\"payout-" + id + "\">" +
           PercentHtml(Percent(figures.payoutPercent)) + "</td>" + Cell(against, true) + "</tr>";
}

std::string PayoutSection(const MeterFigures& figures) {
    std::string html =
        "<section><h2>Payout per stake (target " + std::to_string(kTargetPayoutPercent) +
        " %)</h2><div class=\"scroll\"><table><tr><th>Stake</th><th class=\"n\">Games sold</th>"
        "<th class=\"n\">Money taken</th><th class=\"n\">Money paid</th><th class=\"n\">"
        "Payout</th><th class=\"n\">Against target</th></tr>";
    html += PayoutRow("50p", "50", figures.stakes[0]);
    html += PayoutRow("£1", "100", figures.stakes[1]);
    html += PayoutRow("All", "all", figures.overall);
    html += "</table></div><p>Average game length: ";
    html += figures.averageGameSeconds ? Fixed(*figures.averageGameSeconds, 1) + " s (" +
                                             std::to_string(figures.playingSeconds) + " s over " +
                                             std::to_string(figures.overall.gamesSold) + " games)"
                                       : std::string("n/a (no games sold)");
    return html + "</p></section>";
}

std::string CounterSections(const MeterReport& report) {
    std::string html;
    const CounterGroup groups[] = {CounterGroup::Sales,    CounterGroup::Questions,
                                   CounterGroup::BallGame, CounterGroup::Wins,
                                   CounterGroup::Offers,   CounterGroup::Time};
    for (const CounterGroup group : groups) {
        html += std::string("<section><h2>Counters: ") + CounterGroupName(group) +
                "</h2><div class=\"scroll\"><table><tr><th class=\"n\">#</th><th class=\"n\">"
                "Value</th><th>Meaning</th></tr>";
        for (const CounterRange& range : CounterRanges()) {
            if (range.group != group) continue;
            for (int index = range.first; index <= range.last; ++index) {
                const bool inFile =
                    static_cast<size_t>(kStakeCount + index) < report.reading.valuesHeld;
                std::string meaning = HtmlEscape(CounterMeaning(index));
                if (range.unit != CounterUnit::Count)
                    meaning += std::string(" (") + UnitName(range.unit) + ")";
                if (!inFile) meaning += " <span class=\"bad\">not in the file: zero</span>";
                html += "<tr id=\"counter-" + std::to_string(index) + "\">" +
                        Cell(std::to_string(index), true) +
                        Cell(std::to_string(report.reading.contents.counters[index]), true) +
                        Cell(meaning) + "</tr>";
            }
        }
        html += "</table></div></section>";
    }
    return html;
}

std::string Pager(const LedgerPageView& view) {
    const auto link = [](long long page, const char* text) {
        return "<a href=\"/ledger?page=" + std::to_string(page) + "\">" + text + "</a>";
    };
    std::string html = "<div class=\"pager\">";
    if (view.page > 1) html += link(1, "Newest") + link(view.page - 1, "Newer");
    html += "<span id=\"ledger-page\">Page " + std::to_string(view.page) + " of " +
            std::to_string(view.pageCount) + "</span>";
    if (view.page < view.pageCount) {
        html += link(view.page + 1, "Older") + link(view.pageCount, "Oldest");
    }
    return html + "<a href=\"/ledger.csv\" download>Download CSV</a></div>";
}

std::string CourseTable(const PayoutCourse& course) {
    static constexpr const char* kNames[kCourseLineCount] = {"50p", "£1", "All"};
    static constexpr const char* kIds[kCourseLineCount] = {"50", "100", "all"};
    std::string html =
        "<div class=\"scroll\"><table><tr><th>Stake</th><th class=\"n\">Games</th>"
        "<th class=\"n\">Staked</th><th class=\"n\">Paid</th><th class=\"n\">Payout</th></tr>";
    for (int line = 0; line < kCourseLineCount; ++line) {
        const CourseTotals& totals = course.totals[line];
        const double percent = totals.takenPence > 0
                                   ? static_cast<double>(totals.paidPence) * 100.0 /
                                         static_cast<double>(totals.takenPence)
                                   : 0.0;
        html += std::string("<tr>") + Cell(kNames[line]) +
                Cell(std::to_string(totals.games), true) +
                Cell(PoundsHtml(totals.takenPence), true) + "<td class=\"n\" id=\"course-paid-" +
                kIds[line] + "\">" + PoundsHtml(totals.paidPence) + "</td>" +
                Cell(PercentHtml(totals.takenPence > 0 ? &percent : nullptr), true) + "</tr>";
    }
    return html + "</table></div>";
}

std::string LogLines(const std::vector<std::string>& lines, const char* id) {
    std::string text;
    for (const std::string& line : lines)
        text += HtmlEscape(line) + "\n";
    return std::string("<pre id=\"") + id + "\">" + text + "</pre>";
}

}  // namespace

std::string StatusPage(const StatusView& view) {
    std::string body = RecordNotices(view.record);
    body += GameSection(view);
    body += MoneySection(view.money);
    body += TakingsSection(view.record);
    body += "<p class=\"muted\">Read at " + HtmlEscape(view.now) +
            " (this page reloads every 30 s).</p>";
    return HtmlPage(view.cabinet, "Status", PageId::Status, body, 30);
}

std::string MetersPage(const std::string& cabinet, const RecordView& record) {
    std::string body = RecordNotices(record);
    if (record.report && record.report->reading.loadable) {
        const MeterReport& report = *record.report;
        const std::string& date = report.reading.contents.firstWritten;
        body += "<p class=\"muted\">" +
                HtmlEscape(record.path + ", " + std::to_string(report.reading.fileSize) +
                           " bytes, first written " +
                           (date.empty() ? "(no date)" : date + " (month/day/year)")) +
                "</p>";
        body += PayoutSection(report.figures);
        body += BalancesSection(report.figures);
        body += CounterSections(report);
    }
    return HtmlPage(cabinet, "Meters", PageId::Meters, body, 60);
}

std::string LedgerPage(const LedgerPageView& view) {
    std::string body = MoneySection(view.money);
    if (view.money.balances) {
        body += "<section><h2>Changes, newest first</h2><p>" + std::to_string(view.rowCount) +
                (view.rowCount == 1 ? " change" : " changes") +
                " to credit and bank. Times are UTC.</p>" + Pager(view) +
                "<div class=\"scroll\"><table id=\"ledger\"><tr><th class=\"n\">#</th>"
                "<th>Time (UTC)</th><th>Command</th><th class=\"n\">Amount</th>"
                "<th class=\"n\">Credit after</th><th class=\"n\">Bank after</th></tr>";
        for (const LedgerRow& row : view.rows) {
            body += "<tr>" + Cell(std::to_string(row.id), true) + Cell(HtmlEscape(row.time)) +
                    Cell(HtmlEscape(row.command)) + Cell(PoundsHtml(row.amount), true) +
                    Cell(PoundsHtml(row.after.credit), true) +
                    Cell(PoundsHtml(row.after.bank), true) + "</tr>";
        }
        body += "</table></div>" + Pager(view) + "</section>";
    }
    return HtmlPage(view.cabinet, "Ledger", PageId::Ledger, body, 0);
}

std::string PayoutPage(const PayoutView& view) {
    std::string body;
    body += "<section><h2>Payout over the cabinet's life (credit ledger)</h2>";
    if (!view.course) {
        body += Notice("error", "The credit ledger cannot be read: " + view.ledgerFailure);
    } else if (view.course->totals[kCourseAll].games == 0) {
        body += Notice("warning", "The ledger holds no games yet.");
    } else {
        body += PayoutChartSvg(*view.course, kTargetPayoutPercent);
        body += CourseTable(*view.course);
        body +=
            "<p class=\"muted\">After each game: the winnings paid so far as a share of "
            "the stakes taken so far. Winnings count with the stake of the game that won "
            "them.</p>";
    }
    body += "</section>";
    body += RecordNotices(view.record);
    if (view.record.report && view.record.report->reading.loadable)
        body += PayoutSection(view.record.report->figures);
    return HtmlPage(view.cabinet, "Payout", PageId::Payout, body, 60);
}

std::string LogPage(const LogView& view) {
    std::string body = "<p class=\"muted\">" + HtmlEscape(view.path) + "</p>";
    if (!view.log) {
        body += Notice("error", "The game's log cannot be read (" + view.failure +
                                    "). The game writes it afresh at each start.");
    } else {
        const GameLogSummary& log = *view.log;
        body += "<section><h2>Last " + std::to_string(log.lastLines.size()) + " lines</h2>" +
                LogLines(log.lastLines, "log-lines") + "</section>";
    }
    if (view.failedLog) {
        body += "<section id=\"failed\"><h2>Log of the last run that failed (last " +
                std::to_string(view.failedLog->lastLines.size()) + " lines)</h2>" +
                LogLines(view.failedLog->lastLines, "failed-log-lines") + "</section>";
    }
    return HtmlPage(view.cabinet, "Log", PageId::Log, body, 30);
}

std::string ErrorPage(const std::string& cabinet, int status, const std::string& message) {
    return HtmlPage(cabinet, "Error " + std::to_string(status), PageId::Status,
                    Notice("error", message), 0);
}

std::string LedgerCsvHeader() {
    return "id,time_utc,command,amount_pence,credit_after_pence,bank_after_pence\r\n";
}

std::string LedgerCsvLine(const LedgerRow& row) {
    // The service writes only its own command names and times, but a field is quoted whenever
    // it holds anything a spreadsheet could misread.
    const auto field = [](const std::string& text) {
        bool plain = !text.empty() && text.front() != '=' && text.front() != '+' &&
                     text.front() != '-' && text.front() != '@';
        for (const char c : text)
            plain = plain && c != ',' && c != '"' && c != '\n' && c != '\r';
        if (plain) return text;
        std::string quoted = "\"";
        if (!text.empty() && (text.front() == '=' || text.front() == '+' || text.front() == '-' ||
                              text.front() == '@')) {
            quoted += '\'';
        }
        for (const char c : text) {
            if (c == '"') quoted += '"';
            quoted += c;
        }
        return quoted + "\"";
    };
    return std::to_string(row.id) + "," + field(row.time) + "," + field(row.command) + "," +
           std::to_string(row.amount) + "," + std::to_string(row.after.credit) + "," +
           std::to_string(row.after.bank) + "\r\n";
}
