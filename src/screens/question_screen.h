// The question screen: one true-or-false question, answered by touching TRUE or FALSE within 15
// seconds on the answer clock. The question round asks its questions here, and the ball game
// asks one after each refused offer. A wrong answer may earn a try-again: the player answers the
// same question once more, on the same clock.
#pragma once

#include <cstdint>

#include "rules/question_rules.h"

// Puts up one question and runs it to its end; sets the game state to the result and returns it.
// Mode 0 is the question round (the question's number and the try-agains are shown, the
// difficulty comes from the round); any other mode is the ball game, which gives the difficulty
// (1 to 3).
uint8_t AskQuestion(uint8_t mode, int difficulty);

// Redraws the whole question screen from its current state (every pass of the answer wait).
void RedrawQuestionScreen();

// Draws the try-agains left; with n above 0 it first takes n away one at a time, each with a
// sound and a pause. Nothing is drawn once the game is lost.
void ShowTryAgains(uint16_t n);

// Forgets the last question's screen (its mode and pressed buttons), as at start-up.
void ForgetQuestionScreen();
