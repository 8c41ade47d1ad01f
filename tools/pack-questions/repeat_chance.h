// The chance that one game asks the same statement twice. Every question is drawn afresh: TRUE or
// FALSE evenly, a difficulty from the game's tables, a category evenly within it and a statement
// evenly within that category's pack, with no memory of the questions already asked. So the
// chance is set by the sizes of the packs and by how many questions of each difficulty a game
// asks.
//
// A game asks at most 11 questions: the seven of the question round (a try-again puts the same
// question again; that is not a fresh draw) and one after each refused offer, of which there are
// at most four (21 balls opened five a round). The longest game is the one counted: the round's
// difficulty follows the game's question level (lowered by one now and then), the questions after
// refused offers follow its prize level.
#pragma once

#include <array>
#include <cstddef>

#include "rules/offer_calculation.h"
#include "rules/play_game.h"
#include "rules/question_packs.h"

inline constexpr int kMostQuestionsInAGame = kRightAnswersToQualify + kMostOffers;

// Statements per pack in the game's pack order: index 2(c - 1) is category c's TRUE pack and
// 2(c - 1) + 1 its FALSE pack.
using PackSizes = std::array<std::size_t, kPackCount>;

// The chance, as a fraction, that the longest game at these levels (each 0 to 4) asks some
// statement twice. It is the expected number of pairs of questions that meet the same statement,
// which is at least the chance and exceeds it only by the chance of two such pairs at once: a
// tight upper bound at the small figures that matter (and never above 1). An empty pack counts as
// one statement (the game then shows the same "NOT FOUND" text every time).
double RepeatChance(const PackSizes& sizes, int questionLevel, int prizeLevel);

// The highest chance over every pairing of question level and prize level.
double WorstRepeatChance(const PackSizes& sizes);
