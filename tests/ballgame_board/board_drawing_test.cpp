// The board, the ball values, the win plan and the sparkle, pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "ballgame_board/board_screen.h"
#include "base/random.h"
#include "engines/control/game_state.h"
#include "engines/graphics/display.h"
#include "rules/board.h"
#include "screens/board_drawing.h"

namespace {

std::vector<int32_t> AllValues() {
    std::set<int32_t> values(fiftyPenceValues, fiftyPenceValues + kBallCount);
    values.insert(poundValues, poundValues + kBallCount);
    return {values.begin(), values.end()};
}

class BoardDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        uwPriceOfPlay = 50;
        SeedRandom(11);
        ResetBoard();
    }
    void TearDown() override { ResetGameState(); }

    uint32_t ValueColour(int32_t value) {
        return CellColour(kValuePictures + ValueImageIndex(value), 1);
    }

    BoardScreen screen;
};

}  // namespace

TEST(ValueCells, EveryValueHasItsPictureAndItsPlate) {
    const std::vector<int32_t> values = AllValues();  // 1 to 4, 5 to 500 ascending
    ASSERT_EQ(values.size(), 23u);
    for (size_t i = 0; i < values.size(); ++i) {
        const int32_t value = values[i];
        if (value < 5) {
            EXPECT_EQ(ValueImageIndex(value), 0) << value;
            EXPECT_EQ(WinPlanCell(value), 18 + value) << value;  // the four empty plates last
        } else {
            EXPECT_EQ(ValueImageIndex(value), static_cast<int>(i) - 3) << value;  // 5p is 1
            EXPECT_EQ(WinPlanCell(value), 22 - static_cast<int>(i)) << value;     // £5 is 0
        }
    }
    EXPECT_EQ(ValueImageIndex(500), 19);
    EXPECT_EQ(WinPlanCell(5), 18);
    EXPECT_EQ(ValueImageIndex(7), -1);
    EXPECT_EQ(WinPlanCell(1000), -1);
    EXPECT_EQ(ValueImage(20), nullptr);
}

TEST_F(BoardDrawing, BallsInPlayShowClosedOrOpenWithTheirValue) {
    axBalls[0].showValue = 1;
    axBalls[kBlueBall].showValue = 1;
    axBalls[kBlueBall].value = 300;  // the blue ball shows empty whatever it holds
    Scribble(0, 0, 800, 600);
    DrawBoard();

    const Ball& closed = axBalls[1];
    EXPECT_EQ(ScreenColour(closed.x + 30, closed.y + 50), CellColour(kRedBallPicture, 0));
    const Ball& open = axBalls[0];
    EXPECT_EQ(ScreenColour(open.x + 1, open.y + 1), CellColour(kRedBallPicture, 10));
    EXPECT_EQ(ScreenColour(open.x + 6, open.y + 22), ValueColour(open.value));
    EXPECT_EQ(ScreenColour(open.x + 45, open.y + 41), ValueColour(open.value));
    EXPECT_EQ(ScreenColour(open.x + 5, open.y + 22), CellColour(kRedBallPicture, 10));
    EXPECT_EQ(ScreenColour(open.x + 46, open.y + 22), CellColour(kRedBallPicture, 10));
    const Ball& blue = axBalls[kBlueBall];
    EXPECT_EQ(ScreenColour(blue.x + 1, blue.y + 1), CellColour(kBlueBallPicture, 10));
    EXPECT_EQ(ScreenColour(blue.x + 6, blue.y + 22), CellColour(kValuePictures, 1));
    EXPECT_EQ(ScreenColour(axBalls[13].x + 1, axBalls[13].y + 1), CellColour(kRedBallPicture, 0));

    // The board area is restored from the background; outside it nothing is touched.
    EXPECT_EQ(ScreenColour(42, 102 + 105), BoardBackgroundColour(42, 207));
    EXPECT_EQ(ScreenColour(646, 441), BoardBackgroundColour(646, 441));
    EXPECT_EQ(ScreenColour(647, 300), kScribble);
    EXPECT_EQ(ScreenColour(300, 442), kScribble);
    EXPECT_EQ(ScreenColour(41, 300), kScribble);
}

TEST_F(BoardDrawing, OpenedBallsAreEmptyCupsEvenWhileTheirValueShows) {
    axBalls[3].inPlay = 0;
    axBalls[3].showValue = 1;
    axBalls[kBlueBall].inPlay = 0;
    DrawBoard();
    EXPECT_EQ(ScreenColour(axBalls[3].x + 6, axBalls[3].y + 22), CellColour(kRedCupPicture, 0));
    EXPECT_EQ(ScreenColour(axBalls[kBlueBall].x + 49, axBalls[kBlueBall].y + 69),
              CellColour(kBlueCupPicture, 0));
}

