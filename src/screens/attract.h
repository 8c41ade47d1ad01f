// The attract screen that sells games: the menu background with its pulsing, turning highlight,
// the credit and bank panels, and the Main Menu, Rules and Start buttons.
#pragma once

// Money needed for the Start button (and a 50p game).
constexpr int kStartMoney = 50;

// Runs the attract screen and, on Start, the stake screen. True when a game has been bought
// (uwPriceOfPlay holds its stake); false to end the program (Main Menu, or 30 s untouched).
bool WaitForStart();

// The highlight: back to its first position, faded out, its first step due now.
void ResetHighlight();
// Puts the highlight, the bar's refresh and the pass count back as they are at start-up, without
// drawing (unlike ResetHighlight).
void ForgetAttractScreen();
// One 40 ms step of the highlight over a freshly drawn attract frame (nothing before the step is
// due).
void StepHighlight();
// Redraws the panels and the buttons (and, every 500 ms, the top of the background).
void RefreshAttractBar();

// The buttons along the bottom. Main Menu and Rules are clipped to the bottom strip; the
// right-hand button is Start when the player's money is at least `threshold`, else insert-coins.
void DrawMainMenuButton(int frame);
void DrawRulesButton(int frame);
void DrawStartOrInsertCoins(int threshold, int frame);
