#include "ballgame/offer.h"

#include "ballgame/board.h"
#include "ballgame/board_drawing.h"
#include "ballgame/offer_calculation.h"
#include "ballgame/offer_frame.h"
#include "ballgame/settle.h"
#include "control/controller.h"
#include "game/game_state.h"
#include "game/touch_menu.h"
#include "questions/answer_clock.h"
#include "questions/question_screen.h"
#include "shell/timers.h"
#include "sound/sound_effects.h"

int32_t NumberOfOffersMade = 0;
float fOffer = 0.0f;

namespace {

constexpr uint32_t kAnimationMs = 600;
constexpr uint32_t kDecisionMs = 10000;
constexpr int kOpenSound = 43;   // sounds\BallOpen.wav
constexpr int kCloseSound = 44;  // sounds\BallClose.wav
constexpr int kDropHeight = 385;
constexpr int kFallDepth = 420;
constexpr uint8_t kAskedByBallGame = 1;

// One 600 ms animation: every pass puts the backdrop back, draws the frame and presents it.
template <typename DrawFrame>
void Animate(DrawFrame drawFrame) {
    StartTimer(kAnimationMs);
    do {
        RestoreOfferBackdrop();
        drawFrame();
        PresentFrame();
    } while (!TimerExpired());
}

int Progress(int scale) {
    return static_cast<int>(TimerProgress(static_cast<uint32_t>(scale)));
}

void WorkOutOffer() {
    const OfferResult result = CalculateOffer(
        {axBalls, lPrizeAvailableThisGame, OfferLevel(), NumberOfOffersMade, uwPriceOfPlay});
    fOffer = result.offer;
    CountOffer(static_cast<int32_t>(fOffer), lPrizeAvailableThisGame);
}

// The closed offer ball drops in from above the screen and opens on the plate.
void BringInOffer() {
    Animate([] {
        const int y = Progress(kDropHeight) - (kDropHeight - kOfferBallY);
        DrawOfferHalves(kClosedLeftHalfX, kClosedRightHalfX, y);
    });
    PlaySoundEffect(kOpenSound);
    Animate([] { DrawOpeningOfferBall(Progress(kOfferBallOpening)); });
    DrawWinPlan();
    DrawOpeningOfferBall(kOfferBallOpening);
}

// Ten seconds to take or leave; a clock that runs out leaves the offer.
bool PlayerTakesOffer() {
    AnswerClockSet(kDecisionMs, 0);
    PresentFrame();
    AnswerClockStart();
    return TakeOrLeaveMenu() == kTakeButton;
}

// The ball closes over the plate and falls off the bottom of the screen.
void TakeAwayOffer() {
    PlaySoundEffect(kCloseSound);
    Animate([] { DrawOpeningOfferBall(kOfferBallOpening - Progress(kOfferBallOpening)); });
    Animate([] {
        const int y = Progress(kFallDepth) + kOfferBallY;
        DrawOfferHalves(kClosedLeftHalfX, kClosedRightHalfX, y);
    });
    SaveOfferBackdrop();
}

// The question that keeps a refusing player in the game. True when it was failed.
bool FailsRefusalQuestion() {
    const int difficulty = RefusalQuestionDifficulty(NumberOfOffersMade, PrizeLevel());
    SetGameState(AskQuestion(kAskedByBallGame, difficulty));
    if (GetGameState() == STATE_WRONG) SetGameState(STATE_LOST);
    return GetGameState() == STATE_LOST;
}

}  // namespace

void TakeOffer() {
    lWinAmount = static_cast<int32_t>(fOffer);
    SettleBallGame();
}

bool MakeOffer() {
    SaveOfferBackdrop();
    WorkOutOffer();
    BringInOffer();

    if (PlayerTakesOffer()) {
        PressOfferButton(kTakeButton);
        return true;
    }
    PressOfferButton(kLeaveButton);
    TakeAwayOffer();

    if (FailsRefusalQuestion()) return true;
    ++NumberOfOffersMade;
    return false;
}
