// One question on the screen, played on the virtual clock with scripted touches. The question's
// answer is drawn by the game's generator as its first draw of the question, so a test seeds the
// generator, works out that draw, and touches the right or the wrong button accordingly; after
// the question it checks that the question really had that answer.
//
// The answer wait starts once the question has been typed out (at most about 4 s for the longest
// question), so the scripts touch from 6 s on: a touch before the wait would be thrown away.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/waits.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/image_codecs.h"
#include "engines/graphics/sprites.h"
#include "question_fixture.h"
#include "rules/question_packs.h"
#include "screens/question_screen.h"
#include "support/work_dir.h"

namespace {

constexpr uint32_t kFirstTouchMs = 6000;
constexpr uint32_t kTouchSpacingMs = 3000;

using SoundList = std::vector<int>;

class QuestionScreen : public QuestionFixture {
  protected:
    void SetUp() override {
        QuestionFixture::SetUp();
        answer_ = SeedAndPredictAnswer(seed_);
    }
    // Picks a seed whose question has this answer.
    void UseQuestionAnswered(int answer) {
        while (SeedAndPredictAnswer(seed_) != answer)
            ++seed_;
        answer_ = answer;
    }

    // Starts a run with a script touching these answers (1 TRUE, 0 FALSE) in turn, 3 s apart;
    // an entry of -1 touches the ignored area instead.
    void ScriptTouches(const std::vector<int>& choices) {
        std::string script;
        uint32_t ms = kFirstTouchMs;
        for (int choice : choices) {
            script += choice < 0 ? TouchLine(ms, kPassX, kPassY) : TouchAnswer(ms, choice);
            ms += kTouchSpacingMs;
        }
        StartQuestionRun(script);
    }
    // Asks the question whose answer the script was written for.
    uint8_t Ask(uint8_t mode) {
        SeedAndPredictAnswer(seed_);
        const uint8_t result = AskQuestion(mode, 2);
        EXPECT_EQ(QuestionAnswer(), answer_) << "the question's answer was the first draw";
        return result;
    }
    uint8_t AskRoundQuestionTouching(const std::vector<int>& choices, uint8_t mode = 0) {
        ScriptTouches(choices);
        return Ask(mode);
    }
    int Right() const { return answer_; }
    int Wrong() const { return 1 - answer_; }

