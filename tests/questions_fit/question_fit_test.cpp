// The question screen shows a statement in the question font inside a box of 454 x 109: every
// statement the cabinet ships must fit it whole, read back from the packs exactly as the game
// reads them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "base/log.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"
#include "rules/question_packs.h"
#include "support/run_program.h"
#include "support/work_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr int kQuestionFontId = 5;
constexpr int kQuestionBoxWidth = 454;
constexpr int kQuestionBoxHeight = 109;

// Every shown statement of one pack.
std::vector<std::string> ShownStatements(int pack) {
    char name[64];
    std::snprintf(name, sizeof name, "Questions\\trueorfalse\\Data%02d.pck", pack);
    PackFile file(name);
    EXPECT_TRUE(file.IsOpen()) << name;
    std::vector<std::string> shown;
    while (file.IsOpen() && !file.AtEnd()) {
        file.ReadPackLine();
        if (file.Line()[0] == '\0') continue;
        char text[kQuestionTextSize];
        ExpandQuestionText(file.Line(), text, sizeof text);
        shown.emplace_back(text);
    }
    return shown;
}

}  // namespace

TEST(QuestionBankFit, EveryStatementFitsTheQuestionBoxInTheQuestionFont) {
    ScopedWorkDir dir;
    fs::create_directory_symlink(fs::path(CONTENT_DIR) / "Graphic_resource", "Graphic_resource");
    ProgramResult packed =
        RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", dir.path()});
    ASSERT_EQ(packed.exitStatus, 0) << packed.output;
    MakeWorkDirs();
    LogOpen();
    ResetDisplayForTests();
    ASSERT_TRUE(StartDisplay());
    LoadSprite(fontSprites[FontSlot(kQuestionFontId)], kQuestionFontId, 96);
    ASSERT_NE(BackBuffer, nullptr) << "the question font loads";

    int statements = 0;
    for (int pack = 1; pack <= kPackCount; ++pack)
        for (const std::string& text : ShownStatements(pack)) {
            ++statements;
            EXPECT_LT(text.size(), kQuestionTextSize) << "pack " << pack << ": " << text;
            EXPECT_TRUE(TextFitsBox(text, kQuestionFontId, kQuestionBoxWidth, kQuestionBoxHeight))
                << "pack " << pack << " does not fit: \"" << text << "\"";
        }
    EXPECT_GE(statements, kPackCount * 20);
    LogClose();
    ResetDisplayForTests();
}
