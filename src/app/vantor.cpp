#include "app/vantor.h"

#include <string>

#include "app/autoplay.h"
#include "app/new_run.h"

#include "base/input.h"
#include "base/log.h"
#include "base/random.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/control/controller.h"
#include "engines/control/game_state.h"
#include "engines/control/record_file.h"
#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/sprites.h"
#include "engines/sound/music.h"
#include "engines/sound/sound_effects.h"
#include "rules/play_game.h"
#include "rules/question_packs.h"
#include "rules/sale.h"
#include "rules/winnings.h"
#include "screens/attract.h"
#include "screens/cabinet_screens.h"
#include "screens/end_sequences.h"

namespace {

constexpr int kLoadingScreenFileId = 1;
constexpr ClipBox kFullScreen{0, 800, 0, 600};

// --autoplay: the modelled player watches the menus and touches for itself.
void StartModelledPlayerIfAsked(const platform::Options& options) {
    platform::AutoplaySettings settings;
    std::string error;
    if (!options.autoplay.empty() &&
        platform::ParseAutoplaySettings(options.autoplay, settings, error))
        StartAutoplay(settings);
}

void ShowLoadingScreen() {
    static Sprite loadingScreen;
    ClearBackBuffer();
    LoadSprite(loadingScreen, kLoadingScreenFileId, 1);
    WaitMs(1);
    DrawSprite(loadingScreen, 0, 0, 0, nullptr, 0);
    PresentFrame();
}

// The attract screen as it first appears: background, Rules and Main Menu buttons, and Start or
// insert-coins by the money the player has.
void ComposeFirstAttractFrame() {
    DrawSpriteToLayer(0, menuBackgroundSprite, 0, 0, 0, nullptr, 0);
    DrawSpriteToLayer(0, rulesButtonSprite, 0, 265, 469, nullptr, 1);
    DrawSpriteToLayer(0, mainMenuButtonSprite, 0, 0, 469, nullptr, 1);
    const bool canPlay = ReadCredit() + ReadBank() >= 50;
    DrawSpriteToLayer(0, canPlay ? startButtonSprite : insertCoinsSprite, 0, 535, 469, nullptr, 1);
}

void FadeToAttractScreen() {
    SaveToLayer(1, 0, 0, 800, 600);
    CaptureLayer(1, &kFullScreen);
    ComposeFirstAttractFrame();
    CaptureLayer(0, &kFullScreen);
    StartTimer(800);
    while (!TimerExpired()) {
        CrossFade(static_cast<int>(TimerProgress(100)), &kFullScreen, true);
        PresentFrame();
    }
}

// The meters in memory are the record file's only once it has been read: a run that ends during
// the loading screen must leave the file as it was, not overwrite it with zeros.
bool metersRead = false;

void SaveMetersIfRead() {
    if (metersRead) WriteRecordFile();
}

// Every way a run is cut short mid-game (the window closed, a stop signal, the display lost)
// passes here first: a win the player has been promised is paid and booked, then the meters are
// saved. Only then do the screen and the credit link close.
void KeepTheMoney() {
    RunEnding();
    SettleCutShortGame();
    SaveMetersIfRead();
}

void CloseCreditLink() {
    SendTerm();
    CloseCreditService();
}

void FailureCleanUp() {
    UnloadAllSprites();
    StopDisplay(0);
    CloseCreditLink();
}

void OrderlyShutDown() {
    RunEnding();
    LogPrint("Closing log\n");
    LogClose();
    ClearBackBuffer();
    PresentFrame();
    ClearBackBuffer();
    UnloadAllSprites();
    StopDisplay(0);
    CloseCreditLink();
}

// A sprite file that fails to load takes the display with it: nothing can be drawn any more, so
// the run ends as a display failure once the meters are safe. A screen finds out at its next
// frame or wait (DisplayStopped); the checks below catch a failure with no frame after it.
int EndAfterDisplayLoss() {
    LogPrint("Display lost, stopping (sprite stop code %d)\n", SpriteFailureCode());
    KeepTheMoney();
    FailureCleanUp();
    return kExitNoDisplay;
}

void PlayAndRecordGame() {
    CountGameSold();
    const uint32_t started = ClockMs();
    CabinetScreens screens;
    PlayGame(screens);
    const uint32_t seconds = (ClockMs() - started) / 1000;
    CountAdd(counter::kPlayingSeconds, static_cast<int16_t>(seconds));
    EndGameAccounting();
    WinBooked();
    WriteRecordFile();
    WaitIgnoringTouches(200);
}

// Steps 7 to 13 of start-up and the main loop, once the display is up. Returns the exit code.
int RunWithDisplay() {
    ShowLoadingScreen();
    ReadRecordFile();
    metersRead = true;
    PayWinStillOwed();
    if (!LoadQuestionPacks()) {
        LogPrint("Initialise Questions Failed\n");
        FailureCleanUp();
        return kExitNoQuestions;
    }
    if (!StartSoundEffects()) {
        LogPrint("Initialise Direct Sound Failed\n");
        FailureCleanUp();
        return kExitNoSound;
    }
    SeedRandom(platform::SeedMilliseconds());
    InitialiseGraphics();
    // Every picture a screen draws is decoded before the first frame, and the end sequences'
    // animation is opened on a worker thread meanwhile: no screen waits for a file.
    KeepSwoopReady();
    DecodeDescribedSprites();
    if (SpritesStoppedTheDisplay()) return EndAfterDisplayLoss();
    FadeToAttractScreen();

    while (WaitForStart())
        PlayAndRecordGame();
    if (SpritesStoppedTheDisplay()) return EndAfterDisplayLoss();
    OrderlyShutDown();
    return kExitOrderly;
}

}  // namespace

int RunVantor(const platform::Options& options) {
    // Whatever an earlier run in this process left behind is forgotten; then the background music
    // is opened before anything else, from the content directory.
    ResetForNewRun();
    ProgramMusic();
    StartModelledPlayerIfAsked(options);
    metersRead = false;
    if (!platform::CreateMainWindow()) return kExitNoWindow;

    switch (ConnectCreditService(options.creditPort)) {
        case CreditConnectResult::SocketFailed:
            return kExitNoSocket;
        case CreditConnectResult::ConnectFailed:
            return kExitNoCreditService;
        case CreditConnectResult::Connected:
            break;
    }
    if (MakeWorkDirs() != 0) return kExitOrderly;
    LogOpen();

    if (!StartDisplay()) {
        CloseCreditLink();
        return kExitNoDisplay;
    }
    try {
        return RunWithDisplay();
    } catch (const WindowClosed&) {
        // Closing the cabinet's window or a stop signal ends the program as Main Menu does. A
        // game cut short still has its sale on the meters, and a win it had decided is paid.
        KeepTheMoney();
        OrderlyShutDown();
        return kExitOrderly;
    } catch (const DisplayStopped&) {
        return EndAfterDisplayLoss();
    } catch (const QuestionFontMissing&) {
        // A cabinet that is not set up right ends at once, as an orderly exit: the game already
        // sold stays on the meters and the credit service is told.
        KeepTheMoney();
        LogClose();
        CloseCreditLink();
        return kExitOrderly;
    }
}
