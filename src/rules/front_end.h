// What the order of play needs from whoever puts the game in front of a player: the cabinet's
// screens, or payout-sim's player, which plays without a screen.
//
// The rules (rules/play_game.h) decide everything that is paid and counted, in the order the game
// is played, and call a front end at each point where the player sees something or decides
// something. A front end shows, waits and reads touches, and answers with the player's choices;
// the screens' versions draw every frame, payout-sim's do nothing but decide. The question itself
// (its difficulty, a try-again) is played by the front end with the rules of rules/question_rules.h
// at the moment it shows them, so that a screen draws its random numbers where it always has.
#pragma once

#include <cstdint>

class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // ---- The question round ---------------------------------------------------------------------
    // The round is about to be set up.
    virtual void QuestionRoundStarting() {}
    // The board is set up: the opening display (the board, the win plan sliding in, the intro).
    virtual void ShowRoundOpening() {}
    // One true-or-false question. Mode 0 is a round question (its difficulty comes from the
    // round); any other mode is the question after a refused offer, at `difficulty`. Returns
    // kQuestionRight or kQuestionWrong (rules/question_rules.h).
    virtual uint8_t AskQuestion(uint8_t mode, int difficulty) = 0;
    // A round question has been answered and counted.
    virtual void RoundQuestionAnswered() {}
    // Seven right answers: the ball game comes next.
    virtual void ShowQualified() {}

    // ---- The ball game --------------------------------------------------------------------------
    // Before and after the values are dealt for the ball game.
    virtual void DealStarting() {}
    virtual void ShowDeal() {}
    // The player's own ball: one CanPickBall accepts (rules/board.h).
    virtual int ChoosePrizeBall() = 0;
    // The chosen ball has been taken off the board as the player's own.
    virtual void ShowPrizeBallTaken(int ball) { (void)ball; }
    // The opening rounds are about to begin.
    virtual void OpeningRoundsStarting() {}
    // The next ball to open: one CanOpenBall accepts.
    virtual int ChooseBallToOpen() = 0;
    // The ball is opened (its value showing); it leaves the board when this returns.
    virtual void ShowBallOpened(int ball) { (void)ball; }
    // A round of openings is over (the board as it now stands).
    virtual void ShowRoundPlayed() {}
    // The offer (fOffer, rules/offer.h) is made: shown, then taken or left.
    virtual void ShowOffer() {}
    virtual bool TakesOffer() = 0;
    virtual void ShowOfferTaken() {}
    virtual void ShowOfferLeft() {}
    // A round and its offer are over.
    virtual void RoundOver() {}
    // The player kept the own ball to the end, or took an offer: the own ball is opened.
    virtual void RevealOwnBall() {}

    // ---- The end --------------------------------------------------------------------------------
    // The win sequence (the win is paid when it ends) or the loss sequence.
    virtual void ShowWin(int32_t amount) { (void)amount; }
    virtual void ShowLoss() {}
    // The game is over; the next screen follows.
    virtual void GameOver() {}
};
