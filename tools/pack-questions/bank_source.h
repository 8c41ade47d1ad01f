// The question bank as committed: one text file per category, "NN-slug.txt" (NN = 01 to 24), with
// a [TRUE] and a [FALSE] section of one statement a line. Lines starting with "#" are comments and
// blank lines are ignored. Statements are plain ASCII except the pound sign, written "£".
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr int kBankCategories = 24;
// The longest question the game can show, with its difficulty letter shown as a blank.
inline constexpr std::size_t kMaxShownLength = 199;

struct BankStatement {
    std::string text;  // with "#" for the pound sign, as the packs write it
    int line;          // in the source file, from 1
};

struct BankCategory {
    int number;
    std::filesystem::path file;
    std::vector<BankStatement> trueStatements;
    std::vector<BankStatement> falseStatements;
};

// A fault in the bank source; the message names the file and, where there is one, the line.
class BankError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads the categories 1 to 24 from a source directory, in order. Throws BankError for a missing
// or doubled category file, a statement outside a section, an empty section, or a statement that
// holds "*", "#", a tab, another control character, a non-ASCII character other than "£", or is
// too long to show.
std::vector<BankCategory> ReadBank(const std::filesystem::path& sourceDir);

// Reads one category file.
BankCategory ReadCategoryFile(const std::filesystem::path& file, int number);
