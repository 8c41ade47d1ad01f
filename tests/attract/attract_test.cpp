// Selling a game: the attract screen, the stake screen and the purchase, as the player and the
// credit service see them.
#include <gtest/gtest.h>

#include "app/autoplay.h"
#include "attract/selling_screens.h"
#include "engines/control/game_state.h"

using Moves = std::vector<std::string>;

TEST_F(SellingScreens, BelowFiftyStartIsRefusedAndThirtySecondsEndTheProgram) {
    wallet.credit = 49;
    EXPECT_FALSE(RunWaitForStart("2000 650 500\n"));
    EXPECT_EQ(MoneyMoves(), Moves{});
    EXPECT_EQ(Sounds(), std::vector<int>{25}) << "only the Main Menu press at the end";
    EXPECT_GE(FirstAt("sound 25"), 30000) << "the refused touch does not reset the idle time";
    EXPECT_LT(FirstAt("music stop"), FirstAt("sound 25") + 1);
    EXPECT_EQ(ScreenAt(kRightButtonX, kRightButtonY), Pixel32(kInsertCoinsColour));
    ExpectEvents("idle_with_49");
}

// A touch refused for want of money is used up: coins that arrive afterwards never act on it, so
// no game is bought without the player touching again.
TEST_F(SellingScreens, AStartRefusedForWantOfMoneyIsUsedUpBeforeCoinsArrive) {
    wallet.coinsAtMs = 5000;
    wallet.coins = 100;
    EXPECT_FALSE(RunWaitForStart("2000 650 500\n"));
    EXPECT_EQ(wallet.credit, 100) << "the coins arrived";
    EXPECT_EQ(MoneyMoves(), Moves{});
    EXPECT_EQ(Sounds(), std::vector<int>{25}) << "no Start press: only Main Menu at the end";
}

TEST_F(SellingScreens, APoundRefusedForWantOfMoneyIsUsedUpBeforeCoinsArrive) {
    wallet.credit = 60;
    wallet.coinsAtMs = 6000;
    wallet.coins = 100;
    // Start, then a touch on the closed Pound door once the 50p door is open.
    EXPECT_TRUE(RunWaitForStart("1000 650 500\n5000 200 300\n"));
    EXPECT_EQ(MoneyMoves(), Moves{"CUSE,50\r\n"}) << "the stake clock buys 50p, not the Pound";
}

TEST_F(SellingScreens, SixtyOpensOnlyTheFiftyPenceDoorAndATimeOutBuysFiftyPence) {
    wallet.credit = 60;
    // Start, then a touch on the Pound side once the doors are open.
    EXPECT_TRUE(RunWaitForStart("1000 650 500\n5000 200 300\n"));
    EXPECT_EQ(uwPriceOfPlay, 50);
    EXPECT_EQ(MoneyMoves(), Moves{"CUSE,50\r\n"});
    EXPECT_EQ(wallet.credit, 10);
    EXPECT_EQ(Sounds(), (std::vector<int>{25, 43, 46, 3}))
        << "the Pound door never opened, so nothing closes";
    EXPECT_EQ(ScreenAt(kFiftyPenceDoorX, kDoorY), Pixel32(FiftyPenceDoorColour(10)));
    EXPECT_EQ(ScreenAt(kPoundDoorX, kDoorY), Pixel32(PoundDoorColour(0)));
    // The stake clock starts after the doors and pictures: 15 s later the 50p press is heard.
    const long clockStart = FirstAt("sound 46") + 600;
    EXPECT_GE(FirstAt("sound 3") - clockStart, 15000);
    EXPECT_LE(FirstAt("sound 3") - clockStart, 15100);
    ExpectEvents("stake_time_out_with_60");
}

TEST_F(SellingScreens, AHundredOpensBothDoorsAndPoundBuysAPoundGame) {
    wallet.credit = 60;
    wallet.bank = 40;
    EXPECT_TRUE(RunWaitForStart("1000 650 500\n5000 200 300\n"));
    EXPECT_EQ(uwPriceOfPlay, 100);
    EXPECT_EQ(MoneyMoves(), Moves{"CUSE,100\r\n"}) << "the service decides how to take it";
    EXPECT_EQ(Sounds(), (std::vector<int>{25, 43, 46, 3, 44})) << "the 50p door closes";
    EXPECT_EQ(ScreenAt(kPoundDoorX, kDoorY), Pixel32(PoundDoorColour(10)));
    EXPECT_EQ(ScreenAt(kFiftyPenceDoorX, kDoorY), Pixel32(FiftyPenceDoorColour(0)));
    EXPECT_LT(finishedAt, 7000u);
    ExpectEvents("pound_with_100");
}

