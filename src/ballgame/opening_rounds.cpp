#include "ballgame/opening_rounds.h"

#include "ballgame/board.h"
#include "ballgame/board_drawing.h"
#include "ballgame/offer.h"
#include "ballgame/opening_ball.h"
#include "ballgame/opening_frames.h"
#include "ballgame/prize_ball.h"
#include "ballgame/settle.h"
#include "game/game_state.h"
#include "graphics/image_loader.h"
#include "graphics/sprites.h"
#include "questions/question_screen.h"
#include "shell/log.h"
#include "shell/timers.h"
#include "shell/waits.h"
#include "sound/sound_effects.h"

namespace {

constexpr const char* kOfferBoxName = "Graphic_resource//Main//OfferBox.png";
constexpr int kOfferBoxFrames = 3;
// Cleared after every offer: where the offer's ball stood.
constexpr ClipBox kOfferArea{398, 634, 495, 578};
constexpr int kRevealSound = 43;  // sounds\BallOpen.wav
constexpr uint32_t kRevealMs = 600;
constexpr uint32_t kRevealLookMs = 2000;

// The offer box picture is read once, the first time the rounds run, and kept for the run.
void LoadOfferBoxOnce() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    LoadImageSurface(kOfferBoxName, kOfferBoxFrames);
}

// Nothing of an earlier game may leak into this one: no win yet, no offer made, no try-again
// for the questions after refused offers.
void StartRounds() {
    LoadOfferBoxOnce();
    CountBallGameStart();
    tryAgainsLeft = 0;
    NumberOfOffersMade = 0;
    lWinAmount = 0;
    for (Ball& ball : axBalls)
        ball.showValue = 0;
}

// Five balls opened, or what is left. The player who kept the own ball until the last ball left
// the board has won what it holds: that is settled at once.
void PlayRound() {
    for (int opened = 0; opened < kBallsPerRound && BallsLeft() > 0; ++opened)
        OpenOneBall();
    if (BallsLeft() == 0) SettleBallGame();
}

// How a round and its offer leave the game: on to the next round, settled (an offer taken, or the
// last ball gone with the own ball kept), or lost at the question after a refused offer.
enum class RoundEnd { NextRound, Settled, LostAtQuestion };

RoundEnd PlayRoundAndOffer() {
    PlayRound();
    DrawBoard();
    DrawWinPlan();
    PresentFrame();
    RoundEnd end = BallsLeft() == 0 ? RoundEnd::Settled : RoundEnd::NextRound;
    if (BallsLeft() >= 1 && MakeOffer())
        end = LostAtOfferQuestion() ? RoundEnd::LostAtQuestion : RoundEnd::Settled;
    RestoreFromBoardBackground(kOfferArea);
    Trace("BallsLeft() = <%d>\n", BallsLeft());
    return end;
}

// The halves of the player's ball part and show what it holds.
void RevealPlayersBall() {
    RestoreFromBoardBackground(kPlayersBallRevealArea);
    PlaySoundEffect(kRevealSound);
    StartTimer(kRevealMs);
    do {
        DrawPlayersBallOpening(static_cast<int>(TimerProgress(kPlayersBallOpening)));
        PresentFrame();
    } while (!TimerExpired());
    PresentFrame();
    WaitForTouch(kRevealLookMs);
}

}  // namespace

void PlayOpeningRounds() {
    StartRounds();
    RoundEnd end;
    do {
        end = PlayRoundAndOffer();
    } while (end == RoundEnd::NextRound);
    // Lost at a question: the own ball is not revealed and nothing is paid.
    if (end == RoundEnd::Settled) RevealPlayersBall();
}
