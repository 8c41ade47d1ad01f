// The offer on its screen, end to end on the headless harness: take, leave with the question
// answered right or wrong, the clock running out, and the decision frame pixel by pixel.
#include <gtest/gtest.h>

#include <utility>

#include "app/autoplay.h"
#include "ballgame_offer/offer_screen.h"
#include "base/waits.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "rules/board.h"
#include "rules/offer.h"
#include "rules/play_game.h"
#include "rules/winnings.h"
#include "screens/answer_clock.h"
#include "screens/cabinet_screens.h"
#include "screens/offer_frame.h"
#include "screens/touch_menu.h"

namespace {

// The cabinet's screens, the front end the order of play runs here.
CabinetScreens cabinet;

platform::AutoplaySettings Player(int takeOffer, int rightPercent) {
    platform::AutoplaySettings settings;
    settings.enabled = true;
    settings.rightPercent = rightPercent;
    settings.takeOffer = takeOffer;
    settings.seed = 5;
    return settings;
}

// The meter of an offer's value (5p steps to 100p, 10p steps above).
int OfferMeter(float offer) {
    const int pence = static_cast<int>(offer);
    return pence <= 100 ? 65 + pence / 5 : 75 + pence / 10;
}

constexpr uint32_t kSeed = 4711;

}  // namespace

TEST_F(OfferScreen, TakingTheOfferWinsItAndEndsTheGame) {
    StartRun({{2500, kTakeButton}});
    const float expected = SeedAndPredictOffer(kSeed);
    EXPECT_TRUE(MakeOffer(cabinet));
    const uint32_t ended = RunClock();
    Stop();

    EXPECT_EQ(fOffer, expected);
    EXPECT_EQ(lWinAmount, static_cast<int32_t>(expected));
    EXPECT_EQ(NumberOfOffersMade, 0);
    EXPECT_EQ(GetGameState(), STATE_WON) << "the touch on Take settles the game at once";
    ForgetWinnings();
    EXPECT_EQ(CounterValue(OfferMeter(expected)), 1);
    EXPECT_EQ(Sounds(), std::vector<int>{43});
    // Drop-in and opening take 600 ms each; the ball opens as the drop-in ends.
    const std::vector<Sound> sounds = TimedSounds();
    EXPECT_GE(sounds[0].ms, 600u);
    EXPECT_LE(sounds[0].ms, 660u);
    // The pressed button shows for 200 ms and the released one for 200 ms after the touch.
    EXPECT_GE(ended, 2500u + 400u);
    EXPECT_LE(ended, 2500u + 460u);
}

TEST_F(OfferScreen, LeavingWithARightAnswerGoesOnUntilALaterOfferIsTaken) {
    StartRun();
    StartAutoplay(Player(2, 100));
    const float first = SeedAndPredictOffer(kSeed);
    EXPECT_FALSE(MakeOffer(cabinet));
    EXPECT_EQ(fOffer, first);
    EXPECT_EQ(NumberOfOffersMade, 1);
    EXPECT_EQ(GetGameState(), STATE_PLAYING);
    EXPECT_EQ(lWinAmount, 0);

    for (int ball = 6; ball <= 10; ++ball)
        axBalls[ball].inPlay = 0;
    EXPECT_TRUE(MakeOffer(cabinet));
    EXPECT_EQ(NumberOfOffersMade, 1);
    EXPECT_EQ(lWinAmount, static_cast<int32_t>(fOffer));
    Stop();

    const std::vector<int> sounds = Sounds();
    ASSERT_GE(sounds.size(), 3u);
    EXPECT_EQ(sounds[0], 43);
    EXPECT_EQ(sounds[1], 44) << "the ball closes before the question";
    EXPECT_EQ(sounds.back(), 43) << "the second offer opens and is taken";
}

TEST_F(OfferScreen, LeavingWithAWrongAnswerLosesTheGame) {
    StartRun();
    StartAutoplay(Player(0, 0));
    EXPECT_TRUE(MakeOffer(cabinet));
    Stop();
    EXPECT_EQ(GetGameState(), STATE_LOST);
    EXPECT_EQ(lWinAmount, 0);
    EXPECT_EQ(NumberOfOffersMade, 0);
}

