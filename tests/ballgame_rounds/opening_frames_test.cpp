// The frames of the opening rounds, pixel for pixel on the stand-in screen: pictures whose cells
// name themselves over a background whose pixels name their place.
#include <gtest/gtest.h>

#include "ballgame_board/board_screen.h"
#include "ballgame_rounds/ball_game.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprite_files.h"
#include "graphics_sprites/sprite_pictures.h"
#include "rules/board.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/opening_frames.h"
#include "screens/prize_ball.h"

namespace {

constexpr int kPickABallPicture = 30;
constexpr uint32_t kInsideColour = 0x00C08040;
constexpr int kMiddleFileId = 54;

// The stand-in screen with the two pictures only the opening rounds draw: the prompt to pick a
// ball and the inside of the player's ball.
class OpeningFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUpBallGame(50, 17, 0);
        pickABallImage = CreateImageSurface(200, 60);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                pickABallImage->SetPixel(x, y, 0xFF000000u | CellColour(kPickABallPicture, 0));
        AddImageEntry(kPickABallName, 200, 60, 1);
        WriteSpriteFile(kMiddleFileId, BmpBytes(150, 96, [](int, int) {
                            return Rgb{0xC0, 0x80, 0x40};
                        }));
        LoadSprite(middleSprite, kMiddleFileId, 1);
        ForgetBallMenuState();
        AnswerClockSet(10000, 1);
        Scribble(0, 0, 800, 600);
    }
    void TearDown() override {
        pickABallImage = nullptr;
        middleSprite = Sprite{};
        ResetGameState();
    }

    BoardScreen screen_;
};

// The colour of value-picture cell `cell` on a ball's value place.
uint32_t ValueColour(const Ball& ball, int cell) {
    return CellColour(kValuePictures + ValueImageIndex(ball.value), cell);
}

}  // namespace

TEST(SpinCells, TheValueSpinsTwiceRoundAndSettlesOnItsOwnCell) {
    const int expected[kSpinSteps] = {8, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1};
    for (int step = 0; step < kSpinSteps; ++step)
        EXPECT_EQ(SpinCell(step), expected[step]) << step;
    EXPECT_EQ(SpinCell(kSpinSteps - 1), kSettledValueCell);
    EXPECT_EQ(SpinCell(99), kSettledValueCell);
}

TEST_F(OpeningFrames, ThePickFrameBlinksThePromptToPickABall) {
    DrawOpenPickFrame();
    EXPECT_EQ(ScreenColour(56, 494), CellColour(kPickABallPicture, 0));
    EXPECT_EQ(ScreenColour(480, 520), CellColour(kPrizeBallOverPicture, 0));
    EXPECT_EQ(ScreenColour(343, 469), CellColour(kYourBallLeftPicture, 0));
    EXPECT_EQ(ScreenColour(axBalls[0].x + 1, axBalls[0].y + 1), CellColour(kRedCupPicture, 0))
        << "the player's ball left an empty cup";
    EXPECT_EQ(ScreenColour(axBalls[1].x + 1, axBalls[1].y + 1), CellColour(kRedBallPicture, 0));
    EXPECT_EQ(ScreenColour(5, 595), BoardBackgroundColour(5, 595));
    AdvanceClock(200);
    DrawOpenPickFrame();
    EXPECT_EQ(ScreenColour(56, 494), BoardBackgroundColour(56, 494)) << "blinked off";
}

TEST_F(OpeningFrames, TheSpinShowsTheValueCellOfItsStepOnTheOpenBall) {
    const Ball& ball = axBalls[3];
    DrawValueOnOpenBall(ball, SpinCell(0), 1.0f);
    EXPECT_EQ(ScreenColour(ball.x + 6, ball.y + 22), ValueColour(ball, 8));
    EXPECT_EQ(ScreenColour(ball.x + 45, ball.y + 41), ValueColour(ball, 8));
    EXPECT_EQ(ScreenColour(ball.x + 5, ball.y + 22), CellColour(kRedBallPicture, 10));
    EXPECT_EQ(ScreenColour(ball.x + 60, ball.y + 5), BoardBackgroundColour(ball.x + 60, ball.y + 5))
        << "the ball's box is redrawn from the background";
    DrawValueOnOpenBall(ball, SpinCell(kSpinSteps - 1), 1.0f);
    EXPECT_EQ(ScreenColour(ball.x + 20, ball.y + 30), ValueColour(ball, 1));

    // Faint at the start of the spin: mostly the open ball shows through.
    DrawValueOnOpenBall(ball, SpinCell(0), 0.1f);
    const uint32_t faint = ScreenColour(ball.x + 20, ball.y + 30);
    const int red = static_cast<int>(faint >> 16);
    const int ballRed = static_cast<int>(CellColour(kRedBallPicture, 10) >> 16);
    const int valueRed = static_cast<int>(ValueColour(ball, 8) >> 16);
    EXPECT_NEAR(red, ballRed + (valueRed - ballRed) / 10, 2);
}

