// A headless run of the opening rounds: the virtual clock, scripted touches, a trace of the sounds
// and touches, the log open, and the ball-board tests' stand-in screen on the display. Times in
// scripts and results count from the start of the run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ballgame_board/board_screen.h"
#include "support/work_dir.h"

struct TouchAt {
    uint32_t ms;
    int x, y;
};
// A touch at the centre of a ball's button on the ball menu.
TouchAt TouchOnBall(uint32_t ms, int ball);

// One event of the trace.
struct TracedEvent {
    uint32_t ms;
    std::string kind;  // "sound" or "touch"
    int number;        // the sound, or the touch's x
    int y;             // the touch's y
};

class RoundsRun {
  public:
    explicit RoundsRun(const std::vector<TouchAt>& touches = {});
    ~RoundsRun();
    RoundsRun(const RoundsRun&) = delete;
    RoundsRun& operator=(const RoundsRun&) = delete;

    uint32_t Now() const;
    // Stops the run (once) and answers its trace.
    std::vector<TracedEvent> Finish();
    // The sound numbers of a finished run, in order.
    std::vector<int> Sounds();
    // The log written so far.
    std::string Log() const;

  private:
    static inline uint32_t nextStart_ = 1000;
    ScopedWorkDir dir_;
    uint32_t start_;
    std::unique_ptr<BoardScreen> screen_;
    std::vector<TracedEvent> trace_;
    bool finished_ = false;
};

// The board as the opening rounds find it: dealt at the stake, the player's ball taken (its value
// in lPrizeAvailableThisGame, out of play), the blue ball pickable, the game state 3.
void SetUpBallGame(int16_t stake, uint32_t seed, int playersBall);
// Makes the ball the player's: out of play, its value in lPrizeAvailableThisGame.
void TakeAsPlayersBall(int ball);
// The ball holding a value, or -1.
int BallWithValue(int32_t value);
