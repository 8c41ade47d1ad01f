// Selling a game: the attract screen, the stake screen and the purchase, as the player and the
// credit service see them, run on a small content set with a scripted credit service holding the
// player's money.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "app/autoplay.h"
#include "base/waits.h"
#include "engines/control/game_state.h"
#include "engines/graphics/sprites.h"
#include "screens/attract.h"
#include "support/screen_run.h"
#include "support/small_content.h"

namespace {

using Moves = std::vector<std::string>;

// Colours of the pictures the tests look for.
constexpr Colour kPlainColour{40, 40, 40};
constexpr Colour kInsertCoinsColour{200, 30, 30};
constexpr Colour kInsertCoinsPressed{120, 10, 10};
constexpr Colour kStartColour{30, 200, 30};
constexpr Colour kStartPressed{10, 120, 10};
constexpr int kButtonWidth = 40, kButtonFrameHeight = 20;
constexpr int kDoorWidth = 16, kDoorFrameHeight = 10, kDoorFrames = 11;

Colour FiftyPenceDoorColour(int frame) {
    return Colour{static_cast<uint8_t>(20 * frame + 10), 100, 0};
}
Colour PoundDoorColour(int frame) {
    return Colour{static_cast<uint8_t>(20 * frame + 10), 160, 0};
}

// Sample points inside the pictures.
constexpr int kRightButtonX = 540, kRightButtonY = 475;
constexpr int kFiftyPenceDoorX = 480, kPoundDoorX = 74, kDoorY = 155;

void WriteSellingContent() {
    WritePlainSpriteFiles(kPlainColour);
    WriteContentFile("Graphic_resource\\Menu\\InsertCoins.BMP",
                     FrameStrip(kButtonWidth, kButtonFrameHeight, 2, [](int frame) {
                         return frame == 0 ? kInsertCoinsColour : kInsertCoinsPressed;
                     }));
    WriteContentFile("Graphic_resource\\Menu\\PlayBlank.BMP",
                     FrameStrip(kButtonWidth, kButtonFrameHeight, 2, [](int frame) {
                         return frame == 0 ? kStartColour : kStartPressed;
                     }));
    WriteContentFile("Graphic_resource//Stake//Anim50p.bmp",
                     FrameStrip(kDoorWidth, kDoorFrameHeight, kDoorFrames, FiftyPenceDoorColour));
    WriteContentFile("Graphic_resource//Stake//AnimPound.bmp",
                     FrameStrip(kDoorWidth, kDoorFrameHeight, kDoorFrames, PoundDoorColour));
}

// The player's money as the credit service keeps it.
struct Wallet {
    std::atomic<int> credit{0};
    std::atomic<int> bank{0};
    std::atomic<bool> refuseUse{false};
    // Coins inserted during the run: `coins` pence land on the credit before the first credit read
    // at or after `coinsAtMs` of the run (the game waits for the reply, so its clock stands still).
    std::atomic<uint32_t> coinsAtMs{0};
    std::atomic<int> coins{0};

    std::string Reply(const std::string& command) {
        if (command == "CGET\r\n" && coins > 0 && ClockMs() >= coinsAtMs)
            credit += coins.exchange(0);
        if (command == "CGET\r\n") return "CTEL," + std::to_string(credit.load()) + "\r\n";
        if (command == "BGET\r\n") return "BTEL," + std::to_string(bank.load()) + "\r\n";
        if (command.rfind("CUSE,", 0) == 0) {
            // Taken from the credit, and from the bank when the credit falls short.
            const int pence = atoi(command.c_str() + 5);
            if (refuseUse || pence > credit + bank) return "FAIL\r\n";
            const int fromCredit = std::min(pence, credit.load());
            credit -= fromCredit;
            bank -= pence - fromCredit;
            return "CTEL," + std::to_string(credit.load()) + "\r\n";
        }
        return "FAIL\r\n";
    }
};

class SellingScreens : public ::testing::Test, protected ScreenRun {
  protected:
    void SetUp() override {
        AnswerCredit([this](const std::string& command) { return wallet.Reply(command); });
        WriteSellingContent();
    }

