// The 22-ball board of the ball game: every ball hides a cash value in pence, and beside the board
// the win plan lists one plate per value, lit while that value is still hidden on the board. Ball
// 12, the blue ball, always holds the empty value 1 and can never be the player's own ball.
//
// Values 1 to 4 are the four empty balls: worth nothing, but distinct so that every value on the
// board is unique (a value identifies its ball and its plate).
#pragma once

#include <cstdint>

inline constexpr int kBallCount = 22;
inline constexpr int kBlueBall = 12;

// A ball's box for redrawing: 73 x 110 from the ball's position.
inline constexpr int kBallBoxWidth = 73;
inline constexpr int kBallBoxHeight = 110;

// A win-plan plate: 140 x 27, the column starting at x 660.
inline constexpr int kPlateWidth = 140;
inline constexpr int kPlateHeight = 27;
inline constexpr int kWinPlanX = 660;

struct Ball {
    int32_t x;  // top-left corner on the screen
    int32_t y;
    int32_t showValue;  // 1 while the ball is being opened: drawn with its value showing
    int32_t inPlay;     // 1 while on the board unopened; 0 once opened or chosen by the player
    int32_t value;      // pence
    int32_t planX;      // the plate of this ball's value on the win plan
    int32_t planY;
    uint8_t isBlue;     // the blue ball (always index 12)
    uint8_t isPlayers;  // the player's prize ball
};

struct WinPlanPlate {
    int32_t x;  // 660 for every plate
    int32_t y;  // 570 - 27 * entry: entry 0 at the bottom, the top prize at the top
    int32_t value;
    uint8_t lit;  // 1 while the value is still unopened on the board (the player's ball counts)
};

extern Ball axBalls[kBallCount];
extern WinPlanPlate axWinPlan[kBallCount];
// 1 makes the deal's board drawing show that ball open with its value; all 0 outside the deal.
extern uint8_t abFlash[kBallCount];
// The value of the player's ball once chosen; 0 after ResetBoard.
extern int32_t lPrizeAvailableThisGame;
// Set once the player's ball is chosen: the ball-pick screen then prompts for balls to open.
extern bool bPrizeBallChosen;

struct BoardPosition {
    int32_t x, y;
};
// Where each ball sits: rows at y 102, 217 and 332, balls 75 pixels apart.
extern const BoardPosition ballPositions[kBallCount];

// The values of each stake, ascending; entry k is also win-plan entry k.
extern const int32_t fiftyPenceValues[kBallCount];  // top prize 300
extern const int32_t poundValues[kBallCount];       // no 200, top prizes 300 and 500
// The table of the stake in force: the pound table above a 50p stake.
const int32_t* StakeValueTable();
// Screen y of win-plan entry k.
int32_t WinPlanY(int entry);

// The deal's flash patterns: group sizes of balls that flash together, each list adding up to 22.
inline constexpr int kGenerousPatternCount = 6;  // prize level 2 or more
inline constexpr int kMeanPatternCount = 4;      // prize level 0 or 1
extern const int generousFlashPatterns[kGenerousPatternCount][kBallCount];
extern const int meanFlashPatterns[kMeanPatternCount][kBallCount];
// Draws the pattern for the prize level and shuffles its 22 entries (zeros included) into `steps`.
void ChooseFlashPattern(int prizeLevel, int steps[kBallCount]);

// Deals the stake's values to every ball but the blue one (which keeps value 1) and points each
// ball at its plate. The win plan is left alone.
void DealValues();

// Sets up the board for a new game: positions, a first deal (each value logged), the win plan
// all lit, and the prize-ball flags cleared. Run by the question round at its start.
void ResetBoard();
// Empties the board and the win plan as at start-up, before any game: nothing dealt, drawn or
// chosen, and no draw or log line taken (unlike ResetBoard).
void ForgetBoard();

// The number of balls still unopened on the board.
int BallsLeft();

// Whether the player may take this ball as the own ball: one still on the board, and not the
// blue ball while the prize ball is picked.
bool CanPickBall(int ball);
// Whether the player may open this ball: one still on the board that is not the own ball. A
// refused ball is logged ("Failed 1", or "Failed 2 - Ball == prize picked").
bool CanOpenBall(int ball);
// The chosen ball leaves the board as the player's own; its value is the prize of this game.
void TakePrizeBall(int ball);
// An opened ball leaves the board and its plate goes out on the win plan.
void TakeOffBoard(Ball& ball);
