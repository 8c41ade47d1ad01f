#include "rules/question_packs.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "pack_paths.h"
#include "rules/pack_format.h"

namespace {

// Every pack holds three questions that say where they came from: "<category> <truth> <n>".
std::vector<std::string> MarkedLines(int category, int truth) {
    std::vector<std::string> lines;
    for (int n = 0; n < 3; ++n) {
        char line[48];
        std::snprintf(line, sizeof line, "%c%d %d %d*%02d%02d", DifficultyLetter(category),
                      category, truth, n, category, n);
        lines.push_back(line);
    }
    return lines;
}

// The category and truth named by a marked question's text, or {0, -1} for any other text.
std::pair<int, int> Marks(const char* text) {
    int category = 0, truth = -1, n = 0;
    if (std::sscanf(text, " %d %d %d", &category, &truth, &n) != 3) return {0, -1};
    return {category, truth};
}

class QuestionPacks : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int category = 1; category <= kCategoryCount; ++category) {
            WritePack(2 * category - 1, BuildPack(MarkedLines(category, 1)));
            WritePack(2 * category, BuildPack(MarkedLines(category, 0)));
        }
        questionsAskedThisRound = 0;
        SeedRandom(12345);
    }
    void TearDown() override {
        if (ControlIsOpen()) ControlClose();
        ResetControlData();
        ResetGameState();
    }

    void WritePack(int fileNumber, const std::string& bytes) {
        WriteFileMakingDirs(PackPath(fileNumber), bytes);
    }
    // A pack file of plain bytes, enciphered as a whole.
    void WritePlainPack(int fileNumber, const std::string& plain) {
        WritePack(fileNumber, EncipherPack(plain));
    }
    int CountOf(int fileNumber) { return questionPacks[fileNumber - 1].questionCount; }

    // Opens a game whose question level is `level`: the £1 balance picks a band whose levels
    // include it, and games are opened until one draws it.
    void OpenGameAtLevel(int level) {
        static const float balanceForLevel[] = {2000.0f, 500.0f, 0.0f, 0.0f, -1000.0f};
        uwPriceOfPlay = 100;
        controllerBalances[1] = balanceForLevel[level];
        for (int tries = 0; tries < 1000; ++tries) {
            ASSERT_EQ(ControlOpen(0), 1);
            if (QuestionLevel() == level) return;
            ControlClose();
        }
        FAIL() << "no game drew question level " << level;
    }

    // Asks `draws` questions and counts them by the category they came from.
    std::map<int, int> CategoriesChosen(int draws, uint8_t fixed = 0, int difficulty = 0) {
        std::map<int, int> chosen;
        for (int i = 0; i < draws; ++i) {
            ChooseQuestion(fixed, difficulty);
            const auto [category, truth] = Marks(QuestionText());
            EXPECT_EQ(truth, QuestionAnswer()) << QuestionText();
            ++chosen[category];
        }
        return chosen;
    }

    ScopedWorkDir dir_;
};

int CountIn(const std::map<int, int>& chosen, int first, int last) {
    int count = 0;
    for (const auto& [category, times] : chosen) {
        if (category >= first && category <= last) count += times;
    }
    return count;
}

std::string Shown(const char* line) {
    char text[kQuestionTextSize];
    ExpandQuestionText(line, text, sizeof text);
    return text;
}

TEST_F(QuestionPacks, CountsLinesByTheFinalLineFeedRule) {
    WritePlainPack(1, "eOne*1\neTwo*2\neThree*3\n");
    WritePlainPack(2, "eOne*1\neTwo*2\neThree*3");
    WritePlainPack(3, "");
    WritePlainPack(4, "\n");
    ASSERT_EQ(LoadQuestionPacks(), 1);
    EXPECT_EQ(CountOf(1), 3);
    EXPECT_EQ(CountOf(2), 2) << "a last line without its line feed is never chosen";
    EXPECT_EQ(CountOf(3), 0);
    EXPECT_EQ(CountOf(4), 1);
    EXPECT_EQ(CountOf(48), 3);
}

