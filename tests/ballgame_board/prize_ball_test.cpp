// The ball menu and the choice of the player's ball, on the headless display with scripted
// touches and the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "ballgame_board/board_screen.h"
#include "base/random.h"
#include "base/waits.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "platform/platform.h"
#include "rules/board.h"
#include "rules/play_game.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/cabinet_screens.h"
#include "screens/prize_ball.h"
#include "screens/touch_menu.h"

namespace {

// The cabinet's screens, the front end the order of play runs here.
CabinetScreens cabinet;

struct Point {
    int16_t x, y;
};

Point CentreOf(int ball) {
    const MenuButton& button = ballMenuButtons[ball];
    return Point{static_cast<int16_t>(button.x + button.width / 2),
                 static_cast<int16_t>(button.y + button.height / 2)};
}

std::string TouchBall(uint32_t ms, int ball) {
    const Point centre = CentreOf(ball);
    return TouchLine(ms, centre.x, centre.y);
}

class PrizeBall : public BoardRun {
  protected:
    void SetUp() override { SetUpBoard(); }

    static void SetUpBoard() {
        uwPriceOfPlay = 50;
        SeedRandom(21);
        ResetBoard();
    }
    // A run with these touches, the board set up as for every test.
    void StartPickRun(const std::string& touches = "") { StartBoardRun(touches, SetUpBoard); }
};

}  // namespace

// ---- The ball menu ----------------------------------------------------------------------------

TEST(BallMenuTable, EveryBallsHitBoxSitsOnTheBallAsDrawn) {
    int buttons = 0;
    while (ballMenuButtons[buttons].name)
        ++buttons;
    ASSERT_EQ(buttons, kBallCount);
    for (int i = 0; i < kBallCount; ++i) {
        const MenuButton& button = ballMenuButtons[i];
        EXPECT_EQ(std::string(button.name), " " + std::to_string(i));
        EXPECT_EQ(button.x, ballPositions[i].x + 10) << i;
        EXPECT_EQ(button.y, ballPositions[i].y + 23) << i;
        // The touch at the centre of a ball's box picks that ball (later buttons win overlaps).
        const Point centre = CentreOf(i);
        EXPECT_LT(centre.x, ballPositions[i].x + kBallBoxWidth);
        EXPECT_LT(centre.y, ballPositions[i].y + kBallBoxHeight);
        int hit = -1;
        for (int b = 0; b < kBallCount; ++b)
            if (ButtonHit(ballMenuButtons[b], centre.x, centre.y)) hit = b;
        EXPECT_EQ(hit, i);
    }
}

// The title plates' words never show through each other: VANTOR has gone before YOUR BALL
// appears, and YOUR BALL ends whole.
TEST(TitlePlateFade, PlatesNeverOverlapAndEndWithTheBallsPlateWhole) {
    EXPECT_EQ(TitlePlateFadeAt(0).outgoing, 1.0f);
    EXPECT_EQ(TitlePlateFadeAt(0).incoming, 0.0f);
    for (uint32_t tenths = 0; tenths <= 12; ++tenths) {
        const TitlePlateFade fade = TitlePlateFadeAt(tenths);
        EXPECT_FALSE(fade.outgoing > 0 && fade.incoming > 0) << tenths;
        if (tenths > 0) {
            EXPECT_LE(fade.outgoing, TitlePlateFadeAt(tenths - 1).outgoing);
        }
    }
    EXPECT_EQ(TitlePlateFadeAt(10).incoming, 1.0f);
}

TEST_F(PrizeBall, CanPickBallRefusesTheBlueBallOnlyWhilePicking) {
    EXPECT_TRUE(bPickingPrizeBall);
    for (int i = 0; i < kBallCount; ++i)
        EXPECT_EQ(CanPickBall(i), i != kBlueBall) << i;
    bPickingPrizeBall = false;
    EXPECT_TRUE(CanPickBall(kBlueBall));
    axBalls[4].inPlay = 0;
    EXPECT_FALSE(CanPickBall(4));
    EXPECT_FALSE(CanPickBall(-1));
    EXPECT_FALSE(CanPickBall(22));
}

