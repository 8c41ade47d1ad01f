#include "attract/selling_screens.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "app/autoplay.h"
#include "base/input.h"
#include "base/random.h"
#include "base/timers.h"
#include "base/waits.h"
#include "engines/control/game_state.h"
#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"
#include "platform/platform.h"
#include "screens/attract.h"

namespace {

constexpr Colour kPlainColour{40, 40, 40};
constexpr Colour kInsertCoinsPressed{120, 10, 10};
constexpr Colour kStartPressed{10, 120, 10};
constexpr int kButtonWidth = 40, kButtonFrameHeight = 20;
constexpr int kDoorWidth = 16, kDoorFrameHeight = 10, kDoorFrames = 11;

// Restarting the platform sets the virtual clock back to 0, but deadlines that the game keeps
// from an earlier run (the frame pacing, the highlight) stay where they were. So each run starts
// when the clock reaches a time well after the end of any earlier run in this process.
uint32_t runStart = 0;
uint32_t nextRunStart = 100000;

// The script with every time moved on by runStart.
std::string ShiftedScript(const std::string& touches) {
    std::istringstream lines(touches);
    std::string line, shifted;
    while (std::getline(lines, line)) {
        const size_t space = line.find(' ');
        shifted += std::to_string(runStart + std::stoul(line.substr(0, space))) +
                   line.substr(space) + "\n";
    }
    return shifted;
}

// A trace line with its time counted from the start of the run.
std::string Unshifted(const std::string& line) {
    const size_t space = line.find(' ');
    return std::to_string(std::stol(line.substr(0, space)) - static_cast<long>(runStart)) +
           line.substr(space);
}

void WriteSellingContent() {
    WritePlainSpriteFiles(kPlainColour);
    WriteContentFile("Graphic_resource\\Menu\\InsertCoins.BMP",
                     FrameStrip(kButtonWidth, kButtonFrameHeight, 2, [](int frame) {
                         return frame == 0 ? kInsertCoinsColour : kInsertCoinsPressed;
                     }));
    WriteContentFile("Graphic_resource\\Menu\\PlayBlank.BMP",
                     FrameStrip(kButtonWidth, kButtonFrameHeight, 2, [](int frame) {
                         return frame == 0 ? kStartColour : kStartPressed;
                     }));
    WriteContentFile("Graphic_resource//Stake//Anim50p.bmp",
                     FrameStrip(kDoorWidth, kDoorFrameHeight, kDoorFrames, FiftyPenceDoorColour));
    WriteContentFile("Graphic_resource//Stake//AnimPound.bmp",
                     FrameStrip(kDoorWidth, kDoorFrameHeight, kDoorFrames, PoundDoorColour));
}

std::string Reply(Wallet& wallet, const std::string& command) {
    if (command == "CGET\r\n" && wallet.coins > 0 && ClockMs() - runStart >= wallet.coinsAtMs)
        wallet.credit += wallet.coins.exchange(0);
    if (command == "CGET\r\n") return "CTEL," + std::to_string(wallet.credit.load()) + "\r\n";
    if (command == "BGET\r\n") return "BTEL," + std::to_string(wallet.bank.load()) + "\r\n";
    if (command.rfind("CUSE,", 0) == 0) {
        // Taken from the credit, and from the bank when the credit falls short.
        const int pence = atoi(command.c_str() + 5);
        if (wallet.refuseUse || pence > wallet.credit + wallet.bank) return "FAIL\r\n";
        const int fromCredit = std::min(pence, wallet.credit.load());
        wallet.credit -= fromCredit;
        wallet.bank -= pence - fromCredit;
        return "CTEL," + std::to_string(wallet.credit.load()) + "\r\n";
    }
    return "FAIL\r\n";
}

}  // namespace

Colour FiftyPenceDoorColour(int frame) {
    return Colour{static_cast<uint8_t>(20 * frame + 10), 100, 0};
}

