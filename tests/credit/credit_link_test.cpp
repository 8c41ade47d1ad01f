// The credit link against a scripted service: what the game sends and how it reads the replies.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engines/credit/credit_link.h"
#include "support/fake_credit_service.h"

namespace {

using Commands = std::vector<std::string>;

class CreditLink : public ::testing::Test {
  protected:
    FakeCreditService service;

    void SetUp() override {
        ASSERT_TRUE(service.Listening());
        ASSERT_EQ(ConnectCreditService(service.Port()), CreditConnectResult::Connected);
    }
    void TearDown() override { CloseCreditService(); }
};

}  // namespace

TEST_F(CreditLink, ReadsCreditAndBank) {
    service.QueueReply("CTEL,250\r\n");
    service.QueueReply("BTEL,1200\r\n");
    EXPECT_EQ(ReadCredit(), 250);
    EXPECT_EQ(ReadBank(), 1200);
    EXPECT_EQ(service.Commands(), (Commands{"CGET\r\n", "BGET\r\n"}));
}

TEST_F(CreditLink, ReadingsOf10000OrMoreCountAsZero) {
    for (const char* reply : {"CTEL,12000\r\n", "CTEL,10000\r\n", "CTEL,-1\r\n", "FAIL\r\n",
                              "BTEL,250\r\n", "CTEL\r\n", "ctel,250\r\n"}) {
        service.QueueReply(reply);
        EXPECT_EQ(ReadCredit(), 0) << reply;
    }
    service.QueueReply("CTEL,9999\r\n");
    EXPECT_EQ(ReadCredit(), 9999);
}

TEST_F(CreditLink, RawExchangesTruncateTo16BitsAndFailAs65535) {
    service.QueueReply("CTEL,65636\r\n");
    EXPECT_EQ(CreditReadExchange(), 100) << "65636 wraps to its low 16 bits";
    service.QueueReply("BTEL,  -2 pence\r\n");
    EXPECT_EQ(BankReadExchange(), 65534);
    service.QueueReply("FAIL\r\n");
    EXPECT_EQ(BankReadExchange(), 65535);
    service.QueueReply("BTEL,77");
    EXPECT_EQ(BankReadExchange(), 77) << "no line end needed";
}

TEST_F(CreditLink, UseCreditNeedsCtelWithAComma) {
    service.QueueReply("CTEL,200\r\n");
    EXPECT_TRUE(SendMoneyCommand(MoneyCommand::UseCredit, 50) == CreditAnswer::Accepted);
    service.QueueReply("FAIL\r\n");
    EXPECT_FALSE(SendMoneyCommand(MoneyCommand::UseCredit, 50) == CreditAnswer::Accepted);
    service.QueueReply("CTEL\r\n");
    EXPECT_FALSE(SendMoneyCommand(MoneyCommand::UseCredit, 100) == CreditAnswer::Accepted)
        << "a success keyword without a comma carries no number";
    service.QueueReply("BTEL,100\r\n");
    EXPECT_FALSE(SendMoneyCommand(MoneyCommand::UseCredit, 100) == CreditAnswer::Accepted);
    EXPECT_EQ(service.Commands(),
              (Commands{"CUSE,50\r\n", "CUSE,50\r\n", "CUSE,100\r\n", "CUSE,100\r\n"}));
}

TEST_F(CreditLink, AddsNeedTheirOwnKeyword) {
    service.QueueReply("BTEL,300\r\n");
    EXPECT_TRUE(SendMoneyCommand(MoneyCommand::AddBank, 300) == CreditAnswer::Accepted);
    service.QueueReply("CTEL,300\r\n");
    EXPECT_FALSE(SendMoneyCommand(MoneyCommand::AddBank, 300) == CreditAnswer::Accepted);
    service.QueueReply("CTEL,50\r\n");
    EXPECT_TRUE(SendMoneyCommand(MoneyCommand::AddCredit, 50) == CreditAnswer::Accepted);
    service.QueueReply("BTEL,50\r\n");
    EXPECT_FALSE(SendMoneyCommand(MoneyCommand::AddCredit, 50) == CreditAnswer::Accepted);
}

TEST(WinningsSplit, PoundsToTheBankFirstThenPenceToTheCredit) {
    using Parts = std::vector<std::pair<MoneyCommand, int16_t>>;
    auto split = [](int16_t pence) {
        const WinningsParts parts = SplitWinnings(pence);
        Parts out;
        for (int i = 0; i < parts.count; ++i)
            out.emplace_back(parts.parts[i].command, parts.parts[i].pence);
        return out;
    };
    EXPECT_EQ(split(350), (Parts{{MoneyCommand::AddBank, 300}, {MoneyCommand::AddCredit, 50}}));
    EXPECT_EQ(split(500), (Parts{{MoneyCommand::AddBank, 500}}));
    EXPECT_EQ(split(75), (Parts{{MoneyCommand::AddCredit, 75}}));
    EXPECT_EQ(split(100), (Parts{{MoneyCommand::AddBank, 100}}));
    EXPECT_EQ(split(0), Parts{});
    EXPECT_EQ(split(-20), Parts{}) << "a credit-add of a negative amount would take money";
}

