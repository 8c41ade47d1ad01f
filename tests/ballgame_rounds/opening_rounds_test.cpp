// Whole opening rounds on the headless display with the modelled player: it touches balls the
// ball menu accepts, leaves every offer and answers every question right, so the game runs to the
// last ball and settles on the player's own.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "app/autoplay.h"
#include "ballgame_board/board_screen.h"
#include "ballgame_rounds/ball_game.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/offer.h"
#include "rules/play_game.h"
#include "rules/question_packs.h"
#include "screens/cabinet_screens.h"
#include "screens/question_screen.h"
#include "screens/touch_menu.h"
#include "support/run_program.h"
#include "support/work_dir.h"

namespace {

// The cabinet's screens, the front end the order of play runs here.
CabinetScreens cabinet;

class OpeningRounds : public BoardRun {
  protected:
    static void SetUpTestSuite() {
        // The questions after refused offers come from the real packs.
        ScopedWorkDir packs;
        const ProgramResult packed =
            RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", packs.path()});
        ASSERT_EQ(packed.exitStatus, 0) << packed.output;
        ASSERT_EQ(LoadQuestionPacks(), 1);
    }
    // A run on the ball game `setUp` leaves, with the modelled player answering right with this
    // chance and taking the K-th offer (0 none).
    void StartRoundsRun(int rightPercent, int takeOffer, const std::function<void()>& setUp) {
        StartBoardRun("", setUp);
        platform::AutoplaySettings player;
        player.enabled = true;
        player.rightPercent = rightPercent;
        player.takeOffer = takeOffer;
        StartAutoplay(player);
    }
};

// The touches of the trace on the ball menu's buttons, in runs between touches elsewhere (the
// offers' buttons and the answers).
std::vector<int> BallTouchRuns(const std::vector<ScreenRun::Event>& trace) {
    std::vector<int> runs{0};
    for (const ScreenRun::Event& event : trace) {
        int x = 0, y = 0;
        if (std::sscanf(event.what.c_str(), "touch %d %d", &x, &y) != 2) continue;
        bool onBall = false;
        for (int ball = 0; ball < kBallCount; ++ball)
            onBall = onBall || ButtonHit(ballMenuButtons[ball], x, y);
        if (onBall)
            ++runs.back();
        else if (runs.back() > 0)
            runs.push_back(0);
    }
    return runs;
}

int TotalOf(const std::vector<int>& runs) {
    int total = 0;
    for (int run : runs)
        total += run;
    return total;
}

}  // namespace

TEST_F(OpeningRounds, OffersLeftToTheLastBallSettleOnTheOwnBall) {
    StartRoundsRun(100, 0, [] {
        SetUpBallGame(50, 23, 0);
        TakeAsPlayersBall(BallWithValue(150));
        // Left over from an earlier game: none of it may count in this one.
        NumberOfOffersMade = 3;
        lWinAmount = 999;
        tryAgainsLeft = 2;
    });
    ASSERT_EQ(ControlOpen(0), 1);
    PlayOpeningRounds(cabinet);
    ControlClose();

    EXPECT_EQ(GetGameState(), STATE_WON);
    EXPECT_EQ(lWinAmount, 150);
    EXPECT_EQ(tryAgainsLeft, 0);
    EXPECT_EQ(NumberOfOffersMade, 4) << "an offer after 5, 10, 15 and 20 balls";
    EXPECT_EQ(BallsLeft(), 0);
    for (const WinPlanPlate& plate : axWinPlan)
        EXPECT_EQ(plate.lit, plate.value == 150 ? 1 : 0) << plate.value;
    for (const Ball& ball : axBalls)
        EXPECT_EQ(ball.showValue, 0);
    EXPECT_EQ(CounterValue(45), 1);
    EXPECT_EQ(CounterValue(62), 1) << "the own ball of £1.50";
    EXPECT_EQ(CounterValue(20), 1);
    EXPECT_EQ(CounterValue(178), 150);

    Stop();
    const std::vector<int> runs = BallTouchRuns(Trace());
    EXPECT_EQ(TotalOf(runs), 21);
    for (int balls : runs)
        EXPECT_LE(balls, 5);
    const std::vector<int> sounds = Sounds();
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.back(), 43) << "the own ball opens last";
}

TEST_F(OpeningRounds, ATakenOfferIsTheWinAndTheOwnBallIsStillShown) {
    StartRoundsRun(100, 1, [] {
        SetUpBallGame(50, 29, 0);
        TakeAsPlayersBall(BallWithValue(300));
    });
    ASSERT_EQ(ControlOpen(0), 1);
    PlayOpeningRounds(cabinet);
    ControlClose();

    EXPECT_EQ(BallsLeft(), 16) << "one round, then the offer was taken";
    EXPECT_EQ(GetGameState(), STATE_WON);
    EXPECT_GT(lWinAmount, 0);
    EXPECT_EQ(lWinAmount, static_cast<int32_t>(fOffer));
    EXPECT_EQ(lPrizeAvailableThisGame, 300);
    EXPECT_EQ(CounterValue(20), 0);
    EXPECT_EQ(CounterValue(178), lWinAmount);
    const std::vector<int> sounds = Sounds();
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.back(), 43) << "the own ball is opened after the offer";
}

TEST_F(OpeningRounds, AFailedQuestionAfterARefusalEndsTheGameUnrevealed) {
    StartRoundsRun(0, 0, [] {
        SetUpBallGame(50, 37, 0);
        TakeAsPlayersBall(BallWithValue(2));
    });
    ASSERT_EQ(ControlOpen(0), 1);
    PlayOpeningRounds(cabinet);
    ControlClose();

    EXPECT_EQ(BallsLeft(), 16);
    EXPECT_EQ(GetGameState(), STATE_LOST);
    EXPECT_EQ(lWinAmount, 0);
    EXPECT_EQ(lPrizeAvailableThisGame, 2) << "never settled: the own ball is not opened";
    for (int meter : {20, 178, 179})
        EXPECT_EQ(CounterValue(meter), 0) << meter;
}
