#include "sim/simulated_game.h"

#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/offer.h"
#include "rules/play_game.h"
#include "rules/question_rules.h"
#include "rules/sale.h"
#include "rules/settle.h"

namespace {

// The player at a cabinet without a screen: every step of the order of play that the cabinet
// shows is nothing here, and every decision is the modelled player's.
class ScreenlessPlayer final : public FrontEnd {
  public:
    ScreenlessPlayer(ModelledPlayer& player, GameWatcher* watcher, SimulatedGame& game)
        : player_(player), watcher_(watcher), game_(game) {}

    // One question: its difficulty drawn as the question screen draws it when it chooses the
    // question, the player's answer, and a second go when a wrong answer earns one.
    uint8_t AskQuestion(uint8_t mode, int difficulty) override {
        if (mode == 0) ++game_.questionsAsked;
        difficulty = NextQuestionDifficulty(mode, difficulty);
        bool right = player_.AnswersRight(difficulty);
        if (!right && EarnsTryAgain(tryAgainsLeft, false)) {
            if (TryAgainUsesOne(bPickingPrizeBall)) --tryAgainsLeft;
            right = player_.AnswersTryAgainRight(difficulty);
        }
        return right ? kQuestionRight : kQuestionWrong;
    }

    void ShowDeal() override {
        game_.reachedBallGame = true;
        if (watcher_) watcher_->Dealt(axBalls);
    }

    int ChoosePrizeBall() override {
        ListBalls([](const Ball& ball) { return ball.inPlay && !ball.isBlue; });
        return TakeListedBall();
    }

    // From now on the player opens any ball still on the board: every one but its own.
    void ShowPrizeBallTaken(int ball) override {
        if (watcher_) watcher_->PrizeBallChosen(ball);
        ListBalls([](const Ball& candidate) { return candidate.inPlay != 0; });
    }

    // The list of closed balls always holds exactly the balls BallsLeft counts.
    int ChooseBallToOpen() override { return TakeListedBall(); }

    void ShowBallOpened(int ball) override {
        if (watcher_) watcher_->BallOpened(ball);
    }

    bool TakesOffer() override {
        const int number = ++game_.offersMade;
        const int32_t offer = static_cast<int32_t>(fOffer);
        const double averageLeft = player_.JudgesByAverageLeft() ? AverageLeft() : 0.0;
        const bool taken = player_.TakesOffer(OfferView{number, offer, averageLeft});
        if (watcher_) watcher_->Offered(number, LastOfferWorkedOut(), taken);
        if (taken) game_.offerTaken = number;
        return taken;
    }

  private:
    // Lists the balls that `acceptable` allows into closedBalls_.
    template <typename Acceptable>
    void ListBalls(Acceptable acceptable) {
        closedCount_ = 0;
        for (int i = 0; i < kBallCount; ++i) {
            if (acceptable(axBalls[i])) closedBalls_[closedCount_++] = i;
        }
    }

    // The player touches one of the listed balls, each as likely; it leaves the list.
    int TakeListedBall() {
        const int pick = player_.Choose(closedCount_);
        const int ball = closedBalls_[pick];
        closedBalls_[pick] = closedBalls_[--closedCount_];
        return ball;
    }

    ModelledPlayer& player_;
    GameWatcher* watcher_;
    SimulatedGame& game_;
    int closedBalls_[kBallCount] = {};
    int closedCount_ = 0;
};

}  // namespace

SimulatedGame PlaySimulatedGame(int16_t stake, ModelledPlayer& player, GameWatcher* watcher) {
    SimulatedGame game;
    uwPriceOfPlay = stake;
    BookSale();
    game.band = CountGameSold();
    ScreenlessPlayer frontEnd(player, watcher, game);
    PlayGame(frontEnd);
    EndGameAccounting();
    // The modelled player is paid the moment the game ends: there is no service to refuse it.
    if (lWinAmount > 0) CountPaidOut(static_cast<int16_t>(lWinAmount));
    game.paid = lWinAmount;
    return game;
}

double AverageLeft() {
    int64_t worth = 0;
    int closed = 0;
    for (const Ball& ball : axBalls) {
        if (!ball.inPlay && !ball.isPlayers) continue;
        ++closed;
        worth += OwnBallWorth(ball.value);
    }
    return closed > 0 ? static_cast<double>(worth) / closed : 0.0;
}