TEST_F(QuestionPacks, ReaderGivesBackWhatThePackerWrote) {
    const std::vector<std::string> lines = {
        "eThe Thames flows through London.*0101",
        "mWhich 1940s film won the Oscar? It's 'Casablanca'.*0722",
        "hA pint cost #2 in 2020.*2415",
        "eThe Thames flows through London.*0101",
    };
    WritePack(1, BuildPack(lines));
    PackFile pack(questionPacks[0].fileName);
    ASSERT_TRUE(pack.IsOpen());
    for (const std::string& line : lines) {
        pack.ReadPackLine();
        EXPECT_EQ(pack.Line(), CompressPackText(line));
    }
    EXPECT_FALSE(pack.AtEnd());
    pack.ReadPackLine();
    EXPECT_TRUE(pack.AtEnd());
    EXPECT_STREQ(pack.Line(), "");
}

TEST_F(QuestionPacks, ShownTextOfALine) {
    const std::string pound(1, kShownPoundSign);
    // The difficulty letter is a blank, "#" the pound sign, the reference after the last "*" gone.
    EXPECT_EQ(Shown("eA cup of tea costs #2 today.*42"),
              " A cup of tea costs " + pound + "2 today.");
    EXPECT_EQ(Shown("mTabs\tare blanks, \x01\x1B\x07\rcontrols vanish.*0101"),
              " Tabs are blanks, controls vanish.");
    EXPECT_EQ(Shown("hOne*two*33"), " One*two");
    EXPECT_EQ(Shown("hNo reference at all."), " No reference at all.");
    EXPECT_EQ(Shown("xOther letters stay.*1"), "xOther letters stay.");
    EXPECT_EQ(Shown("\x80\x81*9"), std::string(kPackDictionary[0]) + kPackDictionary[1]);
    EXPECT_EQ(Shown(""), "");
}

TEST_F(QuestionPacks, BytesOutsideTheCipherRangeStillUseAKeyPosition) {
    // Bytes 0-7 and 248-255 are stored as they are; the letters after them are enciphered with
    // the key byte of their own place in the file.
    const std::string stored = {
        '\x03',
        '\0',
        static_cast<char>(EncipherPackByte('m', 2)),
        '\xF8',
        static_cast<char>(EncipherPackByte('b', 4)),
        static_cast<char>(EncipherPackByte('\n', 5)),
        '\xFF',
        static_cast<char>(EncipherPackByte('\n', 7)),
    };
    WritePack(1, stored);
    PackFile pack(questionPacks[0].fileName);
    pack.ReadPackLine();
    EXPECT_EQ(std::string(pack.Line()), std::string("\x03m\xF8") + "b")
        << "the zero byte is dropped, not taken for the line's end";
    EXPECT_EQ(Shown(pack.Line()), std::string(" ") + kPackDictionary[0xF8 - 128] + "b");
    pack.ReadPackLine();
    EXPECT_EQ(Shown(pack.Line()), kPackDictionary[127]);
}

TEST_F(QuestionPacks, OverLongLinesAreCutNeverOverrun) {
    const std::string longLine(3 * kPackLineSize, 'a');
    WritePlainPack(1, "e" + longLine + "*0101\neNext*0102\n");
    PackFile pack(questionPacks[0].fileName);
    pack.ReadPackLine();
    EXPECT_EQ(std::strlen(pack.Line()), kPackLineSize - 1);
    pack.ReadPackLine();
    EXPECT_STREQ(pack.Line(), "eNext*0102") << "the line after a long one is read whole";

    ASSERT_EQ(LoadQuestionPacks(), 1);
    EXPECT_EQ(CountOf(1), 2);
    LoadQuestion(1, 1);
    EXPECT_EQ(std::strlen(QuestionText()), kQuestionTextSize - 1);

    // Codes that expand six-fold, with the reference far beyond the 199 characters shown.
    const std::string codes(kPackLineSize - 1, '\x80');
    const std::string shown = Shown((codes + "*99").c_str());
    EXPECT_EQ(shown.size(), kQuestionTextSize - 1);
    EXPECT_EQ(shown.find('*'), std::string::npos);
    char small[4];
    ExpandQuestionText("eLonger than four", small, sizeof small);
    EXPECT_STREQ(small, " Lo");
}

TEST_F(QuestionPacks, LoadQuestionDrawsEveryLineOfThePack) {
    ASSERT_EQ(LoadQuestionPacks(), 1);
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        LoadQuestion(17, 0);
        seen.insert(QuestionText());
    }
    EXPECT_EQ(seen, (std::set<std::string>{" 17 0 0", " 17 0 1", " 17 0 2"}));
}

