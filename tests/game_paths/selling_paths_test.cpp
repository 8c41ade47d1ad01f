// Paths that end before the ball game: the money the player has, the stake bought, a refused
// purchase, the two ways out of the attract screen, the rules screen and the question round lost
// by a wrong answer, a late one and a wrong one after the try-again.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engines/control/controller.h"
#include "game_path.h"

namespace {

using Moves = std::vector<std::string>;

// Where the player touches the attract screen (the centres of its buttons).
const std::string kMainMenu = "121 517";
const std::string kRules = "400 517";
const std::string kStart = "679 517";

int SoundCount(const PathRun& run, int sound) {
    int count = 0;
    for (int played : run.Sounds())
        if (played == sound) ++count;
    return count;
}

int Sum(const PathRun& run, int first, int last) {
    int sum = 0;
    for (int index = first; index <= last; ++index)
        sum += run.Counter(index);
    return sum;
}

// Facts every game that was bought and lost in the question round shares: one game of the stake
// counted by band, the bank reading counted, one round lost, nothing won, no ball game, the loss
// sequence's horn and no money paid.
void ExpectQuestionRoundLost(const PathRun& run, int stake) {
    ASSERT_TRUE(run.recordPresent);
    const int games = stake == 100 ? counter::kGamesPound : counter::kGames50p;
    const int byBand = stake == 100 ? counter::kGamesPoundByBand : counter::kGames50pByBand;
    EXPECT_EQ(run.Counter(games), 1);
    EXPECT_EQ(Sum(run, byBand, byBand + 6), 1);
    EXPECT_EQ(Sum(run, counter::kBankBelow500, counter::kBank1000Up), 1);
    EXPECT_EQ(run.Counter(counter::kQuestionRoundsLost), 1);
    EXPECT_EQ(run.Counter(counter::kBallGamesReached), 0);
    EXPECT_EQ(run.Counter(counter::kWonTotal), 0);
    EXPECT_EQ(run.Counter(counter::kWinningGames), 0);
    EXPECT_TRUE(run.Traced("sound 7")) << "the loss sequence's horn";
    EXPECT_FALSE(run.Traced("sound 11")) << "no win sequence";
    const float charge = -0.3f * static_cast<float>(stake);
    EXPECT_FLOAT_EQ(run.record.balances[stake == 100 ? 1 : 0], charge);
    EXPECT_EQ(run.LogCount("Closing log\n"), 1);
    EXPECT_EQ(run.exitStatus, 0);
}

// The clock time of the first touch in the trace on any of these places ("131 546").
uint32_t FirstTouchAt(const PathRun& run, const std::vector<std::string>& places) {
    std::istringstream trace(run.trace);
    for (std::string line; std::getline(trace, line);) {
        for (const std::string& place : places) {
            const std::size_t at = line.find(" touch " + place);
            if (at != std::string::npos && at + 7 + place.size() == line.size())
                return static_cast<uint32_t>(std::stoul(line.substr(0, at)));
        }
    }
    ADD_FAILURE() << "no touch on the places in the trace";
    return 0;
}

}  // namespace

// ---- Money and stakes ------------------------------------------------------------------------

TEST_F(GamePaths, NoMoneyTheAttractScreenEndsTheProgramAfterThirtySeconds) {
    const PathRun run = Play(PathSetup(0).Autoplay("games=1"));
    EXPECT_EQ(run.MoneyMoves(), Moves{"TERM\r\n"}) << "nothing bought, TERM last";
    EXPECT_FALSE(run.Traced("sound 43")) << "the stake screen never opened";
    EXPECT_TRUE(run.Traced("music stop"));
    EXPECT_EQ(run.Counter(counter::kGames50p) + run.Counter(counter::kGamesPound), 0);
    EXPECT_EQ(run.exitStatus, 0);
    ExpectReport("no_money_idle_exit", run);
}

