#include "game_text.h"

#include <cstdint>

namespace {

// Code page 1252 bytes 0x80 to 0x9F; the rest of the upper half is Latin-1. Unassigned bytes
// keep their own value.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178,
};

char32_t FromCp1252(uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
}

// Decodes one UTF-8 sequence at `at`; its length, or 0 when the bytes there are not valid UTF-8
// (overlong forms, surrogates and values above U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t at, char32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[at + i]); };
    const uint8_t lead = byte(0);
    size_t length = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < minimum || code > 0x10FFFF || surrogate ? 0 : length;
}

// Calls `visit` with each character of the text: UTF-8 sequences where they are valid, any other
// byte as code page 1252.
void ForEachCharacter(std::string_view text, auto visit) {
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const size_t length = DecodeUtf8(text, at, code);
        if (length == 0) {
            code = FromCp1252(static_cast<uint8_t>(text[at]));
            at += 1;
        } else {
            at += length;
        }
        visit(code);
    }
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string Utf8Text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCharacter(text, [&out](char32_t code) { AppendUtf8(out, code); });
    return out;
}
