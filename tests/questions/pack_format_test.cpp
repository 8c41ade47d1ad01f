#include "rules/pack_format.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace {

std::string Shown(std::string text) {
    for (char& c : text) {
        if (c == '#') c = '\x7F';
    }
    return text;
}

TEST(PackFormat, KeyAndDictionaryCanOnlyProduceReadableLines) {
    int high = 0;
    for (std::size_t i = 0; i < kPackKeyLength; ++i) {
        EXPECT_GE(kPackKey[i], 1);
        EXPECT_LE(kPackKey[i], 239);
        high += kPackKey[i] >= 128;
    }
    EXPECT_EQ(kPackKey[kPackKeyLength], 0);
    EXPECT_NEAR(high, 28, 6) << "about half the key bytes are 128 or above";

    std::set<std::string> entries;
    for (int code = 0; code < kDictionarySize; ++code) {
        const std::string entry = kPackDictionary[code];
        entries.insert(entry);
        if (code < 10) {
            EXPECT_GE(entry.size(), 3u) << "code " << code + 128 << " is a word";
        } else {
            EXPECT_EQ(entry.size(), 2u) << "code " << code + 128 << " is a two-character piece";
        }
        for (char c : entry) {
            // An entry with "*" would be taken for the reference, one with "#" is never shown.
            EXPECT_TRUE(c >= ' ' && c <= '~' && c != '*' && c != '#')
                << "code " << code + 128 << " holds byte " << int(c);
        }
    }
    EXPECT_EQ(entries.size(), 128u) << "every entry is different";
}

TEST(PackFormat, CipherMovesOnlyTheMiddleBytesAndUndoesItself) {
    for (std::size_t position = 0; position < 2 * kPackKeyLength; ++position) {
        for (int value = 0; value < 256; ++value) {
            const auto plain = static_cast<uint8_t>(value);
            const uint8_t stored = EncipherPackByte(plain, position);
            ASSERT_EQ(DecipherPackByte(stored, position), plain) << value << " at " << position;
            if (value < 8 || value > 247) {
                ASSERT_EQ(stored, plain) << value << " passes unchanged";
            } else {
                ASSERT_GE(stored, 8);
                ASSERT_LE(stored, 247);
                ASSERT_NE(stored, plain) << value << " at " << position;
            }
        }
    }
    // The key position runs through the whole file, so a byte repeats its cipher only 57 on.
    EXPECT_EQ(EncipherPackByte('a', 3), EncipherPackByte('a', 3 + kPackKeyLength));
    EXPECT_EQ(EncipherPack("\x01\xF8"
                           "a"),
              std::string("\x01\xF8") + static_cast<char>(EncipherPackByte('a', 2)));
}

TEST(PackFormat, CompressionExpandsBackToTheText) {
    std::string everyCharacter;
    for (char c = ' '; c <= '~'; ++c)
        everyCharacter += c;
    const std::string texts[] = {
        "eThe Thames is the longest river wholly in England.*0103",
        "mWhich of the Beatles was born in 1940? What were they paid in #s?*1421",
        "hIt's 100 miles and 19 yards.*2499",
        everyCharacter,
        "",
    };
    for (const std::string& text : texts) {
        const std::string packed = CompressPackText(text);
        EXPECT_EQ(ExpandPackText(packed), Shown(text));
        for (char c : packed) {
            const auto byte = static_cast<uint8_t>(c);
            EXPECT_TRUE((byte >= ' ' && byte < 127) || byte >= 128) << int(byte) << " in " << text;
        }
    }
    EXPECT_LT(CompressPackText(texts[0]).size() * 10, texts[0].size() * 7)
        << "English text packs to well under 70 %";
    EXPECT_THROW(CompressPackText("tab\there"), std::invalid_argument);
    EXPECT_THROW(CompressPackText("two\nlines"), std::invalid_argument);
    EXPECT_THROW(CompressPackText("caf\xC3\xA9"), std::invalid_argument);
    EXPECT_THROW(CompressPackText("\x7F"), std::invalid_argument);
}

TEST(PackFormat, ExpansionTurnsCodesTabsAndPoundSignsIntoShownText) {
    const std::string line = std::string("e\x80") + "A\tB\x01\x1B\rC #5" + "\x7F" + "\xFF";
    EXPECT_EQ(ExpandPackText(line), std::string("e") + kPackDictionary[0] +
                                        "A BC \x7F"
                                        "5\x7F" +
                                        kPackDictionary[127]);
}

TEST(PackFormat, SameLineAtTwoPlacesEnciphersDifferently) {
    const std::string line = "eA pint of milk costs #1.*0107";
    const std::string pack = BuildPack({line, line});
    ASSERT_EQ(pack.size() % 2, 0u);
    const std::string first = pack.substr(0, pack.size() / 2);
    const std::string second = pack.substr(pack.size() / 2);
    EXPECT_NE(first, second);
    EXPECT_EQ(first, EncipherPack(CompressPackText(line) + "\n"));
}

}  // namespace
