// The command line, the listen address rules and the token checks.
#include <gtest/gtest.h>

#include <fstream>

#include "access.h"
#include "cabinet_files.h"
#include "console_options.h"

namespace {

std::optional<ListenAddress> Parse(const char* text) {
    std::string error;
    std::optional<ListenAddress> address = ParseListenAddress(text, error);
    if (!address) {
        EXPECT_FALSE(error.empty()) << text;
    }
    return address;
}

TEST(ListenAddress, TakesNumericAddressesWithTheirPort) {
    const auto v4 = Parse("192.168.1.20:8080");
    ASSERT_TRUE(v4);
    EXPECT_EQ(v4->host, "192.168.1.20");
    EXPECT_EQ(v4->port, 8080);
    EXPECT_FALSE(v4->ipv6);
    const auto v6 = Parse("[::1]:0");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "::1");
    EXPECT_EQ(v6->port, 0);
    EXPECT_EQ(FormatListenAddress(*v6), "[::1]:0");
    const auto local = Parse("localhost:9");
    ASSERT_TRUE(local);
    EXPECT_EQ(local->host, "127.0.0.1");
}

TEST(ListenAddress, RefusesWhatItCannotOpenExactly) {
    for (const char* text :
         {"127.0.0.1", "127.0.0.1:", "127.0.0.1:65536", "127.0.0.1:-1", "127.0.0.1:80x",
          "cabinet.local:8080", "::1:8080", "[127.0.0.1]:80", "256.0.0.1:80", ":8080"}) {
        EXPECT_FALSE(Parse(text)) << text;
    }
}

TEST(ListenAddress, OnlyThisMachinesOwnAddressesAreLoopback) {
    for (const char* text : {"127.0.0.1:1", "127.9.9.9:1", "[::1]:1", "[::ffff:127.0.0.1]:1"})
        EXPECT_TRUE(IsLoopback(*Parse(text))) << text;
    for (const char* text : {"0.0.0.0:1", "10.0.0.5:1", "[::]:1", "[::ffff:10.0.0.1]:1",
                             "128.0.0.1:1", "[fe80::1]:1"}) {
        EXPECT_FALSE(IsLoopback(*Parse(text))) << text;
    }
}

ParseOutcome ParseArgs(std::vector<const char*> args, ServeOptions& options,
                       const char* environment = nullptr) {
    args.insert(args.begin(), "operator-console");
    std::string error;
    const ParseOutcome outcome = ParseServeArguments(static_cast<int>(args.size()), args.data(),
                                                     environment, options, error);
    if (outcome == ParseOutcome::Bad) {
        EXPECT_FALSE(error.empty());
    }
    return outcome;
}

TEST(ServeArguments, DefaultsAndEveryOption) {
    ServeOptions defaults;
    ASSERT_EQ(ParseArgs({"serve"}, defaults), ParseOutcome::Serve);
    EXPECT_EQ(FormatListenAddress(defaults.listen), "127.0.0.1:8080");
    EXPECT_EQ(defaults.contentDir, ".");
    EXPECT_EQ(defaults.ledgerPath, "credit.db");
    EXPECT_TRUE(defaults.tokenFile.empty());

    ServeOptions fromEnvironment;
    ASSERT_EQ(ParseArgs({"serve"}, fromEnvironment, "/var/credit.db"), ParseOutcome::Serve);
    EXPECT_EQ(fromEnvironment.ledgerPath, "/var/credit.db");

    ServeOptions given;
    ASSERT_EQ(ParseArgs({"--content", "/c", "serve", "--db=/l.db", "--listen", "[::1]:0",
                         "--token-file", "/t"},
                        given, "/var/credit.db"),
              ParseOutcome::Serve);
    EXPECT_EQ(given.contentDir, "/c");
    EXPECT_EQ(given.ledgerPath, "/l.db");
    EXPECT_EQ(given.tokenFile, "/t");
    EXPECT_TRUE(given.listen.ipv6);
}

TEST(ServeArguments, RefusesWhatItDoesNotKnow) {
    ServeOptions options;
    EXPECT_EQ(ParseArgs({}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"status"}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"serve", "serve"}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"serve", "--db"}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"serve", "--content", ""}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"serve", "--port", "80"}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"serve", "--listen", "example.org:80"}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"serve", "--db="}, options), ParseOutcome::Bad);
    EXPECT_EQ(ParseArgs({"--help"}, options), ParseOutcome::Help);
    EXPECT_EQ(ParseArgs({"--version"}, options), ParseOutcome::Version);
}

