// InitialiseGraphics on a content set of small pictures: every sprite record filled in order,
// the fonts decoded, the described pictures left for their first draw, and the images registered.
#include <gtest/gtest.h>

#include "base/log.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprite_files.h"
#include "graphics_sprites/sprite_pictures.h"
#include "support/work_dir.h"

namespace {

constexpr int kPictureHeight = 192;  // divides into 1, 2, 3, 6 and 96 frames

Rgb Plain(int, int) {
    return Rgb{10, 20, 30};
}

// An uncompressed 32-bit TGA of one colour.
std::vector<uint8_t> TgaBytes(int width, int height) {
    std::vector<uint8_t> bytes(18, 0);
    bytes[2] = 2;
    PutLittleEndian(bytes, 12, static_cast<uint32_t>(width), 2);
    PutLittleEndian(bytes, 14, static_cast<uint32_t>(height), 2);
    bytes[16] = 32;
    bytes.resize(18 + static_cast<size_t>(width) * height * 4, 0x80);
    return bytes;
}

class InitialiseGraphicsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        UnloadAllSprites();
        ForgetFontWidths();
        ASSERT_TRUE(StartDisplay());
        MakeWorkDirs();
        LogOpen();
        for (int id = 1; id <= kSpriteFileCount; ++id) {
            const bool pcx = SpriteFileTable[id - 1].kind == kSpritePcx;
            WriteSpriteFile(
                id, pcx ? PcxBytes(8, kPictureHeight, Plain) : BmpBytes(8, kPictureHeight, Plain));
        }
        std::filesystem::create_directories("Graphic_resource/Main");
        const std::vector<uint8_t> winPlan = TgaBytes(4, 48);
        WriteFileText("Graphic_resource/Main/Winplan.tga",
                      std::string(winPlan.begin(), winPlan.end()));
    }
    void TearDown() override {
        LogClose();
        UnloadAllSprites();
        ForgetFontWidths();
        ResetDisplayForTests();
    }

    static bool Decoded(const Sprite& sprite) {
        return SpriteFileTable[sprite.fileIndex].surface != nullptr;
    }

    ScopedWorkDir workDir;
};

TEST_F(InitialiseGraphicsTest, FillsEverySpriteAndRegistersTheImages) {
    InitialiseGraphics();
    ASSERT_NE(BackBuffer, nullptr);

    EXPECT_EQ(insertCoinsSprite.fileIndex, 8);
    EXPECT_EQ(insertCoinsSprite.frameHeight, kPictureHeight / 2);
    EXPECT_FALSE(Decoded(insertCoinsSprite));
    EXPECT_FALSE(Decoded(menuBackgroundSprite));
    EXPECT_FALSE(Decoded(infoScreenSprite));
    EXPECT_EQ(questionNumber13Sprite.frameHeight, kPictureHeight / 18);
    EXPECT_TRUE(Decoded(transparencySprite));
    EXPECT_TRUE(Decoded(smallLoafSprite));
    EXPECT_EQ(smallLoafSprite.frameHeight, kPictureHeight / 13);
    EXPECT_TRUE(Decoded(congratsBaseSprite));
    EXPECT_EQ(congratsBaseSprite.fileIndex, 55);
    for (int slot = 0; slot < kFontSlots; ++slot) {
        EXPECT_EQ(fontSprites[slot].fileIndex, kFontFileIds[slot] - 1);
        EXPECT_EQ(fontSprites[slot].frameCount, kFontGlyphs);
        EXPECT_EQ(fontSprites[slot].frameHeight, 2);
        EXPECT_TRUE(Decoded(fontSprites[slot]));
    }
    EXPECT_EQ(SpriteFileTable[0].surface, nullptr);  // the loading screen is not on the list

    ASSERT_NE(winPlanImage, nullptr);
    EXPECT_EQ(stakeScreenImage, nullptr);  // missing: logged and left null
    const ImageRect* frame = FindImageFrame("Graphic_resource//Main//Winplan.tga", 23);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->top, 46);
    EXPECT_EQ(frame->bottom, 48);
    EXPECT_EQ(FindImageFrame("Graphic_resource//Main//Winplan.tga", 24), nullptr);
}

TEST_F(InitialiseGraphicsTest, DescribedSpritesCanBeDecodedBeforeTheirFirstDraw) {
    InitialiseGraphics();
    DecodeDescribedSprites();
    for (const Sprite* sprite : {&insertCoinsSprite, &menuBackgroundSprite, &infoScreenSprite,
                                 &questionBoxSprite, &questionNumber13Sprite, &carryOnButtonSprite})
        EXPECT_TRUE(Decoded(*sprite)) << sprite->fileIndex;
    EXPECT_EQ(questionNumber13Sprite.frameHeight, kPictureHeight / 18);
}

TEST_F(InitialiseGraphicsTest, LogsInAndOutAroundTheLoadingMessages) {
    InitialiseGraphics();
    const std::string log = ReadFileText("~system/logs/Vantor.txt");
    const size_t in = log.find("InitialiseGraphics IN\n");
    const size_t out = log.find("InitialiseGraphics OUT\n");
    ASSERT_NE(in, std::string::npos);
    ASSERT_NE(out, std::string::npos);
    // The first image, "Graphic_resource//Stake//50pPlay.png", is missing and reported inside.
    const size_t failure = log.find("Failed to load surface", in);
    EXPECT_LT(in, failure);
    EXPECT_LT(failure, out);
}

}  // namespace
