// The question bank as committed: text files "NN-slug.txt" (NN = 01 to 24, the category), several
// topic files per category allowed, read in file-name order. Every file starts with the line
// "# Category NN: Name (easy|medium|hard)" and holds a [TRUE] and a [FALSE] section of one
// statement a line. Lines starting with "#" are comments and blank lines are ignored. Statements
// are plain ASCII except the pound sign, written "£".
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr int kBankCategories = 24;
// The longest question the game can show, with its difficulty letter shown as a blank.
inline constexpr std::size_t kMaxShownLength = 199;
// A category's topic files are told apart in a pack line's reference by one letter, a to z.
inline constexpr std::size_t kMaxTopicFiles = 26;

struct BankStatement {
    std::string text;  // with "#" for the pound sign, as the packs write it
    int fileIndex;     // the topic file within its category, from 0 in file-name order
    int line;          // in that file, from 1
};

struct BankCategory {
    int number;
    std::vector<std::filesystem::path> files;  // in file-name order
    std::vector<BankStatement> trueStatements;
    std::vector<BankStatement> falseStatements;
};

// A fault in the bank source; the message names the file and, where there is one, the line.
class BankError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the categories 1 to 24 from a source directory, in order, each from all of its topic files.
// Throws BankError for a category without a file, a file without its "# Category NN:" first line,
// a statement outside a section, an empty section, a statement met twice, or a statement that
// holds "*", "#", a tab, another control character, a non-ASCII character other than "£", or is
// too long to show.
std::vector<BankCategory> ReadBank(const std::filesystem::path& sourceDir);

// Reads one topic file into its category, its statements after those already read.
void ReadTopicFile(const std::filesystem::path& file, BankCategory& category);

// Where a statement comes from, as "file:line".
std::string SourcePlace(const BankCategory& category, const BankStatement& statement);

// The hidden reference written after the "*" of a statement's pack line: the category, the topic
// file as a letter (a for the first in file-name order) and the line, e.g. "07b123".
std::string PackReference(const BankCategory& category, const BankStatement& statement);
