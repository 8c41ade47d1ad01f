#include "screens/board_drawing.h"

#include <cmath>

#include "base/random.h"
#include "base/waits.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/registry.h"

const char* const kRedBallName = "Graphic_resource//Main//RedBall.tga";
const char* const kBlueBallName = "Graphic_resource//Main//BlueBall.tga";
const char* const kWinPlanName = "Graphic_resource//Main//Winplan.tga";
const char* const kWinPlanBrightName = "Graphic_resource//Main//WinplanBright.tga";

const BoardPosition sparklePlaces[kSparklePlaces] = {
    {9, 53},   {28, 46},  {46, 41},  {63, 35},  {80, 31},  {95, 26},  {109, 21},
    {161, 11}, {180, 9},  {200, 7},  {219, 4},  {237, 2},  {255, 0},  {273, -2},
    {326, -5}, {345, -5}, {346, -6}, {384, -6}, {402, -5}, {421, -5}, {440, -5},
    {494, -2}, {512, 0},  {530, 2},  {548, 4},  {567, 7},  {587, 9},  {607, 11},
    {658, 22}, {673, 26}, {688, 31}, {704, 36}, {721, 41}, {739, 47}, {758, 52},
};

namespace {

constexpr ClipBox kBoardArea{42, 647, 102, 442};
constexpr ClipBox kWinPlanColumn{660, 800, 0, 600};
constexpr int kValueOffsetX = 6;
constexpr int kValueOffsetY = 22;

// ---- Values -----------------------------------------------------------------------------------

struct ValueCells {
    int32_t value;
    int imageIndex;
    int planCell;
};

// Every value of both stakes' tables.
constexpr ValueCells kValueCells[] = {
    {1, 0, 19},   {2, 0, 20},   {3, 0, 21},   {4, 0, 22},   {5, 1, 18},   {10, 2, 17},
    {15, 3, 16},  {20, 4, 15},  {25, 5, 14},  {30, 6, 13},  {35, 7, 12},  {40, 8, 11},
    {45, 9, 10},  {50, 10, 9},  {60, 11, 8},  {70, 12, 7},  {80, 13, 6},  {90, 14, 5},
    {100, 15, 4}, {150, 16, 3}, {200, 17, 2}, {300, 18, 1}, {500, 19, 0},
};

const ValueCells* FindValue(int32_t value) {
    for (const ValueCells& cells : kValueCells)
        if (cells.value == value) return &cells;
    return nullptr;
}

const char* const kValueImageNames[kValueImageCount] = {
    "Graphic_resource//Main//ValEmpty.tga", "Graphic_resource//Main//Val5.tga",
    "Graphic_resource//Main//Val10.tga",    "Graphic_resource//Main//Val15.tga",
    "Graphic_resource//Main//Val20.tga",    "Graphic_resource//Main//Val25.tga",
    "Graphic_resource//Main//Val30.tga",    "Graphic_resource//Main//Val35.tga",
    "Graphic_resource//Main//Val40.tga",    "Graphic_resource//Main//Val45.tga",
    "Graphic_resource//Main//Val50.tga",    "Graphic_resource//Main//Val60.tga",
    "Graphic_resource//Main//Val70.tga",    "Graphic_resource//Main//Val80.tga",
    "Graphic_resource//Main//Val90.tga",    "Graphic_resource//Main//Val100.tga",
    "Graphic_resource//Main//Val150.tga",   "Graphic_resource//Main//Val200.tga",
    "Graphic_resource//Main//Val300.tga",   "Graphic_resource//Main//Val500.tga",
};

// ---- Balls ------------------------------------------------------------------------------------

// A ball in play, closed or open with its value showing. The blue ball always shows the empty
// value, whatever it holds.
void DrawBallInPlay(int i, bool open) {
    const Ball& ball = axBalls[i];
    if (!open) {
        DrawBallCell(ball, kClosedBallCell);
        return;
    }
    DrawBallCell(ball, kOpenBallCell);
    if (ball.isBlue)
        DrawImageCell(ValueImage(kEmptyValueImage), ValueImageName(kEmptyValueImage),
                      kSettledValueCell, ball.x + kValueOffsetX, ball.y + kValueOffsetY);
    else
        DrawBallValue(i);
}

// ---- The sparkle ------------------------------------------------------------------------------

constexpr const char* kSparkleName = "Graphic_resource//Menu//HiLite2.tga";
constexpr int kSparkleSize = 33;
constexpr uint32_t kSparkleStepMs = 40;
constexpr uint32_t kSparkleRestMs = 500;
constexpr float kSparkleFadeStep = 0.1f;
constexpr float kSparkleFirstOpacity = 0.2f;
constexpr float kSparkleTurn = 20.0f;
constexpr int kFirstMiddlePlace = 13, kLastMiddlePlace = 21;
constexpr int kBallGamePlaces = 27;

struct Sparkle {
    int place = 0;
    float opacity = 0;
    float opacityStep = 0;
    float angle = 0;
    uint32_t pauseDeadline = 0;
    uint32_t frameDeadline = 0;
} sparkle;

ClipBox SparkleBox() {
    const BoardPosition& at = sparklePlaces[sparkle.place];
    return ClipBox{at.x, at.x + kSparkleSize, at.y, at.y + kSparkleSize};
}

void RestoreSparkleBox(int flag) {
    const ClipBox box = SparkleBox();
    DrawSprite(flag == 1 ? questionBackgroundSprite : mainScreenSprite, 0, 0, 0, &box, 0);
}

// A new place away from the middle of the arch; the ball-game screens choose only among the
// first 27, leaving the right-hand end over the win plan alone.
int ChooseSparklePlace(int flag) {
    const unsigned range = flag == 1 ? kSparklePlaces : kBallGamePlaces;
    int place;
    do
        place = static_cast<int>(RandomBelow(range));
    while (place >= kFirstMiddlePlace && place <= kLastMiddlePlace);
    return place;
}

}  // namespace

