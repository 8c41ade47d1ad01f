#include "engines/control/record_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/log.h"
#include "engines/control/controller.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;

const char* const kRecordPath = "data/brasswick.rec";

std::vector<uint8_t> ReadFileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> LittleEndian(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    return {bytes.begin() + static_cast<ptrdiff_t>(offset),
            bytes.begin() + static_cast<ptrdiff_t>(offset + size)};
}

std::string Text(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    const std::vector<uint8_t> part = Slice(bytes, offset, size);
    return {part.begin(), part.end()};
}

std::string DateOn(time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[16];
    std::strftime(text, sizeof text, "%m/%d/%y", &local);
    return text;
}

// Fills the controller with values that tell every slot apart, some of them negative.
void FillController(int32_t base) {
    controllerBalances[0] = static_cast<float>(base) + 0.25f;
    controllerBalances[1] = -static_cast<float>(base) - 0.5f;
    for (int i = 0; i < kCounterCount; ++i)
        gameCounters[i] = base * 1000 + i * (i % 2 ? -7 : 13);
}

RecordContents ContentsWithDate(const std::string& date, int32_t base) {
    RecordContents contents;
    contents.balances[0] = static_cast<float>(base);
    contents.balances[1] = static_cast<float>(-base);
    for (int32_t& count : contents.counters)
        count = base;
    contents.firstWritten = date;
    return contents;
}

RecordContents ControllerSnapshot() {
    RecordContents contents;
    for (int i = 0; i < kStakeCount; ++i)
        contents.balances[i] = controllerBalances[i];
    for (int i = 0; i < kCounterCount; ++i)
        contents.counters[i] = gameCounters[i];
    return contents;
}

bool SameControllerValues(const RecordContents& contents) {
    for (int i = 0; i < kStakeCount; ++i) {
        if (std::bit_cast<uint32_t>(contents.balances[i]) !=
            std::bit_cast<uint32_t>(controllerBalances[i])) {
            return false;
        }
    }
    for (int i = 0; i < kCounterCount; ++i) {
        if (contents.counters[i] != gameCounters[i]) return false;
    }
    return true;
}

class RecordFileTest : public testing::Test {
  protected:
    void SetUp() override { ResetControlData(); }
    void TearDown() override { ResetControlData(); }

    // Writes the record file, noting today's date around the call.
    void WriteAndNoteDate() {
        dayBefore_ = DateOn(time(nullptr));
        WriteRecordFile();
        dayAfter_ = DateOn(time(nullptr));
    }
    void ExpectWrittenToday(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(bytes.size(), kRecordFileSize);
        const std::string date = Text(bytes, 802, 8);
        EXPECT_TRUE(date == dayBefore_ || date == dayAfter_) << date;
    }

    ScopedWorkDir directory_;
    std::string dayBefore_, dayAfter_;
};

// ---- Reading ------------------------------------------------------------------------------------