TEST(TokenFile, TakesOneLineOfPrintableAscii) {
    TestCabinet dir;
    const std::string path = dir.root() + "/token";
    std::string error;
    std::ofstream(path) << "0123456789abcdef0123\n";
    EXPECT_EQ(ReadTokenFile(path, error), "0123456789abcdef0123");
    std::ofstream(path) << "0123456789abcdef0123\r\n";
    EXPECT_EQ(ReadTokenFile(path, error), "0123456789abcdef0123");

    for (const char* bad : {"", "\n", "short-token\n", "0123456789 abcdef0123\n",
                            "0123456789abcdef\n0123\n", "0123456789abcdef\xC2\xA3"}) {
        std::ofstream(path, std::ios::trunc) << bad;
        error.clear();
        EXPECT_FALSE(ReadTokenFile(path, error)) << bad;
        EXPECT_FALSE(error.empty());
    }
    std::ofstream(path, std::ios::trunc) << std::string(5000, 'a');
    EXPECT_FALSE(ReadTokenFile(path, error));
    EXPECT_FALSE(ReadTokenFile(dir.root() + "/missing", error));
}

TEST(Token, SecretsCompareWhole) {
    EXPECT_TRUE(SameSecret("abcdef", "abcdef"));
    EXPECT_FALSE(SameSecret("abcdeg", "abcdef"));
    EXPECT_FALSE(SameSecret("abcde", "abcdef"));
    EXPECT_FALSE(SameSecret("abcdefg", "abcdef"));
    EXPECT_FALSE(SameSecret("", "abcdef"));
    EXPECT_FALSE(SameSecret(std::string_view("abcdef\0", 7), "abcdef"));
}

TEST(Token, Base64AsTheStandardWritesIt) {
    EXPECT_EQ(DecodeBase64(""), "");
    EXPECT_EQ(DecodeBase64("Zg=="), "f");
    EXPECT_EQ(DecodeBase64("Zm8="), "fo");
    EXPECT_EQ(DecodeBase64("Zm9v"), "foo");
    EXPECT_EQ(DecodeBase64("Zm9vYmFy"), "foobar");
    EXPECT_EQ(DecodeBase64("+/+/"), "\xFB\xFF\xBF");
    for (const char* bad : {"Zg", "Zg=", "Z===", "Zg=a", "Z=g=", "Zm9v!mFy", "Zg==Zg==", "Zm 9v"})
        EXPECT_FALSE(DecodeBase64(bad)) << bad;
}

TEST(Token, CarriedAsBearerOrAsABrowsersPassword) {
    const std::string token = "s3cret-token-0123456789";
    EXPECT_TRUE(CarriesToken("Bearer " + token, token));
    EXPECT_TRUE(CarriesToken("bearer  " + token + " ", token));
    // "operator:s3cret-token-0123456789" and ":s3cret-token-0123456789"
    EXPECT_TRUE(CarriesToken("Basic b3BlcmF0b3I6czNjcmV0LXRva2VuLTAxMjM0NTY3ODk=", token));
    EXPECT_TRUE(CarriesToken("Basic OnMzY3JldC10b2tlbi0wMTIzNDU2Nzg5", token));

    EXPECT_FALSE(CarriesToken("", token));
    EXPECT_FALSE(CarriesToken(token, token));
    EXPECT_FALSE(CarriesToken("Bearer", token));
    EXPECT_FALSE(CarriesToken("Bearer " + token + "x", token));
    EXPECT_FALSE(CarriesToken("Bearer " + token.substr(1), token));
    EXPECT_FALSE(CarriesToken("Bearer" + token, token));
    EXPECT_FALSE(CarriesToken("Token " + token, token));
    // "s3cret-token-0123456789" with no user and no colon, and the token as the user name.
    EXPECT_FALSE(CarriesToken("Basic czNjcmV0LXRva2VuLTAxMjM0NTY3ODk=", token));
    EXPECT_FALSE(CarriesToken("Basic czNjcmV0LXRva2VuLTAxMjM0NTY3ODk6", token));
    EXPECT_FALSE(CarriesToken("Basic !!!!", token));
}

}  // namespace
