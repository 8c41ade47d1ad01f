// Opening one ball, end to end on the headless display with scripted touches and the virtual
// clock: which balls may be opened, the ten-second choice, the animation's sounds and the state
// the ball is left in.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ballgame_board/board_screen.h"
#include "ballgame_rounds/ball_game.h"
#include "base/log.h"
#include "base/random.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/play_game.h"
#include "screens/cabinet_screens.h"
#include "screens/opening_ball.h"

namespace {

// The cabinet's screens, the front end the order of play runs here.
CabinetScreens cabinet;

constexpr int kPlayersBall = 5;

class OpeningBall : public BoardRun {
  protected:
    // A run with these touches on the ball game of every test.
    void StartOpeningRun(const std::string& touches = "") {
        StartBoardRun(touches, [] { SetUpBallGame(50, 11, kPlayersBall); });
    }
};

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

bool PlateLit(int32_t value) {
    for (const WinPlanPlate& plate : axWinPlan)
        if (plate.value == value) return plate.lit != 0;
    return false;
}

// The time of the first sound with this number, or -1.
long SoundTime(const std::vector<ScreenRun::Sound>& sounds, int number) {
    for (const ScreenRun::Sound& sound : sounds)
        if (sound.number == number) return sound.ms;
    return -1;
}

}  // namespace

TEST_F(OpeningBall, CanOpenBallRefusesOpenedBallsAndThePlayersOwnWithALogLine) {
    StartOpeningRun();
    EXPECT_TRUE(CanOpenBall(0));
    EXPECT_TRUE(CanOpenBall(kBlueBall)) << "the blue ball opens like any other";
    EXPECT_EQ(Log().find("Failed"), std::string::npos);

    EXPECT_FALSE(CanOpenBall(kPlayersBall));
    axBalls[3].inPlay = 0;
    EXPECT_FALSE(CanOpenBall(3));
    EXPECT_EQ(Occurrences(Log(), "Failed 1\n"), 2u);

    // A ball on the board that holds the player's value is the player's own.
    axBalls[kPlayersBall].inPlay = 1;
    EXPECT_FALSE(CanOpenBall(kPlayersBall));
    EXPECT_EQ(Occurrences(Log(), "Failed 2 - Ball == prize picked\n"), 1u);
    EXPECT_EQ(Occurrences(Log(), "Failed 1\n"), 2u);
}

TEST_F(OpeningBall, ATouchedBallOpensWithItsSoundsAndLeavesTheBoard) {
    constexpr int kChosen = 9;
    StartOpeningRun(TouchOnBall(700, kChosen));
    const int32_t value = axBalls[kChosen].value;
    OpenOneBall(cabinet);
    const uint32_t end = RunClock();

    EXPECT_EQ(axBalls[kChosen].inPlay, 0);
    EXPECT_EQ(axBalls[kChosen].showValue, 0);
    EXPECT_FALSE(PlateLit(value));
    EXPECT_TRUE(PlateLit(lPrizeAvailableThisGame)) << "the player's value stays on the plan";
    EXPECT_EQ(BallsLeft(), 20);
    EXPECT_EQ(std::count_if(std::begin(axWinPlan), std::end(axWinPlan),
                            [](const WinPlanPlate& plate) { return plate.lit == 0; }),
              1);
    // The last frame shows the empty cup where the ball was.
    EXPECT_EQ(ScreenColour(axBalls[kChosen].x + 25, axBalls[kChosen].y + 35),
              CellColour(kRedCupPicture, 0));

    const std::vector<Sound> trace = FinishRun();
    EXPECT_EQ(Sounds(), (std::vector<int>{43, 46, 17, 44, 12}));
    const long open = SoundTime(trace, 43), spin = SoundTime(trace, 46);
    const long flash = SoundTime(trace, 17), close = SoundTime(trace, 44);
    EXPECT_GE(open, 700);
    EXPECT_LT(open, 740);
    EXPECT_GE(spin - open, 600);  // the ball opens for 600 ms
    EXPECT_LT(spin - open, 640);
    EXPECT_GE(flash - spin, 600);  // the value spins in for 600 ms
    EXPECT_LT(flash - spin, 660);
    // Ten flashes of 100 ms and more, then the value fades for 300 ms.
    EXPECT_GE(close - flash, 1000 + 300);
    EXPECT_LT(close - flash, 1000 + 300 + 10 * 30 + 60);
    EXPECT_EQ(SoundTime(trace, 12), close) << "the plate slides as the ball closes";
    // 400 ms closing, 300 ms fading from the cup, half a second's look.
    EXPECT_GE(static_cast<long>(end) - close, 400 + 300 + 500);
    EXPECT_LT(static_cast<long>(end) - close, 400 + 300 + 500 + 80);
}

