// The question round: true-or-false questions until seven are right or one is wrong or late.
#pragma once

// Leaves the game state at STATE_LOST or STATE_BALL_GAME.
void RunQuestionRound();
