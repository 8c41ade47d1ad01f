// The question round that opens every paid game: true-or-false questions until seven are right
// in a row (the player goes on to the ball game) or one is wrong or too late (the game is lost),
// a single try-again excepted. The round also sets up the game: the try-agains, the question
// counts and the board, which slides in before the first question.
#pragma once

#include <cstdint>

// Right answers needed to reach the ball game.
inline constexpr int kRightAnswersToQualify = 7;

// Per-game values, set when the round starts. The question index of the round is
// questionsAskedThisRound (questions/question_packs.h).
// Questions answered right so far; the question on screen is number rightAnswersThisRound + 1.
extern int rightAnswersThisRound;
// The most the stake's balance would let the cabinet pay this game, in pence. Diagnostic only.
extern int32_t maxWinAllowedThisGame;

// Runs the whole round and leaves the game state at STATE_LOST or STATE_BALL_GAME; returns 1.
int RunQuestionRound();

// The round's set-up and the opening display: the board with its win plan sliding in, then the
// intro screen. A cabinet without the question font ends the program here (exit code 0).
void StartQuestionRound();

// Asks one question of the round and books its outcome.
void AskRoundQuestion();
