#include "repeat_chance.h"

#include <algorithm>

#include "rules/pack_format.h"
#include "rules/question_rules.h"

namespace {

constexpr int kDifficulties = 3;

// How likely each difficulty (index 0 for difficulty 1) is for one question.
using DifficultyChances = std::array<double, kDifficulties>;

DifficultyChances RoundQuestionChances(int questionIndex, int questionLevel) {
    DifficultyChances chances{};
    const double lowered = LevelLoweringPercent(questionLevel) / 100.0;
    chances[RoundQuestionDifficulty(questionIndex, questionLevel) - 1] += 1.0 - lowered;
    if (lowered > 0)
        chances[RoundQuestionDifficulty(questionIndex, questionLevel - 1) - 1] += lowered;
    return chances;
}

DifficultyChances RefusalQuestionChances(int offersMade, int prizeLevel) {
    DifficultyChances chances{};
    chances[RefusalQuestionDifficulty(offersMade, prizeLevel) - 1] = 1.0;
    return chances;
}

// For each difficulty: the chance that two questions both of that difficulty meet the same
// statement. Each pack of the difficulty is drawn with chance 1 / (2 x categories), and then
// the same statement of it with chance 1 / size.
DifficultyChances SameStatementChances(const PackSizes& sizes) {
    DifficultyChances chances{};
    for (int group = 0; group < kDifficulties; ++group) {
        const DifficultyGroup& difficulty = kDifficultyGroups[group];
        const double packChance = 1.0 / (2.0 * difficulty.categoryCount);
        for (int category = difficulty.firstCategory;
             category < difficulty.firstCategory + difficulty.categoryCount; ++category) {
            for (int truth = 0; truth < 2; ++truth) {
                const std::size_t size = sizes[2 * (category - 1) + truth];
                chances[group] +=
                    packChance * packChance / static_cast<double>(std::max<std::size_t>(size, 1));
            }
        }
    }
    return chances;
}

}  // namespace

double RepeatChance(const PackSizes& sizes, int questionLevel, int prizeLevel) {
    std::array<DifficultyChances, kMostQuestionsInAGame> questions;
    for (int index = 0; index < kRightAnswersToQualify; ++index)
        questions[index] = RoundQuestionChances(index, questionLevel);
    for (int offer = 0; offer < kMostOffers; ++offer)
        questions[kRightAnswersToQualify + offer] = RefusalQuestionChances(offer, prizeLevel);

    const DifficultyChances same = SameStatementChances(sizes);
    double expectedPairs = 0;
    for (int first = 0; first < kMostQuestionsInAGame; ++first) {
        for (int second = first + 1; second < kMostQuestionsInAGame; ++second) {
            for (int group = 0; group < kDifficulties; ++group)
                expectedPairs += questions[first][group] * questions[second][group] * same[group];
        }
    }
    // A bound on a chance: past 1 it says no more than that a repeat is all but certain.
    return std::min(expectedPairs, 1.0);
}

double WorstRepeatChance(const PackSizes& sizes) {
    double worst = 0;
    for (int questionLevel = 0; questionLevel < kQuestionLevels; ++questionLevel) {
        for (int prizeLevel = 0; prizeLevel < kOfferLevelCount; ++prizeLevel)
            worst = std::max(worst, RepeatChance(sizes, questionLevel, prizeLevel));
    }
    return worst;
}
