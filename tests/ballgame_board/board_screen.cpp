#include "ballgame_board/board_screen.h"

#include <gtest/gtest.h>

#include "base/random.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprite_files.h"
#include "engines/graphics/sprites.h"
#include "graphics_sprites/sprite_pictures.h"
#include "screens/board_drawing.h"

namespace {

constexpr int kMainScreenFileId = 33;
constexpr int kQuestionBackgroundFileId = 18;

uint32_t Opaque(uint32_t colour) {
    return 0xFF000000u | colour;
}

// A strip of `cells` cells, each filled by `pixel` (which returns 0xAARRGGBB).
template <typename PixelOf>
Surface* MakePicture(Surface** slot, const char* name, int width, int height, int cells,
                     PixelOf pixel) {
    Surface* surface = CreateImageSurface(width, height * cells);
    if (!surface) return nullptr;
    for (int cell = 0; cell < cells; ++cell)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                surface->SetPixel(x, cell * height + y, pixel(cell, x, y));
    AddImageEntry(name, width, height * cells, cells);
    *slot = surface;
    return surface;
}

Surface* MakePlainPicture(Surface** slot, const char* name, int picture, int width, int height,
                          int cells) {
    return MakePicture(slot, name, width, height, cells,
                       [picture](int cell, int, int) { return Opaque(CellColour(picture, cell)); });
}

const char* const kValueNames[kValueImageCount] = {
    "Graphic_resource//Main//ValEmpty.tga", "Graphic_resource//Main//Val5.tga",
    "Graphic_resource//Main//Val10.tga",    "Graphic_resource//Main//Val15.tga",
    "Graphic_resource//Main//Val20.tga",    "Graphic_resource//Main//Val25.tga",
    "Graphic_resource//Main//Val30.tga",    "Graphic_resource//Main//Val35.tga",
    "Graphic_resource//Main//Val40.tga",    "Graphic_resource//Main//Val45.tga",
    "Graphic_resource//Main//Val50.tga",    "Graphic_resource//Main//Val60.tga",
    "Graphic_resource//Main//Val70.tga",    "Graphic_resource//Main//Val80.tga",
    "Graphic_resource//Main//Val90.tga",    "Graphic_resource//Main//Val100.tga",
    "Graphic_resource//Main//Val150.tga",   "Graphic_resource//Main//Val200.tga",
    "Graphic_resource//Main//Val300.tga",   "Graphic_resource//Main//Val500.tga",
};

void MakePictures() {
    MakePlainPicture(&redBallImage, kRedBallName, kRedBallPicture, 50, 70, 11);
    MakePlainPicture(&blueBallImage, kBlueBallName, kBlueBallPicture, 50, 70, 11);
    MakePlainPicture(&emptyRedCupImage, "Graphic_resource//Main//EmptyRedCup.tga", kRedCupPicture,
                     50, 70, 1);
    MakePlainPicture(&emptyBlueCupImage, "Graphic_resource//Main//EmptyBlueCup.tga",
                     kBlueCupPicture, 50, 70, 1);
    MakePlainPicture(&emptyValueImage, kValueNames[0], kValuePictures, 40, 20, 10);
    for (int i = 1; i < kValueImageCount; ++i)
        MakePlainPicture(&ballValueImages[i - 1], kValueNames[i], kValuePictures + i, 40, 20, 10);
    for (auto [slot, name, picture] :
         {std::tuple{&winPlanImage, kWinPlanName, kWinPlanPicture},
          {&winPlanBrightImage, kWinPlanBrightName, kWinPlanBrightPicture}}) {
        MakePicture(slot, name, 100, 27, 24, [picture](int cell, int x, int) {
            if (cell == kPlateOverlayCell && x >= 10) return 0u;  // clear beyond its left edge
            return Opaque(CellColour(picture, cell));
        });
    }
    MakePicture(&highlight2Image, "Graphic_resource//Menu//HiLite2.tga", 33, 33, 1,
                [](int, int x, int y) {
                    const int dx = x - 16, dy = y - 16;
                    return dx * dx + dy * dy <= 100 ? Opaque(CellColour(kSparklePicture, 0)) : 0u;
                });
    MakePlainPicture(&pickPrizeBallImage, "Graphic_resource//Main//PickPrizeBall.tga",
                     kPickPrizeBallPicture, 200, 60, 1);
    MakePlainPicture(&pickADifferentBallImage, "Graphic_resource//Main//PickADiffBall.tga",
                     kPickDifferentBallPicture, 200, 60, 1);
    MakePlainPicture(&vantorOverImage, "Graphic_resource//Main//Vantorover.tga", kVantorOverPicture,
                     200, 60, 1);
    MakePlainPicture(&prizeBallOverImage, "Graphic_resource//Main//PrizeBallover.tga",
                     kPrizeBallOverPicture, 200, 60, 1);
    MakePlainPicture(&yourBallLeftImage, "Graphic_resource//Main//Your_ball_Left.tga",
                     kYourBallLeftPicture, 50, 70, 1);
    MakePlainPicture(&yourBallRightImage, "Graphic_resource//Main//Your_ball_Right.tga",
                     kYourBallRightPicture, 50, 70, 1);
}

Rgb ToRgb(uint32_t colour) {
    return Rgb{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
               static_cast<uint8_t>(colour)};
}

}  // namespace

uint32_t CellColour(int picture, int cell) {
    return static_cast<uint32_t>(picture * 4) << 16 | static_cast<uint32_t>(cell * 10 + 5) << 8 |
           77u;
}

uint32_t BoardBackgroundColour(int x, int y) {
    return static_cast<uint32_t>(x & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 | 200u;
}

uint32_t QuestionBackgroundColour(int x, int y) {
    return static_cast<uint32_t>(x & 0xFF) << 16 | static_cast<uint32_t>(y & 0xFF) << 8 | 100u;
}

void Scribble(int left, int top, int right, int bottom) {
    FillBackBufferRect(left, top, right, bottom, kScribble);
}

BoardScreen::BoardScreen() {
    ResetDisplayForTests();
    UnloadAllSprites();
    EXPECT_TRUE(StartDisplay());
    WriteSpriteFile(kMainScreenFileId, BmpBytes(800, 600, [](int x, int y) {
                        return ToRgb(BoardBackgroundColour(x, y));
                    }));
    // Only the strip along the top, where the sparkle goes, is needed of the question screen.
    WriteSpriteFile(kQuestionBackgroundFileId, BmpBytes(800, 100, [](int x, int y) {
                        return ToRgb(QuestionBackgroundColour(x, y));
                    }));
    LoadSprite(mainScreenSprite, kMainScreenFileId, 1);
    LoadSprite(questionBackgroundSprite, kQuestionBackgroundFileId, 1);
    MakePictures();
}

BoardScreen::~BoardScreen() {
    ForgetGraphics();
    UnloadAllSprites();
    ResetDisplayForTests();
}

void BoardRun::StartBoardRun(const std::string& touches, const std::function<void()>& setUp) {
    screen_.reset();
    Start(touches, Pictures::None);
    screen_ = std::make_unique<BoardScreen>();
    if (setUp) setUp();
    SeedRandom(1);
}

std::vector<ScreenRun::Sound> BoardRun::FinishRun() {
    Stop();
    return TimedSounds();
}
