#include "engines/graphics/assets.h"

#include <algorithm>
#include <iterator>

#include "base/log.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/image_loader.h"

Surface* fiftyPencePlayImage = nullptr;
Surface* poundPlayImage = nullptr;
Surface* fiftyPenceAnimationImage = nullptr;
Surface* poundAnimationImage = nullptr;
Surface* stakeScreenImage = nullptr;
Surface* winPlanImage = nullptr;
Surface* winPlanBrightImage = nullptr;
Surface* highlightImage = nullptr;
Surface* highlight2Image = nullptr;
Surface* correctImage = nullptr;
Surface* wrongImage = nullptr;
Surface* tryAgainImage = nullptr;
Surface* timedOutImage = nullptr;
Surface* redBallImage = nullptr;
Surface* blueBallImage = nullptr;
Surface* emptyBlueCupImage = nullptr;
Surface* emptyRedCupImage = nullptr;
Surface* emptyValueImage = nullptr;
Surface* ballValueImages[kBallValueImages] = {};
Surface* prizeBallImage = nullptr;
Surface* pickPrizeBallImage = nullptr;
Surface* pickABallImage = nullptr;
Surface* pickADifferentBallImage = nullptr;
Surface* vantorOverImage = nullptr;
Surface* prizeBallOverImage = nullptr;
Surface* yourBallLeftImage = nullptr;
Surface* yourBallRightImage = nullptr;
Surface* middleImage = nullptr;
Surface* openBallRightImage = nullptr;
Surface* openBallLeftImage = nullptr;
Surface* offerBaseImage = nullptr;
Surface* introScreenImage = nullptr;
Surface* congratsImage = nullptr;
Surface* vornaPressedImage = nullptr;
Surface* vornaOffImage = nullptr;
Surface* poundStakeAnimationImages[kStakeAnimationImages] = {};
Surface* fiftyPenceStakeAnimationImages[kStakeAnimationImages] = {};

Sprite insertCoinsSprite;
Sprite creditPanelSprite;
Sprite bankPanelSprite;
Sprite menuBackgroundSprite;
Sprite mainMenuButtonSprite;
Sprite rulesButtonSprite;
Sprite startButtonSprite;
Sprite backButtonSprite;
Sprite infoScreenSprite;
Sprite mainScreenSprite;
Sprite transparencySprite;
Sprite questionBoxSprite;
Sprite questionNumbersSprite;
Sprite secondsSprite;
Sprite questionBackgroundSprite;
Sprite endQuestionBackgroundSprite;
Sprite questionNumber13Sprite;
Sprite passSprite;
Sprite tryAgainSprite;
Sprite outcomesSprite;
Sprite trueButtonSprite;
Sprite falseButtonSprite;
Sprite passTitleSprite;
Sprite tryAgainTitleSprite;
Sprite collectButtonSprite;
Sprite carryOnButtonSprite;
Sprite wellDoneScreenSprite;
Sprite smallLoafSprite;
Sprite bigLoafSprite;
Sprite valuesSprite;
Sprite infoCatSprite;
Sprite infoScreenCatBlinkSprite;
Sprite trailScreenCatBlinkSprite;
Sprite endScreenCatBlinkSprite;
Sprite ovenSprite;
Sprite totalTextSprite;
Sprite catBubbleSprite;
Sprite bonusLoafSprite;
Sprite offerBaseSprite;
Sprite middleSprite;
Sprite gameOverBaseSprite;
Sprite congratsBaseSprite;

