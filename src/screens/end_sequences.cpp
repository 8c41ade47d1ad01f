#include "screens/end_sequences.h"

#include <cstdio>

#include "base/input.h"
#include "base/log.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"
#include "engines/graphics/video.h"
#include "engines/sound/music.h"
#include "engines/sound/sound_effects.h"
#include "screens/board_drawing.h"
#include "screens/prize_ball.h"

namespace {

// ---- The swoop --------------------------------------------------------------------------------
constexpr const char* kSwoopVideo = "Graphic_resource/avis/Swoop.avi";
constexpr uint32_t kSwoopFrameMs = 30;

// The player's ball over the video, at the top of the screen.
constexpr int kBallOverVideoLeftX = 340, kBallOverVideoRightX = 400, kBallOverVideoY = 33;
constexpr int kSwoopTitleX = 300, kSwoopTitleY = 58;

// ---- The closed ball and its opening ----------------------------------------------------------
constexpr const char* kOpenBallLeftName = "Graphic_resource//Main//Open_Ball_Left.tga";
constexpr const char* kOpenBallRightName = "Graphic_resource//Main//Open_Ball_Right.tga";
constexpr int kLeftHalfX = 300, kRightHalfX = 400;
// The right half opens from one pixel left of where it landed.
constexpr int kOpeningRightHalfX = 399;
constexpr uint32_t kDropMs = 600;
constexpr int kDropStartY = -200, kDropLength = 400;  // lands at y 200
constexpr int kBallRestY = 200;
constexpr uint32_t kOpenMs = 600;
constexpr int kOpenWidth = 146;  // each half moves this far out
constexpr int kPlateCentreX = 400;

// ---- The plate --------------------------------------------------------------------------------
constexpr int kPlateX = 254, kPlateTop = 214, kPlateBottom = 386;
constexpr int kAmountX = 349, kAmountY = 330, kAmountWidth = 102, kAmountHeight = 34;
constexpr int kAmountFont = 6;  // PotFont

// ---- Timing -----------------------------------------------------------------------------------
constexpr uint32_t kLastLookMs = 3000;

struct Ending {
    SoundNumber sound;
    const Sprite& plate;
    const char* amountText;  // null on a loss
};

void RestoreBackdrop() {
    DrawLayer(0, 0, 0, 0, 0, 0, 800, 600);
}

void DrawBallHalves(int leftX, int rightX, int y) {
    DrawImageCell(openBallLeftImage, kOpenBallLeftName, 0, leftX, y);
    DrawImageCell(openBallRightImage, kOpenBallRightName, 0, rightX, y);
}

// The animation at one frame every 30 ms, the player's ball over every frame. Its last frame is
// kept as the backdrop of the rest. When the file cannot be played the animation ends at once and
// the screen as it stands becomes the backdrop.
void PlaySwoop() {
    if (OpenVideo(kSwoopVideo, kSwoopFrameMs, 0) != 0)
        LogPrint("End of game: %s cannot be played\n", kSwoopVideo);
    DrawVideoFrame(-1, 0, 0);
    while (VideoState() == kVideoPlaying) {
        DrawVideoFrame(1, 0, 0);
        DrawBallOverVideo();
        FlipFrame();
    }
    SaveToLayer(0, 0, 0, 800, 600);
}

// The closed ball falls from above the screen to the middle in 600 ms.
void DropInClosedBall() {
    StartTimer(kDropMs);
    do {
        const int y = static_cast<int>(TimerProgress(kDropLength)) + kDropStartY;
        RestoreBackdrop();
        DrawBallHalves(kLeftHalfX, kRightHalfX, y);
        PresentFrame();
    } while (!TimerExpired());
}

// The halves part in 600 ms, uncovering the plate from its middle outwards.
void OpenBallOnPlate(const Ending& ending) {
    PlaySoundEffect(kSoundBallOpen);
    StartTimer(kOpenMs);
    do {
        const int spread = static_cast<int>(TimerProgress(kOpenWidth));
        RestoreBackdrop();
        const ClipBox uncovered{kPlateCentreX - spread, kPlateCentreX + spread, kPlateTop,
                                kPlateBottom};
        DrawSprite(ending.plate, 0, kPlateX, kPlateTop, &uncovered, 1);
        if (ending.amountText) {
            TextCentreH = 1;
            DrawFontText(ending.amountText, kAmountX, kAmountY, kAmountWidth, kAmountHeight,
                         kAmountFont);
        }
        DrawBallHalves(kLeftHalfX - spread, kOpeningRightHalfX + spread, kBallRestY);
        PresentFrame();
    } while (!TimerExpired());
}

// Closes the animation however the sequence ends, the window being closed included.
struct SwoopCloser {
    SwoopCloser() = default;
    SwoopCloser(const SwoopCloser&) = delete;
    SwoopCloser& operator=(const SwoopCloser&) = delete;
    ~SwoopCloser() { CloseVideo(); }
};

void PlayEnding(const Ending& ending) {
    FlushInput();
    StopAllSoundEffects();
    StopMusic();
    PlaySoundEffect(ending.sound);
    const SwoopCloser closer;
    PlaySwoop();
    DropInClosedBall();
    OpenBallOnPlate(ending);
    if (ending.amountText) PlaySoundEffect(kSoundBox13);  // the amount's plate
    // Everything touched so far is thrown away by the wait's opening flush.
    WaitForTouch(kLastLookMs);
}

}  // namespace

std::string WinAmountText(int32_t pence) {
    char text[32];
    if (pence < 100)
        snprintf(text, sizeof text, "%dp", pence);
    else
        snprintf(text, sizeof text, "\xA3%.2f", pence / 100.0);
    return text;
}

void KeepSwoopReady() {
    KeepVideoReady(kSwoopVideo);
}

void DrawBallOverVideo() {
    DrawImageCell(yourBallLeftImage, kYourBallLeftName, 0, kBallOverVideoLeftX, kBallOverVideoY);
    DrawImageCell(yourBallRightImage, kYourBallRightName, 0, kBallOverVideoRightX, kBallOverVideoY);
    DrawImageCell(vantorOverImage, kVantorOverName, 0, kSwoopTitleX, kSwoopTitleY);
}

void PlayWinSequence(int32_t amount) {
    const std::string amountText = WinAmountText(amount);
    PlayEnding(Ending{kSoundUp13, congratsBaseSprite, amountText.c_str()});
}

void PlayLossSequence() {
    PlayEnding(Ending{kSoundHornToot, gameOverBaseSprite, nullptr});
}
