// The credit link against a service whose replies do not arrive one whole reply per receive:
// a reply in two pieces, and a stray line that arrives after its exchange is over. Neither may
// make the game take one command's answer for another's.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "base/log.h"
#include "engines/control/controller.h"
#include "engines/control/owed_win_file.h"
#include "engines/credit/credit_link.h"
#include "game_dir.h"
#include "rules/winnings.h"
#include "support/fake_credit_service.h"
#include "support/work_dir.h"

namespace {

class CreditLinkFaults : public ::testing::Test {
  protected:
    FakeCreditService service;

    void SetUp() override {
        ASSERT_TRUE(service.Listening());
        ASSERT_EQ(ConnectCreditService(service.Port()), CreditConnectResult::Connected);
    }
    void TearDown() override { CloseCreditService(); }

    // Lets a piece the service holds back arrive before the next exchange.
    static void LetTheRestArrive() {
        std::this_thread::sleep_for(2 * FakeCreditService::kPauseLength);
    }
};

}  // namespace

// A reply cut after its keyword still counts whole: the stake is taken and the game is played,
// and the rest of it does not answer the next command.
TEST_F(CreditLinkFaults, AReplyInTwoPiecesIsReadWhole) {
    service.QueueReply("CT" + FakeCreditService::kPause + "EL,450\r\n");
    EXPECT_TRUE(SendMoneyCommand(MoneyCommand::UseCredit, 50) == CreditAnswer::Accepted);
    service.QueueReply("CTEL," + FakeCreditService::kPause + "1200\r\n");
    EXPECT_EQ(ReadCredit(), 1200) << "not the 0 of a reply cut before its number";
    service.QueueReply("BTEL,300\r\n");
    EXPECT_EQ(ReadBank(), 300);
}

// A service that answers twice: the stray second answer is not taken as the answer to the next
// command, so a refused stake is never mistaken for a taken one.
TEST_F(CreditLinkFaults, AStrayLineDoesNotAnswerTheNextCommand) {
    service.QueueReply("CTEL,500\r\n" + FakeCreditService::kPause + "CTEL,500\r\n");
    EXPECT_EQ(ReadCredit(), 500);
    LetTheRestArrive();
    service.QueueReply("FAIL\r\n");
    EXPECT_FALSE(SendMoneyCommand(MoneyCommand::UseCredit, 50) == CreditAnswer::Accepted)
        << "the stake was refused";
    service.QueueReply("BTEL,0\r\n");
    EXPECT_EQ(BankReadExchange(), 0) << "the link is back in step";
}

// Without a line end the reply is taken as it stands once nothing more comes.
TEST_F(CreditLinkFaults, AReplyWithoutALineEndIsTakenAsItStands) {
    service.QueueReply("CTEL,250");
    EXPECT_EQ(ReadCredit(), 250);
    service.QueueReply("\x01\xfe garbage");
    EXPECT_EQ(CreditReadExchange(), 65535);
    service.QueueReply("BTEL,40\r\n");
    EXPECT_EQ(ReadBank(), 40);
}

// A win the service does not take is kept in the owed win file, counted as paid out only once
// it is paid, and paid (once) when the service takes it again. The log names both steps.
TEST_F(CreditLinkFaults, AWinTheServiceDoesNotTakeIsKeptAndPaidLater) {
    ScopedWorkDir dir;
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    ResetControlData();
    for (const char* reply : {"CTEL,100\r\n", "BTEL,0\r\n", "BTEL,300\r\n",  // BADD paid
                              "CTEL,100\r\n", "BTEL,300\r\n", "FAIL\r\n"})   // CADD refused
        service.QueueReply(reply);
    PayWin(350);
    EXPECT_EQ(CounterValue(counter::kWonTotal), 300) << "only what the service took";
    EXPECT_EQ(LoadOwedWin(), (OwedWin{50, std::nullopt}));
    EXPECT_EQ(ReadGameRecord().contents.counters[counter::kWonTotal], 300)
        << "saved as it was paid";

    for (const char* reply : {"CTEL,100\r\n", "BTEL,300\r\n", "CTEL,150\r\n"})
        service.QueueReply(reply);
    EXPECT_TRUE(PayWinStillOwed());
    EXPECT_TRUE(PayWinStillOwed()) << "nothing left to pay: nothing sent";
    EXPECT_EQ(CounterValue(counter::kWonTotal), 350);
    EXPECT_EQ(LoadOwedWin(), std::nullopt);
    LogClose();
    const std::string log = ReadFileText("~system/logs/Vantor.txt");
    for (const char* line : {" - Payment failed: CADD,50 not accepted by the credit service\n",
                             " - Win of 50 pence owed: kept in data\\owed-win.txt to pay when "
                             "the credit service answers\n",
                             " - Owed win of 50 pence paid\n"})
        EXPECT_NE(log.find(line), std::string::npos) << line << log;
    EXPECT_EQ(
        service.Commands(),
        (std::vector<std::string>{"CGET\r\n", "BGET\r\n", "BADD,300\r\n", "CGET\r\n", "BGET\r\n",
                                  "CADD,50\r\n", "CGET\r\n", "BGET\r\n", "CADD,50\r\n"}));
}