TEST_F(RecordFileTest, AbsentFileZeroesTheController) {
    FillController(3);
    ReadRecordFile();
    EXPECT_EQ(ControllerValue(0), 0.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    for (int i = 0; i < kCounterCount; ++i)
        EXPECT_EQ(CounterValue(i), 0) << i;
}

TEST_F(RecordFileTest, FileOfTenBytesIsDeletedAndZeroed) {
    WriteFileBytes(kRecordPath, std::vector<uint8_t>(10, 0x41));
    chmod(kRecordPath, 0444);
    FillController(3);
    ReadRecordFile();
    EXPECT_FALSE(fs::exists(kRecordPath));
    EXPECT_EQ(ControllerValue(0), 0.0f);
    EXPECT_EQ(CounterValue(5), 0);
}

TEST_F(RecordFileTest, FileOfElevenBytesLoadsOnlyTheBalances) {
    std::vector<uint8_t> bytes = LittleEndian(std::bit_cast<uint32_t>(12.5f));
    const std::vector<uint8_t> second = LittleEndian(std::bit_cast<uint32_t>(-30.0f));
    bytes.insert(bytes.end(), second.begin(), second.end());
    bytes.insert(bytes.end(), {7, 7, 7});
    WriteFileBytes(kRecordPath, bytes);

    ReadRecordFile();
    EXPECT_TRUE(fs::exists(kRecordPath));
    EXPECT_EQ(ControllerValue(0), 12.5f);
    EXPECT_EQ(ControllerValue(1), -30.0f);
    for (int i = 0; i < kCounterCount; ++i)
        EXPECT_EQ(CounterValue(i), 0) << i;
}

TEST_F(RecordFileTest, BalanceThatIsNotAFiniteNumberLoadsAsZero) {
    RecordContents contents = ContentsWithDate("03/07/09", 4);
    contents.balances[0] = std::numeric_limits<float>::quiet_NaN();
    contents.balances[1] = -std::numeric_limits<float>::infinity();
    WriteFileBytes(kRecordPath, EncodeRecord(contents));
    FillController(9);

    ReadRecordFile();
    EXPECT_EQ(ControllerValue(0), 0.0f);
    EXPECT_EQ(ControllerValue(1), 0.0f);
    EXPECT_EQ(CounterValue(17), 4) << "the counters still load";
    ControllerAdd(1, -900.0f);
    EXPECT_EQ(ControllerBand(1), 6) << "the balance moves with the games again";
}

TEST_F(RecordFileTest, FileOfAnotherVersionLoadsItsFirst732Bytes) {
    FillController(9);
    std::vector<uint8_t> bytes = EncodeRecord(RecordContents{});
    bytes.resize(kRecordValuesSize);
    for (int i = 0; i < kCounterCount; ++i) {
        const std::vector<uint8_t> value = LittleEndian(static_cast<uint32_t>(-i));
        std::copy(value.begin(), value.end(), bytes.begin() + 8 + 4 * i);
    }
    const std::string otherTrailer = "Some other banner entirely\r\n 01/02/03 and more text";
    bytes.insert(bytes.end(), otherTrailer.begin(), otherTrailer.end());
    WriteFileBytes(kRecordPath, bytes);

    ReadRecordFile();
    EXPECT_EQ(ControllerValue(0), 0.0f);
    for (int i = 0; i < kCounterCount; ++i)
        EXPECT_EQ(CounterValue(i), -i) << i;
}

TEST_F(RecordFileTest, WrittenValuesReadBackExactly) {
    FillController(-4);
    controllerBalances[1] = -123.7f;
    const RecordContents written = ControllerSnapshot();
    WriteRecordFile();
    ResetControlData();
    ReadRecordFile();
    EXPECT_TRUE(SameControllerValues(written));
    EXPECT_EQ(ControllerValue(1), -123.7f);
}

TEST_F(RecordFileTest, FileNamedInAnotherCaseIsReadAndRewrittenInPlace) {
    WriteFileBytes("Data/BRASSWICK.REC", EncodeRecord(ContentsWithDate("03/07/09", 6)));
    ReadRecordFile();
    EXPECT_EQ(CounterValue(17), 6);
    CountIncrement(17);
    WriteRecordFile();
    EXPECT_FALSE(fs::exists("data"));
    RecordContents contents;
    ASSERT_TRUE(DecodeRecord(ReadFileBytes("Data/BRASSWICK.REC"), contents));
    EXPECT_EQ(contents.counters[17], 7);
    EXPECT_EQ(contents.firstWritten, "03/07/09");
}

// ---- The bytes of a written file ----------------------------------------------------------------

TEST_F(RecordFileTest, WrittenFileHasTheExactLayout) {
    controllerBalances[0] = 1.5f;    // 0x3FC00000
    controllerBalances[1] = -2.25f;  // 0xC0100000
    gameCounters[0] = 0x01020304;
    gameCounters[1] = -2;
    gameCounters[180] = 1000000;
    WriteAndNoteDate();
    const std::vector<uint8_t> bytes = ReadFileBytes(kRecordPath);

    ASSERT_EQ(bytes.size(), 810u);
    EXPECT_EQ(Slice(bytes, 0, 4), (std::vector<uint8_t>{0x00, 0x00, 0xC0, 0x3F}));
    EXPECT_EQ(Slice(bytes, 4, 4), (std::vector<uint8_t>{0x00, 0x00, 0x10, 0xC0}));
    EXPECT_EQ(Slice(bytes, 8, 4), (std::vector<uint8_t>{0x04, 0x03, 0x02, 0x01}));
    EXPECT_EQ(Slice(bytes, 12, 4), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Slice(bytes, 8 + 4 * 180, 4), LittleEndian(1000000));
    for (size_t offset = 16; offset < 8 + 4 * 180; ++offset)
        EXPECT_EQ(bytes[offset], 0) << offset;
    EXPECT_EQ(Text(bytes, 732, 50), kRecordBanner);
    EXPECT_EQ(Text(bytes, 782, 20), " - Inf File Written ");
    ExpectWrittenToday(bytes);
    EXPECT_FALSE(fs::exists("data/brasswick.rec.tmp"));
}

TEST_F(RecordFileTest, EncodeAndDecodeAreInverse) {
    RecordContents contents = ContentsWithDate("12/31/99", 0);
    for (int i = 0; i < kCounterCount; ++i)
        contents.counters[i] = i * 99991 - 5000000;
    contents.balances[0] = -0.0f;
    contents.balances[1] = 1e-3f;
    const std::vector<uint8_t> bytes = EncodeRecord(contents);
    ASSERT_EQ(bytes.size(), kRecordFileSize);

    RecordContents decoded;
    ASSERT_TRUE(DecodeRecord(bytes, decoded));
    EXPECT_EQ(EncodeRecord(decoded), bytes);
    EXPECT_EQ(decoded.firstWritten, "12/31/99");

    RecordContents untouched = ContentsWithDate("01/01/01", 5);
    EXPECT_FALSE(DecodeRecord(std::vector<uint8_t>(10, 0xFF), untouched));
    EXPECT_EQ(untouched.counters[0], 5);
    EXPECT_EQ(untouched.firstWritten, "01/01/01");
}

TEST_F(RecordFileTest, DateIsTakenOnlyFromADateInTheLastEightBytes) {
    const auto date = [](const std::string& text) {
        return RecordDateOf(std::vector<uint8_t>(text.begin(), text.end()));
    };
    EXPECT_EQ(date("xx - Inf File Written 03/07/09"), "03/07/09");
    EXPECT_EQ(date("03/07/09"), "03/07/09");
    EXPECT_EQ(date("Inf File Written"), "");
    EXPECT_EQ(date("Written 03/07/0"), "");
    EXPECT_EQ(date("3/07/09"), "");
    EXPECT_EQ(date("x03/07/0\n"), "");
    EXPECT_EQ(date("ab/cd/ef"), "");
}

// ---- The date of the first writing --------------------------------------------------------------

TEST_F(RecordFileTest, FirstWritingCreatesTheDirectoryAndIsDatedToday) {
    ASSERT_FALSE(fs::exists("data"));
    WriteAndNoteDate();
    EXPECT_TRUE(fs::is_directory("data"));
    ExpectWrittenToday(ReadFileBytes(kRecordPath));
}

TEST_F(RecordFileTest, DateOfTheFirstWritingIsCarriedForward) {
    WriteFileBytes(kRecordPath, EncodeRecord(ContentsWithDate("03/07/09", 1)));
    FillController(2);
    WriteRecordFile();
    FillController(3);
    WriteRecordFile();

    const std::vector<uint8_t> bytes = ReadFileBytes(kRecordPath);
    ASSERT_EQ(bytes.size(), kRecordFileSize);
    EXPECT_EQ(Text(bytes, 802, 8), "03/07/09");
    RecordContents contents;
    ASSERT_TRUE(DecodeRecord(bytes, contents));
    EXPECT_TRUE(SameControllerValues(contents));
}

TEST_F(RecordFileTest, FileWithoutADateGetsTodaysDate) {
    std::vector<uint8_t> bytes = EncodeRecord(ContentsWithDate("", 1));
    bytes.pop_back();  // " - Inf File Written" with no blank and no date: ends " Written"
    ASSERT_EQ(Text(bytes, bytes.size() - 8, 8), " Written");
    WriteFileBytes(kRecordPath, bytes);
    WriteAndNoteDate();
    ExpectWrittenToday(ReadFileBytes(kRecordPath));
}

TEST_F(RecordFileTest, FileShorterThanADateGetsTodaysDate) {
    WriteFileBytes(kRecordPath, {'1', '/', '2'});
    WriteAndNoteDate();
    ExpectWrittenToday(ReadFileBytes(kRecordPath));
}

TEST_F(RecordFileTest, ReadOnlyFileIsRewritten) {
    WriteFileBytes(kRecordPath, EncodeRecord(ContentsWithDate("11/22/33", 1)));
    chmod(kRecordPath, 0444);
    FillController(8);
    WriteRecordFile();

    RecordContents contents;
    ASSERT_TRUE(DecodeRecord(ReadFileBytes(kRecordPath), contents));
    EXPECT_TRUE(SameControllerValues(contents));
    EXPECT_EQ(contents.firstWritten, "11/22/33");
    struct stat info {};
    ASSERT_EQ(stat(kRecordPath, &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);
}

// ---- A rewrite that fails or is cut short -------------------------------------------------------

TEST_F(RecordFileTest, FailedRewriteLeavesTheOldFile) {
    const std::vector<uint8_t> old = EncodeRecord(ContentsWithDate("03/07/09", 1));
    WriteFileBytes(kRecordPath, old);
    fs::create_directories("data/brasswick.rec.tmp/blocker");  // the new file cannot be made
    FillController(2);
    WriteRecordFile();
    EXPECT_EQ(ReadFileBytes(kRecordPath), old);
}

// A save that fails is logged for the operator and made again at the next save.
TEST_F(RecordFileTest, AFailedSaveIsLoggedAndMadeAtTheNext) {
    ASSERT_EQ(MakeWorkDirs(), 0);
    ASSERT_EQ(LogOpen(), 0);
    fs::create_directories("data/brasswick.rec.tmp/blocker");
    FillController(2);
    WriteRecordFile();
    fs::remove_all("data/brasswick.rec.tmp");
    WriteRecordFile();
    LogClose();
    EXPECT_NE(ReadFileText("~system/logs/Vantor.txt")
                  .find(" - Record file not saved: cannot create data/brasswick.rec.tmp: "),
              std::string::npos)
        << ReadFileText("~system/logs/Vantor.txt");
    RecordContents saved;
    ASSERT_TRUE(DecodeRecord(ReadFileBytes(kRecordPath), saved));
    EXPECT_TRUE(SameControllerValues(saved));
}

// A pipe at the record file's path is not a record file: start-up reads nothing from it and does
// not wait for a writer that never comes.
TEST_F(RecordFileTest, APipeInPlaceOfTheFileIsUnreadableAndDoesNotHoldStartUp) {
    fs::create_directory("data");
    ASSERT_EQ(mkfifo(kRecordPath, 0600), 0);
    FillController(3);
    ReadRecordFile();
    EXPECT_EQ(CounterValue(5), 0) << "the controller starts from zero";
}

TEST_F(RecordFileTest, WriteErrorPartWayLeavesTheOldFileAndNoLeftover) {
    const std::vector<uint8_t> old = EncodeRecord(ContentsWithDate("03/07/09", 1));
    WriteFileBytes(kRecordPath, old);
    FillController(2);

    // A child process whose files may not grow past 100 bytes: the write fails part way.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        WriteRecordFile();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(ReadFileBytes(kRecordPath), old);
    EXPECT_FALSE(fs::exists("data/brasswick.rec.tmp"));
}

// Waits (up to 30 s) until the record file holds a generation of at least `generation`.
void WaitForGenerationAtLeast(int32_t generation) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < giveUp) {
        RecordContents contents;
        const std::vector<uint8_t> bytes = ReadFileBytes(kRecordPath);
        if (DecodeRecord(bytes, contents) && contents.counters[0] >= generation) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// A child rewrites the file over and over with values that all equal a generation number and is
// killed at a random moment: what is left must always be one whole generation.
TEST_F(RecordFileTest, KillDuringRewritesNeverLeavesATornFile) {
    WriteFileBytes(kRecordPath, EncodeRecord(ContentsWithDate("03/07/09", 0)));
    std::mt19937 random(12345);
    int32_t highest = 0;
    for (int round = 0; round < 25; ++round) {
        const int32_t start = (round + 1) * 100000;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t generation = start;; ++generation) {
                controllerBalances[0] = static_cast<float>(generation);
                controllerBalances[1] = -static_cast<float>(generation);
                for (int32_t& count : gameCounters)
                    count = generation;
                WriteRecordFile();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
        // On a busy machine the child may not have finished a rewrite yet: the last round waits
        // for one, so the test always sees the kill of a child that has been writing.
        if (round == 24) WaitForGenerationAtLeast(start);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        const std::vector<uint8_t> bytes = ReadFileBytes(kRecordPath);
        ASSERT_EQ(bytes.size(), kRecordFileSize) << "round " << round;
        RecordContents contents;
        ASSERT_TRUE(DecodeRecord(bytes, contents));
        const int32_t generation = contents.counters[0];
        for (int32_t count : contents.counters)
            ASSERT_EQ(count, generation) << "round " << round;
        EXPECT_EQ(contents.balances[0], static_cast<float>(generation));
        EXPECT_EQ(contents.balances[1], -static_cast<float>(generation));
        EXPECT_EQ(contents.firstWritten, "03/07/09");
        EXPECT_EQ(Text(bytes, 732, 50), kRecordBanner);
        EXPECT_TRUE(generation == highest || generation >= start) << "round " << round;
        highest = generation;
    }
    EXPECT_GT(highest, 0) << "no rewrite finished in any round";

    // A temporary file left by a kill does not disturb the next start-up.
    ReadRecordFile();
    EXPECT_EQ(CounterValue(0), highest);
}

}  // namespace
