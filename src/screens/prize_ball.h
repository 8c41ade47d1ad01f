// The player's choice of the prize ball: ten seconds to touch a ball (the blue ball refused), a
// random ball when the time runs out, then the chosen ball lifts out of its cup. Also the ball
// menu that this choice and the opening rounds share, and the pieces of the ball-pick screens.
#pragma once

#include <cstdint>

#include "engines/graphics/sprites.h"
#include "rules/board.h"
#include "screens/menu_results.h"

inline constexpr uint32_t kBallPickMs = 10000;

// Lets the player choose the prize ball and returns it (one CanPickBall accepts, rules/board.h).
int PickPrizeBall();
// The taken ball fades out of its cup into the player's place below the board; a second to look.
void ShowPrizeBallTaken(int ball);

// As the chosen ball lifts, the VANTOR title plate fades out over the first half of the lift and
// the YOUR BALL plate fades in over the second, so their words never show through each other.
// Opacities at `tenths` of the lift (0 to 10); 0 means the plate is not drawn.
struct TitlePlateFade {
    float outgoing;
    float incoming;
};
TitlePlateFade TitlePlateFadeAt(uint32_t tenths);

// One frame of the ball menu while the prize ball is being chosen: the blinking prompt (or the
// notice to pick another ball), the clock, the board with the sparkle, the player's ball and the
// win plan.
void DrawPrizePickFrame();

// ---- The ball menu ----------------------------------------------------------------------------
// The notice that another ball must be picked, up for 957 ms after the blue ball is touched.
struct RefusalNotice {
    bool active = false;
    uint32_t deadline = 0;
};
extern RefusalNotice ballRefusalNotice;

// What the ball menu does on every pass: draw the frame of the stage (choosing or opening) and
// present it, refuse the blue ball while the prize ball is being chosen, and end with
// kBallMenuTimedOut when the answer clock has run out. BallMenu (screens/touch_menu.h) runs it.
int BallMenuPass(int result);
// Puts the refusal notice and the prompt's blink back as they are at start-up (a new run's clock
// starts again from 0).
void ForgetBallMenuState();

// ---- Pieces of the ball-pick screens ----------------------------------------------------------
inline constexpr int kPromptX = 55, kPromptY = 493;
inline constexpr int kTitleX = 301, kTitleY = 493;
inline constexpr ClipBox kPromptArea{55, 255, 493, 553};
inline constexpr ClipBox kPlayersBallArea{300, 510, 460, 590};
// The player's ball in two halves, and where they sit below the board.
extern const char* const kYourBallLeftName;
extern const char* const kYourBallRightName;
inline constexpr int kYourBallLeftX = 342, kYourBallRightX = 402, kYourBallY = 468;
extern const char* const kPrizeBallOverName;
extern const char* const kVantorOverName;

// The prompt blinks every 200 ms: steps the blink and answers whether the prompt shows.
bool PromptShowing();
// The box of a ball, 73 x 110 from its position, restored from the background.
void RestoreBallBox(const Ball& ball);
// The player's ball, closed, in its two halves below the board.
void DrawPlayersBallClosed();
