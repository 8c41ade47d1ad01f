#include "ballgame_offer/offer_screen.h"

#include <filesystem>
#include <fstream>

#include "base/random.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/image_loader.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprites.h"
#include "graphics_sprites/sprite_pictures.h"
#include "platform/host_path.h"
#include "rules/board.h"
#include "rules/offer.h"
#include "rules/offer_calculation.h"
#include "rules/question_packs.h"
#include "screens/board_drawing.h"
#include "screens/question_screen.h"
#include "screens/touch_menu.h"
#include "support/run_program.h"

namespace {

constexpr int kOfferPlateFileId = 53;
constexpr int kAmountFontId = 6;
constexpr uint32_t kBoardSeed = 7;
constexpr int kFirstRound = 5;

ScopedWorkDir* packDir = nullptr;

Rgb ToRgb(uint32_t colour) {
    return Rgb{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
               static_cast<uint8_t>(colour)};
}

// A picture strip whose every cell is one plain colour: the cell colour of the picture.
Surface* MakeStrip(const char* name, int picture, int width, int height, int cells) {
    Surface* surface = CreateImageSurface(width, height * cells);
    if (!surface) return nullptr;
    for (int cell = 0; cell < cells; ++cell)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                surface->SetPixel(x, cell * height + y, 0xFF000000u | CellColour(picture, cell));
    AddImageEntry(name, width, height * cells, cells);
    return surface;
}

// The button strips are BMPs on magenta, read by the game's own loader as the cabinet's are (so
// without alpha): two cells of 140 x 50 in the cell colours, each with a magenta hole at
// kButtonHole that must leave the plate showing.
Surface* LoadButtonStrip(const char* name, int picture) {
    const std::vector<uint8_t> bytes = BmpBytes(140, 100, [picture](int x, int y) {
        if (x == kButtonHole.first && y % 50 == kButtonHole.second) return kMagenta;
        return ToRgb(CellColour(picture, y / 50));
    });
    const std::filesystem::path path = platform::HostPath(name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return LoadImageSurface(name, 2);
}

void MakeOfferPictures() {
    openBallLeftImage =
        MakeStrip("Graphic_resource//Main//Open_Ball_Left.tga", kOfferLeftHalfPicture, 100, 200, 1);
    openBallRightImage = MakeStrip("Graphic_resource//Main//Open_Ball_Right.tga",
                                   kOfferRightHalfPicture, 100, 200, 1);
    vornaOffImage = LoadButtonStrip("Graphic_resource//Main//VornaOff.bmp", kLitButtonsPicture);
    vornaPressedImage =
        LoadButtonStrip("Graphic_resource//Main//VornaPressed.bmp", kPressedButtonsPicture);

    WriteSpriteFile(kOfferPlateFileId,
                    BmpBytes(296, 172, [](int, int) { return ToRgb(kPlateColour); }));
    LoadSprite(offerBaseSprite, kOfferPlateFileId, 1);
    // Every glyph a solid block on the magenta key.
    WriteSpriteFile(kAmountFontId, BmpBytes(10, kGlyphHeight * kFontGlyphs, [](int x, int) {
                        return x < kGlyphWidth ? ToRgb(kFontColour) : Rgb{255, 0, 255};
                    }));
    ForgetFontWidths();
    LoadSprite(fontSprites[FontSlot(kAmountFontId)], kAmountFontId, kFontGlyphs);
}

// The board after the first round: ball 0 is the player's, balls 1 to 5 are opened; no offer made
// yet, nothing won, no try-agains.
void SetUpBoardAfterFirstRound() {
    SetGameState(STATE_BALL_GAME);
    uwPriceOfPlay = 50;
    SeedRandom(kBoardSeed);
    ResetBoard();
    Ball& players = axBalls[0];
    players.inPlay = 0;
    players.isPlayers = 1;
    lPrizeAvailableThisGame = players.value;
    bPrizeBallChosen = true;
    bPickingPrizeBall = false;
    for (int ball = 1; ball <= kFirstRound; ++ball)
        axBalls[ball].inPlay = 0;
    NumberOfOffersMade = 0;
    lWinAmount = 0;
    tryAgainsLeft = 0;
}

}  // namespace

// The packs are made and loaded once; the questions stay in memory for every test.
void OfferScreen::SetUpTestSuite() {
    packDir = new ScopedWorkDir;
    const ProgramResult packed =
        RunProgram("pack-questions", {VANTOR_SOURCE_DIR "/content/questions", packDir->path()});
    ASSERT_EQ(packed.exitStatus, 0) << packed.output;
    ASSERT_EQ(LoadQuestionPacks(), 1);
}

void OfferScreen::TearDownTestSuite() {
    delete packDir;
    packDir = nullptr;
}

void OfferScreen::StartRun(const std::vector<ButtonTouch>& touches) {
    std::string script;
    for (const ButtonTouch& touch : touches) {
        const MenuButton& target = takeOrLeaveMenuButtons[touch.button];
        script += TouchLine(touch.ms, target.x + target.width / 2, target.y + target.height / 2);
    }
    StartBoardRun(script, SetUpBoardAfterFirstRound);
    MakeOfferPictures();
    // The screen as the rounds leave it before an offer.
    DrawSprite(mainScreenSprite, 0, 0, 0, nullptr, 0);
    DrawBoard();
    DrawWinPlan();
}

float OfferScreen::SeedAndPredictOffer(uint32_t seed) const {
    SeedRandom(seed);
    const float offer = CalculateOffer({axBalls, lPrizeAvailableThisGame, OfferLevel(),
                                        NumberOfOffersMade, uwPriceOfPlay})
                            .offer;
    SeedRandom(seed);
    return offer;
}

int CountColour(uint32_t colour, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (ScreenColour(x, y) == colour) ++count;
    return count;
}