TEST_F(OpeningBall, RefusedTouchesDoNotRestartTheTenSecondsAndATimeOutPicksAtRandom) {
    StartOpeningRun(TouchOnBall(3000, kPlayersBall) + TouchOnBall(6000, 2));
    axBalls[2].inPlay = 0;  // opened earlier
    const int32_t playersValue = lPrizeAvailableThisGame;
    OpenOneBall(cabinet);

    const std::vector<Sound> trace = FinishRun();
    const long open = SoundTime(trace, 43);
    EXPECT_GE(open, 10000) << "the clock ran from the start of the choice";
    EXPECT_LT(open, 10060);
    EXPECT_EQ(BallsLeft(), 19);
    EXPECT_EQ(lPrizeAvailableThisGame, playersValue);
    EXPECT_EQ(axBalls[kPlayersBall].isPlayers, 1);
    EXPECT_EQ(axBalls[kPlayersBall].inPlay, 0);
    EXPECT_GE(Occurrences(Log(), "Failed 1\n"), 2u) << "each refused touch is logged";
}

TEST_F(OpeningBall, TimeOutsPickDifferentBallsAndNeverAnOpenedOne) {
    std::vector<int> opened;
    for (uint32_t seed : {3u, 4u}) {
        StartBoardRun("", [seed] { SetUpBallGame(100, seed, kPlayersBall); });
        for (int ball = 0; ball < 10; ++ball)
            if (ball != kPlayersBall) axBalls[ball].inPlay = 0;
        SeedRandom(seed);
        OpenOneBall(cabinet);
        for (int ball = 10; ball < kBallCount; ++ball)
            if (!axBalls[ball].inPlay) opened.push_back(ball);
        EXPECT_EQ(BallsLeft(), 11);
    }
    ASSERT_EQ(opened.size(), 2u);
    std::sort(opened.begin(), opened.end());
    EXPECT_NE(opened.front(), opened.back());
}

TEST_F(OpeningBall, TheBlueBallOpensAndTakesTheBottomPlateOff) {
    StartOpeningRun(TouchOnBall(400, kBlueBall));
    OpenOneBall(cabinet);
    EXPECT_EQ(axBalls[kBlueBall].inPlay, 0);
    EXPECT_FALSE(PlateLit(1));
    EXPECT_EQ(axBalls[kBlueBall].planY, 570);
    EXPECT_EQ(ScreenColour(axBalls[kBlueBall].x + 25, axBalls[kBlueBall].y + 35),
              CellColour(kBlueCupPicture, 0));
    // The plate has slid away: the bottom of the win plan shows the background.
    EXPECT_EQ(ScreenColour(700, 580), BoardBackgroundColour(700, 580));
    EXPECT_EQ(Sounds(), (std::vector<int>{43, 46, 17, 44, 12}));
}

// With every draw refused (the one ball on the board holds the player's value) the random choice
// gives up after 200 draws, logs it, and still takes a ball rather than waiting on a clock that
// has run out.
TEST_F(OpeningBall, TwoHundredRefusedDrawsAreLoggedAndTheGameGoesOn) {
    StartOpeningRun();
    for (Ball& ball : axBalls)
        ball.inPlay = 0;
    axBalls[17].inPlay = 1;
    lPrizeAvailableThisGame = axBalls[17].value;
    OpenOneBall(cabinet);
    EXPECT_EQ(BallsLeft(), 0);
    const std::string log = Log();
    EXPECT_EQ(Occurrences(log, std::string(130, '>') + "Failed 1\n"), 1u);
    EXPECT_EQ(Occurrences(log, std::string(131, '>')), 0u);
    EXPECT_EQ(
        Occurrences(log, "Failed 2 - Ball == prize picked\n") + Occurrences(log, "- Failed 1\n"),
        200u)
        << "every draw was tested";
}