Colour PoundDoorColour(int frame) {
    return Colour{static_cast<uint8_t>(20 * frame + 10), 160, 0};
}

void SellingScreens::SetUp() {
    ASSERT_TRUE(service.Listening());
    service.SetResponder([this](const std::string& command) { return Reply(wallet, command); });
    WriteSellingContent();
    StopAutoplay();
}

void SellingScreens::TearDown() {
    CloseCreditService();
    UnloadAllSprites();
    ForgetFontWidths();
    ResetDisplayForTests();
    platform::Stop();
    StopAutoplay();
    FlushInput();
}

bool SellingScreens::RunWaitForStart(const std::string& touches, int calls) {
    runStart = nextRunStart;
    WriteFileText("touches.txt", ShiftedScript(touches));
    platform::Options options;
    options.headless = true;
    options.touchesFile = "touches.txt";
    options.traceFile = "trace.txt";
    std::string error;
    EXPECT_TRUE(platform::Start(options, error)) << error;
    ResetDisplayForTests();
    UnloadAllSprites();
    ForgetFontWidths();
    EXPECT_TRUE(StartDisplay());
    InitialiseGraphics();
    EXPECT_EQ(SpriteFailureCode(), 0) << "the content set keeps the display running";
    EXPECT_EQ(ConnectCreditService(service.Port()), CreditConnectResult::Connected);
    SeedRandom(1);
    ResetTimers();
    ResetGameState();
    while (ClockMs() < runStart)
        platform::Yield();
    FlushInput();

    answers.clear();
    for (int call = 0; call < calls; ++call)
        answers.push_back(WaitForStart());
    finishedAt = ClockMs() - runStart;
    nextRunStart = ClockMs() + 100000;
    platform::Stop();
    std::istringstream lines(ReadFileText("trace.txt"));
    std::string line;
    trace.clear();
    while (std::getline(lines, line))
        trace += Unshifted(line) + "\n";
    return answers.back();
}

std::vector<std::string> SellingScreens::MoneyMoves() const {
    std::vector<std::string> moves;
    for (const std::string& command : service.Commands())
        if (command != "CGET\r\n" && command != "BGET\r\n") moves.push_back(command);
    return moves;
}

std::string SellingScreens::Events() const {
    std::istringstream lines(trace);
    std::string line, events;
    while (std::getline(lines, line))
        if (line.find(" present ") == std::string::npos) events += line + "\n";
    return events;
}

std::vector<int> SellingScreens::Sounds() const {
    std::istringstream lines(trace);
    std::string line;
    std::vector<int> sounds;
    while (std::getline(lines, line)) {
        const size_t at = line.find(" sound ");
        if (at != std::string::npos) sounds.push_back(atoi(line.c_str() + at + 7));
    }
    return sounds;
}

std::vector<long> SellingScreens::TimesOf(const std::string& event) const {
    std::istringstream lines(trace);
    std::string line;
    std::vector<long> times;
    while (std::getline(lines, line)) {
        const size_t space = line.find(' ');
        if (space != std::string::npos && line.substr(space + 1) == event)
            times.push_back(atol(line.c_str()));
    }
    return times;
}

long SellingScreens::FirstAt(const std::string& event) const {
    const std::vector<long> times = TimesOf(event);
    return times.empty() ? -1 : times.front();
}

uint32_t SellingScreens::ScreenAt(int x, int y) const {
    return BackBuffer ? BackBuffer->PixelAt(x, y) & 0x00FFFFFF : 0xFFFFFFFF;
}

void SellingScreens::ExpectEvents(const std::string& name) const {
    const std::string path =
        std::string(VANTOR_SOURCE_DIR) + "/tests/attract/expected/" + name + ".trace";
    if (getenv("VANTOR_UPDATE_TRACES")) {
        WriteFileText(path, Events());
        return;
    }
    EXPECT_EQ(Events(), ReadFileText(path)) << "expected events in " << path;
}