    // Runs WaitForStart `calls` times in a row with these scripted touches ("MS X Y" lines) and
    // returns its last answer.
    bool RunWaitForStart(const std::string& touches, int calls = 1) {
        Start(touches);
        EXPECT_EQ(SpriteFailureCode(), 0) << "the content set keeps the display running";
        return WaitForStartCalls(calls);
    }
    bool WaitForStartCalls(int calls) {
        for (int call = 0; call < calls; ++call)
            answers.push_back(WaitForStart());
        finishedAt = RunClock();
        Stop();
        return answers.back();
    }
    void ExpectEvents(const std::string& name) const {
        ScreenRun::ExpectEvents("tests/attract/expected/" + name + ".trace");
    }

    Wallet wallet;
    // Every answer of WaitForStart, and when it last returned.
    std::vector<bool> answers;
    uint32_t finishedAt = 0;
};

}  // namespace

TEST_F(SellingScreens, BelowFiftyStartIsRefusedAndThirtySecondsEndTheProgram) {
    wallet.credit = 49;
    EXPECT_FALSE(RunWaitForStart("2000 650 500\n"));
    EXPECT_EQ(MoneyMoves(), Moves{});
    EXPECT_EQ(Sounds(), std::vector<int>{25}) << "only the Main Menu press at the end";
    EXPECT_GE(FirstAt("sound 25"), 30000) << "the refused touch does not reset the idle time";
    EXPECT_LT(FirstAt("music stop"), FirstAt("sound 25") + 1);
    EXPECT_EQ(ScreenColour(kRightButtonX, kRightButtonY), Pixel32(kInsertCoinsColour));
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
    EXPECT_EQ(ScreenColour(kFiftyPenceDoorX, kDoorY), Pixel32(FiftyPenceDoorColour(10)));
    EXPECT_EQ(ScreenColour(kPoundDoorX, kDoorY), Pixel32(PoundDoorColour(0)));
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
    EXPECT_EQ(ScreenColour(kPoundDoorX, kDoorY), Pixel32(PoundDoorColour(10)));
    EXPECT_EQ(ScreenColour(kFiftyPenceDoorX, kDoorY), Pixel32(FiftyPenceDoorColour(0)));
    EXPECT_LT(finishedAt, 7000u);
    ExpectEvents("pound_with_100");
}

TEST_F(SellingScreens, ChoosingFiftyPenceWithAHundredClosesThePoundDoor) {
    wallet.credit = 500;
    EXPECT_TRUE(RunWaitForStart("1000 650 500\n5000 590 300\n"));
    EXPECT_EQ(uwPriceOfPlay, 50);
    EXPECT_EQ(MoneyMoves(), Moves{"CUSE,50\r\n"});
    EXPECT_EQ(Sounds(), (std::vector<int>{25, 43, 46, 3, 44}));
    EXPECT_EQ(ScreenColour(kPoundDoorX, kDoorY), Pixel32(PoundDoorColour(0)));
    EXPECT_EQ(ScreenColour(kFiftyPenceDoorX, kDoorY), Pixel32(FiftyPenceDoorColour(10)));
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
    EXPECT_EQ(ScreenColour(kRightButtonX, kRightButtonY), Pixel32(kStartColour));
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
    Start();
    StartAutoplay(settings);
    // A £1 game; then only 50p is left, so a 50p game; then Main Menu.
    EXPECT_FALSE(WaitForStartCalls(3));
    EXPECT_EQ(answers, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(MoneyMoves(), (Moves{"CUSE,100\r\n", "CUSE,50\r\n"}));
    EXPECT_EQ(wallet.credit, 0);
    ExpectEvents("autoplay_two_games");
}
