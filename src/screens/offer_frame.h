// The pieces of the offer's screen: the gold offer ball whose halves part to show the offer plate
// with the amount, the Take and Leave buttons on the plate, and the backdrop kept in work layer 0
// that every frame of the offer is drawn over.
#pragma once

#include <cstdint>

#include "engines/graphics/sprites.h"
#include "screens/menu_results.h"

// Where the offer ball's halves stand: closed, and fully open on either side of the plate.
inline constexpr int kOfferBallY = 185;
inline constexpr int kClosedLeftHalfX = 300, kClosedRightHalfX = 400;
inline constexpr int kOpenLeftHalfX = 153, kOpenRightHalfX = 547;
// How far each half moves as the ball opens or closes.
inline constexpr int kOfferBallOpening = 147;

// The plate's rows, for clipping it as the ball opens and closes.
inline constexpr int kOfferPlateTop = 200, kOfferPlateBottom = 372;

// The Take and Leave buttons are numbered as the take-or-leave menu returns them (OfferButton,
// screens/menu_results.h).
// How long each button stays lit while the other waits its turn.
inline constexpr uint32_t kOfferBlinkMs = 700;

// The screen as it was before the offer, kept in layer 0, and put back under every frame.
void SaveOfferBackdrop();
void RestoreOfferBackdrop();

// The ball's two halves with their top edge at y.
void DrawOfferHalves(int leftX, int rightX, int y);
// The offer plate at its place, clipped to the box (null: the whole plate).
void DrawOfferPlate(const ClipBox* box);
// The offer (fOffer) written in the plate's window: "80p", or "£1.20" from a pound up.
void DrawOfferAmount();
// The plate, the amount and the halves with the ball open by `gap` pixels each way; the plate
// shows only between the halves.
void DrawOpeningOfferBall(int gap);
// A button shown pressed, then released, 200 ms each.
void PressOfferButton(OfferButton button);

// One frame of the take-or-leave decision: the clock, the offer plate with the amount, the Take
// and Leave buttons lit in turn every 700 ms, and the open halves. Drawn on every pass of the
// take-or-leave menu (TakeOrLeaveMenu, screens/touch_menu.h), which adds the sparkle and presents.
void DrawOfferFrame();

// The blinking starts again with the Take button lit.
void RestartOfferBlink();
// The button lit now: each stays lit for 700 ms, then the other takes over.
OfferButton LitOfferButton();
// Puts the blinking back as it is at start-up (Leave lit, the next change due at clock 0).
void ForgetOfferBlink();