TEST_F(PrizeBall, TheMenuRefusesTheBlueBallUntilThePrizeBallIsChosen) {
    BoardScreen screen;
    ForgetBallMenuState();
    AnswerClockSet(kBallPickMs, 1);
    AnswerClockStart();

    EXPECT_EQ(BallMenuPass(kBlueBall), -1);
    EXPECT_TRUE(ballRefusalNotice.active);
    EXPECT_EQ(ballRefusalNotice.deadline, ClockMs() + 957);
    AdvanceClock(500);
    EXPECT_EQ(BallMenuPass(kBlueBall), -1) << "the refused touch re-arms the notice";
    EXPECT_EQ(ballRefusalNotice.deadline, ClockMs() + 957);

    EXPECT_EQ(BallMenuPass(3), 3);
    EXPECT_EQ(BallMenuPass(-1), -1);
    EXPECT_TRUE(ballRefusalNotice.active);
    AdvanceClock(957);
    EXPECT_EQ(BallMenuPass(-1), -1);
    EXPECT_FALSE(ballRefusalNotice.active) << "gone 957 ms after the last refusal";

    bPrizeBallChosen = true;
    EXPECT_EQ(BallMenuPass(kBlueBall), kBlueBall);
    EXPECT_FALSE(ballRefusalNotice.active);
}

TEST_F(PrizeBall, TheMenuEndsWhenTheClockRunsOutEvenOnATouch) {
    BoardScreen screen;
    AnswerClockSet(100, 1);
    AnswerClockStart();
    EXPECT_EQ(BallMenuPass(5), 5);
    AdvanceClock(150);
    int result = BallMenuPass(5);  // the first reading after expiry may still be negative
    if (result != kBallMenuTimedOut) result = BallMenuPass(5);
    EXPECT_EQ(result, kBallMenuTimedOut);
}

TEST_F(PrizeBall, ThePickFrameBlinksThePromptOrTheRefusalNotice) {
    BoardScreen screen;
    ForgetBallMenuState();
    ForgetSparkle();
    AnswerClockSet(kBallPickMs, 1);
    Scribble(0, 0, 800, 600);

    DrawPrizePickFrame();
    EXPECT_EQ(ScreenColour(56, 494), CellColour(kPickPrizeBallPicture, 0));
    EXPECT_EQ(ScreenColour(254, 552), CellColour(kPickPrizeBallPicture, 0));
    EXPECT_EQ(ScreenColour(480, 520), CellColour(kPrizeBallOverPicture, 0));
    EXPECT_EQ(ScreenColour(343, 469), CellColour(kYourBallLeftPicture, 0));
    EXPECT_EQ(ScreenColour(403, 469), CellColour(kYourBallRightPicture, 0));
    EXPECT_EQ(ScreenColour(axBalls[0].x + 1, axBalls[0].y + 1), CellColour(kRedBallPicture, 0));
    EXPECT_EQ(ScreenColour(660 + 70, axWinPlan[0].y + 13),
              CellColour(kWinPlanPicture, WinPlanCell(1)));
    EXPECT_EQ(ScreenColour(5, 595), BoardBackgroundColour(5, 595)) << "the whole background first";

    ballRefusalNotice.active = true;
    AdvanceClock(199);
    DrawPrizePickFrame();
    EXPECT_EQ(ScreenColour(56, 494), CellColour(kPickDifferentBallPicture, 0));
    AdvanceClock(1);
    DrawPrizePickFrame();
    EXPECT_EQ(ScreenColour(56, 494), BoardBackgroundColour(56, 494)) << "blinked off";
    AdvanceClock(200);
    DrawPrizePickFrame();
    EXPECT_EQ(ScreenColour(56, 494), CellColour(kPickDifferentBallPicture, 0)) << "and on again";
}

