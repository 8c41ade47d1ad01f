// Runs the real pack-questions program and reads what it wrote with the game's own code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pack_paths.h"
#include "rules/question_packs.h"
#include "support/run_program.h"

namespace fs = std::filesystem;

namespace {

ProgramResult PackQuestions(const std::vector<std::string>& arguments) {
    return RunProgram("pack-questions", arguments);
}

std::string CategoryFileName(int category) {
    char name[32];
    std::snprintf(name, sizeof name, "%02d-category.txt", category);
    return name;
}

// The first line every topic file carries.
std::string Header(int category) {
    const char* difficulty = category <= 4 ? "easy" : category <= 14 ? "medium" : "hard";
    char line[64];
    std::snprintf(line, sizeof line, "# Category %02d: Test (%s)\n", category, difficulty);
    return line;
}

// A small bank that packs cleanly: two true and two false statements in every category, with a
// pound sign, a comment, blank lines, a Windows line end and blanks around a statement.
void WriteSmallBank(const fs::path& dir) {
    for (int category = 1; category <= 24; ++category) {
        const std::string n = std::to_string(category);
        std::string text = Header(category) + "\n[TRUE]\n";
        text += "Statement " + n + " true one costs \xC2\xA3" + "5.\n";
        text += "Statement " + n + " true two.\r\n";
        text += "[FALSE]\n# a comment\n";
        text += "Statement " + n + " false one.\n";
        text += "  Statement " + n + " false two.  \n";
        WriteFileMakingDirs(dir / CategoryFileName(category), text);
    }
}

// The statements of one section of a bank file as the game shows them: a blank for the
// difficulty letter and character 127 for the pound sign.
void AddShownStatements(const fs::path& file, const std::string& section,
                        std::vector<std::string>& shown) {
    std::ifstream in(file);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
            line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            inSection = line == section;
            continue;
        }
        if (!inSection) continue;
        std::string text = " ";
        for (std::size_t i = 0; i < line.size(); ++i) {
            const bool pound = line.compare(i, 2, "\xC2\xA3") == 0;
            text += pound ? '\x7F' : line[i];
            i += pound;
        }
        shown.push_back(text);
    }
}

// Every question of a pack as the game would show it.
std::vector<std::string> ShownQuestions(const QuestionPack& pack) {
    std::vector<std::string> shown;
    PackFile file(pack.fileName);
    for (int n = 0; n < pack.questionCount; ++n) {
        file.ReadPackLine();
        char text[kPackLineSize];
        ExpandQuestionText(file.Line(), text, sizeof text);
        shown.push_back(text);
    }
    return shown;
}

TEST(PackQuestions, SmallBankPacksDeterministicallyAndReadsBack) {
    ScopedWorkDir dir;
    WriteSmallBank("bank");
    const ProgramResult run = PackQuestions({"bank", "out"});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    ASSERT_EQ(PackQuestions({"bank", "again"}).exitStatus, 0);
    for (int fileNumber = 1; fileNumber <= 48; ++fileNumber) {
        EXPECT_EQ(ReadFileText(PackPath(fileNumber, "out")),
                  ReadFileText(PackPath(fileNumber, "again")))
            << "pack " << fileNumber;
    }

    fs::current_path("out");
    ASSERT_EQ(LoadQuestionPacks(), 1);
    EXPECT_EQ(ShownQuestions(questionPacks[0]),
              (std::vector<std::string>{" Statement 1 true one costs \x7F"
                                        "5.",
                                        " Statement 1 true two."}));
    EXPECT_EQ(ShownQuestions(questionPacks[47]),
              (std::vector<std::string>{" Statement 24 false one.", " Statement 24 false two."}));

    // The hidden reference names the category, the topic file and the source line.
    PackFile pack(questionPacks[46].fileName);
    pack.ReadPackLine();
    const std::string line = pack.Line();
    EXPECT_EQ(line.substr(line.rfind('*')), "*24a4");
    EXPECT_EQ(line[0], 'h');
}

TEST(PackQuestions, TopicFilesOfACategoryFeedItsPacksInFileNameOrder) {
    ScopedWorkDir dir;
    WriteSmallBank("bank");
    // "07-a..." sorts before "07-category.txt", "07-z..." after it.
    WriteFileMakingDirs("bank/07-zoo.txt",
                        Header(7) + "[FALSE]\nZoo false.\n[TRUE]\nZoo true one.\nZoo true two.\n");
    WriteFileMakingDirs("bank/07-art.txt", Header(7) + "[TRUE]\nArt true.\n[FALSE]\nArt false.\n");
    const ProgramResult run = PackQuestions({"bank", "out"});
    ASSERT_EQ(run.exitStatus, 0) << run.output;

    fs::current_path("out");
    ASSERT_EQ(LoadQuestionPacks(), 1);
    EXPECT_EQ(
        ShownQuestions(questionPacks[12]),
        (std::vector<std::string>{" Art true.",
                                  " Statement 7 true one costs \x7F"
                                  "5.",
                                  " Statement 7 true two.", " Zoo true one.", " Zoo true two."}));
    EXPECT_EQ(ShownQuestions(questionPacks[13]).back(), " Zoo false.");

    // Each reference leads back to its own file: the third file (c) holds "Zoo true two." on
    // its sixth line.
    PackFile pack(questionPacks[12].fileName);
    std::string line;
    for (int n = 0; n < 5; ++n) {
        pack.ReadPackLine();
        line = pack.Line();
    }
    EXPECT_EQ(line.substr(line.rfind('*')), "*07c6");
}

