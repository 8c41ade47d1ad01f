// The sprite engine on the headless display: loading, clipping, keyed copies, layers, fills and
// the frame cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include <memory>

#include "base/input.h"
#include "base/log.h"
#include "engines/graphics/display.h"
#include "engines/graphics/sprite_files.h"
#include "engines/graphics/sprites.h"
#include "graphics_sprites/sprite_pictures.h"
#include "platform/platform.h"
#include "support/work_dir.h"

namespace {

constexpr int kBackFileId = 17;
constexpr int kMenuFileId = 14;
constexpr uint32_t kGrey = 0x00404040;

// Source column and row in red and green, so a screen pixel tells where it came from.
Rgb Coordinates(int x, int y) {
    return Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7};
}

uint32_t SourcePixel(int x, int y) {
    return PixelValue(Coordinates(x, y), 32);
}

class SpriteEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        UnloadAllSprites();
        ASSERT_TRUE(StartDisplay());
    }
    void TearDown() override {
        UnloadAllSprites();
        ResetDisplayForTests();
        for (int depth : {24, 32})
            platform::RefuseDisplayDepth(depth, false);
    }

    Sprite Load(int fileId, const std::vector<uint8_t>& bytes, int frames) {
        WriteSpriteFile(fileId, bytes);
        Sprite sprite;
        LoadSprite(sprite, fileId, frames);
        return sprite;
    }

    // A 100 x 40 sprite whose pixels name their own column and row.
    Sprite HundredWide() { return Load(kBackFileId, BmpBytes(100, 40, Coordinates), 1); }

    ScopedWorkDir workDir;
};

TEST_F(SpriteEngine, DescribeReadsTheSizeAndTheFirstDrawDecodes) {
    WriteSpriteFile(kBackFileId, BmpBytes(12, 30, Coordinates));
    Sprite sprite;
    DescribeSprite(sprite, kBackFileId, 4);
    EXPECT_EQ(sprite.width, 12);
    EXPECT_EQ(sprite.frameHeight, 7);  // 30 / 4, rounded down
    EXPECT_EQ(sprite.fileIndex, kBackFileId - 1);
    EXPECT_EQ(sprite.frameCount, 4);
    const SpriteFile& file = SpriteFileTable[kBackFileId - 1];
    EXPECT_EQ(file.surface, nullptr);

    DrawSprite(sprite, 1, 0, 0, nullptr, 0);
    ASSERT_NE(file.surface, nullptr);
    EXPECT_EQ(BackBuffer->PixelAt(11, 6), SourcePixel(11, 13));

    // Loading again decodes nothing: the sizes come from the surface.
    const Surface* decoded = file.surface.get();
    Sprite again;
    LoadSprite(again, kBackFileId, 2);
    EXPECT_EQ(file.surface.get(), decoded);
    EXPECT_EQ(again.frameHeight, 15);
}

TEST_F(SpriteEngine, ClipsAtTheLeftAndRightOfTheScreen) {
    const Sprite sprite = HundredWide();
    DrawSprite(sprite, 0, -20, 0, nullptr, 0);
    EXPECT_EQ(BackBuffer->PixelAt(0, 0), SourcePixel(20, 0));
    EXPECT_EQ(BackBuffer->PixelAt(79, 39), SourcePixel(99, 39));
    EXPECT_EQ(BackBuffer->PixelAt(80, 0), 0u);

    DrawSprite(sprite, 0, 750, 100, nullptr, 0);
    EXPECT_EQ(BackBuffer->PixelAt(750, 100), SourcePixel(0, 0));
    EXPECT_EQ(BackBuffer->PixelAt(799, 139), SourcePixel(49, 39));
    EXPECT_EQ(BackBuffer->PixelAt(749, 100), 0u);
    EXPECT_EQ(BackBuffer->PixelAt(750, 140), 0u);
}

TEST_F(SpriteEngine, SpritesWhollyOffTheScreenDrawNothing) {
    const Sprite sprite = HundredWide();
    const std::vector<uint8_t> before = BackBuffer->pixels;
    DrawSprite(sprite, 0, 800, 0, nullptr, 0);
    DrawSprite(sprite, 0, 0, 600, nullptr, 0);
    DrawSprite(sprite, 0, -100, 0, nullptr, 0);
    DrawSprite(sprite, 0, 0, -40, nullptr, 0);
    DrawSprite(sprite, 1, 0, 0, nullptr, 0);  // past the last frame
    EXPECT_EQ(BackBuffer->pixels, before);
}

