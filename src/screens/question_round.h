// The screens of the question round that opens every paid game: the board with its win plan
// sliding in and the intro before the first question, a moment after each answer, and the
// congratulations after seven right answers.
#pragma once

// A cabinet without the question font is not set up right: logs it and throws
// QuestionFontMissing (base/input.h), which ends the program by its way out.
void CheckQuestionFont();
// The board with the balls, the win plan sliding in, a moment's look, then the intro screen.
void ShowRoundOpening();
// The answered question stays up for a second (a touch cuts it short).
void ShowRoundQuestionAnswered();
// Seven right: the congratulations, for three seconds or until a touch.
void ShowQualified();
