#include "engines/control/record_reading.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/work_dir.h"

namespace {

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

RecordContents DatedContents() {
    RecordContents contents;
    contents.balances[0] = -15.0f;
    contents.balances[1] = 250.5f;
    contents.counters[0] = 7;
    contents.counters[180] = 9;
    contents.firstWritten = "11/02/23";
    return contents;
}

TEST(ReadRecordAt, AFullFileGivesEveryValueAndTheDate) {
    ScopedWorkDir workDir;
    WriteBytes("full.rec", EncodeRecord(DatedContents()));
    const RecordReading reading = ReadRecordAt("full.rec");
    EXPECT_TRUE(reading.failure.empty());
    EXPECT_TRUE(reading.loadable);
    EXPECT_EQ(reading.fileSize, kRecordFileSize);
    EXPECT_EQ(reading.valuesHeld, kRecordValueCount);
    EXPECT_EQ(reading.contents.balances[1], 250.5f);
    EXPECT_EQ(reading.contents.counters[180], 9);
    EXPECT_EQ(reading.contents.firstWritten, "11/02/23");
}

TEST(ReadRecordAt, ElevenBytesHoldTheBalancesOnly) {
    ScopedWorkDir workDir;
    std::vector<uint8_t> bytes = EncodeRecord(DatedContents());
    bytes.resize(11);
    WriteBytes("short.rec", bytes);
    const RecordReading reading = ReadRecordAt("short.rec");
    EXPECT_TRUE(reading.loadable);
    EXPECT_EQ(reading.valuesHeld, 2u);
    EXPECT_EQ(reading.contents.balances[0], -15.0f);
    EXPECT_EQ(reading.contents.counters[0], 0);  // its third value is incomplete
    EXPECT_EQ(reading.contents.firstWritten, "");
}

TEST(ReadRecordAt, TenBytesAreNotLoadableAndMissingFilesSayWhy) {
    ScopedWorkDir workDir;
    WriteBytes("ten.rec", std::vector<uint8_t>(10, 0x41));
    const RecordReading ten = ReadRecordAt("ten.rec");
    EXPECT_TRUE(ten.failure.empty());
    EXPECT_FALSE(ten.loadable);
    EXPECT_EQ(ten.valuesHeld, 0u);
    EXPECT_EQ(ten.contents.balances[0], 0.0f);

    const RecordReading missing = ReadRecordAt("missing.rec");
    EXPECT_NE(missing.failure.find("No such file"), std::string::npos) << missing.failure;
    EXPECT_FALSE(missing.loadable);
}

}  // namespace
