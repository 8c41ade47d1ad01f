// The console's command line: where it listens, which cabinet it shows and the token that guards
// it when it is reachable from other machines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct ListenAddress {
    std::string host;  // a numeric IPv4 or IPv6 address, without brackets
    uint16_t port = 0;
    bool ipv6 = false;
};

// "127.0.0.1:8080", "[::1]:8080", "0.0.0.0:0" or "localhost:8080" (taken as 127.0.0.1). Nothing,
// with the reason in `error`, for anything else: host names are not looked up, so that the
// address the console opens is exactly the one written.
std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& error);

// True for 127.0.0.0/8, ::1 and ::ffff:127.0.0.0/104: only this machine can reach it.
bool IsLoopback(const ListenAddress& address);

// "127.0.0.1:8080" or "[::1]:8080".
std::string FormatListenAddress(const ListenAddress& address);

struct ServeOptions {
    ListenAddress listen{"127.0.0.1", 8080, false};
    std::string contentDir = ".";
    std::string ledgerPath;  // --db, else $VANTOR_CREDIT_DB, else credit.db
    std::string tokenFile;   // empty: no token
};

enum class ParseOutcome { Serve, Help, Version, Bad };

// Reads "serve [--listen ADDR:PORT] [--content DIR] [--db FILE] [--token-file FILE]" (each value
// also as --name=VALUE), or --help or --version. On Bad,
// `error` says what is wrong. `ledgerFromEnvironment` is $VANTOR_CREDIT_DB (null when unset).
ParseOutcome ParseServeArguments(int argc, const char* const* argv,
                                 const char* ledgerFromEnvironment, ServeOptions& options,
                                 std::string& error);

// Shortest token accepted: long enough that guessing it over the network is hopeless.
inline constexpr size_t kMinimumTokenLength = 16;

// The token held in a file: its text without the line end. Nothing, with the reason, when the
// file cannot be read, is empty or too short, or holds characters that cannot travel in an HTTP
// header (only printable ASCII without spaces is accepted).
std::optional<std::string> ReadTokenFile(const std::string& path, std::string& error);