TEST_F(SpriteEngine, FrameThreeOfFortyRowFramesIsRows120To159) {
    const Sprite sprite = Load(kBackFileId, BmpBytes(10, 160, Coordinates), 4);
    ASSERT_EQ(sprite.frameHeight, 40);
    DrawSprite(sprite, 3, 5, 5, nullptr, 0);
    EXPECT_EQ(BackBuffer->PixelAt(5, 5), SourcePixel(0, 120));
    EXPECT_EQ(BackBuffer->PixelAt(14, 44), SourcePixel(9, 159));
    EXPECT_EQ(BackBuffer->PixelAt(5, 45), 0u);
}

TEST_F(SpriteEngine, TheBoxIsLeftRightTopBottom) {
    const Sprite sprite = Load(kBackFileId, BmpBytes(250, 200, Coordinates), 1);
    const ClipBox box{100, 300, 50, 150};
    DrawSprite(sprite, 0, 60, 20, &box, 0);
    EXPECT_EQ(BackBuffer->PixelAt(100, 50), SourcePixel(40, 30));
    EXPECT_EQ(BackBuffer->PixelAt(299, 149), SourcePixel(239, 129));
    EXPECT_EQ(BackBuffer->PixelAt(99, 50), 0u);
    EXPECT_EQ(BackBuffer->PixelAt(300, 100), 0u);
    EXPECT_EQ(BackBuffer->PixelAt(150, 49), 0u);
    EXPECT_EQ(BackBuffer->PixelAt(150, 150), 0u);
}

TEST_F(SpriteEngine, LayerDrawsCapTheBoxAtTheScreenEdge) {
    const Sprite sprite = HundredWide();
    const ClipBox wide{0, 1000, 0, 600};
    DrawSpriteToLayer(2, sprite, 0, 750, 0, &wide, 0);
    EXPECT_EQ(Layer[2]->PixelAt(799, 0), SourcePixel(49, 0));
    EXPECT_EQ(BackBuffer->PixelAt(799, 0), 0u);
    DrawSpriteToLayer(3, sprite, 0, 0, 0, nullptr, 0);  // no such layer: nothing happens
}

TEST_F(SpriteEngine, SaveToLayerAndDrawLayerRestoreTheBackground) {
    const Sprite sprite = HundredWide();
    DrawSprite(sprite, 0, 30, 30, nullptr, 0);
    SaveToLayer(0, 0, 0, 800, 600);
    const std::vector<uint8_t> background = BackBuffer->pixels;
    ClearBackBuffer();
    DrawLayer(0, 0, 0, 0, 0, 0, 800, 600);
    EXPECT_EQ(BackBuffer->pixels, background);

    SaveToLayer(1, 40, 40, 50, 50);
    EXPECT_EQ(Layer[1]->PixelAt(40, 40), SourcePixel(10, 10));
    EXPECT_EQ(Layer[1]->PixelAt(50, 40), 0u);
}

TEST_F(SpriteEngine, DrawLayerShiftsAndClipsBothRectangles) {
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 800; ++x)
            Layer[0]->SetPixel(x, y, 0x10000 + x);

    DrawLayer(0, 10, 0, 0, 0, 0, 800, 1);  // source starts 10 left of the layer
    EXPECT_EQ(BackBuffer->PixelAt(9, 0), 0u);
    EXPECT_EQ(BackBuffer->PixelAt(10, 0), 0x10000u);
    EXPECT_EQ(BackBuffer->PixelAt(799, 0), 0x10000u + 789);

    DrawLayer(0, -20, 0, 0, -30, 1, 100, 2);  // both edges off: screen x shows layer x + 20
    EXPECT_EQ(BackBuffer->PixelAt(0, 1), 0x10000u + 20);
    EXPECT_EQ(BackBuffer->PixelAt(99, 1), 0x10000u + 119);
    EXPECT_EQ(BackBuffer->PixelAt(100, 1), 0u);
}

