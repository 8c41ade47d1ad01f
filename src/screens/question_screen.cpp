#include "screens/question_screen.h"

#include <algorithm>
#include <cstdio>

#include "base/log.h"
#include "base/random.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/sound_effects.h"
#include "platform/platform.h"
#include "rules/offer.h"
#include "rules/play_game.h"
#include "rules/question_packs.h"
#include "rules/question_rules.h"
#include "screens/answer_clock.h"
#include "screens/board_drawing.h"
#include "screens/touch_menu.h"

namespace {

constexpr uint32_t kAnswerTimeMs = 15000;
constexpr uint32_t kAfterAnswerMs = 300;
constexpr uint32_t kTryAgainStepMs = 300;

// The right answer's sound is drawn from this table.
constexpr SoundNumber kRightSounds[] = {kSoundCorrect, kSoundCorrect, kSoundCorrect, kSoundCorrect,
                                        kSoundCorrect, kSoundCorrect, kSoundCorrect};

// Layout.
constexpr int kFontBankCredit = 3;
constexpr int kFontQuestion = 5;
constexpr int kButtonY = 469;
constexpr int kTrueButtonX = 0;
constexpr int kFalseButtonX = 535;
constexpr int kButtonUp = 0;     // after a try-again
constexpr int kButtonShown = 1;  // when the question goes up
constexpr int kButtonPressed = 2;

// A result animation: a 7-frame strip played over the question panel in 600 ms.
struct ResultAnimation {
    Surface* const* image;
    const char* name;
};
constexpr ResultAnimation kTimedOutAnimation{&timedOutImage,
                                             "Graphic_resource//Questions//TimedOut.tga"};
constexpr ResultAnimation kTryAgainAnimation{&tryAgainImage,
                                             "Graphic_resource//Questions//TryAgain.tga"};
constexpr ResultAnimation kWrongAnimation{&wrongImage, "Graphic_resource//Questions//Wrong.tga"};
constexpr ResultAnimation kCorrectAnimation{&correctImage,
                                            "Graphic_resource//Questions//Correct.tga"};
constexpr uint32_t kAnimationMs = 600;
constexpr uint32_t kAnimationFrames = 7;
constexpr int kAnimationX = 303;
constexpr int kAnimationY = 216;

// The question on screen: who asked it and which buttons have been pressed. Valid while a
// question is up; the marks stay set until the next question.
struct QuestionScreen {
    uint8_t mode = 0;
    bool truePressed = false;
    bool falsePressed = false;
} screen;

void DrawNumber(int value, int x, int y, int width, int height) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    TextCentreH = 1;
    DrawFontText(text, x, y, width, height, kFontBankCredit);
}

// The round counts its questions towards the seven; the ball game counts the questions that
// refused offers cost, so the number disc is never left empty.
void DrawQuestionNumber() {
    const int number = screen.mode == 0 ? rightAnswersThisRound + 1 : NumberOfOffersMade + 1;
    DrawNumber(number, 425, 224, 25, 25);
}

void DrawQuestionText() {
    TextCentreH = 1;
    DrawFontText(QuestionText(), 172, 265, 454, 109, kFontQuestion);
}

// The question appears glyph by glyph, a frame for each.
void RevealQuestionText() {
    TextCentreV = 1;
    TextTypewriter = 1;
    DrawQuestionText();
}

void DrawTryAgainCount(int count) {
    DrawSprite(tryAgainTitleSprite, 0, 311, 469, nullptr, 1);
    DrawNumber(count, 355, 527, 93, 31);
}

void DrawAnswerButton(int answerCode, int frame) {
    if (answerCode == kAnswerTrue)
        DrawSprite(trueButtonSprite, frame, kTrueButtonX, kButtonY, nullptr, 1);
    else
        DrawSprite(falseButtonSprite, frame, kFalseButtonX, kButtonY, nullptr, 1);
}

void PlayResultAnimation(const ResultAnimation& animation) {
    StartTimer(kAnimationMs);
    while (!TimerExpired()) {
        const int frame =
            static_cast<int>(std::min(TimerProgress(kAnimationFrames), kAnimationFrames - 1));
        DrawImageCell(*animation.image, animation.name, frame, kAnimationX, kAnimationY);
        DrawSparkle(1);
        PresentFrame();
    }
}

// Holds the result on screen for a moment without reading input; the platform still gets its
// yields, so the clock moves on.
void PauseWithoutInput(uint32_t ms) {
    uint32_t deadline;
    SetDeadline(deadline, ms);
    while (!DeadlinePassed(deadline))
        platform::Yield();
}

