#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "json_text.h"

namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControlBytes) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("line\nnext\ttab"), "\"line\\nnext\\ttab\"");
    EXPECT_EQ(JsonString(std::string("\x01\x7f", 2)), "\"\\u0001\\u007f\"");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
}

TEST(JsonString, ThePoundSignInEitherEncodingIsOneCharacter) {
    EXPECT_EQ(JsonString("£1"), "\"\\u00a31\"");  // UTF-8, as in the meanings
    EXPECT_EQ(JsonString("\xA3"
                         "1"),
              "\"\\u00a31\"");                     // code page 1252, as on screen
    EXPECT_EQ(JsonString("\x80"), "\"\\u20ac\"");  // the euro sign of code page 1252
}

TEST(JsonString, NonAsciiBecomesEscapesAndBrokenUtf8NeverLeaksThrough) {
    EXPECT_EQ(JsonString("\xE2\x82\xAC"), "\"\\u20ac\"");
    EXPECT_EQ(JsonString("\xF0\x9F\x8E\xB2"), "\"\\ud83c\\udfb2\"");  // above U+FFFF
    // A cut-off sequence, an overlong form and an encoded surrogate are single bytes.
    EXPECT_EQ(JsonString("\xE2\x82"), "\"\\u00e2\\u201a\"");
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\u00c0\\u00af\"");
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\u00ed\\u00a0\\u20ac\"");
}

TEST(JsonNumber, FiniteNumbersOrNull) {
    EXPECT_EQ(JsonNumber(31.5), "31.5");
    EXPECT_EQ(JsonNumber(-15.0), "-15");
    EXPECT_EQ(JsonNumber(std::nullopt), "null");
    EXPECT_EQ(JsonNumber(std::nan("")), "null");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
}

}  // namespace