TEST_F(GamePaths, FortyNinePenceStartIsRefusedAndTheScreenTimesOut) {
    // Credit and bank together make 49: one short of a game. Start is touched twice.
    const PathRun run =
        Play(PathSetup(20, 29).Touches("2000 " + kStart + "\n9000 " + kStart + "\n"));
    EXPECT_EQ(run.MoneyMoves(), Moves{"TERM\r\n"});
    EXPECT_FALSE(run.Traced("sound 43")) << "the stake screen never opened";
    EXPECT_EQ(SoundCount(run, 25), 1) << "only the time-out's Main Menu press";
    EXPECT_EQ(run.creditAfter, 20);
    EXPECT_EQ(run.bankAfter, 29);
    EXPECT_EQ(run.exitStatus, 0);
    ExpectReport("money_49_start_refused", run);
}

TEST_F(GamePaths, FiftyPenceBuysAFiftyPenceGameEvenWhenThePlayerWantsAPound) {
    // Lost on the first question: wrong, the free try-again, wrong again.
    const PathRun run = Play(PathSetup(50).Autoplay("stake=100,answers=WW"));
    EXPECT_EQ(run.MoneyMoves(), (Moves{"CUSE,50\r\n", "TERM\r\n"}));
    EXPECT_EQ(run.creditAfter, 0);
    ExpectQuestionRoundLost(run, 50);
    EXPECT_EQ(run.Counter(counter::kQuestionsAsked), 1) << "the repeated question counts once";
    EXPECT_EQ(run.Counter(counter::kAnswersTimedOut), 0);
    EXPECT_EQ(SoundCount(run, 45), 1) << "one try-again";
    EXPECT_EQ(SoundCount(run, 5), 1) << "one wrong answer's sound";
    ExpectReport("money_50_lost_after_try_again", run);
}

// The Pass area of the question screen is recognised and ignored: a touch there gives no answer,
// so it must not use up a letter of the modelled player's script. The script here loses the
// game on its first question, wrong before and after the free try-again. (The record file is
// shared by the two runs, so the trace tells what the second did.)
TEST_F(GamePaths, ATouchOnThePassAreaUsesUpNoAnswerOfTheScript) {
    const PathSetup player = PathSetup(50).Autoplay("answers=WW");
    const uint32_t firstAnswer = FirstTouchAt(Play(player), {"131 546", "670 546"});
    ASSERT_GT(firstAnswer, 200u);
    const PathRun run =
        Play(PathSetup(player).Touches(std::to_string(firstAnswer - 200) + " 730 327\n"));
    EXPECT_TRUE(run.Traced("touch 730 327"));
    EXPECT_EQ(SoundCount(run, 45), 1) << "the try-again after the first W";
    EXPECT_EQ(SoundCount(run, 5), 1) << "the second W: wrong, and the game is lost";
    EXPECT_FALSE(run.Traced("sound 4")) << "no right answer";
    EXPECT_TRUE(run.Traced("sound 7")) << "the loss sequence's horn";
}

TEST_F(GamePaths, NinetyNinePenceStillBuysOnlyFiftyPenceAndALateAnswerLoses) {
    const PathRun run = Play(PathSetup(99).Autoplay("stake=100,answers=L"));
    EXPECT_EQ(run.MoneyMoves(), (Moves{"CUSE,50\r\n", "TERM\r\n"}));
    EXPECT_EQ(run.creditAfter, 49);
    ExpectQuestionRoundLost(run, 50);
    EXPECT_EQ(run.Counter(counter::kQuestionsAsked), 1);
    EXPECT_EQ(run.Counter(counter::kAnswersTimedOut), 1) << "the late answer";
    EXPECT_TRUE(run.Traced("sound 1")) << "the time-out sound";
    EXPECT_FALSE(run.Traced("sound 45")) << "a late answer gets no try-again";
    EXPECT_FALSE(run.Traced("sound 5")) << "nor the wrong answer's sound";
    ExpectReport("money_99_late_answer", run);
}

