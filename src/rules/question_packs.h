// The question packs: 48 files of true-or-false statements, a TRUE pack and a FALSE pack for each
// of 24 categories of rising difficulty. The correct answer of a question is the pack it came from.
// At start-up every pack's questions are counted; before each question screen one is drawn at
// random, its difficulty set by how far the player is into the question round and by how generous
// the payout controller lets this game be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// ---- The pack table -----------------------------------------------------------------------------
inline constexpr int kPackCount = 48;
inline constexpr int kCategoryCount = 24;

struct QuestionPack {
    const char* fileName;  // null in the entry that ends the table
    int category;          // 1 to 24: 1-4 easy, 5-14 medium, 15-24 hard
    const char* label;     // " TRUE " or " FALSE"
    int truth;             // 1 for a pack of true statements, 0 for false ones
    int spare;
    int questionCount;  // counted by LoadQuestionPacks
};
// Data01.pck is category 1's TRUE pack, Data02.pck its FALSE pack, ... Data48.pck category 24's
// FALSE pack; then the end entry.
extern QuestionPack questionPacks[kPackCount + 1];

// ---- Choosing a question ------------------------------------------------------------------------
// Difficulty 1 (categories 1-4), 2 (5-14) or 3 (15-24) by the question's place in the round (row)
// and the game's question level (column, 0 meanest to 4 most generous).
inline constexpr int kDifficultyRows = 8;
inline constexpr int kQuestionLevels = 5;
extern const int difficultyTable[kDifficultyRows][kQuestionLevels];

// Questions finished so far in this question round, kept by the round: 0 for the first question.
// Questions past the table's last row take the last row.
extern int questionsAskedThisRound;

// Counts the questions of every pack. 1 on success; 0, with the display released, when a pack is
// missing (the program cannot run without its questions).
int LoadQuestionPacks();

// Draws the correct answer (TRUE or FALSE, evenly) and a question for the next question screen.
// With fixed 0 the difficulty comes from the difficulty table; otherwise the given difficulty
// (1 to 3; others are brought into that range) is used.
void ChooseQuestion(uint8_t fixed, int difficulty);

// Reads one random question of a category's TRUE (truth 1) or FALSE (truth 0) pack into the
// current question. A pack that is not in the table, cannot be opened or holds no questions gives
// the text "NOT FOUND! <category>, <truth>".
void LoadQuestion(int category, int truth);

// The current question as shown (at most 199 characters) and its correct answer (1 TRUE, 0 FALSE).
inline constexpr std::size_t kQuestionTextSize = 200;
const char* QuestionText();
int QuestionAnswer();
// Forgets the current question and the questions asked this round, as at start-up. The packs'
// question counts stay: they belong to the files, which LoadQuestionPacks reads.
void ForgetQuestion();

// ---- Reading a pack -----------------------------------------------------------------------------
// One deciphered line; a longer line is cut to this size less its terminator (the rest of it is
// read and deciphered, so the lines after it stay whole).
inline constexpr std::size_t kPackLineSize = 1024;

// An open pack file, read from its first byte.
class PackFile {
  public:
    // Opens a pack by its name as the game writes it ("Questions\trueorfalse\Data01.pck").
    explicit PackFile(const char* fileName);
    ~PackFile();
    PackFile(const PackFile&) = delete;
    PackFile& operator=(const PackFile&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // True once a read has met the end of the file.
    bool AtEnd() const { return atEnd_; }
    // Reads and deciphers the next line, up to its line feed or the end of the file, into the
    // line buffer, without the line feed (and without zero bytes, which are never shown).
    void ReadPackLine();
    const char* Line() const { return line_; }

  private:
    std::FILE* file_ = nullptr;
    std::size_t position_ = 0;  // of the next byte in the file: selects the key byte
    bool atEnd_ = false;
    char line_[kPackLineSize] = {};
};

// Turns a deciphered line into the text shown (the dictionary expanded, "#" as the pound sign, the
// reference from the last "*" on removed, the leading difficulty letter as a blank), cut to fit
// `outSize` bytes with its terminator.
void ExpandQuestionText(const char* line, char* out, std::size_t outSize);
