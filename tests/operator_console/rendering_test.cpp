// What the pages, the metrics and the payout course say, from known cabinet contents.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "cabinet.h"
#include "cabinet_files.h"
#include "metrics_text.h"
#include "pages.h"
#include "payout_course.h"
#include "site.h"

namespace {

size_t Count(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}

RecordView Record(const TestCabinet& cabinet) {
    return ReadRecordView(cabinet.content());
}

LedgerRow Row(const char* command, int amount) {
    LedgerRow row;
    row.command = command;
    row.amount = amount;
    return row;
}

TEST(Metrics, EveryCounterAndTheFiguresOfASoundFile) {
    TestCabinet cabinet;
    RecordContents contents = PlayedRecord(10, 4, 150, 220);
    contents.counters[180] = 7;
    cabinet.WriteRecord(contents);
    const RecordView record = Record(cabinet);
    MetricsInput input{&*record.report, true, Balances{250, 1300}, true};
    const std::string text = MetricsText(input);

    EXPECT_EQ(Count(text, "\nvantor_meter{index=\""), 181u);
    EXPECT_NE(text.find("vantor_meter{index=\"1\",name=\"games bought at £1\"} 4\n"),
              std::string::npos);
    EXPECT_NE(
        text.find("vantor_meter{index=\"180\",name=\"player's own ball worth 1p to 4p\"} 7\n"),
        std::string::npos);
    EXPECT_NE(text.find("vantor_balance{stake=\"50\"} 120.5\n"), std::string::npos);
    EXPECT_NE(text.find("vantor_balance{stake=\"100\"} -40\n"), std::string::npos);
    EXPECT_NE(text.find("vantor_games_sold_total{stake=\"50\"} 10\n"), std::string::npos);
    EXPECT_NE(text.find("vantor_games_sold_total{stake=\"100\"} 4\n"), std::string::npos);
    EXPECT_NE(text.find("\nvantor_money_taken_pence_total 900\n"), std::string::npos);
    EXPECT_NE(text.find("\nvantor_money_paid_pence_total 370\n"), std::string::npos);
    EXPECT_NE(text.find("\nvantor_credit_pence 250\n"), std::string::npos);
    EXPECT_NE(text.find("\nvantor_bank_pence 1300\n"), std::string::npos);
    EXPECT_NE(text.find("vantor_record_file_ok 1\n"), std::string::npos);
    EXPECT_NE(text.find("\nvantor_game_running 1\n"), std::string::npos);
    // Every sample line is a name, optional labels and a number; every family has HELP and TYPE.
    const std::regex sample(R"(^[a-z_]+(\{[^}]*\})? -?[0-9.e+]+$)");
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("#")) continue;
        EXPECT_TRUE(std::regex_match(line, sample)) << line;
    }
    EXPECT_EQ(Count(text, "# HELP "), Count(text, "# TYPE "));
}

TEST(Metrics, NothingMadeUpWhenTheFilesCannotBeRead) {
    const std::string text = MetricsText(MetricsInput{nullptr, false, std::nullopt, false});
    EXPECT_NE(text.find("vantor_record_file_ok 0\n"), std::string::npos);
    EXPECT_NE(text.find("vantor_ledger_ok 0\n"), std::string::npos);
    EXPECT_EQ(text.find("vantor_meter{"), std::string::npos);
    EXPECT_EQ(text.find("vantor_money_paid_pence_total "), std::string::npos);
    EXPECT_EQ(text.find("vantor_credit_pence "), std::string::npos);
}

TEST(Metrics, LabelValuesEscaped) {
    EXPECT_EQ(LabelValue("a\"b\\c\nd £"), "a\\\"b\\\\c\\nd £");
}

