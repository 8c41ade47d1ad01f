// Checks over the whole bank that go beyond reading it: statements that say the same thing in
// other words, so that one fact is not asked twice in a game under two texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "bank_source.h"
#include "repeat_chance.h"

// What a statement says, for comparing: lower case, apostrophes dropped, other punctuation read as
// a blank, the words "a", "an" and "the" left out, blanks collapsed. "£" ("#" in pack text) is
// kept as a letter.
std::string NormalisedStatement(std::string_view text);

// Two statements of the same truth (both TRUE or both FALSE, in any categories) whose normalised
// words are nearly the same set: the words they share are at least 80 % of all the words either
// uses. A TRUE statement and a FALSE one may share most of their words ("... on 5 November",
// "... on 5 October"); they are different facts, and are not reported here.
struct NearDuplicate {
    std::string first;   // "file:line: statement"
    std::string second;  // the later of the two in bank order
};
std::vector<NearDuplicate> FindNearDuplicates(const std::vector<BankCategory>& bank);

// The statements in each of the game's packs, for the chance of a repeat.
PackSizes PackSizesOf(const std::vector<BankCategory>& bank);