class SpriteEngineAtDepth : public SpriteEngine, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        for (int depth : {24, 32})
            platform::RefuseDisplayDepth(depth, depth > GetParam());
        ASSERT_TRUE(StartDisplay());
        ASSERT_EQ(DisplayBitsPerPixel(), GetParam());
    }
    uint32_t Colour(Rgb c) const { return PixelValue(c, GetParam()); }
};

TEST_P(SpriteEngineAtDepth, KeyedDrawsLeaveMagentaOut) {
    auto pattern = [](int x, int) { return x % 2 ? kMagenta : Rgb{0, 200, 0}; };
    const Sprite sprite = Load(kMenuFileId, BmpBytes(4, 1, pattern), 1);
    FillBackBufferRect(0, 0, 800, 600, Colour({64, 64, 64}));
    DrawSprite(sprite, 0, 0, 0, nullptr, 1);
    EXPECT_EQ(BackBuffer->PixelAt(0, 0), Colour({0, 200, 0}));
    EXPECT_EQ(BackBuffer->PixelAt(1, 0), Colour({64, 64, 64}));
    DrawSprite(sprite, 0, 0, 0, nullptr, 0);
    EXPECT_EQ(BackBuffer->PixelAt(1, 0), DisplayColourKey());
}

TEST_P(SpriteEngineAtDepth, DrawLayerKeyModes) {
    const uint32_t green = Colour({0, 200, 0});
    Layer[1]->SetPixel(0, 0, DisplayColourKey());
    Layer[1]->SetPixel(1, 0, 255);
    Layer[1]->SetPixel(2, 0, green);
    auto drawWithMode = [](int keyMode) {
        FillBackBufferRect(0, 0, 3, 1, 7);
        DrawLayer(1, 0, 0, keyMode, 0, 0, 3, 1);
        return std::vector<uint32_t>{BackBuffer->PixelAt(0, 0), BackBuffer->PixelAt(1, 0),
                                     BackBuffer->PixelAt(2, 0)};
    };
    const uint32_t key = DisplayColourKey();
    EXPECT_EQ(drawWithMode(0), (std::vector<uint32_t>{key, 255, green}));
    EXPECT_EQ(drawWithMode(1), (std::vector<uint32_t>{7, 255, green}));
    EXPECT_EQ(drawWithMode(2), (std::vector<uint32_t>{7, 255, green}));
    EXPECT_EQ(drawWithMode(4), (std::vector<uint32_t>{key, 7, green}));
}

TEST_P(SpriteEngineAtDepth, PcxSpritesDrawInTheDisplayFormat) {
    auto colours = [](int x, int) { return Rgb{static_cast<uint8_t>(x * 50), 128, 40}; };
    const Sprite sprite = Load(2, PcxBytes(4, 2, colours), 1);
    DrawSprite(sprite, 0, 10, 10, nullptr, 0);
    EXPECT_EQ(BackBuffer->PixelAt(13, 11), Colour(colours(3, 1)));
}

INSTANTIATE_TEST_SUITE_P(Depths, SpriteEngineAtDepth, ::testing::Values(16, 24, 32));

TEST_F(SpriteEngine, FillsStayInsideTheRectangleAndTheScreen) {
    FillBackBufferRect(10, 20, 30, 40, kGrey);
    EXPECT_EQ(BackBuffer->PixelAt(10, 20), kGrey);
    EXPECT_EQ(BackBuffer->PixelAt(29, 39), kGrey);
    EXPECT_EQ(BackBuffer->PixelAt(30, 39), 0u);
    EXPECT_EQ(BackBuffer->PixelAt(29, 40), 0u);
    FillBackBufferRect(-50, 590, 900, 700, kGrey);
    EXPECT_EQ(BackBuffer->PixelAt(0, 599), kGrey);
    EXPECT_EQ(BackBuffer->PixelAt(799, 590), kGrey);
    ClearBackBuffer();
    EXPECT_EQ(BackBuffer->PixelAt(799, 599), 0u);
}

