// The question pack file format, shared by the game (which reads packs) and pack-questions (which
// writes them). A pack is lines of dictionary-compressed text, each ended by a line feed, and the
// whole file is enciphered as one byte stream with a fixed key whose position runs from the first
// byte of the file to the last, line feeds included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// ---- The cipher ---------------------------------------------------------------------------------
// The pack key: 57 bytes from 1 to 239, ended by a zero.
inline constexpr std::size_t kPackKeyLength = 57;
inline constexpr uint8_t kPackKey[kPackKeyLength + 1] = {
    0x43, 0x74, 0xB4, 0x01, 0x9F, 0xDB, 0x0D, 0x89, 0xE4, 0x30, 0x96, 0xA8, 0xCB, 0x50, 0x0E,
    0x61, 0xE7, 0x3C, 0x3C, 0x41, 0xB7, 0x08, 0xB6, 0xC5, 0xEB, 0xBF, 0x52, 0x09, 0x88, 0x4C,
    0xB8, 0x2A, 0xDE, 0xCB, 0xDE, 0xB9, 0x4F, 0x7C, 0xCE, 0x83, 0xC1, 0x0D, 0x56, 0xAA, 0x67,
    0x0F, 0x4C, 0x57, 0x20, 0xA0, 0xB5, 0x73, 0x84, 0x77, 0x61, 0xD4, 0xBB, 0x00,
};

// Bytes 8 to 247 are shifted by the key byte of their file position within that range of 240
// values; bytes 0 to 7 and 248 to 255 are stored as they are (but still use up a key position).
uint8_t EncipherPackByte(uint8_t plain, std::size_t position);
uint8_t DecipherPackByte(uint8_t stored, std::size_t position);
// A whole file's bytes, enciphered from position 0.
std::string EncipherPack(std::string_view plain);

// ---- Question lines ----------------------------------------------------------------------------
// A question line is the difficulty letter of its category, the statement, a "*" and a reference
// that is never shown (the packer writes the category and source line number there).
inline constexpr char kReferenceMark = '*';

// The categories of each difficulty and the letter that starts their question lines.
struct DifficultyGroup {
    int firstCategory;
    int categoryCount;
    char letter;
};
inline constexpr DifficultyGroup kDifficultyGroups[] = {{1, 4, 'e'}, {5, 10, 'm'}, {15, 10, 'h'}};

// The letter of a category's difficulty group, or 0 for a category outside 1 to 24.
char DifficultyLetter(int category);

// ---- The dictionary -----------------------------------------------------------------------------
// Bytes 128 to 255 of a deciphered line stand for these texts: ten frequent short words (128 to
// 137), then 118 frequent two-character pieces of English (138 to 255).
inline constexpr int kFirstDictionaryCode = 128;
inline constexpr int kDictionarySize = 128;
extern const char* const kPackDictionary[kDictionarySize];

// In a deciphered line "#" stands for the pound sign, which the game's fonts draw as character 127.
inline constexpr char kPackPoundSign = '#';
inline constexpr char kShownPoundSign = '\x7F';

// Compresses one line of plain text (bytes 32 to 126 only; "#" for the pound sign): at every place
// the longest dictionary entry that matches is replaced by its code, other bytes are kept.
// Throws std::invalid_argument for any other byte.
std::string CompressPackText(std::string_view text);
// Expands a deciphered line (without its line feed): a code becomes its dictionary entry, a tab a
// blank, "#" the pound sign (character 127); other bytes below 32 are dropped.
std::string ExpandPackText(std::string_view line);

// The bytes of a whole pack file: each line compressed and ended by a line feed, then enciphered.
std::string BuildPack(const std::vector<std::string>& lines);