TEST(PayoutCourse, WinsCountWithTheStakeOfTheGameThatWonThem) {
    PayoutCourseBuilder builder(4, 600);
    builder.Add(Row("BADD", 100));  // from before the ledger's first game
    builder.Add(Row("INSERT", 500));
    builder.Add(Row("CUSE", 50));
    builder.Add(Row("CADD", 20));
    builder.Add(Row("CUSE", 100));
    builder.Add(Row("BADD", 300));
    builder.Add(Row("CADD", 10));
    builder.Add(Row("COLLECT", 300));
    builder.Add(Row("CUSE", 50));
    builder.Add(Row("CUSE", 50));
    builder.Add(Row("CADD", 25));
    const PayoutCourse course = builder.Finish();

    EXPECT_EQ(course.totals[kCourse50p].games, 3);
    EXPECT_EQ(course.totals[kCourse50p].takenPence, 150);
    EXPECT_EQ(course.totals[kCourse50p].paidPence, 45);
    EXPECT_EQ(course.totals[kCoursePound].paidPence, 310);
    EXPECT_EQ(course.totals[kCourseAll].games, 4);
    EXPECT_EQ(course.totals[kCourseAll].paidPence, 100 + 45 + 310);
    EXPECT_EQ(course.paidBeforeFirstGame, 100);
    ASSERT_EQ(course.lines[kCourse50p].size(), 3u);
    EXPECT_DOUBLE_EQ(course.lines[kCourse50p][0].percent, 40.0);
    EXPECT_EQ(course.lines[kCourse50p][1].atGame, 3);
    EXPECT_DOUBLE_EQ(course.lines[kCourse50p][2].percent, 30.0);
    ASSERT_EQ(course.lines[kCoursePound].size(), 1u);
    EXPECT_DOUBLE_EQ(course.lines[kCoursePound][0].percent, 310.0);
}

