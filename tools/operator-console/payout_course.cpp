#include "payout_course.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kLineNames[kCourseLineCount] = {"50p games", "£1 games", "all games"};
constexpr const char* kLineColours[kCourseLineCount] = {"#1f77b4", "#d62728", "#222222"};

double Percent(const CourseTotals& totals) {
    return totals.takenPence > 0 ? static_cast<double>(totals.paidPence) * 100.0 /
                                       static_cast<double>(totals.takenPence)
                                 : 0.0;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// The highest percent the chart shows: the target with room above it, or the course's own
// highest figure, but never so high that a lucky first game flattens everything else.
double ChartTop(const PayoutCourse& course, int targetPercent) {
    double highest = targetPercent * 2.0;
    for (const auto& line : course.lines) {
        for (const CoursePoint& point : line)
            highest = std::max(highest, point.percent);
    }
    const double top = std::min(highest, targetPercent * 5.0);
    return std::ceil(top / 10.0) * 10.0;
}

}  // namespace

PayoutCourseBuilder::PayoutCourseBuilder(int64_t expectedGames, size_t maxPoints)
    : stride_(std::max<int64_t>(1, (expectedGames + static_cast<int64_t>(maxPoints) - 1) /
                                       std::max<int64_t>(1, static_cast<int64_t>(maxPoints)))) {}

void PayoutCourseBuilder::CloseGame() {
    if (!gameOpen_) return;
    gameOpen_ = false;
    for (const int line : {current_, static_cast<int>(kCourseAll)}) {
        if (line < 0) continue;
        const CourseTotals& totals = course_.totals[line];
        auto& points = course_.lines[line];
        const CoursePoint point{totals.games, course_.totals[kCourseAll].games, Percent(totals)};
        // Every stride-th game is kept; the latest always stands in for the one before it.
        if (!points.empty() && (points.back().games - 1) % stride_ != 0) {
            points.back() = point;
        } else {
            points.push_back(point);
        }
    }
}

void PayoutCourseBuilder::Add(const LedgerRow& row) {
    if (row.command == "CUSE") {
        CloseGame();
        current_ = row.amount == 50 ? kCourse50p : row.amount == 100 ? kCoursePound : -1;
        for (const int line : {current_, static_cast<int>(kCourseAll)}) {
            if (line < 0) continue;
            course_.totals[line].games += 1;
            course_.totals[line].takenPence += row.amount;
        }
        gameOpen_ = true;
    } else if (row.command == "BADD" || row.command == "CADD") {
        if (course_.totals[kCourseAll].games == 0) {
            course_.paidBeforeFirstGame += row.amount;
            course_.totals[kCourseAll].paidPence += row.amount;
            return;
        }
        if (current_ >= 0) course_.totals[current_].paidPence += row.amount;
        course_.totals[kCourseAll].paidPence += row.amount;
    }
}

PayoutCourse PayoutCourseBuilder::Finish() {
    CloseGame();
    return course_;
}

std::string PayoutChartSvg(const PayoutCourse& course, int targetPercent) {
    constexpr double kWidth = 720, kHeight = 360;
    constexpr double kLeft = 48, kRight = 12, kTop = 30, kBottom = 40;
    const double plotWidth = kWidth - kLeft - kRight;
    const double plotHeight = kHeight - kTop - kBottom;
    const double top = ChartTop(course, targetPercent);
    const int64_t games = std::max<int64_t>(1, course.totals[kCourseAll].games);
    const auto x = [&](double game) { return kLeft + plotWidth * game / games; };
    const auto y = [&](double percent) {
        return kTop + plotHeight * (1.0 - std::clamp(percent, 0.0, top) / top);
    };

    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 720 360\" role=\"img\" "
        "aria-labelledby=\"chart-title\" class=\"chart\"><title id=\"chart-title\">Payout "
        "against games played</title>";
    // Grid and the percent scale.
    for (double percent = 0; percent <= top + 0.01; percent += top > 100 ? 50 : 10) {
        svg += "<line x1=\"" + Number(kLeft) + "\" x2=\"" + Number(kWidth - kRight) + "\" y1=\"" +
               Number(y(percent)) + "\" y2=\"" + Number(y(percent)) +
               "\" stroke=\"#ddd\"/><text x=\"" + Number(kLeft - 6) + "\" y=\"" +
               Number(y(percent) + 4) + "\" text-anchor=\"end\" font-size=\"11\">" +
               std::to_string(static_cast<int>(percent)) + " %</text>";
    }
    // The games scale: the first, the middle and the last game.
    for (const int64_t game : {int64_t{0}, games / 2, games}) {
        svg += "<text x=\"" + Number(x(static_cast<double>(game))) + "\" y=\"" +
               Number(kHeight - kBottom + 16) + "\" text-anchor=\"middle\" font-size=\"11\">" +
               std::to_string(game) + "</text>";
    }
    svg += "<text x=\"" + Number(kLeft + plotWidth / 2) + "\" y=\"" + Number(kHeight - 6) +
           "\" text-anchor=\"middle\" font-size=\"12\">games played</text>";
    svg += "<line class=\"target\" x1=\"" + Number(kLeft) + "\" x2=\"" + Number(kWidth - kRight) +
           "\" y1=\"" + Number(y(targetPercent)) + "\" y2=\"" + Number(y(targetPercent)) +
           "\" stroke=\"#2ca02c\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"/>";
    svg += "<text x=\"" + Number(kWidth - kRight - 4) + "\" y=\"" + Number(y(targetPercent) - 4) +
           "\" text-anchor=\"end\" font-size=\"11\" fill=\"#2ca02c\">target " +
           std::to_string(targetPercent) + " %</text>";
    // Every line is drawn against the games of all stakes, so that the three share one time.
    for (int line = 0; line < kCourseLineCount; ++line) {
        const auto& points = course.lines[line];
        if (points.empty()) continue;
        svg += std::string("<polyline class=\"course\" data-line=\"") + kLineNames[line] +
               "\" fill=\"none\" stroke=\"" + kLineColours[line] + "\" stroke-width=\"" +
               (line == kCourseAll ? "2.5" : "1.5") + "\" points=\"";
        for (const CoursePoint& point : points) {
            svg +=
                Number(x(static_cast<double>(point.atGame))) + "," + Number(y(point.percent)) + " ";
        }
        svg += "\"/>";
    }
    // The legend.
    double legendX = kLeft + 8;
    for (int line = 0; line < kCourseLineCount; ++line) {
        if (course.lines[line].empty()) continue;
        svg += "<rect x=\"" + Number(legendX) + "\" y=\"" + Number(kTop - 20) +
               "\" width=\"14\" height=\"4\" fill=\"" + kLineColours[line] + "\"/><text x=\"" +
               Number(legendX + 18) + "\" y=\"" + Number(kTop - 14) + "\" font-size=\"11\">" +
               kLineNames[line] + " " + Number(Percent(course.totals[line])) + " %</text>";
        legendX += 130;
    }
    return svg + "</svg>";
}