TEST_F(OpeningFrames, TheBlueBallShowsTheEmptyValue) {
    const Ball& blue = axBalls[kBlueBall];
    DrawValueOnOpenBall(blue, SpinCell(5), 1.0f);
    EXPECT_EQ(ScreenColour(blue.x + 10, blue.y + 30), CellColour(kValuePictures, SpinCell(5)));
    EXPECT_EQ(ScreenColour(blue.x + 2, blue.y + 2), CellColour(kBlueBallPicture, 10));
}

TEST_F(OpeningFrames, ThePlateFlashesAndSlidesOffTheWinPlan) {
    const Ball& ball = axBalls[7];
    const int cell = WinPlanCell(ball.value);
    DrawBallsPlate(ball, true);
    EXPECT_EQ(ScreenColour(ball.planX + 50, ball.planY + 13),
              CellColour(kWinPlanBrightPicture, cell));
    DrawBallsPlate(ball, false);
    EXPECT_EQ(ScreenColour(ball.planX + 50, ball.planY + 13), CellColour(kWinPlanPicture, cell));

    DrawClosingBall(ball, 4, kWinPlanX + 75);
    EXPECT_EQ(ScreenColour(ball.x + 1, ball.y + 1), CellColour(kRedBallPicture, 4));
    EXPECT_EQ(ScreenColour(ball.planX + 74, ball.planY + 13),
              BoardBackgroundColour(ball.planX + 74, ball.planY + 13))
        << "the plate's place is cleared";
    EXPECT_EQ(ScreenColour(kWinPlanX + 75, ball.planY + 13), CellColour(kWinPlanPicture, cell));
    EXPECT_EQ(ScreenColour(799, ball.planY + 13), CellColour(kWinPlanPicture, cell));
}

TEST_F(OpeningFrames, TheBallFadesFromItsCupAndLeavesTheCupAlone) {
    const Ball& ball = axBalls[8];
    DrawBallLeavingCup(ball, 1.0f);
    EXPECT_EQ(ScreenColour(ball.x + 25, ball.y + 35), CellColour(kRedBallPicture, 0));
    DrawBallLeavingCup(ball, 0.0f);
    EXPECT_EQ(ScreenColour(ball.x + 25, ball.y + 35), CellColour(kRedCupPicture, 0));
    EXPECT_EQ(ScreenColour(ball.x + 60, ball.y + 100),
              BoardBackgroundColour(ball.x + 60, ball.y + 100));
}

TEST_F(OpeningFrames, ThePlayersBallPartsToShowItsInside) {
    DrawPlayersBallOpening(0);
    EXPECT_EQ(ScreenColour(343, 469), CellColour(kYourBallLeftPicture, 0));
    EXPECT_EQ(ScreenColour(403, 469), CellColour(kYourBallRightPicture, 0));
    EXPECT_EQ(ScreenColour(266, 467), BoardBackgroundColour(266, 467)) << "the box is cleared";

    DrawPlayersBallOpening(kPlayersBallOpening);
    EXPECT_EQ(ScreenColour(342 - 75, 469), CellColour(kYourBallLeftPicture, 0));
    EXPECT_EQ(ScreenColour(402 + 75 + 49, 469), CellColour(kYourBallRightPicture, 0));
    // The inside shows between the halves, clipped to 75 pixels each side of the middle.
    EXPECT_EQ(ScreenColour(330, 560), kInsideColour);
    EXPECT_EQ(ScreenColour(470, 560), kInsideColour);
    EXPECT_EQ(ScreenColour(326, 560), BoardBackgroundColour(326, 560));
    EXPECT_EQ(ScreenColour(330, 571), BoardBackgroundColour(330, 571));

    Scribble(0, 0, 800, 600);
    DrawPlayersBallOpening(10);
    EXPECT_EQ(ScreenColour(395, 560), kInsideColour);
    EXPECT_EQ(ScreenColour(391, 560), BoardBackgroundColour(391, 560));
    EXPECT_EQ(ScreenColour(412, 560), BoardBackgroundColour(412, 560));
}

TEST(PrizeText, PenceBelowAPoundAndPoundsAbove) {
    char text[32];
    FormatPrizeText(5, text, sizeof text);
    EXPECT_STREQ(text, "5p");
    FormatPrizeText(99, text, sizeof text);
    EXPECT_STREQ(text, "99p");
    FormatPrizeText(150, text, sizeof text);
    EXPECT_STREQ(text,
                 "\xA3"
                 "1.50");
    FormatPrizeText(500, text, 4);
    EXPECT_STREQ(text,
                 "\xA3"
                 "5.")
        << "cut to the buffer";
}
