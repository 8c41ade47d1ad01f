// Every picture the screens use, loaded once at start-up in a fixed order: the images of the image
// path (with their registry entries) and the sprite records of the sprite engine. The fonts'
// records are fontSprites (engines/graphics/font_text.h). Images that fail to load stay null.
#pragma once

#include "engines/graphics/sprites.h"
#include "engines/graphics/surface.h"

// ---- Images ------------------------------------------------------------------------------------
constexpr int kBallValueImages = 20;
constexpr int kStakeAnimationImages = 10;

extern Surface* fiftyPencePlayImage;       // Stake//50pPlay.png, 2 frames
extern Surface* poundPlayImage;            // Stake//PoundPlay.png, 2 frames
extern Surface* fiftyPenceAnimationImage;  // Stake//Anim50p.bmp, 11 frames
extern Surface* poundAnimationImage;       // Stake//AnimPound.bmp, 11 frames
extern Surface* stakeScreenImage;          // Stake//StakeScreen.bmp
extern Surface* winPlanImage;              // Main//Winplan.tga, 24 frames
extern Surface* winPlanBrightImage;        // Main//WinplanBright.tga, 24 frames
extern Surface* highlightImage;            // Menu//HiLite.tga
extern Surface* highlight2Image;           // Menu//HiLite2.tga
extern Surface* correctImage;              // Questions//Correct.tga, 7 frames
extern Surface* wrongImage;                // Questions//Wrong.tga, 7 frames
extern Surface* tryAgainImage;             // Questions//TryAgain.tga, 7 frames
extern Surface* timedOutImage;             // Questions//TimedOut.tga, 7 frames
extern Surface* redBallImage;              // Main//RedBall.tga, 11 frames
extern Surface* blueBallImage;             // Main//BlueBall.tga, 11 frames
extern Surface* emptyBlueCupImage;         // Main//EmptyBlueCup.tga
extern Surface* emptyRedCupImage;          // Main//EmptyRedCup.tga
extern Surface* emptyValueImage;           // Main//ValEmpty.tga, 10 frames
// Main//Val5.tga to Main//Val1000.tga, 10 frames each, in the order of the prize values.
extern Surface* ballValueImages[kBallValueImages];
extern Surface* prizeBallImage;           // Main//PrizeBall.tga, 2 frames
extern Surface* pickPrizeBallImage;       // Main//PickPrizeBall.tga
extern Surface* pickABallImage;           // Main//PickABall.tga
extern Surface* pickADifferentBallImage;  // Main//PickADiffBall.tga
extern Surface* vantorOverImage;          // Main//Vantorover.tga
extern Surface* prizeBallOverImage;       // Main//PrizeBallover.tga
extern Surface* yourBallLeftImage;        // Main//Your_ball_Left.tga
extern Surface* yourBallRightImage;       // Main//Your_ball_Right.tga
extern Surface* middleImage;              // Main//Middle.tga
extern Surface* openBallRightImage;       // Main//Open_Ball_Right.tga
extern Surface* openBallLeftImage;        // Main//Open_Ball_Left.tga
extern Surface* offerBaseImage;           // Main//OfferBase.tga
extern Surface* introScreenImage;         // Main//IntroScreen.bmp
extern Surface* congratsImage;            // Main//Congrats.bmp
extern Surface* vornaPressedImage;        // Main//VornaPressed.bmp, 2 frames
extern Surface* vornaOffImage;            // Main//VornaOff.bmp, 2 frames
// Stake//Stake11.tga to Stake110.tga and Stake//Stake50p1.tga to Stake50p10.tga.
extern Surface* poundStakeAnimationImages[kStakeAnimationImages];
extern Surface* fiftyPenceStakeAnimationImages[kStakeAnimationImages];

// ---- Sprites -----------------------------------------------------------------------------------
// Menus and money panels.
extern Sprite insertCoinsSprite;     // InsertCoins, 2 frames
extern Sprite creditPanelSprite;     // CreditBlank
extern Sprite bankPanelSprite;       // BankBlank
extern Sprite menuBackgroundSprite;  // OptionBackgroundBLank
extern Sprite mainMenuButtonSprite;  // MenuBlank, 2 frames
extern Sprite rulesButtonSprite;     // OptionBlank, 2 frames
extern Sprite startButtonSprite;     // PlayBlank, 2 frames
extern Sprite backButtonSprite;      // Back, 2 frames
extern Sprite infoScreenSprite;      // InfoScreen (described only: the attract screen loads it)
extern Sprite mainScreenSprite;      // MainScreen
extern Sprite transparencySprite;    // transparency.PCX
// Questions.
extern Sprite questionBoxSprite;            // QuestionBox
extern Sprite questionNumbersSprite;        // QuestionNumbers, 15 frames
extern Sprite secondsSprite;                // Seconds
extern Sprite questionBackgroundSprite;     // QBackground
extern Sprite endQuestionBackgroundSprite;  // EndQBackground
extern Sprite questionNumber13Sprite;       // QuestionNumber13, 18 frames
extern Sprite passSprite;                   // Pass, 6 frames
extern Sprite tryAgainSprite;               // TryAgain, 6 frames
extern Sprite outcomesSprite;               // Outcomes, 6 frames
extern Sprite trueButtonSprite;             // TrueButton, 3 frames
extern Sprite falseButtonSprite;            // FalseButton, 3 frames
extern Sprite passTitleSprite;              // PassTitle
extern Sprite tryAgainTitleSprite;          // TryAgainTitle
// The ball game and its ends.
extern Sprite collectButtonSprite;        // CollectButton, 2 frames
extern Sprite carryOnButtonSprite;        // CarryOnButton, 2 frames
extern Sprite wellDoneScreenSprite;       // WellDoneScreen
extern Sprite smallLoafSprite;            // Smallloaf, 13 frames
extern Sprite bigLoafSprite;              // BigLoaf, 13 frames
extern Sprite valuesSprite;               // Values, 19 frames
extern Sprite infoCatSprite;              // InfoCat, 3 frames
extern Sprite infoScreenCatBlinkSprite;   // InfoScreenCatBlink, 2 frames
extern Sprite trailScreenCatBlinkSprite;  // TrailScreenCatBlink, 2 frames
extern Sprite endScreenCatBlinkSprite;    // EndScreenCatBlink, 2 frames
extern Sprite ovenSprite;                 // Oven, 3 frames
extern Sprite totalTextSprite;            // TotalText
extern Sprite catBubbleSprite;            // CatBubble, 3 frames
extern Sprite bonusLoafSprite;            // Bonusloaf, 2 frames
extern Sprite offerBaseSprite;            // OfferBase
extern Sprite middleSprite;               // Middle
extern Sprite gameOverBaseSprite;         // GameOverBase
extern Sprite congratsBaseSprite;         // CongratsBase

// Logs "InitialiseGraphics IN", loads every picture above in its fixed order and logs
// "InitialiseGraphics OUT". Nothing is checked: a missing image stays null and a bad sprite file
// stops the display.
void InitialiseGraphics();
// Decodes now every sprite that InitialiseGraphics only described, so that no screen has to decode
// a picture in the middle of its frames. Start-up calls it right after InitialiseGraphics.
void DecodeDescribedSprites();
// Forgets every picture above, fonts included, as before InitialiseGraphics: the images become
// null (their surfaces belong to the display context, which a new display may have released) and
// the sprite records empty.
void ForgetGraphics();
