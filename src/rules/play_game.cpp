#include "rules/play_game.h"

#include "base/log.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/offer.h"
#include "rules/question_packs.h"
#include "rules/question_rules.h"
#include "rules/settle.h"
#include "rules/winnings.h"

int rightAnswersThisRound = 0;
int32_t maxWinAllowedThisGame = 0;

void ForgetRound() {
    rightAnswersThisRound = 0;
    maxWinAllowedThisGame = 0;
}

namespace {

// ---- The question round -------------------------------------------------------------------------

// Nothing of an earlier game may leak into this one: the first-pass flag, the counts, the
// try-agains of this game's level.
void SetUpGame() {
    bPickingPrizeBall = true;
    rightAnswersThisRound = 0;
    questionsAskedThisRound = 0;
    bPrizeBallChosen = false;
    lPrizeAvailableThisGame = 0;
    tryAgainsLeft = TryAgainsAtStart(TryAgainLevel());
    maxWinAllowedThisGame = MaxWinAllowed();
    Trace("MaxWinAllowed = %d\n", maxWinAllowedThisGame);
}

void AskRoundQuestion(FrontEnd& frontEnd) {
    CountIncrement(counter::kQuestionsAsked);
    SetGameState(frontEnd.AskQuestion(0, 0));
    if (GetGameState() == STATE_WRONG) {
        CountIncrement(counter::kQuestionRoundsLost);
        SetGameState(STATE_LOST);
    } else {
        ++rightAnswersThisRound;
    }
    frontEnd.RoundQuestionAnswered();
    if (GetGameState() != STATE_LOST && bPickingPrizeBall) bPickingPrizeBall = false;
}

bool RoundOver(uint8_t state) {
    return state == STATE_LOST || state == STATE_WON || state == STATE_BALL_GAME;
}

// ---- The ball game ------------------------------------------------------------------------------

// Nothing of an earlier game may leak into this one: no win yet, no offer made, no try-again
// for the questions after refused offers.
void StartRounds(FrontEnd& frontEnd) {
    frontEnd.OpeningRoundsStarting();
    CountBallGameStart();
    tryAgainsLeft = 0;
    NumberOfOffersMade = 0;
    lWinAmount = 0;
    for (Ball& ball : axBalls)
        ball.showValue = 0;
}

// Five balls opened, or what is left. The player who kept the own ball until the last ball left
// the board has won what it holds: that is settled at once.
void PlayRound(FrontEnd& frontEnd) {
    for (int opened = 0; opened < kBallsPerRound && BallsLeft() > 0; ++opened)
        OpenOneBall(frontEnd);
    if (BallsLeft() == 0) SettleBallGame();
}

// How a round and its offer leave the game: on to the next round, settled (an offer taken, or the
// last ball gone with the own ball kept), or lost at the question after a refused offer.
enum class RoundEnd { NextRound, Settled, LostAtQuestion };

RoundEnd PlayRoundAndOffer(FrontEnd& frontEnd) {
    PlayRound(frontEnd);
    frontEnd.ShowRoundPlayed();
    RoundEnd end = BallsLeft() == 0 ? RoundEnd::Settled : RoundEnd::NextRound;
    if (BallsLeft() >= 1 && MakeOffer(frontEnd))
        end = LostAtOfferQuestion() ? RoundEnd::LostAtQuestion : RoundEnd::Settled;
    frontEnd.RoundOver();
    Trace("BallsLeft() = <%d>\n", BallsLeft());
    return end;
}

// The question that keeps a refusing player in the game. True when it was failed.
bool FailsRefusalQuestion(FrontEnd& frontEnd) {
    const int difficulty = RefusalQuestionDifficulty(NumberOfOffersMade, PrizeLevel());
    SetGameState(frontEnd.AskQuestion(1, difficulty));
    if (GetGameState() == STATE_WRONG) SetGameState(STATE_LOST);
    return GetGameState() == STATE_LOST;
}

void PlayBallGame(FrontEnd& frontEnd) {
    CountIncrement(counter::kBallGamesReached);
    DealBalls(frontEnd);
    ChoosePrizeBall(frontEnd);
    bPickingPrizeBall = false;
    PlayOpeningRounds(frontEnd);
}

}  // namespace

int PlayGame(FrontEnd& frontEnd) {
    ControlOpen(static_cast<uint32_t>(TotalGamesPlayed()));
    RunQuestionRound(frontEnd);
    if (GetGameState() == STATE_BALL_GAME) PlayBallGame(frontEnd);
    PlayEnd(frontEnd);
    frontEnd.GameOver();
    ControlClose();
    return 0;
}

int RunQuestionRound(FrontEnd& frontEnd) {
    StartQuestionRound(frontEnd);
    do {
        AskRoundQuestion(frontEnd);
        if (GetGameState() == STATE_LOST) break;
        ++questionsAskedThisRound;
        if (rightAnswersThisRound >= kRightAnswersToQualify) {
            SetGameState(STATE_BALL_GAME);
            frontEnd.ShowQualified();
        }
    } while (!RoundOver(GetGameState()));
    return 1;
}

void StartQuestionRound(FrontEnd& frontEnd) {
    SetGameState(STATE_PLAYING);
    frontEnd.QuestionRoundStarting();
    SetUpGame();
    ResetBoard();
    frontEnd.ShowRoundOpening();
}

void DealBalls(FrontEnd& frontEnd) {
    frontEnd.DealStarting();
    DealValues();
    frontEnd.ShowDeal();
    for (int i = 0; i < kBallCount; ++i)
        Trace("axBalls[%d].value = <%d>\n", i, axBalls[i].value);
}

void ChoosePrizeBall(FrontEnd& frontEnd) {
    bPickingPrizeBall = true;
    const int ball = frontEnd.ChoosePrizeBall();
    TakePrizeBall(ball);
    frontEnd.ShowPrizeBallTaken(ball);
}

void PlayOpeningRounds(FrontEnd& frontEnd) {
    StartRounds(frontEnd);
    RoundEnd end;
    do {
        end = PlayRoundAndOffer(frontEnd);
    } while (end == RoundEnd::NextRound);
    // Lost at a question: the own ball is not revealed and nothing is paid.
    if (end == RoundEnd::Settled) frontEnd.RevealOwnBall();
}

void OpenOneBall(FrontEnd& frontEnd) {
    const int ball = frontEnd.ChooseBallToOpen();
    Trace("axBalls[%d].value = <%d>\n", ball, axBalls[ball].value);
    axBalls[ball].showValue = 1;
    frontEnd.ShowBallOpened(ball);
    TakeOffBoard(axBalls[ball]);
}

void PlayEnd(FrontEnd& frontEnd) {
    switch (GetGameState()) {
        case STATE_LOST:
            lWinAmount = 0;
            frontEnd.ShowLoss();
            break;
        case STATE_WON:
            frontEnd.ShowWin(lWinAmount);
            PayWin(lWinAmount);
            break;
        default:
            break;
    }
}

bool MakeOffer(FrontEnd& frontEnd) {
    WorkOutOffer();
    frontEnd.ShowOffer();
    if (frontEnd.TakesOffer()) {
        TakeOffer();
        frontEnd.ShowOfferTaken();
        return true;
    }
    frontEnd.ShowOfferLeft();
    if (FailsRefusalQuestion(frontEnd)) return true;
    ++NumberOfOffersMade;
    return false;
}
