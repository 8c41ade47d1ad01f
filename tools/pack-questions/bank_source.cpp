#include "bank_source.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string_view>

#include "bank_checks.h"
#include "rules/pack_format.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPoundSignUtf8 = "\xC2\xA3";

enum class Section { kNone, kTrue, kFalse };

std::string Where(const fs::path& file, int line) {
    return file.filename().string() + ":" + std::to_string(line);
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \r");
    return text.substr(first, last - first + 1);
}

// Why a byte may not stand in a statement, or null when it may.
const char* FaultOf(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == kReferenceMark) return "the statement holds '*', which marks the reference in a pack";
    if (c == kPackPoundSign) return "the statement holds '#'; write the pound sign as \xC2\xA3";
    if (c == '\t') return "the statement holds a tab";
    if (byte < ' ' || byte == 0x7F) return "the statement holds a control character";
    if (byte >= 0x80) return "the statement holds a non-ASCII character (only \xC2\xA3 is allowed)";
    return nullptr;
}

// The statement as the packs write it: "£" becomes "#"; anything the game could not show, or
// that would be taken for part of the pack format, is refused.
std::string PackText(std::string_view statement, const fs::path& file, int line) {
    std::string text;
    for (std::size_t place = 0; place < statement.size(); ++place) {
        if (statement.substr(place, kPoundSignUtf8.size()) == kPoundSignUtf8) {
            text += kPackPoundSign;
            place += kPoundSignUtf8.size() - 1;
        } else if (const char* fault = FaultOf(statement[place])) {
            throw BankError(Where(file, line) + ": " + fault);
        } else {
            text += statement[place];
        }
    }
    // The difficulty letter at the start of the line is shown as a blank.
    const std::size_t shown = 1 + text.size();
    if (shown > kMaxShownLength) {
        throw BankError(Where(file, line) + ": the statement is " + std::to_string(shown) +
                        " characters long as shown; at most " + std::to_string(kMaxShownLength) +
                        " fit");
    }
    return text;
}

// Each topic file has something in both its sections.
void CheckNotEmpty(const fs::path& file, std::size_t trueBefore, std::size_t falseBefore,
                   const BankCategory& category) {
    const std::string name = file.filename().string();
    if (category.trueStatements.size() == trueBefore)
        throw BankError(name + ": the [TRUE] section is empty");
    if (category.falseStatements.size() == falseBefore)
        throw BankError(name + ": the [FALSE] section is empty");
}

// The category number of a file named "NN-slug.txt", or 0 for any other name.
int CategoryOfFileName(const std::string& name) {
    if (name.size() < 8 || name[2] != '-' || !name.ends_with(".txt")) return 0;
    if (name[0] < '0' || name[0] > '9' || name[1] < '0' || name[1] > '9') return 0;
    const int number = (name[0] - '0') * 10 + (name[1] - '0');
    return number >= 1 && number <= kBankCategories ? number : 0;
}

const char* DifficultyName(int category) {
    switch (DifficultyLetter(category)) {
        case 'e':
            return "easy";
        case 'm':
            return "medium";
        default:
            return "hard";
    }
}

// The first line names the file's category and its difficulty, so a topic file cannot land in the
// wrong category by a slip in its name: "# Category 07: British history (medium)".
void CheckHeader(std::string_view firstLine, const fs::path& file, int number) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "# Category %02d: ", number);
    const std::string suffix = std::string(" (") + DifficultyName(number) + ")";
    const std::string_view text = Trimmed(firstLine);
    if (!text.starts_with(prefix) || !text.ends_with(suffix) ||
        text.size() <= std::string_view(prefix).size() + suffix.size()) {
        throw BankError(Where(file, 1) + ": the first line must be \"" + prefix + "Name" + suffix +
                        "\"");
    }
}

}  // namespace

void ReadTopicFile(const fs::path& file, BankCategory& category) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw BankError(file.string() + ": cannot be read");
    const int fileIndex = static_cast<int>(category.files.size());
    category.files.push_back(file);
    const std::size_t trueBefore = category.trueStatements.size();
    const std::size_t falseBefore = category.falseStatements.size();
    Section section = Section::kNone;
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        if (line == 1) CheckHeader(raw, file, category.number);
        const std::string_view text = Trimmed(raw);
        if (text.empty() || text.front() == '#') continue;
        if (text == "[TRUE]") {
            section = Section::kTrue;
        } else if (text == "[FALSE]") {
            section = Section::kFalse;
        } else if (text.front() == '[') {
            throw BankError(Where(file, line) + ": unknown section " + std::string(text));
        } else if (section == Section::kNone) {
            throw BankError(Where(file, line) +
                            ": a statement before the [TRUE] or [FALSE] section");
        } else {
            auto& statements =
                section == Section::kTrue ? category.trueStatements : category.falseStatements;
            statements.push_back({PackText(text, file, line), fileIndex, line});
        }
    }
    CheckNotEmpty(file, trueBefore, falseBefore, category);
}

std::string SourcePlace(const BankCategory& category, const BankStatement& statement) {
    return Where(category.files.at(statement.fileIndex), statement.line);
}

std::string PackReference(const BankCategory& category, const BankStatement& statement) {
    char reference[32];
    std::snprintf(reference, sizeof reference, "%02d%c%d", category.number,
                  static_cast<char>('a' + statement.fileIndex), statement.line);
    return reference;
}

namespace {

// Every statement must be asked once only: the same words twice in the bank are refused, whatever
// their case, punctuation or articles.
void CheckNoDuplicates(const std::vector<BankCategory>& bank) {
    std::map<std::string, std::string> firstSeen;
    for (const BankCategory& category : bank) {
        for (const auto* statements : {&category.trueStatements, &category.falseStatements}) {
            for (const BankStatement& statement : *statements) {
                const std::string here = SourcePlace(category, statement);
                const auto [seen, isNew] =
                    firstSeen.emplace(NormalisedStatement(statement.text), here);
                if (!isNew) {
                    throw BankError(here + ": the statement is already at " + seen->second);
                }
            }
        }
    }
}

}  // namespace

std::vector<BankCategory> ReadBank(const fs::path& sourceDir) {
    std::error_code error;
    std::map<int, std::vector<fs::path>> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(sourceDir, error)) {
        const int number = CategoryOfFileName(entry.path().filename().string());
        if (number != 0) files[number].push_back(entry.path());
    }
    if (error) throw BankError(sourceDir.string() + ": " + error.message());

    std::vector<BankCategory> bank;
    for (int number = 1; number <= kBankCategories; ++number) {
        char pattern[16];
        std::snprintf(pattern, sizeof pattern, "%02d-*.txt", number);
        auto found = files.find(number);
        if (found == files.end()) {
            throw BankError(sourceDir.string() + ": no file for category " + pattern);
        }
        if (found->second.size() > kMaxTopicFiles) {
            throw BankError(sourceDir.string() + ": more than " + std::to_string(kMaxTopicFiles) +
                            " files for category " + pattern);
        }
        // Directory order is the file system's own: the name order makes the packs the same on
        // every machine.
        std::sort(found->second.begin(), found->second.end());
        BankCategory category{number, {}, {}, {}};
        for (const fs::path& file : found->second)
            ReadTopicFile(file, category);
        bank.push_back(std::move(category));
    }
    CheckNoDuplicates(bank);
    return bank;
}
