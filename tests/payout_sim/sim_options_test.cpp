// The simulator's command line and its words.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "sim/sim_options.h"
#include "sim/sim_report.h"
#include "support/run_program.h"
#include "support/work_dir.h"

namespace {

SimOptions Parse(std::vector<std::string> args) {
    SimOptions options;
    std::string error;
    EXPECT_TRUE(ParseSimOptions(args, options, error)) << error;
    return options;
}

std::string Refusal(std::vector<std::string> args) {
    SimOptions options;
    std::string error;
    EXPECT_FALSE(ParseSimOptions(args, options, error));
    return error;
}

std::string LastLineOf(const std::string& output) {
    std::string text = output;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text.substr(text.rfind('\n') + 1);
}

const std::regex kLastLine(R"(payout \d+\.\d\d% \(95% CI \d+\.\d\d-\d+\.\d\d%\) over \d+ games)");

}  // namespace

TEST(SimOptions, DefaultsAreBothStakesTheAveragePlayerAndNoOfferTaken) {
    const SimOptions options = Parse({});
    EXPECT_EQ(options.stakes, (std::vector<int16_t>{50, 100}));
    EXPECT_EQ(options.settings.player.rightPercent[0], 90.0);
    EXPECT_EQ(options.settings.player.rightPercent[1], 75.0);
    EXPECT_EQ(options.settings.player.rightPercent[2], 60.0);
    EXPECT_EQ(options.settings.player.take.kind, TakePolicy::Kind::Never);
    EXPECT_LT(options.settings.player.tryAgainRightPercent, 0.0);
}

TEST(SimOptions, EveryOptionIsRead) {
    const SimOptions options = Parse({"--games", "2500", "--stake", "100", "--right", "50,40,30.5",
                                      "--take", "ratio:85", "--seed", "4294967295", "--csv",
                                      "run.csv", "--plot", "run.png", "--try-again-right", "100"});
    EXPECT_EQ(options.settings.games, 2500);
    EXPECT_EQ(options.stakes, (std::vector<int16_t>{100}));
    EXPECT_EQ(options.settings.player.rightPercent[2], 30.5);
    EXPECT_EQ(options.settings.player.take.kind, TakePolicy::Kind::Ratio);
    EXPECT_EQ(options.settings.player.take.percent, 85.0);
    EXPECT_EQ(options.settings.seed, 4294967295u);
    EXPECT_EQ(options.csvPath, "run.csv");
    EXPECT_EQ(options.plotPath, "run.png");
    EXPECT_EQ(options.settings.player.tryAgainRightPercent, 100.0);

    EXPECT_EQ(Parse({"--take", "3"}).settings.player.take.offer, 3);
    EXPECT_EQ(Parse({"--take", "0"}).settings.player.take.kind, TakePolicy::Kind::Never);
    EXPECT_EQ(Parse({"--take", "never"}).settings.player.take.kind, TakePolicy::Kind::Never);
}

TEST(SimOptions, BadOptionsAreRefusedWithTheirName) {
    EXPECT_NE(Refusal({"--games", "0"}).find("--games"), std::string::npos);
    EXPECT_NE(Refusal({"--games", "12x"}).find("--games"), std::string::npos);
    EXPECT_NE(Refusal({"--stake", "75"}).find("--stake"), std::string::npos);
    EXPECT_NE(Refusal({"--right", "90,75"}).find("--right"), std::string::npos);
    EXPECT_NE(Refusal({"--right", "90,75,60,50"}).find("--right"), std::string::npos);
    EXPECT_NE(Refusal({"--right", "90,101,60"}).find("--right"), std::string::npos);
    EXPECT_NE(Refusal({"--right", "90,,60"}).find("--right"), std::string::npos);
    EXPECT_NE(Refusal({"--take", "5"}).find("--take"), std::string::npos);
    EXPECT_NE(Refusal({"--take", "ratio:"}).find("--take"), std::string::npos);
    EXPECT_NE(Refusal({"--take", "ratio:-3"}).find("--take"), std::string::npos);
    EXPECT_NE(Refusal({"--seed", "4294967296"}).find("--seed"), std::string::npos);
    EXPECT_NE(Refusal({"--seed"}).find("needs a value"), std::string::npos);
    EXPECT_NE(Refusal({"--colour", "red"}).find("unknown option --colour"), std::string::npos);
    EXPECT_NE(Refusal({"games"}).find("unexpected argument"), std::string::npos);
}

