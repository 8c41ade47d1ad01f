#include "screens/opening_frames.h"

#include <cstdio>

#include "engines/graphics/assets.h"
#include "engines/graphics/font_text.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/end_sequences.h"
#include "screens/prize_ball.h"

const char* const kPickABallName = "Graphic_resource//Main//PickABall.tga";

namespace {

constexpr int kValueOffsetX = 6, kValueOffsetY = 22;
constexpr int kSpinCells[kSpinSteps] = {8, 9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1};

// The inside of the player's ball and where its worth is written.
constexpr int kInsideX = 327, kInsideY = 475;
constexpr int kInsideCentreX = 402, kInsideBottom = 571;
constexpr int kWorthX = 352, kWorthY = 505, kWorthWidth = 102, kWorthHeight = 34;
constexpr int kWorthFont = 6;

void DrawPrompt() {
    RestoreFromBoardBackground(kPromptArea);
    DrawImageCell(pickABallImage, kPickABallName, 0, kPromptX, kPromptY);
}

void DrawPrizeBallTitle() {
    DrawImageCell(prizeBallOverImage, kPrizeBallOverName, 0, kTitleX, kTitleY);
}

void DrawPlate(const Ball& ball, const Surface* image, const char* name, int x) {
    DrawImageCell(image, name, WinPlanCell(ball.value), x, ball.planY);
}

}  // namespace

void DrawOpenPickFrame() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    if (PromptShowing())
        DrawPrompt();
    else
        ClearPrompt();
    AnswerClockDraw();
    DrawBoard();
    DrawPlayersBallClosed();
    DrawPrizeBallTitle();
    DrawWinPlan();
}

void DrawPickScreen() {
    DrawBoard();
    RestoreFromBoardBackground(kPlayersBallArea);
    DrawPlayersBallClosed();
    DrawPrizeBallTitle();
    DrawWinPlan();
    DrawPrompt();
}

void ClearPrompt() {
    RestoreFromBoardBackground(kPromptArea);
}

int SpinCell(int step) {
    if (step < 0) step = 0;
    if (step >= kSpinSteps) step = kSpinSteps - 1;
    return kSpinCells[step];
}

void DrawBallInBox(const Ball& ball, int cell) {
    RestoreBallBox(ball);
    DrawBallCell(ball, cell);
}

void DrawValueOnOpenBall(const Ball& ball, int valueCell, float opacity) {
    DrawBallInBox(ball, kOpenBallCell);
    const int index = ValueImageIndex(ball.value);
    DrawImageCell(ValueImage(index), ValueImageName(index), valueCell, ball.x + kValueOffsetX,
                  ball.y + kValueOffsetY, opacity);
}

void DrawBallsPlate(const Ball& ball, bool bright) {
    if (bright)
        DrawPlate(ball, winPlanBrightImage, kWinPlanBrightName, ball.planX);
    else
        DrawPlate(ball, winPlanImage, kWinPlanName, ball.planX);
}

void DrawClosingBall(const Ball& ball, int cell, int plateX) {
    DrawBallInBox(ball, cell);
    RestoreFromBoardBackground(
        ClipBox{ball.planX, ball.planX + kPlateWidth, ball.planY, ball.planY + kPlateHeight});
    DrawPlate(ball, winPlanImage, kWinPlanName, plateX);
}

void DrawBallLeavingCup(const Ball& ball, float opacity) {
    RestoreBallBox(ball);
    DrawEmptyCup(ball);
    DrawBallCell(ball, kClosedBallCell, opacity);
}

void DrawPlayersBallOpening(int gap) {
    RestoreFromBoardBackground(kPlayersBallRevealArea);
    const ClipBox inside{kInsideCentreX - gap, kInsideCentreX + gap, kInsideY, kInsideBottom};
    DrawSprite(middleSprite, 0, kInsideX, kInsideY, &inside, 1);
    TextCentreH = 1;
    DrawFontText(WinAmountText(lPrizeAvailableThisGame).c_str(), kWorthX, kWorthY, kWorthWidth,
                 kWorthHeight, kWorthFont);
    DrawImageCell(yourBallLeftImage, kYourBallLeftName, 0, kYourBallLeftX - gap, kYourBallY);
    DrawImageCell(yourBallRightImage, kYourBallRightName, 0, kYourBallRightX + gap, kYourBallY);
}

void FormatPrizeText(int32_t pence, char* text, size_t size) {
    snprintf(text, size, "%s", WinAmountText(pence).c_str());
}
