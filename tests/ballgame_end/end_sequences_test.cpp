// The end-of-game sequences end to end on the headless harness with the content set: what each
// pays through the credit service, the sounds in order, the plate and amount on the last frame,
// which touches end the last look early, and a cabinet without the swoop video or whose window
// is closed part-way.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "base/input.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/sprite_files.h"
#include "engines/graphics/sprites.h"
#include "engines/graphics/video.h"
#include "rules/play_game.h"
#include "rules/winnings.h"
#include "screens/cabinet_screens.h"
#include "screens/end_sequences.h"
#include "support/screen_run.h"

namespace {

using Commands = std::vector<std::string>;

// Where the plate and the amount's box lie once the ball is fully open. The open right half
// covers the plate's last column.
constexpr int kPlateLeft = 254, kPlateTop = 214, kPlateRight = 545, kPlateBottom = 386;
constexpr int kBoxLeft = 349, kBoxTop = 330, kBoxRight = 451, kBoxBottom = 364;
constexpr uint32_t kMagenta = 0x00FF00FF;

bool InAmountBox(int x, int y) {
    return x >= kBoxLeft && x < kBoxRight && y >= kBoxTop && y < kBoxBottom;
}

struct PlateOnScreen {
    int differentOutsideBox = 0;
    int textLeft = 800, textRight = -1;  // columns of the box that differ from the plate
};

// The colour of (x, y) of a sprite's picture (decoded), without the fourth byte.
uint32_t SpriteColour(const Sprite& sprite, int x, int y) {
    return SpriteFileTable[sprite.fileIndex].surface->PixelAt(x, y) & 0x00FFFFFFu;
}

// Compares the uncovered plate on the back buffer with the plate's own picture.
PlateOnScreen ComparePlate(const Sprite& plate) {
    PlateOnScreen seen;
    for (int y = kPlateTop; y < kPlateBottom; ++y)
        for (int x = kPlateLeft; x < kPlateRight; ++x) {
            const uint32_t own = SpriteColour(plate, x - kPlateLeft, y - kPlateTop);
            if (own == kMagenta || ScreenColour(x, y) == own) continue;
            if (!InAmountBox(x, y)) {
                ++seen.differentOutsideBox;
            } else {
                seen.textLeft = std::min(seen.textLeft, x);
                seen.textRight = std::max(seen.textRight, x);
            }
        }
    return seen;
}

// The amount is centred on the plate's middle, x 400.
void ExpectAmountCentred(const PlateOnScreen& seen) {
    ASSERT_GE(seen.textRight, seen.textLeft) << "no amount on the plate";
    EXPECT_NEAR((seen.textLeft + seen.textRight + 1) / 2.0, 400.0, 3.0);
}

// How many of a ball half's fully opaque pixels the screen does not show at (x, y); -1 when the
// half has none to compare.
int HalfMismatches(const Surface* half, int atX, int atY) {
    int mismatches = 0, opaque = 0;
    for (int y = 0; y < half->height; ++y)
        for (int x = 0; x < half->width; ++x) {
            const uint32_t pixel = half->PixelAt(x, y);
            if (pixel >> 24 != 0xFF) continue;
            ++opaque;
            if (ScreenColour(atX + x, atY + y) != (pixel & 0x00FFFFFFu)) ++mismatches;
        }
    return opaque > 0 ? mismatches : -1;
}

// The content set made by make-assets, linked into the working directory (optionally without
// its swoop video), and a credit service that takes every payment.
class EndSequence : public ::testing::Test, protected ScreenRun {
  protected:
    void SetUp() override {
        AnswerCredit([](const std::string& command) -> std::string {
            if (command.rfind("CADD,", 0) == 0 || command == "CGET\r\n") return "CTEL,0\r\n";
            if (command.rfind("BADD,", 0) == 0 || command == "BGET\r\n") return "BTEL,0\r\n";
            return "FAIL\r\n";
        });
    }
    static void LinkContent(bool withVideo = true) {
        namespace fs = std::filesystem;
        const fs::path content = CONTENT_DIR;
        fs::create_directory("Graphic_resource");
        for (const fs::directory_entry& entry :
             fs::directory_iterator(content / "Graphic_resource")) {
            if (!withVideo && entry.path().filename() == "avis") continue;
            fs::create_directory_symlink(entry.path(),
                                         fs::path("Graphic_resource") / entry.path().filename());
        }
        fs::create_directory_symlink(content / "sounds", "sounds");
    }
    // A script line of a touch on the middle of the screen.
    static std::string TouchMiddle(uint32_t ms) { return TouchLine(ms, 400, 300); }
    long SoundTime(int number) const { return FirstAt("sound " + std::to_string(number)); }