TEST_F(BoardDrawing, TheDealBoardShowsOnlyTheFlashingBallsOpen) {
    axBalls[5].inPlay = 0;  // ignored while dealing
    axBalls[6].showValue = 1;
    abFlash[5] = 1;
    abFlash[kBlueBall] = 1;
    DrawDealBoard();
    EXPECT_EQ(ScreenColour(axBalls[5].x + 1, axBalls[5].y + 1), CellColour(kRedBallPicture, 10));
    EXPECT_EQ(ScreenColour(axBalls[5].x + 10, axBalls[5].y + 30), ValueColour(axBalls[5].value));
    EXPECT_EQ(ScreenColour(axBalls[6].x + 10, axBalls[6].y + 30), CellColour(kRedBallPicture, 0));
    EXPECT_EQ(ScreenColour(axBalls[kBlueBall].x + 10, axBalls[kBlueBall].y + 30),
              CellColour(kValuePictures, 1));
    abFlash[5] = abFlash[kBlueBall] = 0;
}

TEST_F(BoardDrawing, DrawBallValueUsesTheSettledCellOfTheValuesPicture) {
    for (int32_t value : AllValues()) {
        axBalls[2].value = value;
        DrawBallValue(2);
        EXPECT_EQ(ScreenColour(axBalls[2].x + 6, axBalls[2].y + 22),
                  CellColour(kValuePictures + ValueImageIndex(value), 1))
            << value;
    }
}

TEST_F(BoardDrawing, TheWinPlanShowsOnlyLitPlatesEachWithItsOverlay) {
    uwPriceOfPlay = 100;
    ResetBoard();
    axWinPlan[20].lit = 0;  // 300 opened
    Scribble(600, 0, 800, 600);
    DrawWinPlan();
    for (int k = 0; k < kBallCount; ++k) {
        const WinPlanPlate& plate = axWinPlan[k];
        const uint32_t inside = ScreenColour(660 + 70, plate.y + 13);
        const uint32_t edge = ScreenColour(660 + 5, plate.y + 13);
        if (k == 20) {
            EXPECT_EQ(inside, BoardBackgroundColour(730, plate.y + 13));
            EXPECT_EQ(edge, BoardBackgroundColour(665, plate.y + 13));
        } else {
            EXPECT_EQ(inside, CellColour(kWinPlanPicture, WinPlanCell(plate.value))) << k;
            EXPECT_EQ(edge, CellColour(kWinPlanPicture, kPlateOverlayCell)) << k;
        }
    }
    EXPECT_EQ(ScreenColour(700, 3), CellColour(kWinPlanPicture, WinPlanCell(500)));
    EXPECT_EQ(ScreenColour(700, 2), BoardBackgroundColour(700, 2)) << "the top plate is at y 3";
    EXPECT_EQ(ScreenColour(700, 596), CellColour(kWinPlanPicture, WinPlanCell(1)));
    EXPECT_EQ(ScreenColour(700, 597), BoardBackgroundColour(700, 597));
    EXPECT_EQ(ScreenColour(659, 300), kScribble);
}

// ---- The sparkle ------------------------------------------------------------------------------

namespace {

// Where the sparkle's colour shows in the top band of the screen.
std::vector<std::pair<int, int>> SparklePixels() {
    std::vector<std::pair<int, int>> pixels;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 800; ++x)
            if (ScreenColour(x, y) == CellColour(kSparklePicture, 0)) pixels.emplace_back(x, y);
    return pixels;
}

class Sparkle : public BoardDrawing {
  protected:
    void SetUp() override {
        BoardDrawing::SetUp();
        ForgetSparkle();
    }

    // Steps the sparkle every millisecond for `ms` and returns every place it was drawn at (seen
    // by the middle of its box no longer showing the background).
    std::set<int> Run(int flag, uint32_t ms) {
        std::set<int> places;
        for (uint32_t t = 0; t < ms; ++t) {
            const int place = SparklePlace();
            DrawSparkle(flag);
            const int x = sparklePlaces[place].x + 16, y = sparklePlaces[place].y + 16;
            const uint32_t background =
                flag == 1 ? QuestionBackgroundColour(x, y) : BoardBackgroundColour(x, y);
            if (ScreenColour(x, y) != background) places.insert(place);
            AdvanceClock(1);
        }
        return places;
    }

