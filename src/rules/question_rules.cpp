#include "rules/question_rules.h"

#include <algorithm>
#include <iterator>

#include "base/random.h"
#include "engines/control/controller.h"
#include "rules/question_packs.h"

uint8_t tryAgainsLeft = 0;

void ForgetTryAgains() {
    tryAgainsLeft = 0;
}

namespace {

constexpr int kLevelLoweringPercent = 20;

// Try-agains a game starts with, by the game's try-again level (0 meanest to 4 most generous).
constexpr uint8_t kTryAgainsByLevel[] = {1, 1, 1, 1, 1};

}  // namespace

int DrawQuestionLevel() {
    int level = std::clamp<int>(QuestionLevel(), 0, kQuestionLevels - 1);
    const int lowering = LevelLoweringPercent(level);
    if (lowering > 0 && PercentChance(lowering)) --level;
    return level;
}

int LevelLoweringPercent(int level) {
    return level >= 1 && level <= 3 ? kLevelLoweringPercent : 0;
}

int RoundQuestionDifficulty(int questionIndex, int level) {
    return difficultyTable[std::clamp(questionIndex, 0, kDifficultyRows - 1)]
                          [std::clamp(level, 0, kQuestionLevels - 1)];
}

int NextQuestionDifficulty(uint8_t fixed, int difficulty) {
    const int level = DrawQuestionLevel();
    return fixed == 0 ? RoundQuestionDifficulty(questionsAskedThisRound, level) : difficulty;
}

uint8_t TryAgainsAtStart(int tryAgainLevel) {
    const int last = static_cast<int>(std::size(kTryAgainsByLevel)) - 1;
    return kTryAgainsByLevel[std::clamp(tryAgainLevel, 0, last)];
}

bool EarnsTryAgain(uint8_t tryAgainsLeft, bool triedAgainOnThisQuestion) {
    return tryAgainsLeft > 0 && !triedAgainOnThisQuestion;
}

bool TryAgainUsesOne(bool firstPass) {
    return !firstPass;
}
