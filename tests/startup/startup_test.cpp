// The vantor program as its launcher sees it: exit codes, the log and the credit link.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <utility>

#include "app/vantor.h"
#include "engines/control/record_file.h"
#include "platform/platform.h"
#include "support/fake_credit_service.h"
#include "support/packed_questions.h"
#include "support/run_program.h"
#include "support/small_content.h"
#include "support/wallet_service.h"
#include "support/work_dir.h"

namespace {

using Commands = std::vector<std::string>;

std::vector<std::string> HeadlessArgs(uint16_t port, std::vector<std::string> more = {}) {
    std::vector<std::string> args{"--headless", "--credit-port", std::to_string(port), "--trace",
                                  "trace.txt"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// A credit service that has 500p of credit and nothing in the bank.
void AnswerLikeAService(FakeCreditService& service) {
    service.SetResponder([](const std::string& command) -> std::string {
        if (command == "CGET\r\n") return "CTEL,500\r\n";
        if (command == "BGET\r\n") return "BTEL,0\r\n";
        return "FAIL\r\n";
    });
}

}  // namespace

TEST(Startup, NoCreditServiceExitsTwoWithoutALog) {
    ScopedWorkDir dir;
    uint16_t port;
    {
        FakeCreditService gone;
        port = gone.Port();
    }
    ProgramResult run = RunProgram("vantor", HeadlessArgs(port));
    EXPECT_EQ(run.exitStatus, 2) << run.output;
    EXPECT_NE(run.standardError.find("no credit service is listening on 127.0.0.1:" +
                                     std::to_string(port)),
              std::string::npos)
        << run.output;
    EXPECT_FALSE(std::filesystem::exists("~system")) << "nothing is made before the link is up";
    EXPECT_EQ(ReadFileText("trace.txt"), "0 exit 2\n");
}

TEST(Startup, AFileNamedSystemEndsTheProgramAtOnceWithZero) {
    ScopedWorkDir dir;
    WriteFileText("~system", "in the way");
    FakeCreditService service;
    ProgramResult run = RunProgram("vantor", HeadlessArgs(service.Port()));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(ReadFileText("trace.txt"), "0 exit 0\n");
    EXPECT_TRUE(service.Commands().empty()) << "not even TERM: nothing else runs";
}

TEST(Startup, MissingQuestionPacksLogSendTermAndExit249) {
    ScopedWorkDir dir;
    WritePlainSpriteFiles(Colour{10, 20, 30});
    FakeCreditService service;
    AnswerLikeAService(service);
    ProgramResult run = RunProgram("vantor", HeadlessArgs(service.Port()));
    EXPECT_EQ(run.exitStatus, 249) << run.output;
    std::string log = ReadFileText("~system/logs/Vantor.txt");
    EXPECT_NE(log.find("Vantor " VANTOR_VERSION_TEXT " - Start of Log\n\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find(" - Initialise Questions Failed\n"), std::string::npos) << log;
    ASSERT_TRUE(service.WaitForCommands(1));
    EXPECT_EQ(service.Commands().back(), "TERM\r\n");
    EXPECT_TRUE(std::filesystem::is_directory("~system/upload"));
}

// The version the project sets is the one the program reports and the log's banner shows.
TEST(Startup, VersionIsTheProjectsOwn) {
    ScopedWorkDir dir;
    const ProgramResult run = RunProgram("vantor", {"--version"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, "vantor " VANTOR_VERSION_TEXT "\n");
}

// A cabinet without the question font ends the game it just sold as the round starts: the sale
// stays on the meters, the credit service hears TERM, and the status is 0.
TEST(Startup, AMissingQuestionFontEndsTheRunInOrderWithZero) {
    ScopedWorkDir dir;
    WritePlainSpriteFiles(Colour{10, 20, 30});
    ASSERT_TRUE(CopyPackedQuestionsInto(std::filesystem::current_path()));
    WalletService wallet(100, 0);
    ASSERT_TRUE(wallet.Listening());
    EXPECT_EXIT(
        {
            platform::Options options;
            options.headless = true;
            options.creditPort = wallet.Port();
            options.autoplay = "games=1";
            std::string error;
            platform::Start(options, error);
            platform::RefuseQuestionFont(true);
            std::exit(ExitStatus(RunVantor(options)));
        },
        ::testing::ExitedWithCode(0), "");
    const std::vector<std::string> commands = wallet.Commands();
    ASSERT_FALSE(commands.empty());
    EXPECT_EQ(commands.back(), "TERM\r\n");
    EXPECT_EQ(wallet.Credit(), 50) << "the game was sold";
    EXPECT_NE(ReadFileText("~system/logs/Vantor.txt")
                  .find("error - cannot load Question font...aborting\n"),
              std::string::npos);
    RecordContents record;
    const std::string bytes = ReadFileText("data/brasswick.rec");
    ASSERT_TRUE(DecodeRecord(std::vector<uint8_t>(bytes.begin(), bytes.end()), record));
    EXPECT_EQ(record.counters[0], 1) << "the sale stays on the meters";
}

TEST(Startup, HelpGoesToStandardOutputAndABadCommandLineIsOneLine) {
    ScopedWorkDir dir;
    const ProgramResult help = RunProgram("vantor", {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.standardOutput.rfind("usage: vantor", 0), 0u);
    EXPECT_EQ(help.standardError, "");

    const ProgramResult bad = RunProgram("vantor", {"--credit-port=nope"});
    EXPECT_EQ(bad.exitStatus, 64);
    EXPECT_EQ(bad.standardOutput, "");
    EXPECT_EQ(std::count(bad.standardError.begin(), bad.standardError.end(), '\n'), 1)
        << bad.standardError;
    EXPECT_NE(bad.standardError.find("--credit-port"), std::string::npos);
}

// Nothing is sold on a screen nobody sees: with no display, SDL's stand-in drivers are refused
// before the credit service is even asked, while --headless still runs.
TEST(Startup, ADisplayDriverThatShowsNothingIsRefusedWithoutHeadless) {
    ScopedWorkDir dir;
    FakeCreditService service;
    AnswerLikeAService(service);
    for (const char* driver : {"SDL_VIDEODRIVER=offscreen", "SDL_VIDEODRIVER=dummy"}) {
        const ProgramResult run =
            RunProgram("vantor", {"--windowed", "--credit-port", std::to_string(service.Port())},
                       {"DISPLAY", "WAYLAND_DISPLAY", driver});
        EXPECT_EQ(run.exitStatus, 255) << driver;
        EXPECT_NE(run.standardError.find("--headless"), std::string::npos) << run.output;
    }
    EXPECT_FALSE(std::filesystem::exists("~system")) << "refused before anything is made";

    const ProgramResult headless =
        RunProgram("vantor", {"--headless", "--credit-port", std::to_string(service.Port())},
                   {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER=offscreen"});
    EXPECT_NE(headless.exitStatus, 255) << headless.output;
    EXPECT_TRUE(std::filesystem::exists("~system/logs/Vantor.txt")) << "the headless run went on";
}

TEST(Startup, ASpriteFileThatWillNotLoadEndsTheRunAsADisplayFailure) {
    ScopedWorkDir dir;
    WritePlainSpriteFiles(Colour{10, 20, 30});
    WriteSpriteFileById(13, {'X', 'X', 0, 0});  // the menu background, not a picture
    RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", "."});
    FakeCreditService service;
    AnswerLikeAService(service);
    ProgramResult run = RunProgram("vantor", HeadlessArgs(service.Port()));
    EXPECT_EQ(run.exitStatus, 250) << run.output;
    EXPECT_NE(run.standardError.find("Vantor.txt names it"), std::string::npos) << run.output;
    std::string log = ReadFileText("~system/logs/Vantor.txt");
    EXPECT_NE(log.find("could not be loaded; display stopped (7)"), std::string::npos) << log;
    EXPECT_NE(log.find("Display lost, stopping (sprite stop code 7)"), std::string::npos) << log;
    EXPECT_TRUE(std::filesystem::exists("data/brasswick.rec")) << "the meters are saved first";
    ASSERT_TRUE(service.WaitForCommands(1));
    EXPECT_EQ(service.Commands().back(), "TERM\r\n");
}

// A picture whose header is sound but whose pixels are cut short passes start-up and fails on the
// screen that first draws it: the run must end there, not go on selling games on a dead screen.
TEST(Startup, APictureThatFailsOnItsFirstDrawEndsTheRunBeforeAnythingIsSold) {
    ScopedWorkDir dir;
    WritePlainSpriteFiles(Colour{10, 20, 30});
    std::vector<uint8_t> cutShort = Bmp24(8, 192, [](int, int) { return Colour{1, 2, 3}; });
    cutShort.resize(54 + 100);
    WriteSpriteFileById(13, cutShort);  // the attract screen's background
    RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", "."});
    FakeCreditService service;
    AnswerLikeAService(service);
    ProgramResult run =
        RunProgram("vantor", HeadlessArgs(service.Port(), {"--autoplay", "games=1"}));
    EXPECT_EQ(run.exitStatus, 250) << run.output;
    const std::string log = ReadFileText("~system/logs/Vantor.txt");
    EXPECT_NE(log.find("could not be loaded; display stopped (7)"), std::string::npos) << log;
    EXPECT_NE(log.find("Display lost, stopping (sprite stop code 7)"), std::string::npos) << log;
    const std::regex failedDraw("Failed parameters");
    const auto failedDraws = std::distance(std::sregex_iterator(log.begin(), log.end(), failedDraw),
                                           std::sregex_iterator());
    EXPECT_LT(failedDraws, 100) << "the run ends within a frame of the failure";
    ASSERT_TRUE(service.WaitForCommands(1));
    for (const std::string& command : service.Commands())
        EXPECT_EQ(command.rfind("CUSE", 0), std::string::npos) << "no game is sold blind";
    EXPECT_EQ(service.Commands().back(), "TERM\r\n");
}

// The cabinet is switched off (its window closed) before the meters were read: the record file on
// disk is the only true copy and must be left exactly as it was.
TEST(Startup, ClosingTheWindowBeforeTheMetersAreReadLeavesTheRecordFileAsItWas) {
    ScopedWorkDir dir;
    WritePlainSpriteFiles(Colour{10, 20, 30});
    RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", "."});
    RecordContents meters;
    meters.balances[0] = -123.5f;
    meters.counters[0] = 7;
    meters.counters[23] = 456;
    meters.firstWritten = "01/02/26";
    const std::vector<uint8_t> bytes = EncodeRecord(meters);
    const std::string before(bytes.begin(), bytes.end());
    std::filesystem::create_directory("data");
    WriteFileText("data/brasswick.rec", before);
    WriteFileText("touches.txt", "0 close\n");
    FakeCreditService service;
    AnswerLikeAService(service);
    ProgramResult run =
        RunProgram("vantor", HeadlessArgs(service.Port(), {"--touches", "touches.txt"}));
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(ReadFileText("data/brasswick.rec"), before);
}

// A run of the program in a process where an earlier run was cut short mid-game (the window
// closed during the question round) plays exactly as the first run of the process: nothing the
// earlier runs left in the modules (an open game record, deadlines, the board, the modelled
// player) reaches it, so the same two games give the same trace, money moves and log.
TEST(Startup, ARunAfterOneCutShortInTheSameProcessPlaysAsTheFirst) {
    struct Run {
        std::string trace;
        std::vector<std::string> commands;
        std::string log;
    };
    const auto play = [](const std::string& touches) {
        ScopedWorkDir dir;
        WritePlainSpriteFiles(Colour{10, 20, 30});
        EXPECT_TRUE(CopyPackedQuestionsInto(std::filesystem::current_path()));
        WriteFileText("touches.txt", touches);
        WalletService wallet(150, 0);
        platform::Options options;
        options.headless = true;
        options.creditPort = wallet.Port();
        options.autoplay = "games=2,right=90";
        options.touchesFile = "touches.txt";
        options.traceFile = "trace.txt";
        std::string error;
        EXPECT_TRUE(platform::Start(options, error)) << error;
        EXPECT_EQ(RunVantor(options), kExitOrderly);
        platform::Stop();
        // The log without its time stamps, and the drawing addresses (they move between runs)
        // written as "<address>".
        static const std::regex stamp(R"((^|\n)[0-9/]+ [0-9:]+ - )");
        static const std::regex address(R"(\b(pSrc|pDest)=-?[1-9][0-9]*)");
        const std::string log =
            std::regex_replace(ReadFileText("~system/logs/Vantor.txt"), stamp, "$1");
        return Run{ReadFileText("trace.txt"), wallet.Commands(),
                   std::regex_replace(log, address, "$1=<address>")};
    };
    const auto sold = [](const Run& run) {
        return std::count_if(
            run.commands.begin(), run.commands.end(),
            [](const std::string& command) { return command.rfind("CUSE", 0) == 0; });
    };
    const Run first = play("");
    const Run cutShort = play("8000 close\n");
    const Run again = play("");
    EXPECT_EQ(sold(first), 2);
    EXPECT_EQ(sold(cutShort), 1) << "the window closed during the first game";
    EXPECT_EQ(again.trace, first.trace);
    EXPECT_EQ(again.commands, first.commands);
    EXPECT_EQ(again.log, first.log);
}