// The screen as the question goes up, before its text.
void PutUpQuestionScreen() {
    DrawSprite(questionBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawAnswerButton(kAnswerTrue, kButtonShown);
    DrawAnswerButton(kAnswerFalse, kButtonShown);
    DrawQuestionNumber();
    ShowTryAgains(0);
}

// The player touched TRUE or FALSE: the button goes down. Returns the answer given, 1 TRUE or
// 0 FALSE.
int PressAnswerButton(int answerCode) {
    PlaySoundEffect(kSoundPress);
    if (answerCode == kAnswerTrue)
        screen.truePressed = true;
    else
        screen.falsePressed = true;
    DrawAnswerButton(answerCode, kButtonPressed);
    PresentFrame();
    return answerCode == kAnswerTrue ? 1 : 0;
}

// A wrong answer's second chance: the same question again, on the clock that is still running.
// On the round's first question it is free; later it uses up a try-again.
void GiveTryAgain(int answerCode) {
    PlaySoundEffect(kSoundTryAgain);
    PlayResultAnimation(kTryAgainAnimation);
    if (TryAgainUsesOne(bPickingPrizeBall)) ShowTryAgains(1);
    PresentFrame();
    DrawAnswerButton(answerCode, kButtonUp);
    PresentFrame();
}

int AnswerPassExtras(int result) {
    RedrawQuestionScreen();
    AnswerClockDraw();
    PresentFrame();
    if (AnswerClockRemaining() == 0) return kAnswerTimedOut;
    return result;
}

}  // namespace

int AnswerMenu() {
    return RunTouchMenu(TouchMenu{MenuKind::Answer, answerMenuButtons, &AnswerPassExtras});
}

void ForgetQuestionScreen() {
    screen = QuestionScreen{};
}

uint8_t AskQuestion(uint8_t mode, int difficulty) {
    screen = QuestionScreen{mode, false, false};
    uint8_t result = kQuestionRight;
    PutUpQuestionScreen();
    Trace("TRUE OR FALSE\n");
    AnswerClockSet(kAnswerTimeMs, 0);
    AnswerClockDraw();
    ChooseQuestion(mode, difficulty);
    RevealQuestionText();
    DrawSparkle(1);
    PresentFrame();
    AnswerClockStart();

    bool triedAgain = false;
    for (;;) {
        const int code = AnswerMenu();
        DrawSprite(questionBoxSprite, 0, 92, 206, nullptr, 1);
        DrawQuestionNumber();
        DrawQuestionText();
        if (code == kAnswerTimedOut) {
            PlaySoundEffect(kSoundTimesUp);
            CountIncrement(counter::kAnswersTimedOut);
            result = kQuestionWrong;
            PlayResultAnimation(kTimedOutAnimation);
            break;
        }
        if (code != kAnswerTrue && code != kAnswerFalse) continue;
        const bool wrong = PressAnswerButton(code) != QuestionAnswer();
        AnswerClockDraw();
        PresentFrame();
        if (wrong && EarnsTryAgain(tryAgainsLeft, triedAgain)) {
            triedAgain = true;
            GiveTryAgain(code);
            continue;
        }
        if (wrong) {
            PlayResultAnimation(kWrongAnimation);
            PlaySoundEffect(kSoundIncorrect);
            result = kQuestionWrong;
        } else {
            PlaySoundEffect(kRightSounds[RandomBelow(std::size(kRightSounds))]);
            PlayResultAnimation(kCorrectAnimation);
        }
        break;
    }
    PauseWithoutInput(kAfterAnswerMs);
    TextCentreV = 0;  // the question is over
    SetGameState(result);
    return result;
}

void RedrawQuestionScreen() {
    DrawSprite(questionBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawSparkle(1);
    if (screen.falsePressed) DrawAnswerButton(kAnswerFalse, kButtonPressed);
    if (screen.truePressed) DrawAnswerButton(kAnswerTrue, kButtonPressed);
    DrawQuestionNumber();
    DrawQuestionText();
    ShowTryAgains(0);
}

void ShowTryAgains(uint16_t n) {
    if (GetGameState() == STATE_LOST) return;
    DrawTryAgainCount(tryAgainsLeft);
    if (n > 0) {
        const int last = std::max(tryAgainsLeft - n + 1, 1);
        for (int i = tryAgainsLeft; i >= last; --i) {
            DrawTryAgainCount(i - 1);
            PresentFrame();
            PlaySoundEffect(kSoundBoxDropLand);
            WaitMs(kTryAgainStepMs);
        }
        tryAgainsLeft = static_cast<uint8_t>(std::max(tryAgainsLeft - n, 0));
    }
    DrawTryAgainCount(tryAgainsLeft);
}