// ---- Choosing the prize ball ------------------------------------------------------------------

TEST_F(PrizeBall, ATouchChoosesTheBallWhichLiftsOutOfItsCup) {
    constexpr int kChosen = 3;
    StartPickRun(TouchBall(1000, kChosen));
    const int32_t value = axBalls[kChosen].value;
    ChoosePrizeBall(cabinet);
    const uint32_t end = RunClock();

    EXPECT_EQ(axBalls[kChosen].inPlay, 0);
    EXPECT_EQ(axBalls[kChosen].isPlayers, 1);
    EXPECT_EQ(lPrizeAvailableThisGame, value);
    EXPECT_TRUE(bPrizeBallChosen);
    EXPECT_TRUE(bPickingPrizeBall);
    EXPECT_EQ(BallsLeft(), 21);
    EXPECT_EQ(std::count_if(std::begin(axBalls), std::end(axBalls),
                            [](const Ball& ball) { return ball.isPlayers != 0; }),
              1);
    EXPECT_EQ(axWinPlan[std::find(fiftyPenceValues, fiftyPenceValues + kBallCount, value) -
                        fiftyPenceValues]
                  .lit,
              1)
        << "the player's value stays on the win plan";

    // The last frame: an empty red cup where the ball was, the prize-ball title, the closed ball.
    const Ball& ball = axBalls[kChosen];
    EXPECT_EQ(ScreenColour(ball.x + 30, ball.y + 50), CellColour(kRedCupPicture, 0));
    EXPECT_EQ(ScreenColour(480, 520), CellColour(kPrizeBallOverPicture, 0));
    EXPECT_EQ(ScreenColour(343, 469), CellColour(kYourBallLeftPicture, 0));
    EXPECT_EQ(ScreenColour(56, 494), BoardBackgroundColour(56, 494)) << "the prompt has gone";

    const std::vector<Sound> sounds = FinishRun();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].number, 20);
    EXPECT_GE(sounds[0].ms, 1000u);
    EXPECT_LT(sounds[0].ms, 1040u);
    // 500 ms of lifting, then a second's look.
    EXPECT_GE(end, sounds[0].ms + 1500);
    EXPECT_LT(end, sounds[0].ms + 1560);
}

TEST_F(PrizeBall, TheBlueBallIsRefusedWithTheNoticeUpUntilAnotherTouch) {
    StartPickRun(TouchBall(500, kBlueBall) + TouchBall(3000, 20));
    ChoosePrizeBall(cabinet);
    EXPECT_EQ(axBalls[kBlueBall].inPlay, 1);
    EXPECT_EQ(axBalls[kBlueBall].isPlayers, 0);
    EXPECT_EQ(axBalls[20].isPlayers, 1);
    EXPECT_EQ(lPrizeAvailableThisGame, axBalls[20].value);
    // The refused touch re-armed the notice on every pass until the touch on ball 20 replaced it.
    EXPECT_TRUE(ballRefusalNotice.active);
    const uint32_t noticeEnds = ballRefusalNotice.deadline;
    EXPECT_GE(noticeEnds, 3000u + 957 - 20);
    EXPECT_LE(noticeEnds, 3000u + 957 + 20);
}

