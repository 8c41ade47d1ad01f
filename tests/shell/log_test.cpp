#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>

#include "base/log.h"
#include "support/work_dir.h"

namespace {

const char* kLogPath = "~system/logs/Vantor.txt";
const std::string kStamp = R"(\d{2}/\d{2}/\d{4} \d{2}:\d{2}:\d{2} - )";

bool IsDirectory(const char* path) {
    struct stat info;
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

TEST(WorkDirs, MadeInOrderAndExistingOnesCountAsMade) {
    ScopedWorkDir dir;
    EXPECT_EQ(MakeWorkDirs(), 0);
    EXPECT_TRUE(IsDirectory("~system"));
    EXPECT_TRUE(IsDirectory("~system/logs"));
    EXPECT_TRUE(IsDirectory("~system/upload"));
    EXPECT_EQ(MakeWorkDirs(), 0);
}

TEST(WorkDirs, AFileInTheWayFails) {
    ScopedWorkDir dir;
    WriteFileText("~system", "not a directory");
    EXPECT_EQ(MakeWorkDirs(), -1);
}

TEST(Log, BannerAndLinesCarryTheTimeStamp) {
    ScopedWorkDir dir;
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    LogPrint("axBalls[%d].value = %d \n", 3, 150);
    LogPrint(nullptr);
    ASSERT_EQ(LogClose(), 0);
    EXPECT_EQ(LogClose(), -1);

    std::string text = ReadFileText(kLogPath);
    std::regex expected("^" + kStamp + R"(Vantor 1\.0\.0\.1 - Start of Log\n\n)" + kStamp +
                        R"(axBalls\[3\]\.value = 150 \n$)");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(Log, AMessageWithoutLineEndIsContinuedByTheNext) {
    ScopedWorkDir dir;
    MakeWorkDirs();
    LogOpen();
    LogPrint("Failed ");
    LogPrint("1\n");
    LogClose();
    std::string text = ReadFileText(kLogPath);
    EXPECT_TRUE(std::regex_search(text, std::regex("Failed " + kStamp + "1\n$"))) << text;
}

TEST(Log, EachStartReplacesTheLastLog) {
    ScopedWorkDir dir;
    MakeWorkDirs();
    LogOpen();
    LogPrint("first run\n");
    LogClose();
    LogOpen();
    LogClose();
    EXPECT_EQ(ReadFileText(kLogPath).find("first run"), std::string::npos);
}

TEST(Log, NothingIsWrittenWhenTheLogCannotOpen) {
    ScopedWorkDir dir;
    EXPECT_EQ(LogOpen(), -1);  // no "~system/logs"
    EXPECT_EQ(LogPrint("lost\n"), 0);
}

TEST(Log, OverlongMessagesAreCutNotOverrun) {
    ScopedWorkDir dir;
    MakeWorkDirs();
    LogOpen();
    LogPrint("%s\n", std::string(5000, 'x').c_str());
    LogClose();
    std::string text = ReadFileText(kLogPath);
    size_t xs = std::count(text.begin(), text.end(), 'x');
    EXPECT_EQ(xs, 999u);
}

TEST(Log, TraceWritesNothing) {
    ScopedWorkDir dir;
    MakeWorkDirs();
    LogOpen();
    Trace("WaitForStart...\n");
    LogClose();
    EXPECT_EQ(ReadFileText(kLogPath).find("WaitForStart"), std::string::npos);
}
