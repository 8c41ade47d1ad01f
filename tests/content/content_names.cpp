#include "content_names.h"

const std::vector<SpriteFileName>& SpriteFileNames() {
    static const std::vector<SpriteFileName> names = {
        {1, "Graphic_resource/Loading/LoadingScreen.BMP", 1, 1},
        {2, "Graphic_resource/transparency.PCX", 2, 1},
        {3, "Graphic_resource/Menu/BankCreditFont.BMP", 1, 96},
        {4, "Graphic_resource/font1a.PCX", 2, 96},
        {5, "Graphic_resource/Questions/QuestionFont.BMP", 1, 96},
        {6, "Graphic_resource/Main/PotFont.BMP", 1, 96},
        {7, "Graphic_resource/Main/EndFont.BMP", 1, 96},
        {8, "Graphic_resource/Main/WinFont.BMP", 1, 96},
        {9, "Graphic_resource/Menu/InsertCoins.BMP", 1, 2},
        {10, "Graphic_resource/Menu/InfoScreen.BMP", 1, 1},
        {11, "Graphic_resource/Menu/CreditBlank.BMP", 1, 1},
        {12, "Graphic_resource/Menu/BankBlank.BMP", 1, 1},
        {13, "Graphic_resource/Menu/OptionBackgroundBLank.BMP", 1, 1},
        {14, "Graphic_resource/Menu/MenuBlank.BMP", 1, 2},
        {15, "Graphic_resource/Menu/OptionBlank.BMP", 1, 2},
        {16, "Graphic_resource/Menu/PlayBlank.BMP", 1, 2},
        {17, "Graphic_resource/Menu/Back.BMP", 1, 2},
        {18, "Graphic_resource/Questions/QBackground.BMP", 1, 1},
        {19, "Graphic_resource/Main/EndQBackground.BMP", 1, 1},
        {20, "Graphic_resource/Questions/Pass.BMP", 1, 6},
        {21, "Graphic_resource/Questions/TryAgain.BMP", 1, 6},
        {22, "Graphic_resource/Questions/Outcomes.BMP", 1, 6},
        {23, "Graphic_resource/Questions/QuestionBox.BMP", 1, 1},
        {24, "Graphic_resource/Questions/QuestionNumbers.BMP", 1, 15},
        {25, "Graphic_resource/Questions/Seconds.BMP", 1, 1},
        {26, "Graphic_resource/Questions/QuestionNumber13.BMP", 1, 18},
        {27, "Graphic_resource/Questions/PassTitle.BMP", 1, 1},
        {28, "Graphic_resource/Questions/TryAgainTitle.BMP", 1, 1},
        {29, "Graphic_resource/Main/BACK.BMP", 1, 1},
        {30, "Graphic_resource/Main/CollectButton.BMP", 1, 2},
        {31, "Graphic_resource/Main/CarryOnButton.BMP", 1, 2},
        {32, "Graphic_resource/Main/WellDoneScreen.BMP", 1, 1},
        {33, "Graphic_resource/Main/MainScreen.BMP", 1, 1},
        {34, "Graphic_resource/Main/Smallloaf.BMP", 1, 13},
        {35, "Graphic_resource/Main/BigLoaf.BMP", 1, 13},
        {36, "Graphic_resource/Main/Values.BMP", 1, 19},
        {37, "Graphic_resource/Questions/TrueButton.BMP", 1, 3},
        {38, "Graphic_resource/Questions/FalseButton.BMP", 1, 3},
        {39, "Graphic_resource/Main/Endgamedough.BMP", 1, 1},
        {40, "Graphic_resource/Menu/InfoCat.BMP", 1, 3},
        {41, "Graphic_resource/Menu/InfoScreenCatBlink.BMP", 1, 2},
        {42, "Graphic_resource/Main/TrailScreenCatBlink.BMP", 1, 2},
        {43, "Graphic_resource/Main/EndScreenCatBlink.BMP", 1, 2},
        {44, "Graphic_resource/Main/Oven.BMP", 1, 3},
        {45, "Graphic_resource/Main/EndOven.BMP", 1, 1},
        {46, "Graphic_resource/Main/TotalText.BMP", 1, 1},
        {47, "Graphic_resource/Main/CatBubble.BMP", 1, 3},
        {48, "Graphic_resource/Main/EndBackground.BMP", 1, 1},
        {49, "Graphic_resource/Main/CollectContinueScreen.BMP", 1, 1},
        {50, "Graphic_resource/Main/BakerArmPonder.BMP", 1, 1},
        {51, "Graphic_resource/Main/BakerArmShow.BMP", 1, 1},
        {52, "Graphic_resource/Main/Bonusloaf.BMP", 1, 2},
        {53, "Graphic_resource/Main/OfferBase.BMP", 1, 1},
        {54, "Graphic_resource/Main/Middle.BMP", 1, 1},
        {55, "Graphic_resource/Main/GameOverBase.BMP", 1, 1},
        {56, "Graphic_resource/Main/CongratsBase.BMP", 1, 1},
    };
    return names;
}