TEST_F(QuestionPacks, QuestionsThatCannotBeFoundSaySo) {
    WritePlainPack(5, "");
    ASSERT_EQ(LoadQuestionPacks(), 1);
    LoadQuestion(25, 1);
    EXPECT_STREQ(QuestionText(), "NOT FOUND! 25, 1");
    LoadQuestion(3, 2);
    EXPECT_STREQ(QuestionText(), "NOT FOUND! 3, 2");
    LoadQuestion(3, 1);
    EXPECT_STREQ(QuestionText(), "NOT FOUND! 3, 1") << "the pack holds no question";
    std::filesystem::remove(PackPath(48));
    LoadQuestion(24, 0);
    EXPECT_STREQ(QuestionText(), "NOT FOUND! 24, 0") << "the pack went after start-up";
}

TEST_F(QuestionPacks, MissingPackStopsStartUp) {
    std::filesystem::remove(PackPath(17));
    EXPECT_EQ(LoadQuestionPacks(), 0);
}

// A folder, or a pipe that nobody writes, in a pack's place is no pack: start-up stops as for a
// missing one instead of counting nothing or waiting for ever.
TEST_F(QuestionPacks, AFolderOrAPipeInAPacksPlaceStopsStartUp) {
    std::filesystem::remove(PackPath(17));
    std::filesystem::create_directory(PackPath(17));
    EXPECT_EQ(LoadQuestionPacks(), 0);
    std::filesystem::remove(PackPath(17));
    ASSERT_EQ(mkfifo(PackPath(17).c_str(), 0600), 0);
    EXPECT_EQ(LoadQuestionPacks(), 0);
}

TEST_F(QuestionPacks, DifficultyFollowsTheRoundAndTheGameLevel) {
    ASSERT_EQ(LoadQuestionPacks(), 1);
    OpenGameAtLevel(0);
    // The meanest level is never lowered: the first three questions are medium, the rest hard.
    for (int index = 0; index < 10; ++index) {
        questionsAskedThisRound = index;
        const auto chosen = CategoriesChosen(60);
        const int first = index < 3 ? 5 : 15;
        EXPECT_EQ(CountIn(chosen, first, first + 9), 60) << "question index " << index;
    }
    ControlClose();

    OpenGameAtLevel(4);
    questionsAskedThisRound = 7;
    EXPECT_EQ(CountIn(CategoriesChosen(60), 1, 4), 60) << "level 4 keeps every question easy";
}

TEST_F(QuestionPacks, GenerousLevelsAreSometimesLowered) {
    ASSERT_EQ(LoadQuestionPacks(), 1);
    OpenGameAtLevel(1);
    questionsAskedThisRound = 3;  // level 1: medium; lowered to level 0: hard
    auto chosen = CategoriesChosen(1000);
    EXPECT_EQ(CountIn(chosen, 5, 24), 1000);
    EXPECT_NEAR(CountIn(chosen, 15, 24), 200, 50);
    ControlClose();

    OpenGameAtLevel(3);
    questionsAskedThisRound = 4;  // level 3: easy; lowered to level 2: medium
    chosen = CategoriesChosen(1000);
    EXPECT_EQ(CountIn(chosen, 1, 14), 1000);
    EXPECT_NEAR(CountIn(chosen, 5, 14), 200, 50);
}

TEST_F(QuestionPacks, FixedDifficultyAndEvenAnswers) {
    ASSERT_EQ(LoadQuestionPacks(), 1);
    OpenGameAtLevel(0);
    questionsAskedThisRound = 7;
    const auto chosen = CategoriesChosen(1000, 1, 2);
    EXPECT_EQ(CountIn(chosen, 5, 14), 1000) << "the given difficulty, not the table's";
    for (int category = 5; category <= 14; ++category) {
        EXPECT_NEAR(chosen.at(category), 100, 40) << "category " << category;
    }
    EXPECT_EQ(CountIn(CategoriesChosen(50, 1, 9), 15, 24), 50);
    EXPECT_EQ(CountIn(CategoriesChosen(50, 1, 0), 1, 4), 50);

    int trueAnswers = 0;
    for (int i = 0; i < 1000; ++i) {
        ChooseQuestion(1, 1);
        trueAnswers += QuestionAnswer();
    }
    EXPECT_NEAR(trueAnswers, 500, 60);
}

}  // namespace
