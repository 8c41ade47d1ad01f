#include "bank_checks.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>

namespace {

bool IsArticle(const std::string& word) {
    return word == "a" || word == "an" || word == "the";
}

std::vector<std::string> Words(std::string_view text) {
    std::string spaced;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\'') continue;
        spaced += std::isalnum(byte) || c == '#' ? static_cast<char>(std::tolower(byte)) : ' ';
    }
    std::vector<std::string> words;
    std::istringstream in(spaced);
    for (std::string word; in >> word;) {
        if (!IsArticle(word)) words.push_back(word);
    }
    return words;
}

// A statement's distinct words as sorted numbers, with where it stands.
struct WordSet {
    std::vector<int> words;
    std::string place;
};

std::vector<int> SortedWordIds(std::string_view text, std::map<std::string, int>& ids) {
    std::vector<int> set;
    for (const std::string& word : Words(text)) {
        set.push_back(ids.emplace(word, static_cast<int>(ids.size())).first->second);
    }
    std::sort(set.begin(), set.end());
    set.erase(std::unique(set.begin(), set.end()), set.end());
    return set;
}

std::size_t SharedCount(const std::vector<int>& a, const std::vector<int>& b) {
    std::size_t shared = 0;
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end();) {
        if (*i < *j) {
            ++i;
        } else if (*j < *i) {
            ++j;
        } else {
            ++shared, ++i, ++j;
        }
    }
    return shared;
}

// Shared words at least 80 % of the union: 5 x shared >= 4 x (|a| + |b| - shared).
bool NearlyTheSame(const std::vector<int>& a, const std::vector<int>& b) {
    const std::size_t shared = SharedCount(a, b);
    return 5 * shared >= 4 * (a.size() + b.size() - shared);
}

}  // namespace

std::string NormalisedStatement(std::string_view text) {
    std::string normalised;
    for (const std::string& word : Words(text)) {
        if (!normalised.empty()) normalised += ' ';
        normalised += word;
    }
    return normalised;
}

std::vector<NearDuplicate> FindNearDuplicates(const std::vector<BankCategory>& bank) {
    std::map<std::string, int> ids;
    std::vector<NearDuplicate> found;
    for (const bool truth : {true, false}) {
        std::vector<WordSet> seen;
        for (const BankCategory& category : bank) {
            for (const BankStatement& statement :
                 truth ? category.trueStatements : category.falseStatements) {
                WordSet here{SortedWordIds(statement.text, ids),
                             SourcePlace(category, statement) + ": " + statement.text};
                for (const WordSet& earlier : seen) {
                    if (NearlyTheSame(earlier.words, here.words))
                        found.push_back({earlier.place, here.place});
                }
                seen.push_back(std::move(here));
            }
        }
    }
    return found;
}

PackSizes PackSizesOf(const std::vector<BankCategory>& bank) {
    PackSizes sizes{};
    for (const BankCategory& category : bank) {
        sizes[2 * (category.number - 1)] = category.trueStatements.size();
        sizes[2 * (category.number - 1) + 1] = category.falseStatements.size();
    }
    return sizes;
}
