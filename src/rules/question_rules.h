// The rules of the questions that decide a game, without any screen: how hard the next question
// is, how many try-agains a game starts with and when a wrong answer earns one. The question
// screens play by these, and so does the payout simulator.
#pragma once

#include <cstdint>

// What a question comes to (and the game state it leaves).
inline constexpr uint8_t kQuestionRight = 1;
inline constexpr uint8_t kQuestionWrong = 5;  // wrong or too late

// The player's try-agains left this game, 0 to 5: set when the question round starts, cleared
// when the opening rounds begin.
extern uint8_t tryAgainsLeft;
// None left, as at start-up.
void ForgetTryAgains();

// The question level the next question is asked at: the game's question level (0 meanest to 4
// most generous), lowered by one a fifth of the time when it is 1 to 3. Draws from the game's
// generator for a level of 1 to 3.
int DrawQuestionLevel();
// The chance, in percent, that a question at this game question level is asked one level lower:
// 20 for levels 1 to 3, so a generous game still meets the odd harder question; 0 otherwise.
int LevelLoweringPercent(int level);

// The difficulty (1 easiest to 3 hardest) of a round question by its place in the round (0 for
// the first; places past the table take its last row) and the question level.
int RoundQuestionDifficulty(int questionIndex, int level);

// The difficulty of the next question: with fixed 0 the round's difficulty for the question now
// due (questionsAskedThisRound), otherwise the given difficulty. The question level is drawn
// either way, as every question choice does.
int NextQuestionDifficulty(uint8_t fixed, int difficulty);

// The try-agains a game starts with, by its try-again level (0 to 4).
uint8_t TryAgainsAtStart(int tryAgainLevel);

// Whether a wrong answer earns a second go at the same question: the game still has a try-again
// and this question has not had its second go yet.
bool EarnsTryAgain(uint8_t tryAgainsLeft, bool triedAgainOnThisQuestion);

// Whether a second go uses up one of the game's try-agains: on the round's first question (the
// first-pass flag still set) it is free.
bool TryAgainUsesOne(bool firstPass);