const std::vector<ImageFileName>& ImageFileNames() {
    static const std::vector<ImageFileName> names = [] {
        const std::string stake = "Graphic_resource/Stake/";
        const std::string main = "Graphic_resource/Main/";
        const std::string questions = "Graphic_resource/Questions/";
        std::vector<ImageFileName> list = {
            {stake + "50pPlay.png", 2},
            {stake + "PoundPlay.png", 2},
            {stake + "Anim50p.bmp", 11},
            {stake + "AnimPound.bmp", 11},
            {stake + "StakeScreen.bmp", 1},
            {main + "Winplan.tga", 24},
            {main + "WinplanBright.tga", 24},
            {"Graphic_resource/Menu/HiLite.tga", 1},
            {"Graphic_resource/Menu/HiLite2.tga", 1},
            {questions + "Correct.tga", 7},
            {questions + "Wrong.tga", 7},
            {questions + "TryAgain.tga", 7},
            {questions + "TimedOut.tga", 7},
            {main + "RedBall.tga", 11},
            {main + "BlueBall.tga", 11},
            {main + "EmptyBlueCup.tga", 1},
            {main + "EmptyRedCup.tga", 1},
            {main + "ValEmpty.tga", 10},
        };
        for (int value :
             {5, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 100, 150, 200, 300, 500, 1000})
            list.push_back({main + "Val" + std::to_string(value) + ".tga", 10});
        list.push_back({main + "PrizeBall.tga", 2});
        for (const char* name :
             {"PickPrizeBall.tga", "PickABall.tga", "PickADiffBall.tga", "Vantorover.tga",
              "PrizeBallover.tga", "Your_ball_Left.tga", "Your_ball_Right.tga", "Middle.tga",
              "Open_Ball_Right.tga", "Open_Ball_Left.tga", "OfferBase.tga", "IntroScreen.bmp",
              "Congrats.bmp"})
            list.push_back({main + name, 1});
        list.push_back({main + "VornaPressed.bmp", 2});
        list.push_back({main + "VornaOff.bmp", 2});
        for (int i = 1; i <= 10; ++i)
            list.push_back({stake + "Stake1" + std::to_string(i) + ".tga", 1});
        for (int i = 1; i <= 10; ++i)
            list.push_back({stake + "Stake50p" + std::to_string(i) + ".tga", 1});
        list.push_back({main + "OfferBox.png", 3});
        return list;
    }();
    return names;
}

const std::vector<std::string>& SoundFileNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const char* name : {"TimesUp.WAV",
                                 "teletype.wav",
                                 "Button.wav",
                                 "Correct.wav",
                                 "Incorrect.wav",
                                 "TimerTick.wav",
                                 "HornToot.wav",
                                 "BoxDrop.wav",
                                 "BoxDropland.wav",
                                 "Scroll.wav",
                                 "Up13.wav",
                                 "Down13.wav",
                                 "BoxShake.wav",
                                 "Collect.wav",
                                 "CarryOn.wav",
                                 "NewBox.wav",
                                 "BoxEmpty.wav",
                                 "BoxCash.wav",
                                 "BoxClose.wav",
                                 "Box13.wav",
                                 "ShowPrizes.wav",
                                 "CorvaneLogoSlap.wav",
                                 "EndgameScroll.wav",
                                 "EndgameScrollShut.wav",
                                 "DoorBell.wav",
                                 "CatPurr.wav",
                                 "Meow.wav",
                                 "NastyKitty.wav",
                                 "OvenDoor.wav",
                                 "Press.wav",
                                 "Cashinc.wav",
                                 "LoafTing.wav",
                                 "Voices/MindHowYouGo.wav",
                                 "Voices/ThatRight.wav",
                                 "Voices/OohISee.wav",
                                 "Voices/OhRight.wav",
                                 "Voices/OhCorrect.wav",
                                 "Voices/Right.wav",
                                 "Voices/Gameover.wav",
                                 "Voices/ComeOnUseYourLoaf.wav",
                                 "Voices/DontFancyIt.wav",
                                 "Voices/ProperJob.wav",
                                 "BallOpen.wav",
                                 "BallClose.wav",
                                 "TryAgain.wav",
                                 "CashSpin.wav"})
            list.push_back(std::string("sounds/") + name);
        return list;
    }();
    return names;
}
