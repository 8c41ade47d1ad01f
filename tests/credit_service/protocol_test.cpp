#include "protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "account.h"

namespace {

std::vector<Command> PushAll(CommandStream& stream, std::string_view bytes) {
    std::vector<Command> commands;
    stream.Push(bytes, commands);
    return commands;
}

// The exact line the game would send for a command.
std::string LineFor(const Command& command) {
    switch (command.kind) {
        case CommandKind::CreditRead:
            return "CGET";
        case CommandKind::BankRead:
            return "BGET";
        case CommandKind::CreditUse:
            return "CUSE," + std::to_string(command.amount);
        case CommandKind::BankAdd:
            return "BADD," + std::to_string(command.amount);
        case CommandKind::CreditAdd:
            return "CADD," + std::to_string(command.amount);
        case CommandKind::Terminate:
            return "TERM";
        case CommandKind::Invalid:
            break;
    }
    return "";
}

TEST(ParseCommand, ReadsTheSixCommandsOfTheGame) {
    EXPECT_EQ(ParseCommand("CGET"), (Command{CommandKind::CreditRead}));
    EXPECT_EQ(ParseCommand("BGET"), (Command{CommandKind::BankRead}));
    EXPECT_EQ(ParseCommand("CUSE,50"), (Command{CommandKind::CreditUse, 50}));
    EXPECT_EQ(ParseCommand("BADD,300"), (Command{CommandKind::BankAdd, 300}));
    EXPECT_EQ(ParseCommand("CADD,1"), (Command{CommandKind::CreditAdd, 1}));
    EXPECT_EQ(ParseCommand("CADD,10000"), (Command{CommandKind::CreditAdd, 10000}));
    EXPECT_EQ(ParseCommand("TERM"), (Command{CommandKind::Terminate}));
}

TEST(ParseCommand, RefusesAnythingElse) {
    using namespace std::literals;
    for (std::string_view line : {""sv,
                                  "cget"sv,
                                  "CGE"sv,
                                  "CGETX"sv,
                                  "CGET,5"sv,
                                  "CGET "sv,
                                  " CGET"sv,
                                  "TERM,1"sv,
                                  "CUSE"sv,
                                  "CUSE,"sv,
                                  "CUSE50"sv,
                                  "CUSE,0"sv,
                                  "CUSE,-50"sv,
                                  "CUSE,+50"sv,
                                  "CUSE,050"sv,
                                  "CUSE,10001"sv,
                                  "CUSE,99999999999"sv,
                                  "CUSE,5x"sv,
                                  "CUSE,5 "sv,
                                  "CUSE, 5"sv,
                                  "CUSE,,5"sv,
                                  "CUSE,5,5"sv,
                                  "BADD,1e3"sv,
                                  "XXXX,5"sv,
                                  "CADD,\xff"sv,
                                  "CGET\0"sv,
                                  "CG\0T"sv,
                                  "CGET\r"sv,
                                  "\r"sv}) {
        EXPECT_EQ(ParseCommand(line).kind, CommandKind::Invalid) << '"' << line << '"';
    }
}

TEST(ParseAmount, AcceptsOnlyPlainPenceFromOneToTheMaximum) {
    EXPECT_EQ(ParseAmount("1"), 1);
    EXPECT_EQ(ParseAmount("9999"), 9999);
    EXPECT_EQ(ParseAmount("10000"), kMaxAmount);
    for (std::string_view text : {"", "0", "00", "01", "10001", "65536", "-1", "+1", "1.5", " 1"}) {
        EXPECT_FALSE(ParseAmount(text)) << '"' << text << '"';
    }
}

TEST(Replies, AreTheKeywordTheNumberAndCrLf) {
    EXPECT_EQ(CreditReply(250), "CTEL,250\r\n");
    EXPECT_EQ(BankReply(0), "BTEL,0\r\n");
    EXPECT_EQ(kFailReply, "FAIL\r\n");
}

TEST(CommandStream, AnswersEachLineOnceHoweverTheBytesArrive) {
    CommandStream stream;
    EXPECT_TRUE(PushAll(stream, "CG").empty());
    EXPECT_TRUE(PushAll(stream, "ET\r").empty());
    EXPECT_EQ(PushAll(stream, "\n"), (std::vector<Command>{{CommandKind::CreditRead}}));

    EXPECT_EQ(
        PushAll(stream, "BGET\r\nCUSE,50\r\nCADD,5\nCA"),
        (std::vector<Command>{
            {CommandKind::BankRead}, {CommandKind::CreditUse, 50}, {CommandKind::CreditAdd, 5}}));
    EXPECT_EQ(PushAll(stream, "DD,7\r\n"), (std::vector<Command>{{CommandKind::CreditAdd, 7}}));
}

TEST(CommandStream, FeedsOneByteAtATimeAsWellAsAllAtOnce) {
    const std::string bytes = "CGET\r\nxx\r\nBADD,100\r\n\r\nTERM\r\n";
    CommandStream whole;
    const std::vector<Command> expected = PushAll(whole, bytes);
    ASSERT_EQ(expected.size(), 5u);
    CommandStream trickle;
    std::vector<Command> commands;
    for (char c : bytes)
        trickle.Push(std::string_view(&c, 1), commands);
    EXPECT_EQ(commands, expected);
}

TEST(CommandStream, RefusesAnOverlongLineOnceAndRecovers) {
    CommandStream stream;
    const std::string flood(10000, 'C');
    EXPECT_TRUE(PushAll(stream, flood).empty());
    EXPECT_TRUE(PushAll(stream, "CGET\r").empty());  // still the same overlong line
    EXPECT_EQ(PushAll(stream, "\nCGET\r\n"),
              (std::vector<Command>{Command{}, Command{CommandKind::CreditRead}}));

    const std::string longest_padded = "CGET" + std::string(kMaxLineLength - 4, ' ') + "\r\n";
    EXPECT_EQ(PushAll(stream, longest_padded), (std::vector<Command>{Command{}}));
    EXPECT_EQ(PushAll(stream, "CGET\r\n"), (std::vector<Command>{{CommandKind::CreditRead}}));
}

// Random bytes, biased towards the protocol's own characters: the stream never fails, every
// line end gives exactly one command, and a command is accepted only when its line is exactly
// what the game would send.
TEST(CommandStream, SurvivesRandomBytes) {
    std::mt19937 random(20240611);
    const std::string alphabet = "CGETBUSADRM,0123456789-+ \r\n\n\n";
    for (int iteration = 0; iteration < 20000; ++iteration) {
        std::string bytes(random() % 200, '\0');
        const bool binary = iteration % 2 == 0;
        for (char& c : bytes) {
            c = binary ? static_cast<char>(random() % 256) : alphabet[random() % alphabet.size()];
        }
        CommandStream stream;
        std::vector<Command> commands;
        size_t at = 0;
        while (at < bytes.size()) {
            const size_t piece = 1 + random() % 16;
            stream.Push(std::string_view(bytes).substr(at, piece), commands);
            at += piece;
        }
        ASSERT_EQ(commands.size(),
                  static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
        for (const Command& command : commands) {
            if (command.kind == CommandKind::Invalid) continue;
            const std::string line = LineFor(command);
            EXPECT_TRUE(bytes.find(line + "\n") != std::string::npos ||
                        bytes.find(line + "\r\n") != std::string::npos)
                << line;
        }
    }
}

TEST(ParseCommand, AcceptsExactlyTheGamesOwnLinesAmongMutations) {
    std::mt19937 random(7);
    const std::vector<std::string> seeds = {"CGET",    "BGET", "CUSE,50",   "BADD,300",
                                            "CADD,75", "TERM", "CUSE,10000"};
    for (int iteration = 0; iteration < 50000; ++iteration) {
        std::string line = seeds[random() % seeds.size()];
        for (unsigned edits = random() % 3; edits > 0; --edits) {
            const size_t at = random() % (line.size() + 1);
            const char c = static_cast<char>(random() % 256);
            switch (random() % 3) {
                case 0:
                    line.insert(at, 1, c);
                    break;
                case 1:
                    if (at < line.size()) line.erase(at, 1);
                    break;
                default:
                    if (at < line.size()) line[at] = c;
            }
        }
        const Command command = ParseCommand(line);
        if (command.kind != CommandKind::Invalid) {
            ASSERT_EQ(LineFor(command), line);
            if (line.find(',') == std::string::npos) {
                ASSERT_EQ(command.amount, 0);
            } else {
                ASSERT_GE(command.amount, 1);
                ASSERT_LE(command.amount, kMaxAmount);
            }
        }
    }
}

}  // namespace
