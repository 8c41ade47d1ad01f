// Who may read the console: with a token, only requests that carry it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// True when `given` equals `expected`. The time taken depends only on the length of `expected`,
// never on where the two first differ.
bool SameSecret(std::string_view given, std::string_view expected);

// Standard base64 (RFC 4648, with padding); nothing for anything else.
std::optional<std::string> DecodeBase64(std::string_view text);

// True when the Authorization header carries the token: "Bearer TOKEN" (what Prometheus and
// scripts send) or "Basic" with the token as the password under any user name (what a phone's
// browser sends after asking for it). Scheme names are matched without regard to case.
bool CarriesToken(std::string_view authorization, std::string_view token);
