#include "engines/graphics/image_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "engines/graphics/display.h"
#include "engines/graphics/registry.h"
#include "graphics_display/display_test_env.h"
#include "graphics_images/picture_files.h"

namespace {

constexpr uint32_t P0 = 0x11223344, P1 = 0x55667788, P2 = 0x99AABBCC, P3 = 0xDDEEFF00;

class ImageLoading : public DisplayTest {
  protected:
    void SetUp() override {
        DisplayTest::SetUp();
        mkdir("Graphic_resource", 0775);
        mkdir("Graphic_resource/Main", 0775);
    }
    void StartTheDisplay() {
        ASSERT_TRUE(StartDisplay());
        before_ = Logged();
    }
    std::string NewLogLines() const { return LoggedSince(before_); }
    static size_t Entries() { return TheDisplayContext.registry.size(); }

    std::string before_;
};

TEST_F(ImageLoading, ATgaKeepsItsPixelsAndAlphaAndIsRegistered) {
    StartTheDisplay();
    // 2 x 4, two frames; stored bottom row first.
    WriteBytes("Graphic_resource/Main/Plate.tga",
               Tga(2, 2, 4, 32, Pixels({P0, P1, P2, P3, 1, 2, 3, 4})));
    static const char* const kName = "Graphic_resource//Main//Plate.tga";
    Surface* surface = LoadImageSurface(kName, 2);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width, 2);
    EXPECT_EQ(surface->height, 4);
    EXPECT_EQ(surface->PixelAt(0, 0), 3u);
    EXPECT_EQ(surface->PixelAt(1, 1), 2u);
    EXPECT_EQ(surface->PixelAt(0, 2), P2);
    EXPECT_EQ(surface->PixelAt(1, 3), P1);
    EXPECT_EQ(surface->colourKey, 0x00FF00FFu);

    ASSERT_EQ(Entries(), 1u);
    const ImageEntry& entry = *TheDisplayContext.registry.front();
    EXPECT_EQ(entry.name, kName);  // the name itself, not a copy
    EXPECT_EQ(entry.frameCount, 2);
    const ImageRect* frame = FindImageFrame(kName, 1);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->top, 2);
    EXPECT_EQ(frame->bottom, 4);
    EXPECT_EQ(NewLogLines(), "");
}

TEST_F(ImageLoading, TgaFailuresAreLoggedAndLeaveNoEntry) {
    StartTheDisplay();
    Bytes withIdField = Tga(2, 1, 1, 32, Pixels({P0}));
    withIdField[0] = 4;
    Bytes overrun = {0x85};
    Append32(overrun, P0);
    Bytes truncated = Tga(2, 2, 2, 32, Pixels({P0, P1, P2}));
    const std::pair<Bytes, std::string> cases[] = {
        {Tga(2, 1, 1, 24, {1, 2, 3}), "Non 32bit image not supported\n"},
        {withIdField, "unknown image format\n"},
        {truncated, "unknown image format\n"},
        {Bytes{0, 0, 2}, "unknown image format\n"},
        {Tga(10, 2, 2, 32, overrun), "Failed to buffer allocation\n"},
        {Tga(2, 0, 3, 32, {}),
         "Failed to create DDv7 surface ( -2147024809,80070057 )\nFailed  surface creation\n"},
    };
    for (const auto& [bytes, message] : cases) {
        WriteBytes("Graphic_resource/Main/Bad.tga", bytes);
        std::string earlier = Logged();
        EXPECT_EQ(LoadImageFile("Graphic_resource//Main//Bad.tga"), nullptr) << message;
        EXPECT_EQ(LoggedSince(earlier), message);
    }
    EXPECT_EQ(Entries(), 0u);
}

TEST_F(ImageLoading, AMissingTgaFailsSilentlyAndANullNameIsLogged) {
    StartTheDisplay();
    EXPECT_EQ(LoadImageFile("Graphic_resource//Main//Missing.tga"), nullptr);
    EXPECT_EQ(LoadImageFile("Graphic_resource//Main"), nullptr);  // a directory
    EXPECT_EQ(NewLogLines(), "Failed to load surface ( 10 )\n");
    EXPECT_EQ(LoadImageSurface(nullptr, 1), nullptr);
    EXPECT_EQ(NewLogLines(), "Failed to load surface ( 10 )\nFailed to pFilename == 0\n");
    EXPECT_EQ(Entries(), 0u);
}

TEST_F(ImageLoading, OnlyLowerOrUpperCaseTgaNamesGoToTheTgaReader) {
    EXPECT_TRUE(IsTgaName("a//b.tga"));
    EXPECT_TRUE(IsTgaName("a//B.TGA"));
    EXPECT_TRUE(IsTgaName("a.tga.png"));
    EXPECT_FALSE(IsTgaName("a//b.Tga"));
    EXPECT_FALSE(IsTgaName("a//b.png"));

    StartTheDisplay();
    WriteBytes("Graphic_resource/Main/Mixed.Tga", Tga(2, 1, 1, 32, Pixels({P0})));
    EXPECT_EQ(LoadImageFile("Graphic_resource//Main//Mixed.Tga"), nullptr);
    EXPECT_EQ(NewLogLines(), "Failed to load surface ( 13 )\n");
    WriteBytes("Graphic_resource/Main/Png.Tga", Png(1, 1, PNG_FORMAT_BGR, {1, 2, 3}));
    EXPECT_NE(LoadImageFile("Graphic_resource//Main//Png.Tga"), nullptr);
}