TEST_F(GamePaths, APoundFromCreditAndBankBuysAPoundGameLostOnAWrongAnswer) {
    // 30p credit and 70p bank: the bank makes up the stake. Right, wrong (the try-again is used
    // up), right, then wrong again on the third question: lost without a second chance.
    const PathRun run = Play(PathSetup(30, 70).Autoplay("stake=100,answers=RWRW"));
    EXPECT_EQ(run.MoneyMoves(), (Moves{"CUSE,100\r\n", "TERM\r\n"}));
    EXPECT_EQ(run.creditAfter, 0);
    EXPECT_EQ(run.bankAfter, 0);
    ExpectQuestionRoundLost(run, 100);
    EXPECT_EQ(run.Counter(counter::kQuestionsAsked), 3);
    EXPECT_EQ(SoundCount(run, 45), 1) << "one try-again in the game";
    EXPECT_EQ(SoundCount(run, 9), 1) << "the try-again count drops once";
    EXPECT_EQ(SoundCount(run, 5), 1);
    ExpectReport("money_100_pound_lost_on_wrong_answer", run);
}

TEST_F(GamePaths, MoreMoneyPlaysTwoPoundGamesTakingTheShortfallFromTheBankInWholePounds) {
    const PathRun run = Play(PathSetup(50, 200).Autoplay("games=2,stake=100,answers=L"));
    EXPECT_EQ(run.MoneyMoves(), (Moves{"CUSE,100\r\n", "CUSE,100\r\n", "TERM\r\n"}));
    EXPECT_EQ(run.creditAfter, 50) << "each stake moved a whole pound from the bank";
    EXPECT_EQ(run.bankAfter, 0);
    ASSERT_TRUE(run.recordPresent);
    EXPECT_EQ(run.Counter(counter::kGamesPound), 2);
    EXPECT_EQ(run.Counter(counter::kGames50p), 0);
    EXPECT_EQ(run.Counter(counter::kAnswersTimedOut), 2);
    EXPECT_EQ(run.Counter(counter::kQuestionRoundsLost), 2);
    EXPECT_EQ(run.Counter(counter::kBankBelow500), 2);
    EXPECT_FLOAT_EQ(run.record.balances[1], -60.0f);
    EXPECT_EQ(run.exitStatus, 0);
    ExpectReport("money_250_two_pound_games", run);
}

TEST_F(GamePaths, ARefusedPurchasePlaysNothingAndTheAttractScreenComesBack) {
    const PathRun run = Play(PathSetup(100).Autoplay("games=1").RefuseStake());
    EXPECT_EQ(run.MoneyMoves(), (Moves{"CUSE,50\r\n", "TERM\r\n"}));
    EXPECT_EQ(run.creditAfter, 100);
    EXPECT_FALSE(run.Traced("sound 30")) << "no question answered";
    EXPECT_FALSE(run.Traced("sound 7")) << "no end sequence";
    EXPECT_EQ(run.Counter(counter::kGames50p), 0);
    EXPECT_EQ(run.Counter(counter::kQuestionsAsked), 0);
    EXPECT_EQ(SoundCount(run, 25), 2) << "Start, then Main Menu";
    EXPECT_EQ(run.exitStatus, 0);
    ExpectReport("refused_purchase", run);
}

// ---- Leaving and the rules -------------------------------------------------------------------

TEST_F(GamePaths, MainMenuEndsTheProgramWithoutSellingAGame) {
    const PathRun run = Play(PathSetup(500, 500).Autoplay("games=0"));
    EXPECT_EQ(run.MoneyMoves(), Moves{"TERM\r\n"});
    EXPECT_EQ(run.commands.back(), "TERM\r\n");
    EXPECT_EQ(SoundCount(run, 25), 1);
    EXPECT_TRUE(run.Traced("music stop"));
    EXPECT_TRUE(run.Traced("exit 0"));
    EXPECT_EQ(run.LogCount("Closing log\n"), 1);
    EXPECT_EQ(run.exitStatus, 0);
    ExpectReport("main_menu_exit", run);
}

TEST_F(GamePaths, TheRulesScreenShowsAndGoesBackToTheAttractScreen) {
    // Rules, a touch to leave them, then Main Menu.
    const PathRun run =
        Play(PathSetup(100).Touches("2000 " + kRules + "\n4000 400 300\n6000 " + kMainMenu + "\n"));
    EXPECT_EQ(run.MoneyMoves(), Moves{"TERM\r\n"});
    EXPECT_EQ(SoundCount(run, 25), 3) << "Rules, the back button, Main Menu";
    EXPECT_FALSE(run.Traced("sound 43"));
    EXPECT_EQ(run.exitStatus, 0);
    ExpectReport("rules_and_main_menu", run);
}
