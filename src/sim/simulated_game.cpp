#include "sim/simulated_game.h"

#include "ballgame/offer.h"
#include "ballgame/settle.h"
#include "control/controller.h"
#include "game/game_state.h"
#include "questions/question_packs.h"
#include "questions/question_round.h"
#include "questions/question_rules.h"
#include "questions/question_screen.h"

namespace {

constexpr int kBallsPerRound = 5;

// The stake index whose balance a sale is charged to (exactly 50 or 100 pence, as the sale does).
int StakeIndex(int16_t stake) {
    return stake == 100 ? 1 : 0;
}

// The sale: 30 % of the stake charged to its balance and the game counted on the meters, as the
// stake screen and the main loop do once the credit service has taken the stake. Returns the
// band the main loop counts the game in.
int SellGame(int16_t stake) {
    uwPriceOfPlay = stake;
    lWinAmount = 0;
    const float charge = -(stake * kTargetPayoutPercent) / 100.0f;
    ControllerAdd(static_cast<uint8_t>(StakeIndex(stake)), charge);
    CountIncrement(stake >= 100 ? counter::kGamesPound : counter::kGames50p);
    const int band = ControllerBand(static_cast<int16_t>(StakeIndex(stake)));
    const int16_t first = stake == 100 ? counter::kGamesPoundByBand : counter::kGames50pByBand;
    CountIncrement(static_cast<int16_t>(first + band));
    return band;
}

class GamePlay {
  public:
    GamePlay(ModelledPlayer& player, GameWatcher* watcher) : player_(player), watcher_(watcher) {}

    void Play(SimulatedGame& game) {
        ControlOpen(static_cast<uint32_t>(TotalGamesPlayed()));
        PlayQuestionRound(game);
        if (GetGameState() == STATE_BALL_GAME) PlayBallGame(game);
        if (GetGameState() == STATE_LOST) lWinAmount = 0;
        ControlClose();
        EndGameAccounting();
        game.paid = lWinAmount;
    }

  private:
    // One question: its difficulty drawn as the question screen draws it, the player's answer,
    // and a second go when a wrong answer earns one. Returns kQuestionRight or kQuestionWrong.
    uint8_t AnswerQuestion(uint8_t mode, int difficulty) {
        difficulty = NextQuestionDifficulty(mode, difficulty);
        bool right = player_.AnswersRight(difficulty);
        if (!right && EarnsTryAgain(tryAgainsLeft, false)) {
            if (TryAgainUsesOne(bPickingPrizeBall)) --tryAgainsLeft;
            right = player_.AnswersTryAgainRight(difficulty);
        }
        return right ? kQuestionRight : kQuestionWrong;
    }

    void PlayQuestionRound(SimulatedGame& game) {
        SetGameState(STATE_PLAYING);
        bPickingPrizeBall = true;
        rightAnswersThisRound = 0;
        questionsAskedThisRound = 0;
        tryAgainsLeft = TryAgainsAtStart(TryAgainLevel());
        ResetBoard();
        for (;;) {
            CountIncrement(counter::kQuestionsAsked);
            ++game.questionsAsked;
            if (AnswerQuestion(0, 0) == kQuestionWrong) {
                CountIncrement(counter::kQuestionRoundsLost);
                SetGameState(STATE_LOST);
                return;
            }
            SetGameState(STATE_PLAYING);
            ++rightAnswersThisRound;
            bPickingPrizeBall = false;
            ++questionsAskedThisRound;
            if (rightAnswersThisRound >= kRightAnswersToQualify) {
                SetGameState(STATE_BALL_GAME);
                return;
            }
        }
    }

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

    void ChoosePrizeBall() {
        ListBalls([](const Ball& ball) { return ball.inPlay && !ball.isBlue; });
        const int chosen = TakeListedBall();
        Ball& ball = axBalls[chosen];
        ball.inPlay = 0;
        ball.isPlayers = 1;
        lPrizeAvailableThisGame = ball.value;
        bPrizeBallChosen = true;
        if (watcher_) watcher_->PrizeBallChosen(chosen);
        // From now on the player opens any ball still on the board: every one but its own.
        ListBalls([](const Ball& ball) { return ball.inPlay != 0; });
    }

    // Opens one ball: it leaves the board and its plate goes out on the win plan. The list of
    // closed balls always holds exactly the balls BallsLeft counts.
    void OpenBall() {
        const int opened = TakeListedBall();
        Ball& ball = axBalls[opened];
        ball.inPlay = 0;
        for (WinPlanPlate& plate : axWinPlan) {
            if (plate.value == ball.value) {
                plate.lit = 0;
                break;
            }
        }
        if (watcher_) watcher_->BallOpened(opened);
    }

    // The offer after a round: taken, or left at the price of a question. True when the game is
    // over.
    bool OfferToPlayer(SimulatedGame& game) {
        const OfferInputs inputs{axBalls, lPrizeAvailableThisGame, OfferLevel(), NumberOfOffersMade,
                                 uwPriceOfPlay};
        const OfferResult result = CalculateOffer(inputs);
        fOffer = result.offer;
        const int32_t offer = static_cast<int32_t>(result.offer);
        CountOffer(offer, lPrizeAvailableThisGame);
        const int number = ++game.offersMade;
        const double averageLeft = player_.JudgesByAverageLeft() ? AverageLeft() : 0.0;
        const bool taken = player_.TakesOffer(OfferView{number, offer, averageLeft});
        if (watcher_) watcher_->Offered(number, result, taken);
        if (taken) {
            lWinAmount = offer;
            game.offerTaken = number;
            return true;
        }
        const int difficulty = RefusalQuestionDifficulty(NumberOfOffersMade, PrizeLevel());
        SetGameState(AnswerQuestion(1, difficulty));
        if (GetGameState() == STATE_WRONG) SetGameState(STATE_LOST);
        if (GetGameState() == STATE_LOST) return true;
        ++NumberOfOffersMade;
        return false;
    }

    void PlayBallGame(SimulatedGame& game) {
        game.reachedBallGame = true;
        CountIncrement(counter::kBallGamesReached);
        DealValues();
        if (watcher_) watcher_->Dealt(axBalls);
        ChoosePrizeBall();
        bPickingPrizeBall = false;

        CountBallGameStart();
        tryAgainsLeft = 0;
        NumberOfOffersMade = 0;
        bool over = false;
        while (!over) {
            for (int opened = 0; opened < kBallsPerRound && closedCount_ > 0; ++opened)
                OpenBall();
            if (closedCount_ >= 1) over = OfferToPlayer(game);
            if (!over && closedCount_ == 0) over = true;
        }
        if (LostAtOfferQuestion()) return;
        SettleOwnBall();
        SettleWinnings();
    }

    ModelledPlayer& player_;
    GameWatcher* watcher_;
    int closedBalls_[kBallCount] = {};
    int closedCount_ = 0;
};

}  // namespace

SimulatedGame PlaySimulatedGame(int16_t stake, ModelledPlayer& player, GameWatcher* watcher) {
    SimulatedGame game;
    game.band = SellGame(stake);
    GamePlay(player, watcher).Play(game);
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
