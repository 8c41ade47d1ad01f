#include "engines/control/counter_meanings.h"

#include "engines/control/controller.h"

namespace {

using enum CounterGroup;
using enum CounterUnit;
using enum CounterKey;

constexpr CounterRange kCounterRanges[] = {
    {0, 0, Sales, Count, "games bought at 50p", None, 0, 0},
    {1, 1, Sales, Count, "games bought at £1", None, 0, 0},
    {2, 8, Sales, Count, "50p games by band at the start:", Band, 0, 1},
    {9, 15, Sales, Count, "£1 games by band at the start:", Band, 0, 1},
    {16, 16, Questions, Count, "questions not answered in time", None, 0, 0},
    {17, 17, Questions, Count, "questions asked in the question round", None, 0, 0},
    {18, 18, Questions, Count, "question rounds lost (wrong answer or time out)", None, 0, 0},
    {19, 19, BallGame, Count, "games that went on to the ball game", None, 0, 0},
    {20, 20, BallGame, Count, "ball games played to the last ball, own ball paid", None, 0, 0},
    {21, 21, Wins, Pence, "total won at 50p", None, 0, 0},
    {22, 22, Wins, Pence, "total won at £1", None, 0, 0},
    {23, 23, Wins, Pence, "total won at both stakes", None, 0, 0},
    {24, 30, Wins, Pence, "won at 50p by band at the end:", Band, 0, 1},
    {31, 37, Wins, Pence, "won at £1 by band at the end:", Band, 0, 1},
    {38, 38, Wins, Count, "games with a win, both stakes", None, 0, 0},
    {39, 39, Wins, Count, "games with a win at £1", None, 0, 0},
    {40, 40, Wins, Count, "games with a win at 50p", None, 0, 0},
    {41, 41, Sales, Count, "games bought while the bank read below 500p", None, 0, 0},
    {42, 42, Sales, Count, "games bought while the bank read 500p to 999p", None, 0, 0},
    {43, 43, Sales, Count, "games bought while the bank read 1000p or more", None, 0, 0},
    {44, 44, Time, Seconds, "total playing time", None, 0, 0},
    {45, 45, BallGame, Count, "ball games at 50p", None, 0, 0},
    {46, 46, BallGame, Count, "ball games at £1", None, 0, 0},
    {47, 56, BallGame, Count, "player's own ball worth", Value, 5, 5},
    {57, 61, BallGame, Count, "player's own ball worth", Value, 60, 10},
    {62, 63, BallGame, Count, "player's own ball worth", Value, 150, 50},
    {64, 64, BallGame, Count, "player's own ball worth", Value, 500, 0},
    {65, 65, BallGame, Count, "player's own ball worth", Value, 1000, 0},
    {66, 85, Offers, Count, "offers made of", Value, 5, 5},
    {86, 175, Offers, Count, "offers made of", Value, 110, 10},
    {176, 176, Offers, Count, "offers made of any other value", None, 0, 0},
    {177, 177, Offers, Count, "offers larger than the player's own ball", None, 0, 0},
    {178, 178, Wins, Pence, "won at 50p when the ball game settles", None, 0, 0},
    {179, 179, Wins, Pence, "won at £1 when the ball game settles", None, 0, 0},
    {180, 180, BallGame, Count, "player's own ball worth 1p to 4p", None, 0, 0},
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
