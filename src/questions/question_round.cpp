#include "questions/question_round.h"

#include <cstdlib>

#include "ballgame/board.h"
#include "ballgame/board_drawing.h"
#include "control/controller.h"
#include "control/record_file.h"
#include "credit/credit_link.h"
#include "game/game_state.h"
#include "graphics/assets.h"
#include "graphics/display.h"
#include "graphics/draw_surface.h"
#include "graphics/sprites.h"
#include "platform/platform.h"
#include "questions/question_packs.h"
#include "questions/question_rules.h"
#include "questions/question_screen.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/timers.h"
#include "shell/vantor.h"
#include "shell/waits.h"
#include "sound/sound_effects.h"

int rightAnswersThisRound = 0;
int32_t maxWinAllowedThisGame = 0;

namespace {

constexpr int kWinPlanSlideSound = 14;
constexpr int kQualifiedSound = 20;

constexpr uint32_t kBoardLookMs = 1000;
constexpr uint32_t kIntroScreenMs = 5000;
constexpr uint32_t kAfterQuestionMs = 1000;
constexpr uint32_t kCongratulationsMs = 3000;

constexpr int kWinPlanSlide = 140;  // pixels, from the right edge to the column at x 660

// A full-screen picture without alpha, drawn opaque with magenta left out.
void DrawOpaquePicture(Surface* image, int x, int y) {
    DrawSurface(image, nullptr, BackBuffer, x, y, 1.0f, 1.0f, 0.0f, 0, 1.0f, 0.0f);
}

// The cabinet is not set up right without the question font: the program ends at once, as an
// orderly exit. The game already sold stays on the meters and the credit service is told.
[[noreturn]] void EndProgramWithoutQuestionFont() {
    LogPrint("error - cannot load Question font...aborting\n");
    WriteRecordFile();
    LogClose();
    SendTerm();
    CloseCreditService();
    platform::TraceExit(kExitOrderly);
    platform::Stop();
    std::exit(kExitOrderly);
}

void SetUpGame() {
    bPickingPrizeBall = true;
    rightAnswersThisRound = 0;
    questionsAskedThisRound = 0;
    bPrizeBallChosen = false;
    lPrizeAvailableThisGame = 0;
    tryAgainsLeft = TryAgainsAtStart(TryAgainLevel());
    maxWinAllowedThisGame = MaxWinAllowed();
    Trace("MaxWinAllowed = %d\n", maxWinAllowedThisGame);
}

void DrawBoardWithBalls() {
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    DrawWholeImage(yourBallLeftImage, 342, 468);
    DrawWholeImage(yourBallRightImage, 402, 468);
    DrawWholeImage(vantorOverImage, 301, 493);
    for (const Ball& ball : axBalls)
        DrawBallCell(ball, kClosedBallCell);
    PresentFrame();
}

// Line i of the win plan slides in over this many ms: the lower lines later.
uint32_t WinPlanSlideMs(int line) {
    return line < 16 ? 600 + 40 * line : 1250 + 50 * (line - 16);
}

bool AllSlotTimersExpired(int count) {
    int expired = 0;
    for (int i = 0; i < count; ++i)
        expired += SlotTimerExpired(i);  // every timer is asked on every pass
    return expired == count;
}

// The 22 win-plan lines slide in from the right edge over the kept strip of the board.
void SlideInWinPlan() {
    SaveToLayer(0, kWinPlanX, 0, 800, 600);
    ResetSparkle();
    for (int i = 0; i < kBallCount; ++i)
        StartSlotTimer(WinPlanSlideMs(i), i);
    PlaySoundEffect(kWinPlanSlideSound);
    do {
        DrawLayer(0, 0, 0, 0, kWinPlanX, 0, 800, 600);
        for (int i = 0; i < kBallCount; ++i) {
            const int x = 800 - static_cast<int>(SlotTimerProgress(kWinPlanSlide, i));
            DrawImageCell(winPlanImage, kWinPlanName, kPlateOverlayCell, x, axWinPlan[i].y);
        }
        PresentFrame();
    } while (!AllSlotTimersExpired(kBallCount));
}

// A moment to look at the board, cut short by a touch.
void ShowBoardBriefly() {
    uint32_t deadline;
    SetDeadline(deadline, kBoardLookMs);
    while (!DeadlinePassed(deadline) && swTouchX < 0) {
        DrawSparkle(0);
        PumpMessages();
        PresentFrame();
    }
}

void ShowOpeningDisplay() {
    FlushInput();
    DrawBoardWithBalls();
    SlideInWinPlan();
    ShowBoardBriefly();
    DrawOpaquePicture(introScreenImage, 0, 0);
    PresentFrame();
    WaitForTouch(kIntroScreenMs);
}

void ShowQualified() {
    SetGameState(STATE_BALL_GAME);
    PlaySoundEffect(kQualifiedSound);
    DrawSprite(questionBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawOpaquePicture(congratsImage, 92, 206);
    PresentFrame();
    WaitForTouch(kCongratulationsMs);
}

bool RoundOver(uint8_t state) {
    return state == STATE_LOST || state == STATE_WON || state == STATE_BALL_GAME;
}

}  // namespace

int RunQuestionRound() {
    StartQuestionRound();
    do {
        AskRoundQuestion();
        if (GetGameState() == STATE_LOST) break;
        ++questionsAskedThisRound;
        if (rightAnswersThisRound >= kRightAnswersToQualify) ShowQualified();
    } while (!RoundOver(GetGameState()));
    return 1;
}

void StartQuestionRound() {
    SetGameState(STATE_PLAYING);
    if (!platform::QuestionFontAvailable()) EndProgramWithoutQuestionFont();
    SetUpGame();
    ResetBoard();
    ShowOpeningDisplay();
}

void AskRoundQuestion() {
    FlushInput();
    CountIncrement(counter::kQuestionsAsked);
    SetGameState(AskQuestion(0, 0));
    if (GetGameState() == STATE_WRONG) {
        CountIncrement(counter::kQuestionRoundsLost);
        SetGameState(STATE_LOST);
    } else {
        ++rightAnswersThisRound;
    }
    PresentFrame();
    WaitForTouch(kAfterQuestionMs);
    if (GetGameState() != STATE_LOST && bPickingPrizeBall) bPickingPrizeBall = false;
}
