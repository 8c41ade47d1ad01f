// The modelled player's knobs that steer a game down one path: the answer script and the way
// the prize ball is picked.
#include <gtest/gtest.h>

#include "app/autoplay.h"
#include "platform/harness/autoplay_settings.h"

namespace {

using platform::AutoplaySettings;
using platform::PrizePick;

AutoplaySettings Parsed(const std::string& text) {
    AutoplaySettings settings;
    std::string error;
    EXPECT_TRUE(platform::ParseAutoplaySettings(text, settings, error)) << error;
    return settings;
}

bool Refused(const std::string& text) {
    AutoplaySettings settings;
    std::string error;
    const bool parsed = platform::ParseAutoplaySettings(text, settings, error);
    return !parsed && !error.empty();
}

MenuSituation WithMoney(int money) {
    MenuSituation situation;
    situation.money = money;
    return situation;
}

MenuSituation Question(int correctAnswer) {
    MenuSituation situation;
    situation.correctAnswer = correctAnswer;
    return situation;
}

// The answer given to the next question (a fresh answer menu), 0 TRUE, 1 FALSE, -1 no touch.
int NextAnswer(ModelledPlayer& player, int correctAnswer) {
    player.MenuStarted(MenuKind::Answer);
    return player.ChooseButton(MenuKind::Answer, Question(correctAnswer));
}

bool NotTheBlueBall(int ball) {
    return ball != 12;
}

MenuSituation PrizePickOnBoard() {
    MenuSituation situation;
    situation.ballAcceptable = NotTheBlueBall;
    situation.choosingPrizeBall = true;
    situation.blueBall = 12;
    return situation;
}

}  // namespace

TEST(PlayerKnobs, AnswerScriptsAndPrizePicksAreReadAndBadOnesRefused) {
    EXPECT_EQ(Parsed("answers=RwL").answers, "RWL");
    EXPECT_EQ(Parsed("take=2,answers=rrrrrrrw,seed=9").answers, "RRRRRRRW");
    EXPECT_EQ(Parsed("games=1").answers, "");
    EXPECT_EQ(Parsed("games=1").pick, PrizePick::Touch);
    EXPECT_EQ(Parsed("pick=touch").pick, PrizePick::Touch);
    EXPECT_EQ(Parsed("pick=blue").pick, PrizePick::Blue);
    EXPECT_EQ(Parsed("pick=wait,stake=100").pick, PrizePick::Wait);

    EXPECT_TRUE(Refused("answers="));
    EXPECT_TRUE(Refused("answers=RX"));
    EXPECT_TRUE(Refused("answers=R W"));
    EXPECT_TRUE(Refused("pick="));
    EXPECT_TRUE(Refused("pick=red"));
    EXPECT_TRUE(Refused("pick=Blue"));
}

TEST(PlayerKnobs, TheScriptAnswersEachGameInOrderThenTheChanceTakesOver) {
    AutoplaySettings settings = Parsed("games=2,right=0,answers=RW");
    ModelledPlayer player(settings);
    ASSERT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(100)), 2);
    EXPECT_EQ(NextAnswer(player, 1), 0) << "R: TRUE when TRUE is right";
    EXPECT_EQ(NextAnswer(player, 1), 1) << "W: FALSE when TRUE is right";
    EXPECT_EQ(NextAnswer(player, 0), 0) << "beyond the script: right=0 answers wrong";

    ASSERT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(100)), 2);
    EXPECT_EQ(NextAnswer(player, 0), 1) << "the next game starts the script again: R";
    EXPECT_EQ(NextAnswer(player, 0), 0) << "W";

    ModelledPlayer late(Parsed("answers=L"));
    ASSERT_EQ(late.ChooseButton(MenuKind::Attract, WithMoney(100)), 2);
    late.MenuStarted(MenuKind::Answer);
    for (int pass = 0; pass < 60; ++pass)
        EXPECT_EQ(late.ChooseButton(MenuKind::Answer, Question(0)), -1) << "L: never touches";
}

// A touch the game ignores (the Pass area) starts the answer menu again on the same question:
// no answer was given, so the script's letter still stands.
TEST(PlayerKnobs, AnAnswerMenuStartedAgainWithoutAnAnswerKeepsTheLetter) {
    ModelledPlayer player(Parsed("right=100,answers=WR"));
    ASSERT_EQ(player.ChooseButton(MenuKind::Attract, WithMoney(100)), 2);
    player.MenuStarted(MenuKind::Answer);
    player.MenuStarted(MenuKind::Answer);  // ended by the Pass area before the player touched
    EXPECT_EQ(player.ChooseButton(MenuKind::Answer, Question(1)), 1) << "W";
    EXPECT_EQ(NextAnswer(player, 1), 0) << "R";
}

TEST(PlayerKnobs, PrizePicksTouchWaitOrTryTheBlueBallFirst) {
    ModelledPlayer toucher(Parsed("pick=touch,seed=3"));
    toucher.MenuStarted(MenuKind::Ball);
    for (int pass = 0; pass < 50; ++pass) {
        const int ball = toucher.ChooseButton(MenuKind::Ball, PrizePickOnBoard());
        EXPECT_TRUE(ball >= 0 && ball < 22 && ball != 12) << ball;
    }

    ModelledPlayer waiter(Parsed("pick=wait"));
    waiter.MenuStarted(MenuKind::Ball);
    for (int pass = 0; pass < 50; ++pass)
        EXPECT_EQ(waiter.ChooseButton(MenuKind::Ball, PrizePickOnBoard()), -1);

    ModelledPlayer blue(Parsed("pick=blue"));
    blue.MenuStarted(MenuKind::Ball);
    EXPECT_EQ(blue.ChooseButton(MenuKind::Ball, PrizePickOnBoard()), 12) << "the blue ball first";
    const int next = blue.ChooseButton(MenuKind::Ball, PrizePickOnBoard());
    EXPECT_TRUE(next >= 0 && next != 12) << "then one the game accepts: " << next;
}

TEST(PlayerKnobs, ThePrizePickKnobLeavesTheOpeningPicksAlone) {
    MenuSituation opening = PrizePickOnBoard();
    opening.choosingPrizeBall = false;
    for (const char* pick : {"pick=wait", "pick=blue"}) {
        ModelledPlayer player(Parsed(pick));
        player.MenuStarted(MenuKind::Ball);
        const int ball = player.ChooseButton(MenuKind::Ball, opening);
        EXPECT_TRUE(ball >= 0 && ball != 12) << pick << " opened " << ball;
    }
}
