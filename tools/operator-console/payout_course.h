// The payout over the cabinet's life, from its credit ledger: after each game, the money paid out
// so far as a share of the money staked so far, per stake and overall. A game is a CUSE row (the
// stake taken); the BADD and CADD rows after it are its winnings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ledger.h"

// The lines of the course: 50p games, £1 games and all games.
enum CourseLine { kCourse50p, kCoursePound, kCourseAll, kCourseLineCount };

struct CoursePoint {
    int64_t games = 0;   // games of this line played so far
    int64_t atGame = 0;  // games of all stakes played by then
    double percent = 0.0;
};

struct CourseTotals {
    int64_t games = 0;
    int64_t takenPence = 0;
    int64_t paidPence = 0;
};

struct PayoutCourse {
    std::vector<CoursePoint> lines[kCourseLineCount];
    CourseTotals totals[kCourseLineCount];
    // Winnings booked before the ledger's first stake (a ledger begun mid-game): in the overall
    // figures only.
    int64_t paidBeforeFirstGame = 0;
};

// Builds the course row by row. `expectedGames` (the ledger's CUSE rows) sets how finely the
// course is kept: at most about `maxPoints` points a line, the last game's always among them.
class PayoutCourseBuilder {
  public:
    PayoutCourseBuilder(int64_t expectedGames, size_t maxPoints);
    void Add(const LedgerRow& row);
    PayoutCourse Finish();

  private:
    void CloseGame();

    PayoutCourse course_;
    int64_t stride_;
    int current_ = -1;  // the line of the game being played, -1 before the first
    bool gameOpen_ = false;
};

// The course as an SVG chart drawn for a page: payout against games played, the 30 % target as a
// dashed line. Empty lines are left out.
std::string PayoutChartSvg(const PayoutCourse& course, int targetPercent);
