// Whole question rounds on the virtual clock. The player is the harness's modelled player
// (--autoplay), which touches the right or the wrong button with the chance it is given; where a
// test needs a particular run of right and wrong answers, it picks the player's seed that gives it.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/autoplay.h"
#include "base/input.h"
#include "base/log.h"
#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/credit/credit_link.h"
#include "platform/platform.h"
#include "question_fixture.h"
#include "rules/board.h"
#include "rules/play_game.h"
#include "rules/question_packs.h"
#include "screens/cabinet_screens.h"
#include "screens/question_screen.h"
#include "support/fake_credit_service.h"

namespace {

// The cabinet's screens, the front end the order of play runs here.
CabinetScreens cabinet;

using SoundList = std::vector<int>;

constexpr int kTrueButton = 0;

class QuestionRound : public QuestionFixture {
  protected:
    // Plays a round against the modelled player. `rightPercent` 100 always answers right, 0
    // always wrong.
    void PlayRound(int rightPercent, uint32_t playerSeed = 1) {
        StartQuestionRun();
        platform::AutoplaySettings player;
        player.enabled = true;
        player.rightPercent = rightPercent;
        player.seed = playerSeed;
        StartAutoplay(player);
        SeedRandom(7);
        EXPECT_EQ(RunQuestionRound(cabinet), 1);
    }
};

// The seed of a modelled player whose answers come out right or wrong in this order.
uint32_t PlayerSeedAnswering(const std::vector<bool>& rightInTurn, int rightPercent) {
    platform::AutoplaySettings settings;
    settings.rightPercent = rightPercent;
    MenuSituation trueIsRight;
    trueIsRight.correctAnswer = 1;
    for (uint32_t seed = 1; seed < 100000; ++seed) {
        settings.seed = seed;
        ModelledPlayer player(settings);
        bool matches = true;
        for (bool right : rightInTurn)
            matches = matches &&
                      (player.ChooseButton(MenuKind::Answer, trueIsRight) == kTrueButton) == right;
        if (matches) return seed;
    }
    ADD_FAILURE() << "no player seed gives that run of answers";
    return 1;
}

TEST_F(QuestionRound, SevenRightAnswersReachTheBallGame) {
    PlayRound(100);
    EXPECT_EQ(GetGameState(), STATE_BALL_GAME);
    EXPECT_EQ(CounterValue(counter::kQuestionsAsked), 7);
    EXPECT_EQ(CounterValue(counter::kQuestionRoundsLost), 0);
    EXPECT_EQ(rightAnswersThisRound, 7);
    EXPECT_EQ(questionsAskedThisRound, 7);
    EXPECT_FALSE(bPickingPrizeBall) << "cleared after the first right answer";
    EXPECT_EQ(tryAgainsLeft, 1);
    SoundList expected{14};
    for (int question = 0; question < 7; ++question)
        expected.insert(expected.end(), {30, 4});
    expected.push_back(20);
    EXPECT_EQ(Sounds(), expected);
}

TEST_F(QuestionRound, WrongTwiceOnTheFirstQuestionLosesAfterItsFreeTryAgain) {
    PlayRound(0);
    EXPECT_EQ(GetGameState(), STATE_LOST);
    EXPECT_EQ(CounterValue(counter::kQuestionsAsked), 1);
    EXPECT_EQ(CounterValue(counter::kQuestionRoundsLost), 1);
    EXPECT_EQ(questionsAskedThisRound, 0);
    EXPECT_EQ(rightAnswersThisRound, 0);
    EXPECT_TRUE(bPickingPrizeBall) << "never answered right";
    EXPECT_EQ(tryAgainsLeft, 1);
    EXPECT_EQ(Sounds(), (SoundList{14, 30, 45, 30, 5}));
}

TEST_F(QuestionRound, TheOneTryAgainIsSpentOnALaterQuestion) {
    // Right; wrong, then right on the try-again; wrong with none left.
    PlayRound(50, PlayerSeedAnswering({true, false, true, false}, 50));
    EXPECT_EQ(GetGameState(), STATE_LOST);
    EXPECT_EQ(CounterValue(counter::kQuestionsAsked), 3);
    EXPECT_EQ(CounterValue(counter::kQuestionRoundsLost), 1);
    EXPECT_EQ(rightAnswersThisRound, 2);
    EXPECT_EQ(questionsAskedThisRound, 2);
    EXPECT_EQ(tryAgainsLeft, 0);
    EXPECT_EQ(Sounds(), (SoundList{14, 30, 4, 30, 45, 9, 30, 4, 30, 5}));
}

TEST_F(QuestionRound, NoAnswerLosesOnTime) {
    StartQuestionRun();
    SeedRandom(7);
    RunQuestionRound(cabinet);
    EXPECT_EQ(GetGameState(), STATE_LOST);
    EXPECT_EQ(Sounds(), (SoundList{14, 1}));
    EXPECT_EQ(CounterValue(counter::kAnswersTimedOut), 1);
    EXPECT_EQ(CounterValue(counter::kQuestionsAsked), 1);
    EXPECT_EQ(CounterValue(counter::kQuestionRoundsLost), 1);
}

TEST_F(QuestionRound, StartSetsUpANewGame) {
    StartQuestionRun();
    // What the last game left behind.
    SetGameState(STATE_LOST);
    tryAgainsLeft = 0;
    rightAnswersThisRound = 5;
    questionsAskedThisRound = 5;
    bPickingPrizeBall = false;
    bPrizeBallChosen = true;
    lPrizeAvailableThisGame = 300;
    uwPriceOfPlay = 50;
    controllerBalances[0] = -250.9f;
    controllerBalances[1] = -999.0f;

    StartQuestionRound(cabinet);
    EXPECT_EQ(GetGameState(), STATE_PLAYING);
    EXPECT_EQ(tryAgainsLeft, 1);
    EXPECT_EQ(rightAnswersThisRound, 0);
    EXPECT_EQ(questionsAskedThisRound, 0);
    EXPECT_TRUE(bPickingPrizeBall);
    EXPECT_FALSE(bPrizeBallChosen);
    EXPECT_EQ(lPrizeAvailableThisGame, 0);
    EXPECT_EQ(maxWinAllowedThisGame, 250) << "the 50p balance, truncated";
    EXPECT_EQ(Sounds(), SoundList{14}) << "the win plan slides in";
    EXPECT_EQ(axBalls[kBlueBall].value, 1) << "the board was reset";
}

TEST_F(QuestionRound, MaxWinAllowedFollowsTheStakeInForce) {
    StartQuestionRun();
    uwPriceOfPlay = 50;
    controllerBalances[0] = 10.0f;
    controllerBalances[1] = -400.0f;
    StartQuestionRound(cabinet);
    EXPECT_EQ(maxWinAllowedThisGame, 0) << "a balance of 0 or more allows nothing";

    uwPriceOfPlay = 100;
    controllerBalances[1] = -99.5f;
    StartQuestionRound(cabinet);
    EXPECT_EQ(maxWinAllowedThisGame, 99);
}

// The check comes before anything of the round: the program's way out takes it from there.
TEST_F(QuestionRound, MissingQuestionFontEndsTheRoundBeforeAnythingIsShown) {
    StartQuestionRun();
    platform::RefuseQuestionFont(true);
    EXPECT_THROW(StartQuestionRound(cabinet), QuestionFontMissing);
    EXPECT_NE(Log().find("error - cannot load Question font...aborting\n"), std::string::npos);
    EXPECT_TRUE(Sounds().empty()) << "nothing of the round ran";
}

}  // namespace
