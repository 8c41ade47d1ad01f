// The attract and stake screens run for real on the headless platform: a small content set, a
// scripted credit service holding the player's money, scripted touches and the harness trace.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "support/fake_credit_service.h"
#include "support/small_content.h"
#include "support/work_dir.h"

// Colours of the pictures the tests look for.
constexpr Colour kInsertCoinsColour{200, 30, 30};
constexpr Colour kStartColour{30, 200, 30};
Colour FiftyPenceDoorColour(int frame);
Colour PoundDoorColour(int frame);

// Sample points inside the pictures.
constexpr int kRightButtonX = 540, kRightButtonY = 475;
constexpr int kFiftyPenceDoorX = 480, kPoundDoorX = 74, kDoorY = 155;

// The player's money as the credit service keeps it.
struct Wallet {
    std::atomic<int> credit{0};
    std::atomic<int> bank{0};
    std::atomic<bool> refuseUse{false};
    // Coins inserted during the run: `coins` pence land on the credit before the first credit read
    // at or after `coinsAtMs` of the run (the game waits for the reply, so its clock stands still).
    std::atomic<uint32_t> coinsAtMs{0};
    std::atomic<int> coins{0};
};

class SellingScreens : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs WaitForStart `calls` times in a row with these scripted touches ("MS X Y" lines, the
    // time counted from the start of the run) and returns its last answer.
    bool RunWaitForStart(const std::string& touches, int calls = 1);
    // Every answer of the run.
    std::vector<bool> answers;

    // When WaitForStart returned, counted from its start.
    uint32_t finishedAt = 0;
    // The credit service's commands other than the reads (CGET, BGET).
    std::vector<std::string> MoneyMoves() const;
    // The trace without the frame counts, its times counted from the start of WaitForStart.
    std::string Events() const;
    // The sound numbers played, in order.
    std::vector<int> Sounds() const;
    // The clock of every trace line with this event ("sound 25", "music stop"), in order.
    std::vector<long> TimesOf(const std::string& event) const;
    // The first of them, or -1.
    long FirstAt(const std::string& event) const;
    // The colour (0x00RRGGBB) of the back buffer at (x, y).
    uint32_t ScreenAt(int x, int y) const;

    // Compares the events with tests/attract/expected/<name>.trace (written afresh instead when
    // VANTOR_UPDATE_TRACES is set).
    void ExpectEvents(const std::string& name) const;

    ScopedWorkDir workDir;
    FakeCreditService service;
    Wallet wallet;
    std::string trace;
};
