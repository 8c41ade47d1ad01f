// The money panels: the text they show and the reads they make.
#include <gtest/gtest.h>

#include "engines/credit/credit_link.h"
#include "screens/money_panels.h"
#include "support/fake_credit_service.h"

TEST(MoneyPanels, PenceAreShownAsPoundsWithTheSingleBytePoundSign) {
    EXPECT_EQ(PanelMoneyText(450),
              "\xA3"
              "4.50");
    EXPECT_EQ(PanelMoneyText(0),
              "\xA3"
              "0.00");
    EXPECT_EQ(PanelMoneyText(5),
              "\xA3"
              "0.05");
    EXPECT_EQ(PanelMoneyText(9999),
              "\xA3"
              "99.99");
    EXPECT_EQ(PanelMoneyText(60),
              "\xA3"
              "0.60");
}

TEST(MoneyPanels, EachPanelAsksTheServiceAfresh) {
    FakeCreditService service;
    service.QueueReply("CTEL,450\r\n");
    service.QueueReply("BTEL,300\r\n");
    service.QueueReply("CTEL,120\r\n");
    service.QueueReply("BTEL,9999\r\n");
    service.QueueReply("FAIL\r\n");
    service.QueueReply("BTEL,200\r\n");
    ASSERT_EQ(ConnectCreditService(service.Port()), CreditConnectResult::Connected);
    DrawCreditPanel();
    DrawBankPanel();
    EXPECT_EQ(PlayerMoney(), 120 + 9999);
    EXPECT_EQ(PlayerMoney(), 200) << "a failed reading counts as 0";
    CloseCreditService();
    EXPECT_EQ(service.Commands(), (std::vector<std::string>{"CGET\r\n", "BGET\r\n", "CGET\r\n",
                                                            "BGET\r\n", "CGET\r\n", "BGET\r\n"}));
}