    // Steps the sparkle until a step brings it to full strength.
    void RunUntilBright(int flag) {
        const uint32_t bright = CellColour(kSparklePicture, 0);
        for (;;) {
            const BoardPosition& at = sparklePlaces[SparklePlace()];
            const uint32_t before = ScreenColour(at.x + 16, at.y + 16);
            DrawSparkle(flag);
            if (before != bright && ScreenColour(at.x + 16, at.y + 16) == bright) return;
            AdvanceClock(1);
        }
    }

    std::vector<uint32_t> TopOfScreen() {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 800; ++x)
                pixels.push_back(ScreenColour(x, y));
        return pixels;
    }
};

}  // namespace

TEST_F(Sparkle, BallGameScreensKeepItOffTheMiddleAndTheRightEnd) {
    ResetSparkle();
    Run(0, 1500);  // past whatever place the reset left it at
    const std::set<int> places = Run(0, 20000);
    EXPECT_GE(places.size(), 8u);
    for (int place : places)
        EXPECT_TRUE(place < 13 || (place > 21 && place < 27)) << place;
}

TEST_F(Sparkle, QuestionScreensUseTheRightEndToo) {
    ResetSparkle();
    Run(1, 1500);
    const std::set<int> places = Run(1, 20000);
    EXPECT_GE(places.size(), 10u);
    for (int place : places)
        EXPECT_TRUE(place < 13 || place > 21) << place;
    EXPECT_TRUE(std::any_of(places.begin(), places.end(), [](int p) { return p >= 27; }));
}

TEST_F(Sparkle, StepsComeEvery40MsAndDrawOnlyInsideTheirBox) {
    ResetSparkle();
    Run(0, 1500);
    RunUntilBright(0);
    const std::vector<uint32_t> shown = TopOfScreen();
    for (int call = 0; call < 5; ++call) {
        AdvanceClock(7);
        DrawSparkle(0);
        EXPECT_EQ(TopOfScreen(), shown) << "within 40 ms of the last step nothing is drawn";
    }
    AdvanceClock(5);  // 40 ms since the step
    DrawSparkle(0);
    EXPECT_NE(TopOfScreen(), shown);

    const BoardPosition& at = sparklePlaces[SparklePlace()];
    for (auto [x, y] : SparklePixels()) {
        EXPECT_GE(x, at.x);
        EXPECT_LT(x, at.x + 33);
        EXPECT_GE(y, at.y);
        EXPECT_LT(y, at.y + 33);
    }
}

TEST_F(Sparkle, ItFadesInAndOutThenRestsHalfASecond) {
    ResetSparkle();
    Run(0, 1500);
    std::vector<uint32_t> changes;
    int last = SparklePlace();
    for (uint32_t t = 0; t < 12000; ++t) {
        DrawSparkle(0);
        if (SparklePlace() != last) changes.push_back(t);
        last = SparklePlace();
        AdvanceClock(1);
    }
    // A new place comes about every 1.2 s: the rest of 500 to 502 ms, then 17 to 19 steps of 40 ms
    // fading from 0.2 up to 1.0 and back below 0.1. A new place that happens to equal the old one
    // makes a double gap, so allow a few of those.
    ASSERT_GE(changes.size(), 6u);
    int regular = 0;
    for (size_t i = 1; i < changes.size(); ++i) {
        const uint32_t gap = changes[i] - changes[i - 1];
        EXPECT_GE(gap, 500u + 16 * 40);
        if (gap <= 502 + 18 * 40) ++regular;
    }
    EXPECT_GE(regular, static_cast<int>(changes.size()) - 3);
}

TEST_F(Sparkle, RestoresFromTheBackgroundOfItsScreen) {
    ResetSparkle();
    Run(1, 1500);
    Scribble(0, 0, 800, 100);
    RunUntilBright(1);
    const BoardPosition& at = sparklePlaces[SparklePlace()];
    EXPECT_EQ(ScreenColour(at.x + 1, at.y + 1 < 0 ? 0 : at.y + 1),
              QuestionBackgroundColour(at.x + 1, at.y + 1 < 0 ? 0 : at.y + 1));

    // On the ball-game screens each step also redraws the win plan.
    Run(0, 1500);
    Scribble(660, 0, 800, 600);
    RunUntilBright(0);
    EXPECT_NE(ScreenColour(700, 300), kScribble);
}