TEST_F(ImageLoading, APngWithAlphaIsBlendedOntoTheBlankSurface) {
    StartTheDisplay();
    Bytes pixels = {200, 100, 50, 128, 9, 9, 9, 0, 10, 20, 30, 255};
    WriteBytes("Graphic_resource/Main/Box.png", Png(3, 1, PNG_FORMAT_BGRA, pixels));
    Surface* surface = LoadImageSurface("Graphic_resource//Main//Box.png", 1);
    ASSERT_NE(surface, nullptr);
    // Colours weighted by alpha, over black; the alpha kept in the fourth byte.
    EXPECT_EQ(surface->PixelAt(0, 0), Bgra(100, 50, 25, 128));
    EXPECT_EQ(surface->PixelAt(1, 0), 0u);
    EXPECT_EQ(surface->PixelAt(2, 0), Bgra(10, 20, 30, 255));
    EXPECT_EQ(NewLogLines(), "");
}

TEST_F(ImageLoading, PicturesWithoutAlphaAreCopied) {
    StartTheDisplay();
    WriteBytes("Graphic_resource/Main/Flat.png", Png(2, 1, PNG_FORMAT_BGR, {1, 2, 3, 255, 0, 255}));
    Surface* png = LoadImageFile("Graphic_resource//Main//Flat.png");
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->PixelAt(0, 0), Bgra(1, 2, 3, 0));
    EXPECT_EQ(png->PixelAt(1, 0), Bgra(255, 0, 255, 0));  // magenta stays the key colour

    // 2 x 2 at 24 bits, rows padded to 8 bytes, bottom row first.
    WriteBytes("Graphic_resource/Main/Intro.bmp",
               Bmp(2, 2, 24, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}));
    Surface* bmp = LoadImageSurface("Graphic_resource//Main//Intro.bmp", 2);
    ASSERT_NE(bmp, nullptr);
    EXPECT_EQ(bmp->PixelAt(0, 0), Bgra(7, 8, 9, 0));
    EXPECT_EQ(bmp->PixelAt(1, 1), Bgra(4, 5, 6, 0));
    EXPECT_EQ(NewLogLines(), "");
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(ImageLoading, UndecodableFilesAreLoggedWithTheirReason) {
    StartTheDisplay();
    WriteBytes("Graphic_resource/Main/Junk.png",
               Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
    EXPECT_EQ(LoadImageFile("Graphic_resource//Main//Junk.png"), nullptr);
    EXPECT_EQ(LoadImageFile("Graphic_resource//Main//Gone.bmp"), nullptr);
    EXPECT_EQ(NewLogLines(), "Failed to load surface ( 13 )\nFailed to load surface ( 10 )\n");
    EXPECT_EQ(Entries(), 0u);
}

TEST_F(ImageLoading, NothingLoadsBeforeTheDisplayStarts) {
    WriteBytes("Graphic_resource/Main/Plate.tga", Tga(2, 1, 1, 32, Pixels({P0})));
    WriteBytes("Graphic_resource/Main/Box.png", Png(1, 1, PNG_FORMAT_BGR, {1, 2, 3}));
    std::string earlier = Logged();
    EXPECT_EQ(LoadImageFile("Graphic_resource//Main//Plate.tga"), nullptr);
    EXPECT_EQ(LoadImageFile("Graphic_resource//Main//Box.png"), nullptr);
    EXPECT_EQ(LoggedSince(earlier), "Failed  surface creation\nFailed to create surface\n");
    EXPECT_EQ(Entries(), 0u);
}

TEST_F(ImageLoading, TheSameFileTwiceGivesTwoSurfacesAndTheFirstEntryAnswers) {
    StartTheDisplay();
    WriteBytes("Graphic_resource/Main/Ball.tga", Tga(2, 1, 4, 32, Pixels({P0, P1, P2, P3})));
    static const char* const kName = "Graphic_resource//Main//Ball.tga";
    Surface* first = LoadImageSurface(kName, 2);
    Surface* second = LoadImageSurface(kName, 4);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(Entries(), 2u);
    EXPECT_EQ(FindImageFrame(kName, 1)->top, 2);  // two frames of two rows: the first entry
    EXPECT_EQ(FindImageFrame(kName, 3)->top, 3);  // only the second entry has a fourth frame
}

TEST_F(ImageLoading, NamesFromAWindowsCabinetFindTheirFiles) {
    StartTheDisplay();
    WriteBytes("Graphic_resource/Main/Plate.tga", Tga(2, 1, 1, 32, Pixels({P0})));
    static const char* const kName = "graphic_resource//MAIN//plate.tga";
    ASSERT_NE(LoadImageFile(kName), nullptr);
    EXPECT_NE(FindImageFrame(kName, 0), nullptr);
}

}  // namespace
