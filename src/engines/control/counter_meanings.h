// What each of the 181 game counters counts, for the operator's meter listing. Counters that come
// in runs (by band, by prize value, by offer value) share one entry whose members are told apart
// by a key: the band, or the value in pence.
#pragma once

#include <span>
#include <string>

enum class CounterGroup { Sales, Questions, BallGame, Wins, Offers, Time };
enum class CounterUnit { Count, Pence, Seconds };
// What tells the members of a run apart: nothing (a single counter), the band or a value in pence.
enum class CounterKey { None, Band, Value };

struct CounterRange {
    int first;  // first and last counter index, inclusive
    int last;
    CounterGroup group;
    CounterUnit unit;
    const char* meaning;
    CounterKey key;
    int firstKey;  // key of the first member; each further member adds keyStep
    int keyStep;
};

// Every counter index from 0 to 180 in exactly one entry, in index order.
std::span<const CounterRange> CounterRanges();

// The entry holding a counter index, or nullptr outside 0 to 180.
const CounterRange* FindCounterRange(int index);

// The meaning of one counter, with its member key: "50p games by band at the start: band 3",
// "offers made of 110p". Empty outside 0 to 180.
std::string CounterMeaning(int index);

const char* CounterGroupName(CounterGroup group);
