#include "console_options.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "platform/command_line.h"

namespace {

const std::vector<platform::LongOption> kConsoleOptions = {
    {"listen", true},     {"content", true},    {"db", true},
    {"token-file", true}, {"help", false, 'h'}, {"version", false}};

std::optional<uint16_t> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 65535) return std::nullopt;
    return static_cast<uint16_t>(value);
}

}  // namespace

std::optional<ListenAddress> ParseListenAddress(std::string_view text, std::string& error) {
    const size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        error = "the listen address needs a port: ADDR:PORT";
        return std::nullopt;
    }
    std::string_view host = text.substr(0, colon);
    const std::optional<uint16_t> port = ParsePort(text.substr(colon + 1));
    if (!port) {
        error = "the port must be a number from 0 to 65535";
        return std::nullopt;
    }
    ListenAddress address;
    address.port = *port;
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
        address.ipv6 = true;
    }
    address.host = std::string(host);
    if (!address.ipv6 && address.host == "localhost") address.host = "127.0.0.1";
    unsigned char bytes[16];
    const int family = address.ipv6 ? AF_INET6 : AF_INET;
    if (inet_pton(family, address.host.c_str(), bytes) != 1) {
        error = "'" + std::string(host) + "' is not a numeric " +
                (address.ipv6 ? "IPv6 address" : "IPv4 address (write IPv6 as [ADDR]:PORT)");
        return std::nullopt;
    }
    return address;
}

bool IsLoopback(const ListenAddress& address) {
    if (!address.ipv6) {
        in_addr ip{};
        return inet_pton(AF_INET, address.host.c_str(), &ip) == 1 &&
               (ntohl(ip.s_addr) >> 24) == 127;
    }
    in6_addr ip{};
    if (inet_pton(AF_INET6, address.host.c_str(), &ip) != 1) return false;
    if (IN6_IS_ADDR_LOOPBACK(&ip)) return true;
    return IN6_IS_ADDR_V4MAPPED(&ip) && ip.s6_addr[12] == 127;
}

std::string FormatListenAddress(const ListenAddress& address) {
    const std::string host = address.ipv6 ? "[" + address.host + "]" : address.host;
    return host + ":" + std::to_string(address.port);
}

ParseOutcome ParseServeArguments(int argc, const char* const* argv,
                                 const char* ledgerFromEnvironment, ServeOptions& options,
                                 std::string& error) {
    options.ledgerPath =
        ledgerFromEnvironment && *ledgerFromEnvironment ? ledgerFromEnvironment : "credit.db";
    platform::CommandLine line;
    if (!platform::ReadCommandLine(argc, argv, kConsoleOptions, line, error))
        return ParseOutcome::Bad;
    for (const auto& [name, value] : line.options) {
        if (name == "help") return ParseOutcome::Help;
        if (name == "version") return ParseOutcome::Version;
    }
    if (line.operands.empty()) {
        error = "no command (the console's one command is serve)";
        return ParseOutcome::Bad;
    }
    if (line.operands.front() != "serve" || line.operands.size() > 1) {
        error = "unexpected argument '" + line.operands[line.operands.front() == "serve"] +
                "' (the console's one command is serve)";
        return ParseOutcome::Bad;
    }
    for (const auto& [name, value] : line.options) {
        if (name == "listen") {
            const std::optional<ListenAddress> listen = ParseListenAddress(value, error);
            if (!listen) return ParseOutcome::Bad;
            options.listen = *listen;
        } else if (value.empty()) {
            error = "--" + name + " needs a value";
            return ParseOutcome::Bad;
        } else {
            (name == "content" ? options.contentDir
             : name == "db"    ? options.ledgerPath
                               : options.tokenFile) = value;
        }
    }
    return ParseOutcome::Serve;
}

std::optional<std::string> ReadTokenFile(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read the token file " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    constexpr size_t kLongest = 4096;
    std::string token(kLongest + 1, '\0');
    file.read(token.data(), static_cast<std::streamsize>(token.size()));
    token.resize(static_cast<size_t>(file.gcount()));
    if (token.size() > kLongest) {
        error = "the token file " + path + " is longer than a token can be";
        return std::nullopt;
    }
    while (!token.empty() && (token.back() == '\n' || token.back() == '\r'))
        token.pop_back();
    for (const char c : token) {
        if (c < 0x21 || c > 0x7E) {
            error = "the token in " + path +
                    " may hold only printable ASCII characters, without spaces, on one line";
            return std::nullopt;
        }
    }
    if (token.size() < kMinimumTokenLength) {
        error = "the token in " + path + " is " +
                (token.empty() ? std::string("empty")
                               : "only " + std::to_string(token.size()) + " characters") +
                ": it needs at least " + std::to_string(kMinimumTokenLength) +
                " (for example from: openssl rand -hex 32)";
        return std::nullopt;
    }
    return token;
}
