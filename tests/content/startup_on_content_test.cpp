// The vantor program itself on the made content set: it starts, loads every picture with no
// failure between "InitialiseGraphics IN" and "InitialiseGraphics OUT", reaches the attract screen
// with its music, and ends in order when the window closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/fake_credit_service.h"
#include "support/packed_questions.h"
#include "support/run_program.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(
            line.substr(line.find(" - ") == std::string::npos ? 0 : line.find(" - ") + 3));
    return lines;
}

TEST(StartUpOnTheMadeContent, LoadsEveryPictureAndReachesTheAttractScreen) {
    ScopedWorkDir dir;
    for (const fs::directory_entry& entry : fs::directory_iterator(CONTENT_DIR))
        fs::create_symlink(entry.path(), entry.path().filename());
    ASSERT_TRUE(CopyPackedQuestionsInto(fs::current_path()));
    WriteFileText("touches.txt", "2000 capture attract\n2100 close\n");
    FakeCreditService service;
    service.SetResponder([](const std::string& command) -> std::string {
        if (command == "CGET\r\n") return "CTEL,500\r\n";
        if (command == "BGET\r\n") return "BTEL,0\r\n";
        return "FAIL\r\n";
    });
    const ProgramResult run =
        RunProgram("vantor", {"--headless", "--credit-port", std::to_string(service.Port()),
                              "--touches", "touches.txt", "--trace", "trace.txt"});
    EXPECT_EQ(run.exitStatus, 0) << run.output;

    const std::vector<std::string> log = LinesOf(ReadFileText("~system/logs/Vantor.txt"));
    size_t in = 0;
    while (in < log.size() && log[in] != "InitialiseGraphics IN")
        ++in;
    ASSERT_LT(in + 1, log.size());
    EXPECT_EQ(log[in + 1], "InitialiseGraphics OUT") << "nothing failed to load between";
    for (const std::string& line : log)
        EXPECT_EQ(line.find("Failed"), std::string::npos) << line;
    EXPECT_EQ(log.back(), "Closing log");

    const std::string trace = ReadFileText("trace.txt");
    EXPECT_NE(trace.find(" music play\n"), std::string::npos) << trace;
    EXPECT_TRUE(fs::exists("captures/attract.png"));
}

}  // namespace
