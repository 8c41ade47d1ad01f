// The cabinet's front end to the order of play: every step the rules call is a screen the player
// sees (rules/front_end.h), drawn, timed and touched on the one program thread.
#pragma once

#include "rules/board.h"
#include "rules/front_end.h"

class CabinetScreens final : public FrontEnd {
  public:
    void QuestionRoundStarting() override;
    void ShowRoundOpening() override;
    uint8_t AskQuestion(uint8_t mode, int difficulty) override;
    void RoundQuestionAnswered() override;
    void ShowQualified() override;

    void DealStarting() override;
    void ShowDeal() override;
    int ChoosePrizeBall() override;
    void ShowPrizeBallTaken(int ball) override;
    void OpeningRoundsStarting() override;
    int ChooseBallToOpen() override;
    void ShowBallOpened(int ball) override;
    void ShowRoundPlayed() override;
    void ShowOffer() override;
    bool TakesOffer() override;
    void ShowOfferTaken() override;
    void ShowOfferLeft() override;
    void RoundOver() override;
    void RevealOwnBall() override;

    void ShowWin(int32_t amount) override;
    void ShowLoss() override;
    void GameOver() override;

  private:
    int flashSteps_[kBallCount] = {};  // the deal's flash pattern, drawn before the values
};