namespace {

constexpr int kSingleFrame = 0;  // loaded with LoadImageFile

struct ImageLoad {
    Surface** image;
    const char* name;
    int frames;  // kSingleFrame for a single picture
};

enum class SpriteLoad { Describe, Decode };

struct SpriteRow {
    Sprite* sprite;
    int fileId;
    int frames;
    SpriteLoad load;
};

const char* const kBallValueNames[kBallValueImages] = {
    "Graphic_resource//Main//Val5.tga",   "Graphic_resource//Main//Val10.tga",
    "Graphic_resource//Main//Val15.tga",  "Graphic_resource//Main//Val20.tga",
    "Graphic_resource//Main//Val25.tga",  "Graphic_resource//Main//Val30.tga",
    "Graphic_resource//Main//Val35.tga",  "Graphic_resource//Main//Val40.tga",
    "Graphic_resource//Main//Val45.tga",  "Graphic_resource//Main//Val50.tga",
    "Graphic_resource//Main//Val60.tga",  "Graphic_resource//Main//Val70.tga",
    "Graphic_resource//Main//Val80.tga",  "Graphic_resource//Main//Val90.tga",
    "Graphic_resource//Main//Val100.tga", "Graphic_resource//Main//Val150.tga",
    "Graphic_resource//Main//Val200.tga", "Graphic_resource//Main//Val300.tga",
    "Graphic_resource//Main//Val500.tga", "Graphic_resource//Main//Val1000.tga",
};

const char* const kPoundStakeNames[kStakeAnimationImages] = {
    "Graphic_resource//Stake//Stake11.tga", "Graphic_resource//Stake//Stake12.tga",
    "Graphic_resource//Stake//Stake13.tga", "Graphic_resource//Stake//Stake14.tga",
    "Graphic_resource//Stake//Stake15.tga", "Graphic_resource//Stake//Stake16.tga",
    "Graphic_resource//Stake//Stake17.tga", "Graphic_resource//Stake//Stake18.tga",
    "Graphic_resource//Stake//Stake19.tga", "Graphic_resource//Stake//Stake110.tga",
};

const char* const kFiftyPenceStakeNames[kStakeAnimationImages] = {
    "Graphic_resource//Stake//Stake50p1.tga", "Graphic_resource//Stake//Stake50p2.tga",
    "Graphic_resource//Stake//Stake50p3.tga", "Graphic_resource//Stake//Stake50p4.tga",
    "Graphic_resource//Stake//Stake50p5.tga", "Graphic_resource//Stake//Stake50p6.tga",
    "Graphic_resource//Stake//Stake50p7.tga", "Graphic_resource//Stake//Stake50p8.tga",
    "Graphic_resource//Stake//Stake50p9.tga", "Graphic_resource//Stake//Stake50p10.tga",
};

// Loads 1 to 18, before the ball values.
const ImageLoad kImagesBeforeValues[] = {
    {&fiftyPencePlayImage, "Graphic_resource//Stake//50pPlay.png", 2},
    {&poundPlayImage, "Graphic_resource//Stake//PoundPlay.png", 2},
    {&fiftyPenceAnimationImage, "Graphic_resource//Stake//Anim50p.bmp", 11},
    {&poundAnimationImage, "Graphic_resource//Stake//AnimPound.bmp", 11},
    {&stakeScreenImage, "Graphic_resource//Stake//StakeScreen.bmp", kSingleFrame},
    {&winPlanImage, "Graphic_resource//Main//Winplan.tga", 24},
    {&winPlanBrightImage, "Graphic_resource//Main//WinplanBright.tga", 24},
    {&highlightImage, "Graphic_resource//Menu//HiLite.tga", kSingleFrame},
    {&highlight2Image, "Graphic_resource//Menu//HiLite2.tga", kSingleFrame},
    {&correctImage, "Graphic_resource//Questions//Correct.tga", 7},
    {&wrongImage, "Graphic_resource//Questions//Wrong.tga", 7},
    {&tryAgainImage, "Graphic_resource//Questions//TryAgain.tga", 7},
    {&timedOutImage, "Graphic_resource//Questions//TimedOut.tga", 7},
    {&redBallImage, "Graphic_resource//Main//RedBall.tga", 11},
    {&blueBallImage, "Graphic_resource//Main//BlueBall.tga", 11},
    {&emptyBlueCupImage, "Graphic_resource//Main//EmptyBlueCup.tga", kSingleFrame},
    {&emptyRedCupImage, "Graphic_resource//Main//EmptyRedCup.tga", kSingleFrame},
    {&emptyValueImage, "Graphic_resource//Main//ValEmpty.tga", 10},
};
constexpr int kBallValueFrames = 10;

// Loads 39 to 54, after the ball values.
const ImageLoad kImagesAfterValues[] = {
    {&prizeBallImage, "Graphic_resource//Main//PrizeBall.tga", 2},
    {&pickPrizeBallImage, "Graphic_resource//Main//PickPrizeBall.tga", kSingleFrame},
    {&pickABallImage, "Graphic_resource//Main//PickABall.tga", kSingleFrame},
    {&pickADifferentBallImage, "Graphic_resource//Main//PickADiffBall.tga", kSingleFrame},
    {&vantorOverImage, "Graphic_resource//Main//Vantorover.tga", kSingleFrame},
    {&prizeBallOverImage, "Graphic_resource//Main//PrizeBallover.tga", kSingleFrame},
    {&yourBallLeftImage, "Graphic_resource//Main//Your_ball_Left.tga", kSingleFrame},
    {&yourBallRightImage, "Graphic_resource//Main//Your_ball_Right.tga", kSingleFrame},
    {&middleImage, "Graphic_resource//Main//Middle.tga", kSingleFrame},
    {&openBallRightImage, "Graphic_resource//Main//Open_Ball_Right.tga", kSingleFrame},
    {&openBallLeftImage, "Graphic_resource//Main//Open_Ball_Left.tga", kSingleFrame},
    {&offerBaseImage, "Graphic_resource//Main//OfferBase.tga", kSingleFrame},
    {&introScreenImage, "Graphic_resource//Main//IntroScreen.bmp", kSingleFrame},
    {&congratsImage, "Graphic_resource//Main//Congrats.bmp", kSingleFrame},
    {&vornaPressedImage, "Graphic_resource//Main//VornaPressed.bmp", 2},
    {&vornaOffImage, "Graphic_resource//Main//VornaOff.bmp", 2},
};

constexpr int kFontFrames = 96;
constexpr SpriteLoad kDescribe = SpriteLoad::Describe;
constexpr SpriteLoad kDecode = SpriteLoad::Decode;

// Loads 75 to 122, by file id of the sprite file table.
const SpriteRow kSpriteRows[] = {
    {&insertCoinsSprite, 9, 2, kDescribe},
    {&creditPanelSprite, 11, 1, kDescribe},
    {&bankPanelSprite, 12, 1, kDescribe},
    {&menuBackgroundSprite, 13, 1, kDescribe},
    {&mainMenuButtonSprite, 14, 2, kDescribe},
    {&rulesButtonSprite, 15, 2, kDescribe},
    {&startButtonSprite, 16, 2, kDescribe},
    {&backButtonSprite, 17, 2, kDescribe},
    {&infoScreenSprite, 10, 1, kDescribe},
    {&mainScreenSprite, 33, 1, kDescribe},
    {&transparencySprite, 2, 1, kDecode},
    {&fontSprites[0], kFontFileIds[0], kFontFrames, kDecode},
    {&fontSprites[1], kFontFileIds[1], kFontFrames, kDecode},
    {&fontSprites[2], kFontFileIds[2], kFontFrames, kDecode},
    {&fontSprites[3], kFontFileIds[3], kFontFrames, kDecode},
    {&fontSprites[4], kFontFileIds[4], kFontFrames, kDecode},
    {&fontSprites[5], kFontFileIds[5], kFontFrames, kDecode},
    {&questionBoxSprite, 23, 1, kDescribe},
    {&questionNumbersSprite, 24, 15, kDescribe},
    {&secondsSprite, 25, 1, kDescribe},
    {&questionBackgroundSprite, 18, 1, kDecode},
    {&endQuestionBackgroundSprite, 19, 1, kDecode},
    {&questionNumber13Sprite, 26, 18, kDescribe},
    {&collectButtonSprite, 30, 2, kDescribe},
    {&carryOnButtonSprite, 31, 2, kDescribe},
    {&wellDoneScreenSprite, 32, 1, kDecode},
    {&smallLoafSprite, 34, 13, kDecode},
    {&bigLoafSprite, 35, 13, kDecode},
    {&valuesSprite, 36, 19, kDecode},
    {&passSprite, 20, 6, kDecode},
    {&tryAgainSprite, 21, 6, kDecode},
    {&infoCatSprite, 40, 3, kDecode},
    {&infoScreenCatBlinkSprite, 41, 2, kDecode},
    {&trailScreenCatBlinkSprite, 42, 2, kDecode},
    {&endScreenCatBlinkSprite, 43, 2, kDecode},
    {&ovenSprite, 44, 3, kDecode},
    {&totalTextSprite, 46, 1, kDecode},
    {&outcomesSprite, 22, 6, kDecode},
    {&trueButtonSprite, 37, 3, kDecode},
    {&falseButtonSprite, 38, 3, kDecode},
    {&passTitleSprite, 27, 1, kDecode},
    {&tryAgainTitleSprite, 28, 1, kDecode},
    {&catBubbleSprite, 47, 3, kDecode},
    {&bonusLoafSprite, 52, 2, kDecode},
    {&offerBaseSprite, 53, 1, kDecode},
    {&middleSprite, 54, 1, kDecode},
    {&gameOverBaseSprite, 55, 1, kDecode},
    {&congratsBaseSprite, 56, 1, kDecode},
};

void LoadImages(const ImageLoad* first, const ImageLoad* last) {
    for (const ImageLoad* load = first; load != last; ++load)
        *load->image = load->frames == kSingleFrame ? LoadImageFile(load->name)
                                                    : LoadImageSurface(load->name, load->frames);
}

void LoadSingleImages(const char* const* names, Surface** images, int count) {
    for (int i = 0; i < count; ++i)
        images[i] = LoadImageFile(names[i]);
}

}  // namespace