TEST_F(SpriteEngine, PresentShowsTheFrameAndPacesFifteenMilliseconds) {
    FillBackBufferRect(0, 0, 800, 600, kGrey);
    PresentFrame();
    const uint32_t firstEnded = platform::Milliseconds();
    EXPECT_EQ(PrimarySurface->pixels, BackBuffer->pixels);
    const std::vector<uint8_t> shown = PrimarySurface->pixels;

    PresentFrame();
    EXPECT_EQ(platform::Milliseconds() - firstEnded, 15u);
    EXPECT_EQ(PrimarySurface->pixels, shown);

    // A frame drawn late still waits for its deadline only.
    for (int i = 0; i < 40; ++i)
        platform::Yield();
    const uint32_t beforeLate = platform::Milliseconds();
    FlipFrame();
    EXPECT_EQ(platform::Milliseconds(), beforeLate);
}

TEST_F(SpriteEngine, AFlipAloneLeavesTheBackBufferWithTheFrameShownBefore) {
    FillBackBufferRect(0, 0, 800, 600, kGrey);
    PresentFrame();
    FillBackBufferRect(0, 0, 400, 600, 0);
    const std::vector<uint8_t> drawn = BackBuffer->pixels;
    const std::vector<uint8_t> before = PrimarySurface->pixels;
    FlipFrame();
    EXPECT_EQ(PrimarySurface->pixels, drawn);
    EXPECT_EQ(BackBuffer->pixels, before);
    PresentFrame();  // shows the grey frame again and copies it back
    EXPECT_EQ(PrimarySurface->pixels, before);
    EXPECT_EQ(BackBuffer->pixels, before);
}

// What reaches the screen is only the rows each flip reports: applied one flip after another to
// a copy of the screen, they must rebuild every frame shown, whatever was drawn (fills, single
// pixels, copies, clears, draws that change nothing, nothing at all) and whether the frame was
// copied back or only flipped.
TEST_F(SpriteEngine, TheRowsSentRebuildEveryFrameShown) {
    const size_t rowBytes = static_cast<size_t>(PrimarySurface->pitch);
    PresentFrame();
    std::vector<uint8_t> screen = PrimarySurface->pixels;
    uint32_t seed = 12345;
    auto next = [&seed](int below) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<uint32_t>(below));
    };
    const uint32_t colours[] = {0, kGrey, 0x00FF8000};
    for (int frame = 0; frame < 300; ++frame) {
        switch (next(6)) {
            case 0: {
                const int top = next(600);
                FillBackBufferRect(next(800), top, next(800) + 1, top + next(40) + 1,
                                   colours[next(3)]);
                break;
            }
            case 1:
                BackBuffer->SetPixel(next(800), next(600), colours[next(3)]);
                break;
            case 2:
                SaveToLayer(0, 0, 0, 800, 600);
                DrawLayer(0, 0, next(30), 0, 0, next(600), 800, 600);
                break;
            case 3:  // a draw of what is there already
                FillBackBufferRect(0, 0, 800, 600, BackBuffer->PixelAt(0, 0));
                break;
            case 4:
                ClearBackBuffer();
                break;
            default:
                break;
        }
        if (next(4) == 0)
            FlipFrame();
        else
            PresentFrame();
        const platform::ChangedRows sent = LastShownRows();
        for (int y = std::max(sent.first, 0); y < std::min(sent.end, 600); ++y)
            std::memcpy(screen.data() + y * rowBytes, PrimarySurface->Row(y), rowBytes);
        ASSERT_EQ(screen, PrimarySurface->pixels) << "frame " << frame;
        if (!sent.Empty()) {
            ASSERT_LT(sent.first, sent.end);
        }
    }
}

TEST_F(SpriteEngine, UnloadReleasesEveryDecodedFile) {
    HundredWide();
    ASSERT_NE(SpriteFileTable[kBackFileId - 1].surface, nullptr);
    UnloadAllSprites();
    for (const SpriteFile& file : SpriteFileTable)
        EXPECT_EQ(file.surface, nullptr);
}

// A bad file stops the display, names itself in the log, and leaves every operation harmless.
class SpriteFailure : public SpriteEngine {
  protected:
    void SetUp() override {
        SpriteEngine::SetUp();
        MakeWorkDirs();
        LogOpen();
    }
    void TearDown() override {
        LogClose();
        SpriteEngine::TearDown();
    }
    std::string LogText() { return ReadFileText("~system/logs/Vantor.txt"); }
};