TEST_F(OfferScreen, AClockThatRunsOutLeavesTheOffer) {
    StartRun();
    EXPECT_TRUE(MakeOffer(cabinet)) << "nobody answers the question either";
    Stop();
    EXPECT_EQ(GetGameState(), STATE_LOST);
    EXPECT_EQ(lWinAmount, 0);
    const std::vector<Sound> sounds = TimedSounds();
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[1].number, 44);
    // Drop-in and opening, ten seconds on the clock, the Leave button pressed and released.
    EXPECT_GE(sounds[1].ms, 1200u + 10000u + 400u);
    EXPECT_LE(sounds[1].ms, 1200u + 10000u + 400u + 150u);
}

TEST_F(OfferScreen, TheMenuEndsWithThreeWhenTheClockRunsOut) {
    StartRun({{300, kLeaveButton}});
    AnswerClockSet(1000, 1);
    AnswerClockStart();
    EXPECT_EQ(TakeOrLeaveMenu(), kLeaveButton);
    AnswerClockSet(100, 1);
    AnswerClockStart();
    EXPECT_EQ(TakeOrLeaveMenu(), 3);
    EXPECT_GE(RunClock(), 400u);
    EXPECT_LE(RunClock(), 450u);
}

TEST_F(OfferScreen, TheDecisionFrameShowsThePlateTheAmountAndTheButtonsInTurn) {
    StartRun();
    AnswerClockSet(10000, 1);
    fOffer = 80.0f;
    Scribble(0, 0, 800, 600);
    RestartOfferBlink();
    DrawOfferFrame();

    EXPECT_EQ(ScreenColour(253, 200), kPlateColour);
    EXPECT_EQ(ScreenColour(548, 371), CellColour(kOfferRightHalfPicture, 0)) << "half over plate";
    EXPECT_EQ(ScreenColour(153, 185), CellColour(kOfferLeftHalfPicture, 0));
    EXPECT_EQ(ScreenColour(646, 384), CellColour(kOfferRightHalfPicture, 0));
    EXPECT_EQ(ScreenColour(152, 185), kScribble);
    EXPECT_EQ(ScreenColour(647, 185), kScribble);
    // "80p": three glyphs centred in the window, 18 x 16 from (391, 278).
    EXPECT_EQ(CountColour(kFontColour, 349, 269, 451, 303), 3 * kGlyphWidth * kGlyphHeight);
    EXPECT_EQ(ScreenColour(391, 278), kFontColour);
    EXPECT_EQ(ScreenColour(408, 293), kFontColour);
    for (auto [x, y] : {std::pair{390, 278}, {409, 293}, {391, 277}, {408, 294}})
        EXPECT_EQ(ScreenColour(x, y), kPlateColour) << x << ", " << y;

    const uint32_t take = CellColour(kLitButtonsPicture, kTakeButton);
    const uint32_t leave = CellColour(kLitButtonsPicture, kLeaveButton);
    EXPECT_EQ(ScreenColour(255, 310), take);
    EXPECT_EQ(ScreenColour(394, 359), take);
    EXPECT_EQ(ScreenColour(405, 310), kPlateColour) << "Leave waits unlit";
    EXPECT_EQ(ScreenColour(255 + kButtonHole.first, 310 + kButtonHole.second), kPlateColour)
        << "the button's magenta is keyed out";

    AdvanceClock(kOfferBlinkMs - 5);
    DrawOfferFrame();
    EXPECT_EQ(ScreenColour(255, 310), take) << "still Take's turn";
    AdvanceClock(5);
    DrawOfferFrame();
    EXPECT_EQ(ScreenColour(255, 310), kPlateColour);
    EXPECT_EQ(ScreenColour(405, 310), leave);
    EXPECT_EQ(ScreenColour(544, 359), leave);
    AdvanceClock(kOfferBlinkMs);
    DrawOfferFrame();
    EXPECT_EQ(ScreenColour(255, 310), take);

    fOffer = 120.0f;
    DrawOfferFrame();
    EXPECT_EQ(CountColour(kFontColour, 349, 269, 451, 303), 5 * kGlyphWidth * kGlyphHeight)
        << "\xA3"
           "1.20";
}