// Replies arrive as lines; only a line with the command's own keyword (or "FAIL") answers it.
// Anything else is the late copy or rest of an earlier reply and is waited past, so a reply sent
// twice can never answer the next question.
TEST_F(CreditLink, ALineThatAnswersAnotherCommandIsPassedOver) {
    service.QueueReply("CTEL,950\r\nCTEL,950\r\n");  // a stake's reply, sent twice
    EXPECT_TRUE(SendMoneyCommand(MoneyCommand::UseCredit, 50) == CreditAnswer::Accepted);
    service.QueueReply("CTEL,950\r\n" + FakeCreditService::kPause + "BTEL,20\r\n");
    EXPECT_EQ(BankReadExchange(), 20) << "the copy arriving after BGET was sent is not the bank";
    service.QueueReply("EL,950\r\nBTEL,30\r\n");  // the late rest of a reply cut short
    EXPECT_EQ(BankReadExchange(), 30);
    service.QueueReply("BTEL,1\r\n" + FakeCreditService::kPause + "FAIL\r\n");
    EXPECT_EQ(SendMoneyCommand(MoneyCommand::UseCredit, 50), CreditAnswer::Refused);
}

TEST_F(CreditLink, MoneyCommandsTellRefusalsFromUnclearAnswers) {
    service.QueueReply("CTEL,900\r\n");
    EXPECT_EQ(SendMoneyCommand(MoneyCommand::UseCredit, 50), CreditAnswer::Accepted);
    service.QueueReply("FAIL\r\n");
    EXPECT_EQ(SendMoneyCommand(MoneyCommand::AddBank, 300), CreditAnswer::Refused);
    service.QueueReply("CTEL\r\n");
    EXPECT_EQ(SendMoneyCommand(MoneyCommand::AddCredit, 50), CreditAnswer::Unclear)
        << "its keyword but no number";
    service.QueueReply("CT");
    EXPECT_EQ(SendMoneyCommand(MoneyCommand::UseCredit, 50), CreditAnswer::Unclear)
        << "a reply cut short";
    service.QueueReply("\x01\xfe garbage\r\n");
    EXPECT_EQ(SendMoneyCommand(MoneyCommand::AddBank, 100), CreditAnswer::Unclear)
        << "garbage and then nothing within the wait";
}

TEST_F(CreditLink, MoneyHeldIsCreditAndBankReadAfresh) {
    service.QueueReply("CTEL,250\r\n");
    service.QueueReply("BTEL,1200\r\n");
    EXPECT_EQ(MoneyHeld(), 1450);
    service.QueueReply("CTEL,250\r\n");
    service.QueueReply("FAIL\r\n");
    EXPECT_EQ(MoneyHeld(), kMoneyUnknown);
    service.QueueReply("CTEL,200\r\n");
    service.QueueReply("BTEL,1200\r\n");
    EXPECT_TRUE(MoneyHeldShows(MoneyCommand::UseCredit, 50, 1450));
    service.QueueReply("CTEL,250\r\n");
    service.QueueReply("BTEL,1200\r\n");
    EXPECT_FALSE(MoneyHeldShows(MoneyCommand::AddBank, 300, 1450));
    EXPECT_FALSE(MoneyHeldShows(MoneyCommand::AddBank, 300, kMoneyUnknown));
}

TEST_F(CreditLink, AClosedConnectionIsAFailureNotAStaleReply) {
    service.QueueReply("CTEL,250\r\n");
    EXPECT_EQ(ReadCredit(), 250);
    service.CloseConnection();
    EXPECT_EQ(CreditReadExchange(), 65535);
    EXPECT_EQ(ReadCredit(), 0);
    EXPECT_FALSE(SendMoneyCommand(MoneyCommand::UseCredit, 50) == CreditAnswer::Accepted);
    EXPECT_EQ(SendMoneyCommand(MoneyCommand::AddBank, 300), CreditAnswer::Unclear)
        << "must not crash or raise SIGPIPE";
}

TEST_F(CreditLink, TermIsSentWithoutWaitingForAReply) {
    EXPECT_TRUE(SendTerm());
    ASSERT_TRUE(service.WaitForCommands(1));
    EXPECT_EQ(service.Commands(), (Commands{"TERM\r\n"}));
}

TEST(CreditConnect, RefusedWhenNothingListens) {
    uint16_t port;
    {
        FakeCreditService closed;
        port = closed.Port();
    }
    EXPECT_EQ(ConnectCreditService(port), CreditConnectResult::ConnectFailed);
    EXPECT_EQ(ReadCredit(), 0);
    EXPECT_FALSE(SendTerm());
}