    // A won game ending as the order of play ends it: the win sequence, then the payment.
    static void PlayWonGameEnd(int32_t amount) {
        SetGameState(STATE_WON);
        lWinAmount = amount;
        CabinetScreens screens;
        PlayEnd(screens);
    }
};

TEST_F(EndSequence, SmallWinGoesToTheCreditAndShowsInPence) {
    LinkContent();
    Start();
    PlayWonGameEnd(5);

    EXPECT_EQ(MoneyMoves(), Commands{"CADD,5\r\n"});
    const PlateOnScreen seen = ComparePlate(congratsBaseSprite);
    EXPECT_EQ(seen.differentOutsideBox, 0);
    ExpectAmountCentred(seen);
    // "5p" is two glyphs of a font whose cells are far narrower than the box.
    EXPECT_LT(seen.textRight - seen.textLeft, 60);
    // The halves, fully apart: the left from x 300, the right from x 399, 146 pixels out.
    EXPECT_EQ(HalfMismatches(openBallLeftImage, 154, 200), 0);
    EXPECT_EQ(HalfMismatches(openBallRightImage, 545, 200), 0);
}

TEST_F(EndSequence, PoundsAndPenceAreSplitBetweenBankAndCredit) {
    LinkContent();
    Start();
    PlayWonGameEnd(235);

    EXPECT_EQ(MoneyMoves(), (Commands{"BADD,200\r\n", "CADD,35\r\n"}));
    const PlateOnScreen seen = ComparePlate(congratsBaseSprite);
    EXPECT_EQ(seen.differentOutsideBox, 0);
    ExpectAmountCentred(seen);
}

TEST_F(EndSequence, WholePoundWinsGoToTheBankAlone) {
    LinkContent();
    Start();
    for (int32_t pounds : {100, 200, 300, 500})
        PlayWonGameEnd(pounds);
    EXPECT_EQ(MoneyMoves(),
              (Commands{"BADD,100\r\n", "BADD,200\r\n", "BADD,300\r\n", "BADD,500\r\n"}));
}

TEST_F(EndSequence, WinStopsTheMusicAndPlaysItsSoundsInOrder) {
    LinkContent();
    Start();
    PlayWinSequence(50);

    std::vector<std::string> heard;
    for (const Event& event : Trace())
        if (event.what.rfind("sound", 0) == 0 || event.what.rfind("music", 0) == 0)
            heard.push_back(event.what);
    EXPECT_EQ(heard, (std::vector<std::string>{"music stop", "sound 11", "sound 43", "sound 20"}));
}

TEST_F(EndSequence, LossShowsTheGameOverPlateAndPaysNothing) {
    LinkContent();
    Start();
    PlayLossSequence();

    EXPECT_TRUE(MoneyMoves().empty());
    EXPECT_EQ(Sounds(), (std::vector<int>{7, 43}));
    const PlateOnScreen seen = ComparePlate(gameOverBaseSprite);
    EXPECT_EQ(seen.differentOutsideBox, 0);
    EXPECT_EQ(seen.textRight, -1) << "a loss shows no amount";
}

// Only a touch in the three-second look at the plate ends the sequence early; touches while the
// animation, the drop and the opening run are thrown away.
TEST_F(EndSequence, OnlyATouchDuringTheLastLookEndsItEarly) {
    LinkContent();
    Start();
    PlayWinSequence(5);
    const uint32_t fullLength = RunClock();
    // The look at the plate follows the plate's sound and takes three seconds.
    const long lookStart = SoundTime(20);
    ASSERT_GT(lookStart, 0);
    EXPECT_NEAR(fullLength, lookStart + 3000, 2.0);
    std::cout << "win sequence: " << fullLength << " ms of game time, the look from " << lookStart
              << " ms\n";

    const uint32_t look = static_cast<uint32_t>(lookStart);
    Start(TouchMiddle(100) + TouchMiddle(900) + TouchMiddle(look - 300) + TouchMiddle(look - 5));
    PlayWinSequence(5);
    EXPECT_EQ(RunClock(), fullLength) << "a touch before the last look shortened the sequence";

    Start(TouchMiddle(look + 1000));
    PlayWinSequence(5);
    EXPECT_NEAR(RunClock(), lookStart + 1000, 5.0);
    EXPECT_EQ(swTouchX, 400) << "the touch stays for the next screen";
}

TEST_F(EndSequence, LossTakesAsLongAsTheWin) {
    LinkContent();
    Start();
    PlayWinSequence(5);
    const uint32_t winLength = RunClock();
    Start();
    PlayLossSequence();
    const uint32_t lossLength = RunClock();
    std::cout << "loss sequence: " << lossLength << " ms of game time\n";
    EXPECT_NEAR(lossLength, winLength, 20.0);
    // The swoop (40 frames at 30 ms), the drop and the opening (600 ms each) and the last look.
    EXPECT_GE(lossLength, 1200u + 600 + 600 + 3000);
}

TEST_F(EndSequence, WithoutTheVideoTheBallDropsOntoTheScreenAndTheWinIsPaid) {
    LinkContent(false);
    Start();
    constexpr uint32_t kBoardColour = 0x00123456;
    FillBackBufferRect(0, 0, 800, 600, kBoardColour);
    PlayWonGameEnd(5);

    EXPECT_EQ(MoneyMoves(), Commands{"CADD,5\r\n"});
    EXPECT_EQ(Sounds(), (std::vector<int>{11, 43, 20}));
    EXPECT_EQ(ScreenColour(20, 20), kBoardColour) << "the screen as it stood is the backdrop";
    EXPECT_EQ(ComparePlate(congratsBaseSprite).differentOutsideBox, 0);
    EXPECT_LT(RunClock(), 600u + 600 + 3000 + 100) << "no time is spent on a missing video";
    EXPECT_NE(Log().find("Swoop.avi cannot be played"), std::string::npos);
}

// A win owed and cut short mid-sequence is paid once, by the way out, and booked with it.
TEST_F(EndSequence, AWinOwedIsPaidOnceByTheWayOutWhenTheWindowIsClosedDuringIt) {
    LinkContent();
    Start("300 close\n");
    lWinAmount = 235;
    uwPriceOfPlay = 100;
    OweWin();
    EXPECT_THROW(PlayWinSequence(235), WindowClosed);
    EXPECT_TRUE(MoneyMoves().empty()) << "the sequence itself pays only at its end";
    EXPECT_EQ(VideoState(), kVideoClosed);
    SettleCutShortGame();
    SettleCutShortGame();
    EXPECT_EQ(MoneyMoves(), (Commands{"BADD,200\r\n", "CADD,35\r\n"}));
    EXPECT_EQ(CounterValue(counter::kWonTotal), 235);
    EXPECT_EQ(CounterValue(counter::kWinningGamesPound), 1);
}

// A win paid at the end of its sequence but not yet booked is booked by the way out, not paid
// again.
TEST_F(EndSequence, AWinPaidButNotBookedIsBookedByTheWayOutWithoutASecondPayment) {
    LinkContent(false);
    Start();
    lWinAmount = 5;
    uwPriceOfPlay = 50;
    OweWin();
    PlayWinSequence(5);
    SettleCutShortGame();
    EXPECT_EQ(MoneyMoves(), Commands{"CADD,5\r\n"});
    EXPECT_EQ(CounterValue(counter::kWon50p), 5);
}

TEST_F(EndSequence, LossEndsQuietlyWhenTheWindowIsClosed) {
    LinkContent();
    Start("300 close\n");
    EXPECT_THROW(PlayLossSequence(), WindowClosed);
    EXPECT_TRUE(MoneyMoves().empty());
    EXPECT_EQ(VideoState(), kVideoClosed);
}

// Amounts the 16-bit link cannot carry in one go are paid in whole-pound pieces; an amount that
// is not a win takes nothing from the player.
TEST_F(EndSequence, OversizedWinsArePaidInFullAndNegativeOnesNotAtAll) {
    LinkContent(false);
    Start();
    PlayWonGameEnd(40035);
    EXPECT_EQ(MoneyMoves(), (Commands{"BADD,32700\r\n", "BADD,7300\r\n", "CADD,35\r\n"}));
    PlayWonGameEnd(-5);
    PlayWonGameEnd(0);
    EXPECT_EQ(MoneyMoves().size(), 3u);
}

TEST(WinAmountText, PenceBelowAPoundAndPoundsWithPenceFromAPound) {
    EXPECT_EQ(WinAmountText(5), "5p");
    EXPECT_EQ(WinAmountText(99), "99p");
    EXPECT_EQ(WinAmountText(100),
              "\xA3"
              "1.00");
    EXPECT_EQ(WinAmountText(235),
              "\xA3"
              "2.35");
    EXPECT_EQ(WinAmountText(500),
              "\xA3"
              "5.00");
}

}  // namespace