void InitialiseGraphics() {
    LogPrint("InitialiseGraphics IN\n");
    LoadImages(std::begin(kImagesBeforeValues), std::end(kImagesBeforeValues));
    for (int i = 0; i < kBallValueImages; ++i)
        ballValueImages[i] = LoadImageSurface(kBallValueNames[i], kBallValueFrames);
    LoadImages(std::begin(kImagesAfterValues), std::end(kImagesAfterValues));
    LoadSingleImages(kPoundStakeNames, poundStakeAnimationImages, kStakeAnimationImages);
    LoadSingleImages(kFiftyPenceStakeNames, fiftyPenceStakeAnimationImages, kStakeAnimationImages);

    for (const SpriteRow& row : kSpriteRows) {
        if (row.load == SpriteLoad::Describe)
            DescribeSprite(*row.sprite, row.fileId, row.frames);
        else
            LoadSprite(*row.sprite, row.fileId, row.frames);
    }
    LogPrint("InitialiseGraphics OUT\n");
}

void DecodeDescribedSprites() {
    for (const SpriteRow& row : kSpriteRows)
        if (row.load == SpriteLoad::Describe) LoadSprite(*row.sprite, row.fileId, row.frames);
}

void ForgetGraphics() {
    for (const ImageLoad& load : kImagesBeforeValues)
        *load.image = nullptr;
    for (const ImageLoad& load : kImagesAfterValues)
        *load.image = nullptr;
    std::fill(std::begin(ballValueImages), std::end(ballValueImages), nullptr);
    std::fill(std::begin(poundStakeAnimationImages), std::end(poundStakeAnimationImages), nullptr);
    std::fill(std::begin(fiftyPenceStakeAnimationImages), std::end(fiftyPenceStakeAnimationImages),
              nullptr);
    for (const SpriteRow& row : kSpriteRows)
        *row.sprite = Sprite{};
}
