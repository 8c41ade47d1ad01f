// The small pieces of JSON the meter listing needs, written as plain ASCII, and the game's text
// as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A JSON string literal with its quotes. Valid UTF-8 becomes \u escapes (surrogate pairs above
// U+FFFF); a byte that is not part of valid UTF-8 is taken as Windows code page 1252, the
// game's own text encoding (0xA3 is the pound sign).
std::string JsonString(std::string_view text);

// The text as UTF-8: valid UTF-8 stays as it is, any other byte is taken as code page 1252 (the
// game's log, for one, is written in it).
std::string Utf8Text(std::string_view text);

// A JSON number, or null for none or for a value JSON cannot hold (infinity, not a number).
std::string JsonNumber(std::optional<double> value);
