#include "support/screen_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/new_run.h"
#include "base/log.h"
#include "base/random.h"
#include "base/waits.h"
#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "platform/platform.h"
#include "support/expected_files.h"

ScreenRun::ScreenRun() = default;

ScreenRun::~ScreenRun() {
    ResetForNewRun();
    platform::Stop();
    platform::RefuseQuestionFont(false);
}

void ScreenRun::AnswerCredit(FakeCreditService::Responder responder) {
    responder_ = std::move(responder);
}

void ScreenRun::Start(const std::string& touches, Pictures pictures) {
    EXPECT_EQ(std::filesystem::current_path(), dir_.path()) << "a run starts in its own directory";
    ResetForNewRun();
    platform::Stop();
    WriteFileText(dir_.path() + "/touches.txt", touches);
    platform::Options options;
    options.headless = true;
    options.touchesFile = dir_.path() + "/touches.txt";
    options.traceFile = dir_.path() + "/trace.txt";
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;
    running_ = true;
    MakeWorkDirs();
    LogOpen();
    ASSERT_TRUE(StartDisplay());
    if (pictures == Pictures::Load) InitialiseGraphics();
    credit_ = std::make_unique<FakeCreditService>();
    ASSERT_TRUE(credit_->Listening());
    credit_->SetResponder(responder_);
    ASSERT_EQ(ConnectCreditService(credit_->Port()), CreditConnectResult::Connected);
    SeedRandom(1);
}

void ScreenRun::Stop() {
    if (running_) platform::Stop();
    running_ = false;
}

uint32_t ScreenRun::RunClock() const {
    return ClockMs();
}

std::vector<ScreenRun::Event> ScreenRun::Trace() const {
    std::vector<Event> events;
    std::istringstream lines(ReadFileText(dir_.path() + "/trace.txt"));
    for (std::string line; std::getline(lines, line);) {
        const size_t space = line.find(' ');
        if (space != std::string::npos)
            events.push_back(Event{std::stol(line.substr(0, space)), line.substr(space + 1)});
    }
    return events;
}

std::vector<ScreenRun::Sound> ScreenRun::TimedSounds() const {
    std::vector<Sound> sounds;
    for (const Event& event : Trace())
        if (event.what.rfind("sound ", 0) == 0)
            sounds.push_back(
                Sound{static_cast<uint32_t>(event.ms), std::stoi(event.what.substr(6))});
    return sounds;
}

std::vector<int> ScreenRun::Sounds() const {
    std::vector<int> numbers;
    for (const Sound& sound : TimedSounds())
        numbers.push_back(sound.number);
    return numbers;
}

std::vector<long> ScreenRun::TimesOf(const std::string& event) const {
    std::vector<long> times;
    for (const Event& each : Trace())
        if (each.what == event) times.push_back(each.ms);
    return times;
}

long ScreenRun::FirstAt(const std::string& event) const {
    const std::vector<long> times = TimesOf(event);
    return times.empty() ? -1 : times.front();
}

std::string ScreenRun::Events() const {
    std::string events;
    for (const Event& event : Trace())
        if (event.what.rfind("present ", 0) != 0)
            events += std::to_string(event.ms) + " " + event.what + "\n";
    return events;
}

void ScreenRun::ExpectEvents(const std::string& expectedTrace) const {
    ExpectFileText(Events(), expectedTrace);
}

std::string ScreenRun::Log() const {
    return ReadFileText(dir_.path() + "/~system/logs/Vantor.txt");
}

std::vector<std::string> ScreenRun::CreditCommands() const {
    return credit_ ? credit_->Commands() : std::vector<std::string>{};
}

std::vector<std::string> ScreenRun::MoneyMoves() const {
    std::vector<std::string> moves;
    for (const std::string& command : CreditCommands())
        if (command != "CGET\r\n" && command != "BGET\r\n") moves.push_back(command);
    return moves;
}

std::string TouchLine(uint32_t ms, int x, int y) {
    return std::to_string(ms) + " " + std::to_string(x) + " " + std::to_string(y) + "\n";
}

uint32_t ScreenColour(int x, int y) {
    return BackBuffer ? BackBuffer->PixelAt(x, y) & 0x00FFFFFFu : 0xFFFFFFFFu;
}

void AdvanceClock(uint32_t ms) {
    const uint32_t target = ClockMs() + ms;
    while (ClockMs() < target)
        platform::Yield();
}
