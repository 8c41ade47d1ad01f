// The five menu tables and the hit rule: every box on the screen, no box hidden under another
// except the two square ball boxes the board overlaps on purpose.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "screens/touch_menu.h"

namespace {

struct NamedTable {
    const char* menu;
    const MenuButton* buttons;
    int count;
};

const std::vector<NamedTable>& Tables() {
    static const std::vector<NamedTable> tables{
        {"attract", attractMenuButtons, 3}, {"stake", stakeMenuButtons, 2},
        {"answer", answerMenuButtons, 3},   {"take or leave", takeOrLeaveMenuButtons, 2},
        {"ball", ballMenuButtons, 22},
    };
    return tables;
}

bool Overlap(const MenuButton& a, const MenuButton& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

// The index a touch would select in a table: the last button hit, or -1.
int Hit(const MenuButton* buttons, int tx, int ty) {
    int hit = -1;
    for (int i = 0; buttons[i].name; ++i)
        if (ButtonHit(buttons[i], tx, ty)) hit = i;
    return hit;
}

}  // namespace

TEST(MenuTables, EveryButtonLiesOnTheScreenWithALabel) {
    for (const NamedTable& table : Tables()) {
        SCOPED_TRACE(table.menu);
        ASSERT_EQ(CountMenuButtons(table.buttons), table.count);
        for (int i = 0; i < table.count; ++i) {
            const MenuButton& b = table.buttons[i];
            SCOPED_TRACE(b.name);
            EXPECT_EQ(b.name[0], ' ') << "labels start with a blank";
            EXPECT_GT(b.width, 0);
            EXPECT_GT(b.height, 0);
            EXPECT_GE(b.x, 0);
            EXPECT_GE(b.y, 0);
            EXPECT_LE(b.x + b.width, 800);
            EXPECT_LE(b.y + b.height, 600);
        }
    }
}

TEST(MenuTables, OnlyTheTwoSquareBallsOverlap) {
    std::vector<std::pair<std::string, std::string>> overlaps;
    for (const NamedTable& table : Tables())
        for (int i = 0; i < table.count; ++i)
            for (int j = i + 1; j < table.count; ++j)
                if (Overlap(table.buttons[i], table.buttons[j]))
                    overlaps.emplace_back(table.buttons[i].name, table.buttons[j].name);
    EXPECT_EQ(overlaps, (std::vector<std::pair<std::string, std::string>>{{" 6", " 7"}}));
}

TEST(MenuTables, BallsAreNamedByIndexInThreeRows) {
    for (int ball = 0; ball < 22; ++ball) {
        const MenuButton& b = ballMenuButtons[ball];
        SCOPED_TRACE(ball);
        EXPECT_EQ(std::string(b.name), " " + std::to_string(ball));
        const bool square = ball == 6 || ball == 7;
        EXPECT_EQ(b.width, square ? 82 : 60);
        EXPECT_EQ(b.height, square ? 82 : 87);
        const int row = ball < 8 ? 0 : ball < 16 ? 1 : 2;
        EXPECT_EQ(b.y, 125 + 115 * row);
        if (ball > 0 && ball != 8 && ball != 16) {
            EXPECT_EQ(b.x - ballMenuButtons[ball - 1].x, 75) << "balls 75 pixels apart in a row";
        }
    }
}

TEST(MenuTables, TheHitRuleLeavesTheRightAndBottomEdgesOut) {
    EXPECT_EQ(Hit(attractMenuButtons, 41, 437), 0);
    EXPECT_EQ(Hit(attractMenuButtons, 200, 596), 0);
    EXPECT_EQ(Hit(attractMenuButtons, 201, 437), -1);
    EXPECT_EQ(Hit(attractMenuButtons, 200, 597), -1);
    EXPECT_EQ(Hit(attractMenuButtons, 40, 500), -1);
    EXPECT_EQ(Hit(attractMenuButtons, 100, 436), -1);
    EXPECT_EQ(Hit(attractMenuButtons, 400, 500), 1);
    EXPECT_EQ(Hit(attractMenuButtons, 758, 596), 2);
    EXPECT_EQ(Hit(attractMenuButtons, -1, -1), -1);
}

TEST(MenuTables, TouchesLandOnTheButtonsThePlayerSees) {
    EXPECT_EQ(Hit(stakeMenuButtons, 590, 300), 0) << "50p on the right";
    EXPECT_EQ(Hit(stakeMenuButtons, 200, 300), 1) << "Pound on the left";
    EXPECT_EQ(Hit(stakeMenuButtons, 400, 300), -1);
    EXPECT_EQ(Hit(answerMenuButtons, 13, 507), 0);
    EXPECT_EQ(Hit(answerMenuButtons, 787, 585), 1);
    EXPECT_EQ(Hit(answerMenuButtons, 799, 300), 2) << "the Pass area reaches the screen's edge";
    EXPECT_EQ(Hit(takeOrLeaveMenuButtons, 391, 354), 0);
    EXPECT_EQ(Hit(takeOrLeaveMenuButtons, 392, 330), -1) << "the gap between Take and Leave";
    EXPECT_EQ(Hit(takeOrLeaveMenuButtons, 408, 316), 1);
}

TEST(MenuTables, OnOverlapTheLaterBallWins) {
    EXPECT_EQ(Hit(ballMenuButtons, 576, 150), 6);
    EXPECT_EQ(Hit(ballMenuButtons, 577, 150), 7);
    EXPECT_EQ(Hit(ballMenuButtons, 583, 206), 7);
    EXPECT_EQ(Hit(ballMenuButtons, 584, 150), 7);
    EXPECT_EQ(Hit(ballMenuButtons, 600, 207), -1) << "the square box is 82 high";
}
