#include "engines/control/counter_meanings.h"

#include "engines/control/controller.h"

namespace {

using enum CounterGroup;
using enum CounterUnit;
using enum CounterKey;

using namespace counter;

// A counter of its own.
constexpr CounterRange One(int index, CounterGroup group, CounterUnit unit, const char* meaning) {
    return {index, index, group, unit, meaning, None, 0, 0};
}
// A run of one counter per band, from `first`.
constexpr CounterRange ByBand(int first, CounterGroup group, CounterUnit unit,
                              const char* meaning) {
    return {first, first + kBandCount - 1, group, unit, meaning, Band, 0, 1};
}
// A run of counts by value in pence, from `firstValue` to `lastValue` in steps of `step`; the
// first counter of the run is `first`.
constexpr CounterRange ByValue(int first, CounterGroup group, const char* meaning, int firstValue,
                               int lastValue, int step) {
    const int last = step > 0 ? first + (lastValue - firstValue) / step : first;
    return {first, last, group, Count, meaning, Value, firstValue, step};
}

constexpr const char* kOwnBall = "player's own ball worth";
constexpr const char* kOffers = "offers made of";

constexpr CounterRange kCounterRanges[] = {
    One(kGames50p, Sales, Count, "games bought at 50p"),
    One(kGamesPound, Sales, Count, "games bought at £1"),
    ByBand(kGames50pByBand, Sales, Count, "50p games by band at the start:"),
    ByBand(kGamesPoundByBand, Sales, Count, "£1 games by band at the start:"),
    One(kAnswersTimedOut, Questions, Count, "questions not answered in time"),
    One(kQuestionsAsked, Questions, Count, "questions asked in the question round"),
    One(kQuestionRoundsLost, Questions, Count, "question rounds lost (wrong answer or time out)"),
    One(kBallGamesReached, BallGame, Count, "games that went on to the ball game"),
    One(kOwnBallPaid, BallGame, Count, "ball games played to the last ball, own ball paid"),
    One(kWon50p, Wins, Pence, "total won at 50p"),
    One(kWonPound, Wins, Pence, "total won at £1"),
    One(kWonTotal, Wins, Pence, "total won at both stakes"),
    ByBand(kWon50pByBand, Wins, Pence, "won at 50p by band at the end:"),
    ByBand(kWonPoundByBand, Wins, Pence, "won at £1 by band at the end:"),
    One(kWinningGames, Wins, Count, "games with a win, both stakes"),
    One(kWinningGamesPound, Wins, Count, "games with a win at £1"),
    One(kWinningGames50p, Wins, Count, "games with a win at 50p"),
    One(kBankBelow500, Sales, Count, "games bought while the bank read below 500p"),
    One(kBank500To999, Sales, Count, "games bought while the bank read 500p to 999p"),
    One(kBank1000Up, Sales, Count, "games bought while the bank read 1000p or more"),
    One(kPlayingSeconds, Time, Seconds, "total playing time"),
    One(kBallGames50p, BallGame, Count, "ball games at 50p"),
    One(kBallGamesPound, BallGame, Count, "ball games at £1"),
    // The own ball's values: 5p to 50p, 60p to £1, £1.50 and £2, £5, £10.
    ByValue(kOwnBallByValue, BallGame, kOwnBall, 5, 50, 5),
    ByValue(kOwnBallByValue + 10, BallGame, kOwnBall, 60, 100, 10),
    ByValue(kOwnBallByValue + 15, BallGame, kOwnBall, 150, 200, 50),
    ByValue(kOwnBallByValue + 17, BallGame, kOwnBall, 500, 500, 0),
    ByValue(kOwnBallByValue + 18, BallGame, kOwnBall, 1000, 1000, 0),
    ByValue(kOffersBy5p, Offers, kOffers, 5, 100, 5),
    ByValue(kOffersBy10p, Offers, kOffers, 110, 1000, 10),
    One(kOffersOther, Offers, Count, "offers made of any other value"),
    One(kOffersAboveOwnBall, Offers, Count, "offers larger than the player's own ball"),
    One(kBallGameWon50p, Wins, Pence, "won at 50p when the ball game settles"),
    One(kBallGameWonPound, Wins, Pence, "won at £1 when the ball game settles"),
    One(kOwnBallUnder5p, BallGame, Count, "player's own ball worth 1p to 4p"),
};

// The runs follow one another without gap or overlap and end at the last counter.
constexpr bool CoversEveryCounterOnce() {
    int next = 0;
    for (const CounterRange& range : kCounterRanges) {
        if (range.first != next || range.last < range.first) return false;
        next = range.last + 1;
    }
    return next == kCounterCount;
}
static_assert(CoversEveryCounterOnce());

}  // namespace

std::span<const CounterRange> CounterRanges() {
    return kCounterRanges;
}

const CounterRange* FindCounterRange(int index) {
    for (const CounterRange& range : kCounterRanges) {
        if (index >= range.first && index <= range.last) return &range;
    }
    return nullptr;
}

std::string CounterMeaning(int index) {
    const CounterRange* range = FindCounterRange(index);
    if (range == nullptr) return {};
    const int key = range->firstKey + (index - range->first) * range->keyStep;
    std::string text = range->meaning;
    switch (range->key) {
        case None:
            break;
        case Band:
            text.append(" band ").append(std::to_string(key));
            break;
        case Value:
            text.append(" ").append(std::to_string(key)).append("p");
            break;
    }
    return text;
}

const char* CounterGroupName(CounterGroup group) {
    switch (group) {
        case Sales:
            return "games sold";
        case Questions:
            return "question round";
        case BallGame:
            return "ball game";
        case Wins:
            return "wins";
        case Offers:
            return "offers";
        case Time:
            return "playing time";
    }
    return "";
}