TEST_F(PrizeBall, WithoutATouchARandomRedBallIsChosenAfterTenSeconds) {
    std::set<int> chosen;
    for (uint32_t seed : {1u, 2u, 3u}) {
        // Even a touch held on the blue ball leaves the random choice to the red balls.
        StartPickRun(TouchBall(200, kBlueBall));
        SeedRandom(seed);
        ResetBoard();
        ChoosePrizeBall(cabinet);
        const uint32_t end = RunClock();
        const auto players = std::find_if(std::begin(axBalls), std::end(axBalls),
                                          [](const Ball& ball) { return ball.isPlayers != 0; });
        ASSERT_NE(players, std::end(axBalls));
        const int ball = static_cast<int>(players - axBalls);
        EXPECT_NE(ball, kBlueBall);
        EXPECT_EQ(lPrizeAvailableThisGame, players->value);
        EXPECT_EQ(BallsLeft(), 21);
        chosen.insert(ball);

        const std::vector<Sound> sounds = FinishRun();
        ASSERT_EQ(sounds.size(), 1u);
        EXPECT_GE(sounds[0].ms, 10000u) << "ten seconds to choose";
        EXPECT_LT(sounds[0].ms, 10060u);
        EXPECT_GE(end, sounds[0].ms + 1500);
    }
    EXPECT_GT(chosen.size(), 1u);
}

// ---- The deal ---------------------------------------------------------------------------------

namespace {

// Opens a game whose prize level is 0 (a rich cabinet) or 4 (a mean one), so the deal's patterns
// can be chosen.
void OpenGameAtPrizeLevel(int level) {
    controllerBalances[0] = level == 0 ? 5000.0f : -5000.0f;
    ASSERT_EQ(ControlOpen(0), 1);
    ASSERT_EQ(PrizeLevel(), level);
}

}  // namespace

TEST_F(PrizeBall, TheDealFlashesEveryGroupOfItsPatternWithASoundAndAPause) {
    for (int level : {0, 4}) {
        StartPickRun();
        OpenGameAtPrizeLevel(level);
        SeedRandom(40 + level);
        int steps[kBallCount];
        ChooseFlashPattern(level, steps);
        SeedRandom(40 + level);
        DealBalls(cabinet);
        const uint32_t end = RunClock();
        ControlClose();

        EXPECT_EQ(std::count(std::begin(abFlash), std::end(abFlash), 0), kBallCount);
        EXPECT_EQ(axBalls[kBlueBall].value, 1);
        EXPECT_EQ(BallsLeft(), 22);

        // Each group shows for n x 200 ms; each step only redraws and presents the board (a frame
        // of at least 15 ms), so an empty step between two groups delays the next one a little.
        struct Group {
            uint32_t shownMs;
            uint32_t emptyStepsAfter;
        };
        std::vector<Group> groups;
        uint32_t leadingEmptySteps = 0;
        for (int n : steps) {
            if (n > 0)
                groups.push_back(Group{static_cast<uint32_t>(n) * 200, 0});
            else if (groups.empty())
                ++leadingEmptySteps;
            else
                ++groups.back().emptyStepsAfter;
        }
        const std::vector<Sound> sounds = FinishRun();
        ASSERT_EQ(sounds.size(), groups.size()) << "one teletype sound per group, none for a zero";
        EXPECT_GE(sounds[0].ms, 2000u) << "two seconds' look at the closed board first";
        EXPECT_LT(sounds[0].ms, 2040u + 16 * leadingEmptySteps);
        for (size_t g = 0; g < groups.size(); ++g) {
            EXPECT_EQ(sounds[g].number, 2);
            const uint32_t next = g + 1 < groups.size() ? sounds[g + 1].ms : end;
            EXPECT_GE(next - sounds[g].ms, groups[g].shownMs) << "group " << g;
            EXPECT_LT(next - sounds[g].ms, groups[g].shownMs + 35 + 16 * groups[g].emptyStepsAfter)
                << "group " << g;
        }
        EXPECT_GE(end, 2000u + 4400u);
        EXPECT_LT(end, 2000u + 4400u + 22 * 50);
    }
}

TEST_F(PrizeBall, ATouchCutsTheFirstLookShort) {
    StartPickRun(TouchLine(500, 10, 10));
    OpenGameAtPrizeLevel(0);
    DealBalls(cabinet);
    ControlClose();
    const std::vector<Sound> sounds = FinishRun();
    ASSERT_FALSE(sounds.empty());
    EXPECT_GE(sounds[0].ms, 500u);
    EXPECT_LT(sounds[0].ms, 540u);
}
