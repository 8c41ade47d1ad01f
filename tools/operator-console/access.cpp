#include "access.h"

#include <strings.h>
#include <cstdint>

namespace {

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

// The credentials after a scheme name and its spaces, when the header uses that scheme.
std::optional<std::string_view> Credentials(std::string_view header, std::string_view scheme) {
    if (header.size() <= scheme.size() ||
        strncasecmp(header.data(), scheme.data(), scheme.size()) != 0 ||
        header[scheme.size()] != ' ') {
        return std::nullopt;
    }
    std::string_view rest = header.substr(scheme.size());
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ')
        rest.remove_suffix(1);
    return rest;
}

}  // namespace

bool SameSecret(std::string_view given, std::string_view expected) {
    // Every byte of the expected secret is visited whatever the given one holds.
    volatile uint8_t difference = given.size() == expected.size() ? 0 : 1;
    for (size_t i = 0; i < expected.size(); ++i) {
        const uint8_t other = i < given.size() ? static_cast<uint8_t>(given[i]) : 0;
        difference = difference | (other ^ static_cast<uint8_t>(expected[i]));
    }
    return difference == 0;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (size_t at = 0; at < text.size(); at += 4) {
        const bool last = at + 4 == text.size();
        const size_t padding = last ? (text[at + 3] == '=') + (text[at + 2] == '=') : 0;
        if (padding == 1 && text[at + 2] == '=')
            return std::nullopt;  // "ab=c": a pad before a digit
        uint32_t group = 0;
        for (size_t i = 0; i < 4; ++i) {
            const int value = i >= 4 - padding ? 0 : Base64Value(text[at + i]);
            if (value < 0) return std::nullopt;
            group = group << 6 | static_cast<uint32_t>(value);
        }
        out += static_cast<char>(group >> 16);
        if (padding < 2) out += static_cast<char>(group >> 8 & 0xFF);
        if (padding < 1) out += static_cast<char>(group & 0xFF);
    }
    return out;
}

bool CarriesToken(std::string_view authorization, std::string_view token) {
    if (const auto bearer = Credentials(authorization, "Bearer")) {
        return SameSecret(*bearer, token);
    }
    if (const auto basic = Credentials(authorization, "Basic")) {
        const std::optional<std::string> decoded = DecodeBase64(*basic);
        if (!decoded) return false;
        const size_t colon = decoded->find(':');
        if (colon == std::string::npos) return false;
        return SameSecret(std::string_view(*decoded).substr(colon + 1), token);
    }
    return false;
}
