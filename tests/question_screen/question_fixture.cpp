#include "question_fixture.h"

#include "base/random.h"
#include "engines/control/game_state.h"
#include "rules/question_packs.h"
#include "rules/question_rules.h"
#include "support/run_program.h"

void QuestionFixture::SetUp() {
    const ProgramResult packed =
        RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", WorkDir().path()});
    ASSERT_EQ(packed.exitStatus, 0) << packed.output;
    ASSERT_EQ(LoadQuestionPacks(), 1);
}

void QuestionFixture::StartQuestionRun(const std::string& touches) {
    Start(touches, Pictures::None);
    SetGameState(STATE_PLAYING);
    tryAgainsLeft = 1;
    bPickingPrizeBall = true;
}

std::string QuestionFixture::TouchAnswer(uint32_t ms, int answer) {
    return answer == 1 ? TouchLine(ms, kTrueX, kTrueY) : TouchLine(ms, kFalseX, kFalseY);
}

int SeedAndPredictAnswer(uint32_t seed) {
    SeedRandom(seed);
    const int answer = RandomBelow(2) != 0 ? 1 : 0;
    SeedRandom(seed);
    return answer;
}
