#include "rules/pack_format.h"

#include <stdexcept>

namespace {

// The key's length is the number of bytes before its zero, and a key byte of 0 or 240 would
// leave bytes unchanged.
constexpr bool IsSoundKey() {
    for (std::size_t place = 0; place < kPackKeyLength; ++place) {
        if (kPackKey[place] == 0 || kPackKey[place] > 239) return false;
    }
    return kPackKey[kPackKeyLength] == 0;
}
static_assert(IsSoundKey(), "the pack key is 57 bytes from 1 to 239, then a zero");

// The range of byte values the cipher moves; the others pass unchanged.
constexpr int kCipherLow = 8;
constexpr int kCipherHigh = 247;
constexpr int kCipherSpan = kCipherHigh - kCipherLow + 1;  // 240

bool IsCipheredValue(uint8_t value) {
    return value >= kCipherLow && value <= kCipherHigh;
}

uint8_t KeyAt(std::size_t position) {
    return kPackKey[position % kPackKeyLength];
}

bool IsPlainText(char c) {
    return c >= ' ' && c <= '~';
}

}  // namespace

// The words first, then the pieces, in code order from 128. A piece is only used where no
// longer entry matches.
const char* const kPackDictionary[kDictionarySize] = {
    "Which ", "What ", "was ", "were ", "the ", "The ", "is ", "in ", "of ", "and ",  // 128-137
    "'s",     "e ",    "s ",   "n ",    "t ",   "er",   "d ",  "ar",  "in",  "or",    // 138-147
    "al",     "y ",    "an",   "a ",    "on",   "re",   "th",  "en",  "om",  "es",    // 148-157
    "ic",     "ou",    "le",   "at",    "o ",   "st",   "it",  "am",  "el",  " f",    // 158-167
    "ro",     "ch",    "m ",   "g ",    "ir",   "li",   "19",  "se",  "il",  "k ",    // 168-177
    "ol",     "te",    "la",   "ri",    " p",   "ad",   "gh",  "un",  "sh",  " c",    // 178-187
    "lo",     "iv",    "ha",   " b",    " w",   "ac",   "em",  "ec",  " t",  " S",    // 188-197
    "ur",     "et",    "ag",   " m",    "ng",   "si",   "op",  "ap",  "nd",  " C",    // 198-207
    "ow",     "um",    "ot",   "ab",    "is",   "as",   " d",  "ne",  "ov",  " B",    // 208-217
    "mp",     "nt",    "he",   "r ",    " A",   " R",   "av",  " W",  "up",  "00",    // 218-227
    "po",     "l ",    "us",   " M",    " g",   "im",   "ak",  " s",  "ig",  "od",    // 228-237
    "h ",     "ff",    "ep",   " E",    " O",   " P",   " T",  "tr",  "ly",  " F",    // 238-247
    "qu",     "ev",    "rg",   "ed",    "mo",   "ay",   " h",  " D",                  // 248-255
};

char DifficultyLetter(int category) {
    for (const DifficultyGroup& group : kDifficultyGroups) {
        if (category >= group.firstCategory &&
            category < group.firstCategory + group.categoryCount) {
            return group.letter;
        }
    }
    return 0;
}

uint8_t EncipherPackByte(uint8_t plain, std::size_t position) {
    if (!IsCipheredValue(plain)) return plain;
    return static_cast<uint8_t>((plain - kCipherLow + KeyAt(position)) % kCipherSpan + kCipherLow);
}

uint8_t DecipherPackByte(uint8_t stored, std::size_t position) {
    if (!IsCipheredValue(stored)) return stored;
    return static_cast<uint8_t>(
        (stored + kCipherSpan - kCipherLow - KeyAt(position)) % kCipherSpan + kCipherLow);
}

std::string EncipherPack(std::string_view plain) {
    std::string stored(plain);
    for (std::size_t position = 0; position < stored.size(); ++position) {
        stored[position] =
            static_cast<char>(EncipherPackByte(static_cast<uint8_t>(stored[position]), position));
    }
    return stored;
}

std::string CompressPackText(std::string_view text) {
    std::string packed;
    std::size_t place = 0;
    while (place < text.size()) {
        if (!IsPlainText(text[place])) {
            throw std::invalid_argument("question text holds a byte that is not plain text");
        }
        int bestCode = -1;
        std::size_t bestLength = 1;
        for (int index = 0; index < kDictionarySize; ++index) {
            const std::string_view entry = kPackDictionary[index];
            if (entry.size() > bestLength && text.substr(place, entry.size()) == entry) {
                bestCode = kFirstDictionaryCode + index;
                bestLength = entry.size();
            }
        }
        packed += bestCode < 0 ? text[place] : static_cast<char>(bestCode);
        place += bestLength;
    }
    return packed;
}

std::string ExpandPackText(std::string_view line) {
    std::string text;
    for (const char c : line) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte >= kFirstDictionaryCode) {
            text += kPackDictionary[byte - kFirstDictionaryCode];
        } else if (c == '\t') {
            text += ' ';
        } else if (byte < ' ') {
            continue;
        } else {
            text += c == kPackPoundSign ? kShownPoundSign : c;
        }
    }
    return text;
}

std::string BuildPack(const std::vector<std::string>& lines) {
    std::string plain;
    for (const std::string& line : lines) {
        plain += CompressPackText(line);
        plain += '\n';
    }
    return EncipherPack(plain);
}
