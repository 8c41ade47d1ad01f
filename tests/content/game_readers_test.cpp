// The made content through the game's own readers: every sprite file decodes at every display
// depth, InitialiseGraphics loads every picture with its frame count and logs no failure, and
// the fonts measured by the game fit the boxes the screens write in.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "base/log.h"
#include "content_names.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/image_loader.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprite_files.h"
#include "engines/graphics/sprites.h"
#include "file_formats.h"
#include "platform/host_path.h"
#include "support/work_dir.h"

namespace {

// A working directory whose pictures are the made content set, with the game's log open.
class GameReaders : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        UnloadAllSprites();
        ForgetFontWidths();
        std::filesystem::create_directory_symlink(std::string(CONTENT_DIR) + "/Graphic_resource",
                                                  "Graphic_resource");
        MakeWorkDirs();
        LogOpen();
        ASSERT_TRUE(StartDisplay());
    }
    void TearDown() override {
        LogClose();
        UnloadAllSprites();
        ForgetFontWidths();
        ResetDisplayForTests();
    }

    static std::vector<std::string> LogLines() {
        std::istringstream log(ReadFileText("~system/logs/Vantor.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);)
            lines.push_back(line);
        return lines;
    }

    ScopedWorkDir work_;
};

int FramesOfSpriteFile(int id) {
    for (const SpriteFileName& row : SpriteFileNames())
        if (row.id == id) return row.frames;
    return 0;
}

std::string GameName(const std::string& path) {
    std::string name;
    for (char c : path)
        name += c == '/' ? std::string("//") : std::string(1, c);
    return name;
}

}  // namespace

TEST_F(GameReaders, EverySpriteFileDecodesAtEveryDepth) {
    for (int row = 0; row < kSpriteFileCount; ++row) {
        const SpriteFile& file = SpriteFileTable[row];
        SCOPED_TRACE(file.name);
        const std::vector<uint8_t> bytes = ReadBytes(platform::HostPath(file.name));
        ASSERT_FALSE(bytes.empty()) << "missing";
        int width = 0, height = 0;
        ASSERT_EQ(ReadSpriteSize(bytes, file.kind, width, height), kSpriteReadOk);
        EXPECT_EQ(height % FramesOfSpriteFile(file.id), 0);
        for (int depth : {16, 24, 32}) {
            std::unique_ptr<Surface> picture;
            ASSERT_EQ(DecodeSpriteFile(bytes, file.kind, depth, picture), kSpriteReadOk) << depth;
            EXPECT_EQ(picture->width, width);
            EXPECT_EQ(picture->height, height);
        }
    }
}

TEST_F(GameReaders, InitialiseGraphicsLoadsEveryPictureWithoutAFailure) {
    InitialiseGraphics();
    EXPECT_EQ(SpriteFailureCode(), 0);
    const std::vector<std::string> lines = LogLines();
    auto endsWith = [](const std::string& line, const std::string& end) {
        return line.size() >= end.size() &&
               line.compare(line.size() - end.size(), end.size(), end) == 0;
    };
    size_t in = 0;
    while (in < lines.size() && !endsWith(lines[in], "InitialiseGraphics IN"))
        ++in;
    ASSERT_LT(in + 1, lines.size()) << ReadFileText("~system/logs/Vantor.txt");
    EXPECT_TRUE(endsWith(lines[in + 1], "InitialiseGraphics OUT"))
        << "a failure was logged: " << lines[in + 1];

    // The ball game loads the offer box itself.
    static const char* const kOfferBox = "Graphic_resource//Main//OfferBox.png";
    ASSERT_NE(LoadImageSurface(kOfferBox, 3), nullptr);

    const std::vector<ImageFileName>& expected = ImageFileNames();
    ASSERT_EQ(TheDisplayContext.registry.size(), expected.size());
    size_t i = 0;
    for (const auto& entry : TheDisplayContext.registry) {
        SCOPED_TRACE(expected[i].path);
        EXPECT_EQ(entry->name, GameName(expected[i].path));
        EXPECT_EQ(entry->frameCount, expected[i].frames);
        EXPECT_EQ(entry->height % entry->frameCount, 0);
        ASSERT_NE(FindImageFrame(entry->name, entry->frameCount - 1), nullptr);
        ++i;
    }

    // Measured by the game: credit and bank amounts, offers and wins, and a statement of the
    // bank's longest, 90 characters, fit the boxes the screens write them in.
    EXPECT_TRUE(
        TextFitsBox("\xA3"
                    "100.00",
                    3, 94, 29));
    EXPECT_TRUE(
        TextFitsBox("\xA3"
                    "5.00",
                    6, 102, 34));
    EXPECT_TRUE(TextFitsBox("15", 3, 100, 31));
    EXPECT_TRUE(
        TextFitsBox("The Great Fire of London began in a baker's shop on Pudding Lane and "
                    "burned for four days.",
                    5, 454, 109));
}
