// The credit link against a service whose replies do not arrive one whole reply per receive:
// a reply in two pieces, and a stray line that arrives after its exchange is over. Neither may
// make the game take one command's answer for another's.
#include <gtest/gtest.h>

#include <thread>

#include "base/log.h"
#include "engines/credit/credit_link.h"
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
    EXPECT_TRUE(UseCredit(50));
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
    EXPECT_FALSE(UseCredit(50)) << "the stake was refused";
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

// A payment the service refuses is not lost without a word: the log names what was not paid,
// and it is not sent again (the service may have booked it and lost only its answer).
TEST_F(CreditLinkFaults, APaymentTheServiceDoesNotAcceptIsLogged) {
    ScopedWorkDir dir;
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    service.QueueReply("FAIL\r\n");
    service.QueueReply("CTEL,50\r\n");
    PayWinnings(350);
    service.QueueReply("\x01\xfe garbage\r\n");
    PayWinnings(20);
    LogClose();
    const std::string log = ReadFileText("~system/logs/Vantor.txt");
    EXPECT_NE(log.find(" - Payment failed: BADD,300 not accepted by the credit service\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("CADD,50"), std::string::npos) << "the pence were paid";
    EXPECT_NE(log.find(" - Payment failed: CADD,20 not accepted by the credit service\n"),
              std::string::npos)
        << log;
    EXPECT_EQ(service.Commands(),
              (std::vector<std::string>{"BADD,300\r\n", "CADD,50\r\n", "CADD,20\r\n"}))
        << "nothing is sent twice";
}