TEST(PackQuestions, MalformedBanksAreRefusedWithTheirPlace) {
    struct Fault {
        const char* what;
        std::string content;  // of category 7's file; empty: the file is missing
        const char* message;
    };
    const std::string header = Header(7);
    const std::string good = header + "[TRUE]\nA true one.\n[FALSE]\nA false one.\n";
    const Fault faults[] = {
        {"star", header + "[TRUE]\nA star * here.\n[FALSE]\nA false one.\n", "07-category.txt:3: "},
        {"hash", header + "[TRUE]\nA true one.\n[FALSE]\nCosts #5.\n", "07-category.txt:5: "},
        {"tab", header + "[TRUE]\nA\ttab.\n[FALSE]\nA false one.\n", "tab"},
        {"non-ASCII", header + "[TRUE]\nA caf\xC3\xA9.\n[FALSE]\nA false one.\n", "non-ASCII"},
        {"control", header + "[TRUE]\nA bell\x07.\n[FALSE]\nA false one.\n", "control"},
        {"too long", header + "[TRUE]\n" + std::string(199, 'x') + "\n[FALSE]\nA false one.\n",
         "200 characters"},
        {"empty section", header + "[TRUE]\nA true one.\n[FALSE]\n# none yet\n",
         "[FALSE] section is empty"},
        {"no section", header + "A true one.\n[TRUE]\nB.\n[FALSE]\nC.\n", "07-category.txt:2: "},
        {"no header", "[TRUE]\nA true one.\n[FALSE]\nA false one.\n", "07-category.txt:1: "},
        {"header of another category", Header(8) + "[TRUE]\nA.\n[FALSE]\nB.\n", "Category 07: "},
        {"header of another difficulty", "# Category 07: Test (hard)\n[TRUE]\nA.\n[FALSE]\nB.\n",
         "(medium)"},
        {"unknown section", good + "[MAYBE]\nD.\n", "unknown section"},
        {"duplicate", header + "[TRUE]\nStatement 3 true two.\n[FALSE]\nA false one.\n",
         "already at"},
        {"missing file", "", "07-*.txt"},
    };
    for (const Fault& fault : faults) {
        ScopedWorkDir dir;
        WriteSmallBank("bank");
        fs::remove(fs::path("bank") / CategoryFileName(7));
        if (!fault.content.empty())
            WriteFileMakingDirs(fs::path("bank") / "07-category.txt", fault.content);
        const ProgramResult run = PackQuestions({"bank", "out"});
        EXPECT_NE(run.exitStatus, 0) << fault.what;
        EXPECT_NE(run.output.find(fault.message), std::string::npos)
            << fault.what << ": " << run.output;
        EXPECT_FALSE(fs::exists(PackPath(1, "out"))) << fault.what << ": nothing is written";
    }
    // The longest statement that fits is accepted.
    ScopedWorkDir dir;
    WriteSmallBank("bank");
    WriteFileMakingDirs(fs::path("bank") / CategoryFileName(7),
                        header + "[TRUE]\n" + std::string(198, 'x') + "\n[FALSE]\nA false one.\n");
    EXPECT_EQ(PackQuestions({"bank", "out"}).exitStatus, 0);
}

TEST(PackQuestions, AnswersLikeALinuxTool) {
    const ProgramResult help = PackQuestions({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.output.rfind("usage: pack-questions [OPTION]... SOURCE_DIR OUTPUT_DIR\n", 0), 0u)
        << help.output;
    const ProgramResult version = PackQuestions({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output, std::string("pack-questions ") + VANTOR_VERSION_TEXT + "\n");
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"bank"}, {"a", "b", "c"}, {"--bogus", "a", "b"}, {"-x"}}) {
        const ProgramResult run = PackQuestions(wrong);
        EXPECT_EQ(run.exitStatus, 2) << wrong[0];
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    }
    ScopedWorkDir dir;
    WriteSmallBank("bank");
    // Options may come first; with two statements a pack a game all but surely repeats one.
    const ProgramResult run = PackQuestions({"--", "bank", "out"});
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("chance of a repeated statement in a game of 11 questions: level 0 "),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("level 4 100.00 %"), std::string::npos) << run.output;
}

TEST(PackQuestions, TheShippedBankPacksIntoQuestionsTheGameCanShow) {
    ScopedWorkDir dir;
    const fs::path source = fs::path(VANTOR_SOURCE_DIR) / "content" / "questions";
    const ProgramResult run = PackQuestions({source.string(), "content"});
    ASSERT_EQ(run.exitStatus, 0) << run.output;

    fs::current_path("content");
    ASSERT_EQ(LoadQuestionPacks(), 1);
    for (const QuestionPack* pack = questionPacks; pack->fileName != nullptr; ++pack) {
        EXPECT_GE(pack->questionCount, 20) << pack->fileName;
        char pattern[8];
        std::snprintf(pattern, sizeof pattern, "%02d-", pack->category);
        std::vector<fs::path> topicFiles;
        for (const auto& entry : fs::directory_iterator(source)) {
            if (entry.path().filename().string().starts_with(pattern))
                topicFiles.push_back(entry.path());
        }
        std::sort(topicFiles.begin(), topicFiles.end());
        std::vector<std::string> expected;
        for (const fs::path& file : topicFiles)
            AddShownStatements(file, pack->truth ? "[TRUE]" : "[FALSE]", expected);
        const std::vector<std::string> shown = ShownQuestions(*pack);
        EXPECT_EQ(shown, expected) << pack->fileName;
        for (const std::string& text : shown) {
            EXPECT_LE(text.size(), kQuestionTextSize - 1) << text;
        }
    }
}

}  // namespace
