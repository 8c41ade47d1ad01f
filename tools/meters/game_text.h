// The game's own text (code page 1252) as UTF-8, for listings and web pages.
#pragma once

#include <string>
#include <string_view>

// The text as UTF-8: valid UTF-8 stays as it is, any other byte is taken as code page 1252 (the
// game's log, for one, is written in it; 0xA3 is the pound sign).
std::string Utf8Text(std::string_view text);