TEST(PayoutCourse, ALongLedgerIsThinnedButEndsOnItsLastGame) {
    PayoutCourseBuilder builder(10000, 100);
    for (int game = 1; game <= 10000; ++game) {
        builder.Add(Row("CUSE", 100));
        if (game == 10000) builder.Add(Row("BADD", 3000));
    }
    const PayoutCourse course = builder.Finish();
    const auto& line = course.lines[kCourseAll];
    EXPECT_LE(line.size(), 102u);
    EXPECT_GE(line.size(), 99u);
    EXPECT_EQ(line.front().games, 1);
    EXPECT_EQ(line.back().games, 10000);
    EXPECT_DOUBLE_EQ(line.back().percent, 0.3);
    const std::string svg = PayoutChartSvg(course, 30);
    EXPECT_EQ(Count(svg, "<polyline"), 2u);  // £1 and all; no 50p games
    EXPECT_NE(svg.find("class=\"target\""), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
}

TEST(Pages, StatusSaysWhetherTheGameRunsAndHowItLastEnded) {
    TestCabinet cabinet;
    cabinet.WriteRecord(PlayedRecord(10, 0, 150, 0));
    StatusView view;
    view.cabinet = "pub-<7>";
    view.record = Record(cabinet);
    view.money.balances = Balances{1234, 500};
    view.log = SummariseGameLog("01/02/2026 09:00:00 - Vantor 1.0.0.1 - Start of Log\n", "", 0);

    std::string page = StatusPage(view);
    EXPECT_NE(page.find("pub-&lt;7&gt;"), std::string::npos);
    EXPECT_EQ(page.find("pub-<7>"), std::string::npos);
    EXPECT_NE(page.find("id=\"game-state\">Not running"), std::string::npos);
    EXPECT_NE(page.find("01/02/2026 09:00:00 (version 1.0.0.1)"), std::string::npos);
    EXPECT_NE(page.find("none recorded"), std::string::npos);
    EXPECT_NE(page.find("id=\"credit\">£12.34<"), std::string::npos);
    EXPECT_NE(page.find("id=\"bank\">£5.00<"), std::string::npos);
    EXPECT_NE(page.find("id=\"payout\">30.0 %<"), std::string::npos);

    view.process = {GameProcessState::Running, 42};
    page = StatusPage(view);
    EXPECT_NE(page.find("id=\"game-state\">Running</span> (process 42)"), std::string::npos);
    EXPECT_NE(page.find("still running"), std::string::npos);

    view.money = {std::nullopt, "no credit ledger at /x.db"};
    view.record = RecordView{"/x/brasswick.rec", std::nullopt, "cannot open: No such file"};
    page = StatusPage(view);
    EXPECT_NE(page.find("no credit ledger at /x.db"), std::string::npos);
    EXPECT_NE(page.find("cannot be read (cannot open: No such file)"), std::string::npos);
}

TEST(Pages, MetersShowEveryCounterInItsGroupAndEveryWarning) {
    TestCabinet cabinet;
    cabinet.WriteRecord(PlayedRecord(10, 5, 200, 100));
    std::string page = MetersPage("c", Record(cabinet));
    EXPECT_EQ(Count(page, "<tr id=\"counter-"), 181u);
    EXPECT_EQ(Count(page, "<h2>Counters: "), 6u);
    EXPECT_LT(page.find("Counters: games sold"), page.find("Counters: question round"));
    EXPECT_NE(page.find("id=\"payout-50\">40.0 %<"), std::string::npos);
    EXPECT_NE(page.find("id=\"payout-100\">20.0 %<"), std::string::npos);
    EXPECT_NE(page.find("id=\"payout-all\">30.0 %<"), std::string::npos);
    EXPECT_NE(page.find("id=\"balance-50\">120.50<"), std::string::npos);
    EXPECT_EQ(page.find("class=\"notice"), std::string::npos);

    // A file cut short: the warning, and the counters it could not hold marked.
    const std::string bytes = FileBytes(cabinet.recordPath()).substr(0, 400);
    std::ofstream(cabinet.recordPath(), std::ios::binary | std::ios::trunc) << bytes;
    page = MetersPage("c", Record(cabinet));
    EXPECT_NE(page.find("notice warning"), std::string::npos);
    EXPECT_NE(page.find("<tr id=\"counter-98\">"), std::string::npos);
    EXPECT_GT(Count(page, "not in the file"), 50u);

    std::remove(cabinet.recordPath().c_str());
    page = MetersPage("c", Record(cabinet));
    EXPECT_NE(page.find("notice error"), std::string::npos);
    EXPECT_EQ(page.find("<tr id=\"counter-"), std::string::npos);
}

TEST(Pages, LogTextIsShownNeverRun) {
    LogView view;
    view.path = "/c/~system/logs/Vantor.txt";
    view.log = SummariseGameLog("01/02/2026 09:00:00 - <script>alert(1)</script> & co\n", "", 10);
    const std::string page = LogPage(view);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt; &amp; co"), std::string::npos);
}

TEST(Pages, LedgerPagesLinkToTheirNeighbours) {
    LedgerPageView view;
    view.money.balances = Balances{};
    view.rowCount = 120;
    view.page = 2;
    view.pageCount = 3;
    view.rows.push_back(LedgerRow{70, "2026-01-01T10:00:00.000Z", "CUSE", 50, {450, 0}});
    const std::string page = LedgerPage(view);
    EXPECT_NE(page.find("href=\"/ledger?page=1\""), std::string::npos);
    EXPECT_NE(page.find("href=\"/ledger?page=3\""), std::string::npos);
    EXPECT_NE(page.find("Page 2 of 3"), std::string::npos);
    EXPECT_NE(page.find("<td>CUSE</td><td class=\"n\">£0.50</td><td class=\"n\">£4.50</td>"),
              std::string::npos);
}

TEST(Pages, CsvFieldsCannotBreakTheirLineOrBecomeFormulas) {
    EXPECT_EQ(LedgerCsvLine(LedgerRow{3, "2026-01-01T10:00:00.000Z", "CUSE", 50, {450, 20}}),
              "3,2026-01-01T10:00:00.000Z,CUSE,50,450,20\r\n");
    EXPECT_EQ(LedgerCsvLine(LedgerRow{4, "a,b", "=1+1", 1, {0, 0}}),
              "4,\"a,b\",\"'=1+1\",1,0,0\r\n");
    EXPECT_EQ(LedgerCsvLine(LedgerRow{5, "say \"hi\"\n", "", 1, {0, 0}}),
              "5,\"say \"\"hi\"\"\n\",\"\",1,0,0\r\n");
}

}  // namespace
