#include <gtest/gtest.h>

#include "game_text.h"

namespace {

TEST(Utf8Text, ThePoundSignInEitherEncodingIsOneCharacter) {
    EXPECT_EQ(Utf8Text("\xC2\xA3"
                       "1"),
              "\xC2\xA3"
              "1");  // UTF-8, as in the meanings
    EXPECT_EQ(Utf8Text("\xA3"
                       "1"),
              "\xC2\xA3"
              "1");                               // code page 1252, as on screen
    EXPECT_EQ(Utf8Text("\x80"), "\xE2\x82\xAC");  // the euro sign of code page 1252
    EXPECT_EQ(Utf8Text(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Utf8Text, BrokenUtf8NeverLeaksThrough) {
    EXPECT_EQ(Utf8Text("\xF0\x9F\x8E\xB2"), "\xF0\x9F\x8E\xB2");  // above U+FFFF stays
    // A cut-off sequence, an overlong form and an encoded surrogate are single bytes.
    EXPECT_EQ(Utf8Text("\xE2\x82"), "\xC3\xA2\xE2\x80\x9A");
    EXPECT_EQ(Utf8Text("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(Utf8Text("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}

}  // namespace
