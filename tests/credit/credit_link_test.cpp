// The credit link against a scripted service: what the game sends and how it reads the replies.
#include <gtest/gtest.h>

#include <string>
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
    EXPECT_TRUE(UseCredit(50));
    service.QueueReply("FAIL\r\n");
    EXPECT_FALSE(UseCredit(50));
    service.QueueReply("CTEL\r\n");
    EXPECT_FALSE(UseCredit(100)) << "a success keyword without a comma carries no number";
    service.QueueReply("BTEL,100\r\n");
    EXPECT_FALSE(UseCredit(100));
    EXPECT_EQ(service.Commands(),
              (Commands{"CUSE,50\r\n", "CUSE,50\r\n", "CUSE,100\r\n", "CUSE,100\r\n"}));
}

TEST_F(CreditLink, AddsNeedTheirOwnKeyword) {
    service.QueueReply("BTEL,300\r\n");
    EXPECT_TRUE(AddBank(300));
    service.QueueReply("CTEL,300\r\n");
    EXPECT_FALSE(AddBank(300));
    service.QueueReply("CTEL,50\r\n");
    EXPECT_TRUE(AddCredit(50));
    service.QueueReply("BTEL,50\r\n");
    EXPECT_FALSE(AddCredit(50));
}

TEST_F(CreditLink, PayWinningsSplitsPoundsAndPence) {
    service.SetResponder([](const std::string& command) {
        return command.rfind("BADD", 0) == 0 ? "BTEL,0\r\n" : "CTEL,0\r\n";
    });
    PayWinnings(350);
    PayWinnings(500);
    PayWinnings(75);
    PayWinnings(0);
    PayWinnings(-20);
    PayWinnings(100);
    EXPECT_EQ(service.Commands(), (Commands{"BADD,300\r\n", "CADD,50\r\n", "BADD,500\r\n",
                                            "CADD,75\r\n", "CADD,-20\r\n", "BADD,100\r\n"}));
}

TEST_F(CreditLink, AClosedConnectionIsAFailureNotAStaleReply) {
    service.QueueReply("CTEL,250\r\n");
    EXPECT_EQ(ReadCredit(), 250);
    service.CloseConnection();
    EXPECT_EQ(CreditReadExchange(), 65535);
    EXPECT_EQ(ReadCredit(), 0);
    EXPECT_FALSE(UseCredit(50));
    PayWinnings(350);  // must not crash or raise SIGPIPE
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
