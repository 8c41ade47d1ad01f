#include "screens/offer_frame.h"

#include "base/waits.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/draw_surface.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/registry.h"
#include "rules/offer.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/opening_frames.h"
#include "screens/touch_menu.h"

namespace {

constexpr const char* kOfferLeftHalfName = "Graphic_resource//Main//Open_Ball_Left.tga";
constexpr const char* kOfferRightHalfName = "Graphic_resource//Main//Open_Ball_Right.tga";
constexpr const char* kLitButtonsName = "Graphic_resource//Main//VornaOff.bmp";
constexpr const char* kPressedButtonsName = "Graphic_resource//Main//VornaPressed.bmp";

constexpr int kOfferPlateX = 253, kOfferPlateY = 200;
constexpr int kPlateMiddleX = 400;
constexpr int kButtonX[] = {255, 405};
constexpr int kButtonY = 310;
constexpr ClipBox kButtonArea{255, 545, 310, 360};

constexpr int kAmountX = 349, kAmountY = 269, kAmountWidth = 102, kAmountHeight = 34;
constexpr int kAmountFont = 6;

constexpr uint32_t kPressMs = 200;

struct Blink {
    uint32_t deadline = 0;
    OfferButton lit = kLeaveButton;
} blink;

void RedrawButtonArea() {
    DrawOfferPlate(&kButtonArea);
}

// The button pictures are BMPs: no alpha, their background magenta and keyed out.
void DrawButton(const Surface* image, const char* name, OfferButton button) {
    const ImageRect* cell = image ? FindImageFrame(name, button) : nullptr;
    if (!cell) return;
    DrawSurface(image, cell, BackBuffer, kButtonX[button], kButtonY, 1.0f, 1.0f, 0.0f, 0, 1.0f,
                0.0f);
}

// The take-or-leave menu's pass: the decision frame with the sparkle, and the end when the
// answer clock runs out (there is no idle limit: the clock decides). Take is the player's the
// moment it is touched: the offer is taken before the frame is shown, so nothing that ends the
// run from then on can lose it, and the clock running out during that frame no longer undoes it.
int TakeOrLeavePass(int result) {
    if (result == kTakeButton) TakeOffer();
    DrawOfferFrame();
    DrawSparkle(0);
    PresentFrame();
    if (result != kTakeButton && AnswerClockRemaining() == 0) return kTakeOrLeaveTimedOut;
    return result;
}

}  // namespace

void SaveOfferBackdrop() {
    SaveToLayer(0, 0, 0, kFullScreenBox.right, kFullScreenBox.bottom);
}

void RestoreOfferBackdrop() {
    DrawLayer(0, 0, 0, 0, 0, 0, kFullScreenBox.right, kFullScreenBox.bottom);
}

void DrawOfferHalves(int leftX, int rightX, int y) {
    DrawImageCell(openBallLeftImage, kOfferLeftHalfName, 0, leftX, y);
    DrawImageCell(openBallRightImage, kOfferRightHalfName, 0, rightX, y);
}

void DrawOfferPlate(const ClipBox* box) {
    DrawSprite(offerBaseSprite, 0, kOfferPlateX, kOfferPlateY, box, 1);
}

void DrawOfferAmount() {
    char amount[32];
    FormatPrizeText(static_cast<int32_t>(fOffer), amount, sizeof amount);
    TextCentreH = 1;
    DrawFontText(amount, kAmountX, kAmountY, kAmountWidth, kAmountHeight, kAmountFont);
}

void DrawOpeningOfferBall(int gap) {
    const ClipBox uncovered{kPlateMiddleX - gap, kPlateMiddleX + gap, kOfferPlateTop,
                            kOfferPlateBottom};
    DrawOfferPlate(&uncovered);
    DrawOfferAmount();
    DrawOfferHalves(kClosedLeftHalfX - gap, kClosedRightHalfX + gap, kOfferBallY);
}

void PressOfferButton(OfferButton button) {
    RedrawButtonArea();
    DrawButton(vornaPressedImage, kPressedButtonsName, button);
    PresentFrame();
    WaitMs(kPressMs);
    RedrawButtonArea();
    PresentFrame();
    WaitMs(kPressMs);
}

void RestartOfferBlink() {
    blink.lit = kLeaveButton;
    SetDeadlineNow(blink.deadline);
}

void ForgetOfferBlink() {
    blink = Blink{};
}

OfferButton LitOfferButton() {
    if (DeadlinePassed(blink.deadline)) {
        SetDeadline(blink.deadline, kOfferBlinkMs);
        blink.lit = blink.lit == kTakeButton ? kLeaveButton : kTakeButton;
    }
    return blink.lit;
}

// The lit button is drawn over the plate, whose own buttons are unlit.
void DrawOfferFrame() {
    AnswerClockDraw();
    DrawOfferPlate(nullptr);
    DrawButton(vornaOffImage, kLitButtonsName, LitOfferButton());
    DrawOfferAmount();
    DrawOfferHalves(kOpenLeftHalfX, kOpenRightHalfX, kOfferBallY);
}

int TakeOrLeaveMenu() {
    RestartOfferBlink();
    return RunTouchMenu(TouchMenu{MenuKind::TakeOrLeave, takeOrLeaveMenuButtons, &TakeOrLeavePass});
}