TEST_F(SpriteFailure, PcxVersionThreeStopsTheDisplay) {
    std::vector<uint8_t> bytes = PcxBytes(4, 4, Coordinates);
    bytes[1] = 3;
    Load(2, bytes, 1);
    EXPECT_EQ(BackBuffer, nullptr);
    EXPECT_EQ(PrimarySurface, nullptr);
    EXPECT_EQ(SpriteFailureCode(), 7);
    EXPECT_NE(LogText().find("Graphic_resource\\transparency.PCX"), std::string::npos);
}

TEST_F(SpriteFailure, MissingAndTruncatedFilesStopTheDisplay) {
    Sprite sprite;
    DescribeSprite(sprite, kMenuFileId, 1);
    EXPECT_EQ(BackBuffer, nullptr);
    EXPECT_EQ(SpriteFailureCode(), 7);

    ASSERT_TRUE(StartDisplay());
    std::vector<uint8_t> bytes = BmpBytes(8, 8, Coordinates);
    bytes.pop_back();
    Load(kBackFileId, bytes, 1);
    EXPECT_EQ(BackBuffer, nullptr);

    ASSERT_TRUE(StartDisplay());
    LoadSprite(sprite, 57, 1);  // not in the table
    EXPECT_EQ(BackBuffer, nullptr);
}

// A bitmap of a kind the reader does not know is refused, never drawn as garbage.
TEST_F(SpriteFailure, ABitmapOfAnotherKindStopsTheDisplay) {
    std::vector<uint8_t> bytes = BmpBytes(8, 8, Coordinates);
    PutLittleEndian(bytes, 30, 5, 4);  // a PNG inside
    Load(kBackFileId, bytes, 1);
    EXPECT_EQ(BackBuffer, nullptr);
    EXPECT_EQ(SpriteFailureCode(), 7);
    EXPECT_NE(
        LogText().find("Graphic_resource\\Menu\\Back.BMP could not be loaded; display stopped (7)"),
        std::string::npos)
        << LogText();
}

TEST_F(SpriteFailure, AFolderInPlaceOfASpriteFileStopsTheDisplay) {
    WriteSpriteFile(kBackFileId, BmpBytes(8, 8, Coordinates));
    std::string path = SpriteFileTable[FindSpriteFileRow(kBackFileId)].name;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::filesystem::remove(path);
    std::filesystem::create_directories(path);
    Sprite sprite;
    LoadSprite(sprite, kBackFileId, 1);
    EXPECT_EQ(BackBuffer, nullptr);
    EXPECT_EQ(SpriteFailureCode(), 7);
}

TEST_F(SpriteFailure, EveryOperationIsHarmlessOnceTheDisplayHasStopped) {
    WriteSpriteFile(kBackFileId, BmpBytes(8, 8, Coordinates));
    Sprite described;
    DescribeSprite(described, kBackFileId, 1);
    Sprite missing;
    DescribeSprite(missing, kMenuFileId, 1);  // its file was never written
    ASSERT_TRUE(SpritesStoppedTheDisplay());

    const std::string logBefore = LogText();
    Sprite sprite;
    LoadSprite(sprite, kBackFileId, 1);
    DescribeSprite(sprite, kBackFileId, 2);
    EXPECT_EQ(sprite.frameHeight, 4);  // headers can still be read
    DrawSprite(described, 0, 0, 0, nullptr, 1);
    DrawSpriteToLayer(0, described, 0, 0, 0, nullptr, 1);
    SaveToLayer(0, 0, 0, 800, 600);
    DrawLayer(0, 0, 0, 1, 0, 0, 800, 600);
    ClearBackBuffer();
    FillBackBufferRect(0, 0, 10, 10, 1);
    CaptureLayer(0, nullptr);
    CrossFade(50, nullptr, true);
    EXPECT_EQ(LogText(), logBefore);  // only the failure that stopped the display is logged

    // The screen that was drawing finds out at its next frame, and the run ends there.
    EXPECT_THROW(PresentFrame(), DisplayStopped);
    EXPECT_THROW(FlipFrame(), DisplayStopped);

    // A display started again draws on.
    ASSERT_TRUE(StartDisplay());
    EXPECT_FALSE(SpritesStoppedTheDisplay());
    PresentFrame();
    const uint32_t start = platform::Milliseconds();
    FlipFrame();
    EXPECT_EQ(platform::Milliseconds() - start, 15u);
}

}  // namespace