// When the answer to a payment goes missing, the money the service holds tells whether it was
// made: a win is never paid twice, and never not at all.
TEST_F(CreditLinkFaults, AMissingAnswerIsSettledByReadingTheMoneyBack) {
    ScopedWorkDir dir;
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    ResetControlData();
    // Made, but its answer garbled: the money shows it, so it is not sent again.
    for (const char* reply :
         {"CTEL,0\r\n", "BTEL,0\r\n", "\x01 garbage\r\n", "CTEL,0\r\n", "BTEL,500\r\n"})
        service.QueueReply(reply);
    PayWin(500);
    EXPECT_EQ(CounterValue(counter::kWonTotal), 500);
    EXPECT_EQ(LoadOwedWin(), std::nullopt);
    // Not made: the money shows nothing moved, so it stays owed.
    for (const char* reply : {"CTEL,0\r\n", "BTEL,500\r\n", "BT", "CTEL,0\r\n", "BTEL,500\r\n"})
        service.QueueReply(reply);
    PayWin(200);
    EXPECT_EQ(CounterValue(counter::kWonTotal), 500);
    EXPECT_EQ(LoadOwedWin(), (OwedWin{200, std::nullopt}));
    LogClose();
}

// The game stopped with a part on its way: at the next start the money held tells whether the
// service made it, and the paid-out counter whether the meters counted it.
TEST_F(CreditLinkFaults, APartOnItsWayAtAStopIsPaidAndCountedOnce) {
    ScopedWorkDir dir;
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    struct Case {
        int32_t moneyNow;
        int32_t paidOutNow;
        int32_t paidOutAfter;
        std::vector<std::string> sent;
    };
    const Case cases[] = {
        {1300, 400, 400, {"CGET\r\n", "BGET\r\n"}},  // made and counted before the stop
        {1300, 100, 400, {"CGET\r\n", "BGET\r\n"}},  // made, not yet counted
        {1000, 100, 400, {"CGET\r\n", "BGET\r\n", "CGET\r\n", "BGET\r\n", "BADD,300\r\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moneyNow * 1000 + c.paidOutNow);
        FakeCreditService fresh;
        ASSERT_EQ(ConnectCreditService(fresh.Port()), CreditConnectResult::Connected);
        ResetControlData();
        CountPaidOut(static_cast<int16_t>(c.paidOutNow));
        ASSERT_TRUE(SaveOwedWin({300, PaymentInFlight{"BADD", 300, 1000, 100}}));
        fresh.QueueReply("CTEL,0\r\n");
        fresh.QueueReply("BTEL," + std::to_string(c.moneyNow) + "\r\n");
        fresh.SetResponder([](const std::string& command) {
            return command.starts_with("CGET")   ? "CTEL,0\r\n"
                   : command.starts_with("BGET") ? "BTEL,1000\r\n"
                                                 : "BTEL,1300\r\n";
        });
        EXPECT_TRUE(PayWinStillOwed());
        EXPECT_EQ(CounterValue(counter::kWonTotal), c.paidOutAfter);
        EXPECT_EQ(LoadOwedWin(), std::nullopt);
        EXPECT_EQ(fresh.Commands(), c.sent);
    }
    LogClose();
}