TEST_F(SellingScreens, ChoosingFiftyPenceWithAHundredClosesThePoundDoor) {
    wallet.credit = 500;
    EXPECT_TRUE(RunWaitForStart("1000 650 500\n5000 590 300\n"));
    EXPECT_EQ(uwPriceOfPlay, 50);
    EXPECT_EQ(MoneyMoves(), Moves{"CUSE,50\r\n"});
    EXPECT_EQ(Sounds(), (std::vector<int>{25, 43, 46, 3, 44}));
    EXPECT_EQ(ScreenAt(kPoundDoorX, kDoorY), Pixel32(PoundDoorColour(0)));
    EXPECT_EQ(ScreenAt(kFiftyPenceDoorX, kDoorY), Pixel32(FiftyPenceDoorColour(10)));
}

TEST_F(SellingScreens, ARefusedPurchaseGoesBackToTheAttractScreenWithoutAGame) {
    wallet.credit = 60;
    wallet.refuseUse = true;
    // Start and 50p; then Main Menu on the attract screen that comes back.
    EXPECT_FALSE(RunWaitForStart("1000 650 500\n5000 590 300\n7000 100 500\n"));
    EXPECT_EQ(MoneyMoves(), Moves{"CUSE,50\r\n"});
    EXPECT_EQ(wallet.credit, 60);
    EXPECT_EQ(Sounds(), (std::vector<int>{25, 43, 46, 3, 25}));
    EXPECT_GE(FirstAt("music stop"), 7000);
    EXPECT_EQ(ScreenAt(kRightButtonX, kRightButtonY), Pixel32(kStartColour));
    ExpectEvents("refused_purchase");
}

TEST_F(SellingScreens, MainMenuStopsTheMusicAndEndsAfterThePress) {
    wallet.credit = 500;
    EXPECT_FALSE(RunWaitForStart("1500 100 500\n"));
    EXPECT_EQ(MoneyMoves(), Moves{});
    EXPECT_EQ(Sounds(), std::vector<int>{25});
    EXPECT_EQ(FirstAt("music play"), 0);
    const long stop = FirstAt("music stop");
    EXPECT_GE(stop, 1500);
    EXPECT_LT(stop, 1600);
    EXPECT_EQ(FirstAt("sound 25"), stop);
    // Pressed 300 ms, normal 300 ms, then half a second for the sound to finish.
    EXPECT_GE(static_cast<long>(finishedAt) - stop, 1100);
    EXPECT_LT(static_cast<long>(finishedAt) - stop, 1200);
    ExpectEvents("main_menu");
}

TEST_F(SellingScreens, RulesComeAndGoOnATouchInsideTheScreen) {
    wallet.credit = 500;
    // Rules; a touch on the screen's left edge (ignored); a touch at (1, 1); then Main Menu.
    EXPECT_FALSE(RunWaitForStart("1000 400 500\n3000 0 300\n5000 1 1\n8000 100 500\n"));
    EXPECT_EQ(Sounds(), (std::vector<int>{25, 25, 25}));
    const std::vector<long> presses = TimesOf("sound 25");
    ASSERT_EQ(presses.size(), 3u);
    EXPECT_GE(presses[1], 5000) << "the touch at x 0 did not end the rules";
    EXPECT_LT(presses[1], 5020);
    EXPECT_GE(presses[2], 8000) << "the attract menu took touches again";
    EXPECT_EQ(MoneyMoves(), Moves{});
    ExpectEvents("rules_and_back");
}

TEST_F(SellingScreens, RulesGiveUpAfterTwentySeconds) {
    wallet.credit = 500;
    EXPECT_FALSE(RunWaitForStart("1000 400 500\n23000 100 500\n"));
    const std::vector<long> presses = TimesOf("sound 25");
    ASSERT_EQ(presses.size(), 3u);
    // The Rules press takes 600 ms; the rules then stay 20 s.
    EXPECT_GE(presses[1] - presses[0], 20600);
    EXPECT_LT(presses[1] - presses[0], 20650);
    ExpectEvents("rules_time_out");
}

TEST_F(SellingScreens, TheModelledPlayerBuysItsGamesAndLeaves) {
    wallet.credit = 150;
    platform::AutoplaySettings settings;
    settings.enabled = true;
    settings.games = 2;
    settings.stake = 100;
    StartAutoplay(settings);
    // A £1 game; then only 50p is left, so a 50p game; then Main Menu.
    EXPECT_FALSE(RunWaitForStart("", 3));
    EXPECT_EQ(answers, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(MoneyMoves(), (Moves{"CUSE,100\r\n", "CUSE,50\r\n"}));
    EXPECT_EQ(wallet.credit, 0);
    ExpectEvents("autoplay_two_games");
}