TEST(SimOptions, ThePlayerIsDescribedInTheReport) {
    EXPECT_EQ(DescribePlayer(Parse({"--right", "50,40,30", "--take", "1"}).settings.player),
              "right 50/40/30 % by difficulty, try-again as the question, takes offer 1");
    EXPECT_EQ(
        DescribePlayer(Parse({"--take", "ratio:90", "--try-again-right", "100"}).settings.player),
        "right 90/75/60 % by difficulty, try-again right 100 %, takes an offer of 90 % of "
        "the average left");
}

TEST(SimLastLine, TwoDecimalsAndNeverBelowZero) {
    PayoutTally tally;
    tally.Add(50, 0, 3);
    tally.Add(50, 45, 3);
    // Ratios 0 and 0.9: payout 45 %, sd 0.6364, half width 1.96 x 0.6364 / sqrt 2 = 88.2 %.
    EXPECT_EQ(LastLine(tally), "payout 45.00% (95% CI 0.00-133.20%) over 2 games");
    EXPECT_TRUE(std::regex_match(LastLine(tally), kLastLine));
}

TEST(SimProgram, BadOptionsExitTwoWithOneLine) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--stake=20"}, {"--games"}, {"--take", "sometimes"}, {"extra"}}) {
        const ProgramResult run = RunProgram("payout-sim", args);
        EXPECT_EQ(run.exitStatus, 2) << args[0];
        EXPECT_EQ(run.standardOutput, "");
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    }
    const ProgramResult help = RunProgram("payout-sim", {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.standardOutput.find("--take K|never|ratio:X"), std::string::npos);
    EXPECT_EQ(RunProgram("payout-sim", {"--version"}).standardOutput,
              "payout-sim " VANTOR_VERSION_TEXT "\n");
}

TEST(SimProgram, ReportsEachStakeAndEndsWithTheLineScriptsRead) {
    ScopedWorkDir dir;
    const ProgramResult run =
        RunProgram("payout-sim", {"--games", "2000", "--seed", "7", "--csv", "series.csv"});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("50p stake\n  games        2000\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("£1 stake\n  games        2000\n"), std::string::npos);
    EXPECT_NE(run.output.find("   100 %          2000"), std::string::npos);
    const std::string last = LastLineOf(run.output);
    EXPECT_TRUE(std::regex_match(last, kLastLine)) << last;
    EXPECT_NE(last.find(" over 4000 games"), std::string::npos) << last;

    const ProgramResult again =
        RunProgram("payout-sim", {"--games", "2000", "--seed", "7", "--stake", "100"});
    const size_t pound = run.output.find("£1 stake");
    const size_t poundEnd = run.output.find("  speed", pound);
    EXPECT_NE(again.output.find(run.output.substr(pound, poundEnd - pound)), std::string::npos)
        << "a stake's run does not depend on the stake simulated before it";
}

TEST(SimProgram, PlotsThePayoutOverTheRun) {
    ScopedWorkDir dir;
    const ProgramResult run =
        RunProgram("payout-sim", {"--games", "3000", "--stake", "50", "--plot", "payout.png"});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    FILE* picture = std::fopen("payout.png", "rb");
    ASSERT_NE(picture, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, picture), 8u);
    std::fclose(picture);
    EXPECT_EQ(signature[1], 'P');
    EXPECT_EQ(signature[2], 'N');
    EXPECT_EQ(signature[3], 'G');
    std::remove("payout.png");

    const ProgramResult failed =
        RunProgram("payout-sim", {"--games", "10", "--csv", "/nonexistent/dir/run.csv"});
    EXPECT_EQ(failed.exitStatus, 1);
    EXPECT_NE(failed.output.find("cannot write /nonexistent/dir/run.csv"), std::string::npos);
    EXPECT_EQ(failed.standardOutput, "") << "refused before the run, not after it";

    // A picture that cannot be saved is one line from the plot program, never a traceback.
    std::filesystem::create_directory("a-folder");
    const ProgramResult unsaved =
        RunProgram("payout-sim", {"--games", "10", "--stake", "50", "--plot", "a-folder"});
    EXPECT_EQ(unsaved.exitStatus, 1);
    EXPECT_EQ(unsaved.standardError, "payout-sim: cannot write a-folder: Is a directory\n");
}