// ---- Drawing pieces ---------------------------------------------------------------------------

void DrawImageCell(const Surface* image, const char* name, int cell, int x, int y, float opacity,
                   float angle) {
    if (!image || cell < 0 || opacity <= 0.0f) return;
    const ImageRect* rect = FindImageFrame(name, cell);
    if (!rect) return;
    DrawSurface(image, rect, BackBuffer, x, y, 1.0f, 1.0f, angle, 1, opacity, 0.0f);
}

void DrawWholeImage(const Surface* image, int x, int y, float opacity) {
    if (!image || opacity <= 0.0f) return;
    DrawSurface(image, nullptr, BackBuffer, x, y, 1.0f, 1.0f, 0.0f, 1, opacity, 0.0f);
}

void RestoreFromBoardBackground(const ClipBox& box) {
    DrawSprite(mainScreenSprite, 0, 0, 0, &box, 0);
}

// ---- Values -----------------------------------------------------------------------------------

int ValueImageIndex(int32_t value) {
    const ValueCells* cells = FindValue(value);
    return cells ? cells->imageIndex : -1;
}

int WinPlanCell(int32_t value) {
    const ValueCells* cells = FindValue(value);
    return cells ? cells->planCell : -1;
}

// The asset list holds the empty picture on its own and the priced ones from 5p up.
const Surface* ValueImage(int index) {
    if (index == kEmptyValueImage) return emptyValueImage;
    if (index < 0 || index >= kValueImageCount) return nullptr;
    return ballValueImages[index - 1];
}

const char* ValueImageName(int index) {
    return index >= 0 && index < kValueImageCount ? kValueImageNames[index] : "";
}

// ---- Balls and the board ----------------------------------------------------------------------

void DrawBallCell(const Ball& ball, int cell, float opacity) {
    if (ball.isBlue)
        DrawImageCell(blueBallImage, kBlueBallName, cell, ball.x, ball.y, opacity);
    else
        DrawImageCell(redBallImage, kRedBallName, cell, ball.x, ball.y, opacity);
}

void DrawEmptyCup(const Ball& ball) {
    DrawWholeImage(ball.isBlue ? emptyBlueCupImage : emptyRedCupImage, ball.x, ball.y);
}

void DrawBallValue(int ball) {
    const int index = ValueImageIndex(axBalls[ball].value);
    DrawImageCell(ValueImage(index), ValueImageName(index), kSettledValueCell,
                  axBalls[ball].x + kValueOffsetX, axBalls[ball].y + kValueOffsetY);
}

void DrawBoard() {
    RestoreFromBoardBackground(kBoardArea);
    for (int i = 0; i < kBallCount; ++i) {
        if (axBalls[i].inPlay)
            DrawBallInPlay(i, axBalls[i].showValue != 0);
        else
            DrawEmptyCup(axBalls[i]);
    }
}

void DrawDealBoard() {
    RestoreFromBoardBackground(kBoardArea);
    for (int i = 0; i < kBallCount; ++i)
        DrawBallInPlay(i, abFlash[i] != 0);
}

void DrawWinPlan() {
    RestoreFromBoardBackground(kWinPlanColumn);
    for (const WinPlanPlate& plate : axWinPlan) {
        if (!plate.lit) continue;
        DrawImageCell(winPlanImage, kWinPlanName, WinPlanCell(plate.value), plate.x, plate.y);
        DrawImageCell(winPlanImage, kWinPlanName, kPlateOverlayCell, plate.x, plate.y);
    }
}

// ---- The sparkle ------------------------------------------------------------------------------

void DrawSparkle(int flag) {
    if (!DeadlinePassed(sparkle.pauseDeadline) || !DeadlinePassed(sparkle.frameDeadline)) return;
    SetDeadline(sparkle.frameDeadline, kSparkleStepMs);

    RestoreSparkleBox(flag);
    const BoardPosition& at = sparklePlaces[sparkle.place];
    DrawImageCell(highlight2Image, kSparkleName, 0, at.x, at.y, sparkle.opacity, sparkle.angle);

    sparkle.opacity += sparkle.opacityStep;
    if (sparkle.opacity > 1.0f) {
        sparkle.opacityStep = -kSparkleFadeStep;
        sparkle.opacity = 1.0f;
    }
    if (sparkle.opacity < kSparkleFadeStep) {  // faded out, or never shown yet
        RestoreSparkleBox(flag);               // wipe it from the place it leaves
        sparkle.place = ChooseSparklePlace(flag);
        SetDeadline(sparkle.pauseDeadline, kSparkleRestMs + RandomBelow(3));
        sparkle.opacityStep = kSparkleFadeStep;
        sparkle.opacity = kSparkleFirstOpacity;
    }
    sparkle.angle = std::fmod(sparkle.angle + kSparkleTurn, 360.0f);
    if (flag == 0) DrawWinPlan();
}

void ResetSparkle() {
    SetDeadlineNow(sparkle.pauseDeadline);
    SetDeadlineNow(sparkle.frameDeadline);
    sparkle.place = static_cast<int>(RandomBelow(kBallGamePlaces));
}

int SparklePlace() {
    return sparkle.place;
}

void ForgetSparkle() {
    sparkle = Sparkle{};
}
