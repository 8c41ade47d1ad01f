// A ball-game screen for the tests: the headless display with a board background and a question
// background whose pixels name their own column and row, and small pictures standing in for the
// game's, each cell filled with a colour that names its picture and cell.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engines/graphics/surface.h"
#include "support/screen_run.h"
#include "support/work_dir.h"

// Picture numbers, for the colour of their cells.
enum TestPicture : uint8_t {
    kRedBallPicture = 1,
    kBlueBallPicture,
    kRedCupPicture,
    kBlueCupPicture,
    kWinPlanPicture,
    kWinPlanBrightPicture,
    kSparklePicture,
    kPickPrizeBallPicture,
    kPickDifferentBallPicture,
    kVantorOverPicture,
    kPrizeBallOverPicture,
    kYourBallLeftPicture,
    kYourBallRightPicture,
    kValuePictures = 40,  // 40 + value-picture index (40 the empty value)
};

// The 0x00RRGGBB colour of a picture's cell.
uint32_t CellColour(int picture, int cell);
// The background's colours: the column and row in red and green, blue 200 on the board's
// background and 100 on the question background.
uint32_t BoardBackgroundColour(int x, int y);
uint32_t QuestionBackgroundColour(int x, int y);

// Fills a rectangle of the back buffer with a colour no picture uses.
void Scribble(int left, int top, int right, int bottom);
inline constexpr uint32_t kScribble = 0x00123456;

// Sets up the display, the two backgrounds (of the question background only the top 100 rows)
// and the pictures; tears them down again. Pictures are 50 x 70 (balls, cups and the player's
// ball halves), 40 x 20 (values), 100 x 27 (plates, whose overlay cell 23 is opaque only in its
// first 10 columns), 33 x 33 (the sparkle, a disc of radius 10 in the middle) and 200 x 60
// (prompts and title plates).
class BoardScreen {
  public:
    BoardScreen();
    ~BoardScreen();
    BoardScreen(const BoardScreen&) = delete;
    BoardScreen& operator=(const BoardScreen&) = delete;

  private:
    ScopedWorkDir workDir_;
};

// Runs of the ball game's screens on this screen: a ScreenRun without the content set's pictures.
class BoardRun : public ::testing::Test, protected ScreenRun {
  protected:
    // Starts a run with these touches: the board test screen up, the game as `setUp` leaves it,
    // and then the generator seeded with 1, so every run draws the same.
    void StartBoardRun(const std::string& touches = "", const std::function<void()>& setUp = {});
    // Stops the run; the sounds it played.
    std::vector<Sound> FinishRun();

    std::unique_ptr<BoardScreen> screen_;
};
