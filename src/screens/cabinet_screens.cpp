#include "screens/cabinet_screens.h"

#include <algorithm>
#include <iterator>

#include "base/input.h"
#include "engines/control/controller.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/sprites.h"
#include "screens/deal_screen.h"
#include "screens/end_sequences.h"
#include "screens/offer_screen.h"
#include "screens/opening_ball.h"
#include "screens/opening_rounds.h"
#include "screens/prize_ball.h"
#include "screens/question_round.h"
#include "screens/question_screen.h"

void CabinetScreens::QuestionRoundStarting() {
    CheckQuestionFont();
}

void CabinetScreens::ShowRoundOpening() {
    ::ShowRoundOpening();
}

// A round question starts with nothing touched; the question after a refused offer follows the
// offer's own screens at once.
uint8_t CabinetScreens::AskQuestion(uint8_t mode, int difficulty) {
    if (mode == 0) FlushInput();
    return ::AskQuestion(mode, difficulty);
}

void CabinetScreens::RoundQuestionAnswered() {
    ShowRoundQuestionAnswered();
}

void CabinetScreens::ShowQualified() {
    ::ShowQualified();
}

void CabinetScreens::DealStarting() {
    ChooseFlashPattern(PrizeLevel(), flashSteps_);
    std::fill(std::begin(abFlash), std::end(abFlash), 0);
}

void CabinetScreens::ShowDeal() {
    ShowDealToPlayer(flashSteps_);
}

int CabinetScreens::ChoosePrizeBall() {
    return PickPrizeBall();
}

void CabinetScreens::ShowPrizeBallTaken(int ball) {
    ::ShowPrizeBallTaken(ball);
}

void CabinetScreens::OpeningRoundsStarting() {
    LoadOfferBoxOnce();
}

int CabinetScreens::ChooseBallToOpen() {
    return ::ChooseBallToOpen();
}

void CabinetScreens::ShowBallOpened(int ball) {
    ::ShowBallOpened(ball);
}

void CabinetScreens::ShowRoundPlayed() {
    ::ShowRoundPlayed();
}

void CabinetScreens::ShowOffer() {
    BringInOffer();
}

bool CabinetScreens::TakesOffer() {
    return PlayerTakesOffer();
}

void CabinetScreens::ShowOfferTaken() {
    ::ShowOfferTaken();
}

void CabinetScreens::ShowOfferLeft() {
    ::ShowOfferLeft();
}

void CabinetScreens::RoundOver() {
    ClearOfferArea();
}

void CabinetScreens::RevealOwnBall() {
    RevealPlayersBall();
}

void CabinetScreens::ShowWin(int32_t amount) {
    PlayWinSequence(amount);
}

void CabinetScreens::ShowLoss() {
    PlayLossSequence();
}

// The next screen presents this background.
void CabinetScreens::GameOver() {
    DrawSprite(menuBackgroundSprite, 0, 0, 0, nullptr, 0);
}
