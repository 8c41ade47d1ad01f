// Reading the credit service's replies without a connection.
#include <gtest/gtest.h>

#include <climits>

#include "engines/credit/credit_reply.h"

TEST(CreditReply, ReadsTheNumberAfterTheFirstCommaOfTheRightKeyword) {
    long number = -1;
    EXPECT_TRUE(ParseCreditReply("CTEL,250\r\n", "CTEL", number));
    EXPECT_EQ(number, 250);
    EXPECT_TRUE(ParseCreditReply("BTEL,12,34\r\n", "BTEL", number));
    EXPECT_EQ(number, 12);
    EXPECT_TRUE(ParseCreditReply("CTEL,pence", "CTEL", number));
    EXPECT_EQ(number, 0) << "no digits read as 0";
    EXPECT_TRUE(ParseCreditReply("CTEL,99999999999999999999999", "CTEL", number));
    EXPECT_EQ(number, LONG_MAX) << "an overflowing number is held at the largest long";
}

TEST(CreditReply, RefusesOtherKeywordsAndRepliesWithoutANumber) {
    for (const char* reply : {"BTEL,250\r\n", "FAIL\r\n", "CTEL\r\n", "ctel,250", "CTE", ""}) {
        long number = -1;
        EXPECT_FALSE(ParseCreditReply(reply, "CTEL", number)) << reply;
        EXPECT_EQ(number, -1) << "a refused reply leaves the number alone: " << reply;
    }
}
