#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engines/control/controller.h"
#include "meter_figures.h"

namespace {

TEST(MeterFigures, PayoutPerStakeAndOverallFromTheWinCounters) {
    RecordContents contents;
    contents.counters[counter::kGames50p] = 40;    // £20.00 taken
    contents.counters[counter::kGamesPound] = 10;  // £10.00 taken
    contents.counters[counter::kWon50p] = 500;     // 25 %
    contents.counters[counter::kWonPound] = 450;   // 45 %
    contents.counters[counter::kWonTotal] = 950;   // 950 of 3000: 31.67 %
    contents.counters[counter::kPlayingSeconds] = 2500;

    const MeterFigures figures = ComputeFigures(contents);
    EXPECT_EQ(figures.stakes[0].takenPence, 2000);
    EXPECT_EQ(figures.stakes[1].takenPence, 1000);
    EXPECT_DOUBLE_EQ(*figures.stakes[0].payoutPercent, 25.0);
    EXPECT_DOUBLE_EQ(*figures.stakes[1].payoutPercent, 45.0);
    EXPECT_EQ(figures.overall.gamesSold, 50);
    EXPECT_EQ(figures.overall.takenPence, 3000);
    EXPECT_EQ(figures.overall.paidPence, 950);
    EXPECT_NEAR(*figures.overall.payoutPercent, 31.6667, 1e-3);
    EXPECT_DOUBLE_EQ(*figures.averageGameSeconds, 50.0);
}

TEST(MeterFigures, NothingTakenGivesNoPercentAndNoAverage) {
    RecordContents contents;
    contents.counters[counter::kGamesPound] = 3;
    contents.counters[counter::kWon50p] = 70;  // a win booked with no 50p sale on the meters
    const MeterFigures figures = ComputeFigures(contents);
    EXPECT_FALSE(figures.stakes[0].payoutPercent.has_value());
    EXPECT_DOUBLE_EQ(*figures.stakes[1].payoutPercent, 0.0);
    EXPECT_FALSE(ComputeFigures(RecordContents{}).averageGameSeconds.has_value());
    EXPECT_FALSE(ComputeFigures(RecordContents{}).overall.payoutPercent.has_value());
}

TEST(MeterFigures, TakingsOfFullMetersDoNotOverflow) {
    RecordContents contents;
    contents.counters[counter::kGamesPound] = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(ComputeFigures(contents).stakes[1].takenPence, 214748364700LL);
}

TEST(MeterFigures, BandsFollowTheControllersThresholds) {
    const struct {
        float balance;
        int band;
    } cases[] = {{1000.0f, 0}, {999.5f, 1},  {400.0f, 1},  {-15.0f, 3},
                 {-400.0f, 3}, {-800.0f, 5}, {-800.5f, 6}, {-1e9f, 6}};
    for (const auto& c : cases) {
        RecordContents contents;
        contents.balances[1] = c.balance;
        EXPECT_EQ(ComputeFigures(contents).balances[1].band, c.band) << c.balance;
        EXPECT_EQ(ComputeFigures(contents).balances[0].band, 3);
    }
}

RecordReading SoundReading() {
    RecordReading reading;
    reading.fileSize = kRecordFileSize;
    reading.loadable = true;
    reading.valuesHeld = kRecordValueCount;
    reading.contents.firstWritten = "03/07/09";
    return reading;
}

TEST(RecordWarnings, ASoundFileHasNone) {
    EXPECT_TRUE(RecordWarnings(SoundReading()).empty());
}

TEST(RecordWarnings, EveryKindOfDamageIsReported) {
    RecordReading tiny;
    tiny.fileSize = 10;
    ASSERT_EQ(RecordWarnings(tiny).size(), 1u);
    EXPECT_NE(RecordWarnings(tiny)[0].find("deletes it"), std::string::npos);

    RecordReading shortValues = SoundReading();
    shortValues.fileSize = 11;
    shortValues.valuesHeld = 2;
    shortValues.contents.firstWritten.clear();
    const auto warnings = RecordWarnings(shortValues);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("2 of the 183 values"), std::string::npos);
    EXPECT_NE(warnings[1].find("no date"), std::string::npos);

    RecordReading cutTrailer = SoundReading();
    cutTrailer.fileSize = 800;
    EXPECT_NE(RecordWarnings(cutTrailer).at(0).find("trailer"), std::string::npos);

    RecordReading longer = SoundReading();
    longer.fileSize = 900;
    EXPECT_NE(RecordWarnings(longer).at(0).find("longer"), std::string::npos);

    RecordReading notANumber = SoundReading();
    notANumber.balanceNotFinite[1] = true;
    EXPECT_NE(RecordWarnings(notANumber).at(0).find("100p stake"), std::string::npos);
}

TEST(FormatPounds, PenceAsPoundsWithSign) {
    EXPECT_EQ(FormatPounds(0), "£0.00");
    EXPECT_EQ(FormatPounds(5), "£0.05");
    EXPECT_EQ(FormatPounds(12345), "£123.45");
    EXPECT_EQ(FormatPounds(-15), "-£0.15");
    EXPECT_EQ(FormatPounds(std::numeric_limits<int64_t>::min()), "-£92233720368547758.08");
}

}  // namespace