    uint32_t seed_ = 20240611;
    int answer_ = 1;
};

TEST_F(QuestionScreen, NoAnswerFor15SecondsTimesOut) {
    const uint8_t result = AskRoundQuestionTouching({});
    EXPECT_EQ(result, kQuestionWrong);
    EXPECT_EQ(GetGameState(), STATE_WRONG);
    EXPECT_EQ(Sounds(), SoundList{1})
        << "the time-out sound; neither a button nor the wrong-answer sound";
    EXPECT_EQ(CounterValue(counter::kAnswersTimedOut), 1);
    EXPECT_EQ(tryAgainsLeft, 1) << "a time-out gives no try-again";
    // The clock starts once the question is typed out, so the time-out comes 15 s later.
    EXPECT_GT(SoundTime(1), 15000);
    EXPECT_LT(SoundTime(1), 15000 + kFirstTouchMs);
}

TEST_F(QuestionScreen, RightAnswerOnTheFirstTouch) {
    for (int answer : {1, 0}) {
        SCOPED_TRACE(answer == 1 ? "TRUE" : "FALSE");
        UseQuestionAnswered(answer);
        ScriptTouches({Right()});
        SetGameState(STATE_WRONG);
        EXPECT_EQ(Ask(0), kQuestionRight);
        EXPECT_EQ(GetGameState(), STATE_PLAYING);
        EXPECT_EQ(Sounds(), (SoundList{30, 4}));
        EXPECT_EQ(CounterValue(counter::kAnswersTimedOut), 0);
    }
}

TEST_F(QuestionScreen, WrongAnswerWithoutATryAgain) {
    for (int answer : {1, 0}) {
        SCOPED_TRACE(answer == 1 ? "TRUE" : "FALSE");
        UseQuestionAnswered(answer);
        ScriptTouches({Wrong(), Right()});
        tryAgainsLeft = 0;
        EXPECT_EQ(Ask(0), kQuestionWrong);
        EXPECT_EQ(GetGameState(), STATE_WRONG);
        EXPECT_EQ(Sounds(), (SoundList{30, 5})) << "the question is over before the second touch";
    }
}

TEST_F(QuestionScreen, FirstQuestionOfTheRoundHasAFreeTryAgain) {
    ScriptTouches({Wrong(), Wrong()});
    bPickingPrizeBall = true;  // the round is on its first question
    const uint8_t result = Ask(0);
    EXPECT_EQ(result, kQuestionWrong);
    EXPECT_EQ(GetGameState(), STATE_WRONG);
    EXPECT_EQ(Sounds(), (SoundList{30, 45, 30, 5})) << "a try-again, then the wrong answer ends it";
    EXPECT_EQ(tryAgainsLeft, 1) << "the first question's try-again costs nothing";
}

TEST_F(QuestionScreen, LaterTryAgainCostsOneAndARightAnswerThenCounts) {
    ScriptTouches({Wrong(), Right()});
    bPickingPrizeBall = false;
    const uint8_t result = Ask(0);
    EXPECT_EQ(result, kQuestionRight);
    EXPECT_EQ(GetGameState(), STATE_PLAYING);
    EXPECT_EQ(Sounds(), (SoundList{30, 45, 9, 30, 4}));
    EXPECT_EQ(tryAgainsLeft, 0);
}

TEST_F(QuestionScreen, OnlyOneTryAgainPerQuestion) {
    ScriptTouches({Wrong(), Wrong()});
    bPickingPrizeBall = false;
    tryAgainsLeft = 2;
    const uint8_t result = Ask(0);
    EXPECT_EQ(result, kQuestionWrong);
    EXPECT_EQ(Sounds(), (SoundList{30, 45, 9, 30, 5}));
    EXPECT_EQ(tryAgainsLeft, 1) << "the second is kept for a later question";
}

TEST_F(QuestionScreen, BallGameQuestionHasNoSecondChance) {
    ScriptTouches({Wrong()});
    // The ball game clears the try-agains before it asks.
    tryAgainsLeft = 0;
    bPickingPrizeBall = false;
    EXPECT_EQ(Ask(1), kQuestionWrong);
    EXPECT_EQ(Sounds(), (SoundList{30, 5}));
}

TEST_F(QuestionScreen, PassAreaIsIgnoredAndTheClockRunsOn) {
    EXPECT_EQ(AskRoundQuestionTouching({}), kQuestionWrong);
    const long untouchedTimeOut = SoundTime(1);

    EXPECT_EQ(AskRoundQuestionTouching({-1}), kQuestionWrong);
    EXPECT_EQ(Sounds(), SoundList{1}) << "no button sound, no try-again";
    EXPECT_EQ(SoundTime(1), untouchedTimeOut) << "the press did not touch the clock";

    EXPECT_EQ(AskRoundQuestionTouching({-1, Right()}), kQuestionRight)
        << "the answer after the ignored press still counts";
    EXPECT_EQ(Sounds(), (SoundList{30, 4}));
}

// A bank-and-credit font whose every glyph is a solid white block, 10 x 16.
void WriteBlockFont() {
    constexpr int kWidth = 10, kHeight = 16 * kFontGlyphs;
    std::vector<uint8_t> bmp(54 + 32 * kHeight, 0xFF);  // rows of 30 bytes padded to 32
    const auto put = [&bmp](size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bmp[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    std::fill(bmp.begin(), bmp.begin() + 54, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    put(2, static_cast<uint32_t>(bmp.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, kWidth, 4);
    put(22, kHeight, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    std::filesystem::create_directories("Graphic_resource/Menu");
    std::ofstream("Graphic_resource/Menu/BankCreditFont.BMP", std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
}

// True when the captured frame has the block font's white anywhere in the box.
bool WhiteInBox(const DecodedImage& frame, int left, int top, int width, int height) {
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x) {
            const uint8_t* pixel = &frame.pixels[4 * (static_cast<size_t>(y) * frame.width + x)];
            if (pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255) return true;
        }
    return false;
}

// The number disc and the try-agains box are filled from the first frame of the typing, in the
// round and in the ball game (whose questions count the refused offers and have no try-agains).
TEST_F(QuestionScreen, NumberAndTryAgainsShowAsTheQuestionIsTypedOut) {
    constexpr int kBankCreditFont = 3;
    WriteBlockFont();
    Sprite& font = fontSprites[FontSlot(kBankCreditFont)];
    for (uint8_t mode : {0, 1}) {
        SCOPED_TRACE(mode);
        const std::string capture = "typing-" + std::to_string(mode);
        StartQuestionRun("50 capture " + capture + "\n" + TouchAnswer(kFirstTouchMs, Right()));
        tryAgainsLeft = mode == 0 ? 1 : 0;
        LoadSprite(font, kBankCreditFont, kFontGlyphs);
        ASSERT_GT(font.frameHeight, 0);
        ClearBackBuffer();
        EXPECT_EQ(Ask(mode), kQuestionRight);

        const std::string png = ReadFileText("captures/" + capture + ".png");
        DecodedImage frame;
        ASSERT_EQ(DecodePng({reinterpret_cast<const uint8_t*>(png.data()), png.size()}, frame),
                  kCodecOk);
        EXPECT_TRUE(WhiteInBox(frame, 425, 224, 25, 25)) << "the question number";
        EXPECT_TRUE(WhiteInBox(frame, 355, 527, 93, 31))
            << "the try-agains left, 0 for the ball game";
        EXPECT_TRUE(WhiteInBox(frame, 351, 45, 100, 31)) << "the seconds";
    }
}

TEST_F(QuestionScreen, TryAgainsTakenAwayOneAtATime) {
    StartQuestionRun();
    tryAgainsLeft = 3;
    const uint32_t start = ClockMs();
    ShowTryAgains(2);
    EXPECT_EQ(tryAgainsLeft, 1);
    EXPECT_EQ(Sounds(), (SoundList{9, 9}));
    EXPECT_GE(ClockMs() - start, 600u) << "300 ms after each";

    ShowTryAgains(0);
    EXPECT_EQ(tryAgainsLeft, 1) << "0 only draws";
    ShowTryAgains(5);
    EXPECT_EQ(tryAgainsLeft, 0) << "never below 0";
    EXPECT_EQ(Sounds(), (SoundList{9, 9, 9}));
}

TEST_F(QuestionScreen, TryAgainsAreLeftAloneOnceTheGameIsLost) {
    StartQuestionRun();
    SetGameState(STATE_LOST);
    tryAgainsLeft = 1;
    ShowTryAgains(1);
    EXPECT_EQ(tryAgainsLeft, 1);
    EXPECT_TRUE(Sounds().empty());
}

}  // namespace
