// The built meters program on record files of every shape, written with the game's own encoder.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engines/control/controller.h"
#include "engines/control/record_file.h"
#include "support/run_program.h"
#include "support/work_dir.h"

namespace {

namespace fs = std::filesystem;

const char* const kRecordPath = "data/brasswick.rec";

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (fs::path(path).has_parent_path()) fs::create_directories(fs::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A record with every counter distinct (1000 + index), known sales and wins and a date.
RecordContents KnownContents() {
    RecordContents contents;
    for (int i = 0; i < kCounterCount; ++i)
        contents.counters[i] = 1000 + i;
    contents.counters[counter::kGames50p] = 40;    // £20.00 taken
    contents.counters[counter::kGamesPound] = 10;  // £10.00 taken
    contents.counters[counter::kWon50p] = 500;
    contents.counters[counter::kWonPound] = 450;
    contents.counters[counter::kWonTotal] = 950;
    contents.counters[counter::kPlayingSeconds] = 2500;
    contents.balances[0] = -15.0f;
    contents.balances[1] = 1000.0f;
    contents.firstWritten = "03/07/09";
    return contents;
}

// The counter lines of a text listing: every line that begins with a digit, index to value.
std::map<int, int64_t> CounterLines(const std::string& listing, int* lineCount) {
    std::map<int, int64_t> values;
    std::istringstream lines(listing);
    std::string line;
    *lineCount = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] < '0' || line[0] > '9') continue;
        std::istringstream fields(line);
        int index = -1;
        int64_t value = 0;
        fields >> index >> value;
        values[index] = value;
        ++*lineCount;
    }
    return values;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs a python3 check of the JSON text; true when it exits 0. Debian's own interpreter starts
// fastest; any python3 on the path will do.
bool PythonAccepts(const std::string& json, const std::string& check) {
    WriteBytes("listing.json", std::vector<uint8_t>(json.begin(), json.end()));
    std::ofstream("check.py") << "import json, sys\nd = json.load(open('listing.json'))\n"
                              << check << "\n";
    const char* python = fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
    return std::system((std::string(python) + " check.py").c_str()) == 0;
}

class MetersProgram : public ::testing::Test {
  protected:
    ScopedWorkDir workDir;
};

TEST_F(MetersProgram, ASoundFileListsEveryCounterAndTheFigures) {
    WriteBytes(kRecordPath, EncodeRecord(KnownContents()));
    const ProgramResult result = RunProgram("meters", {});  // the default file in this directory
    ASSERT_EQ(result.exitStatus, 0) << result.output;

    int lineCount = 0;
    const std::map<int, int64_t> counters = CounterLines(result.output, &lineCount);
    EXPECT_EQ(lineCount, kCounterCount);  // one line each, none twice
    const RecordContents expected = KnownContents();
    for (int i = 0; i < kCounterCount; ++i) {
        ASSERT_TRUE(counters.count(i)) << "no line for counter " << i;
        EXPECT_EQ(counters.at(i), expected.counters[i]) << "counter " << i;
    }
    EXPECT_TRUE(Contains(result.output, "first written 03/07/09"));
    EXPECT_TRUE(Contains(result.output, "-15.00  band 3"));
    EXPECT_TRUE(Contains(result.output, "1000.00  band 0"));
    EXPECT_TRUE(Contains(result.output, "offers made of 110p"));
    EXPECT_TRUE(Contains(result.output, "£20.00"));
    EXPECT_TRUE(Contains(result.output, "25.0 %"));
    EXPECT_TRUE(Contains(result.output, "45.0 %"));
    EXPECT_TRUE(Contains(result.output, "31.7 %"));
    EXPECT_TRUE(Contains(result.output, "50.0 s"));
    EXPECT_FALSE(Contains(result.output, "Warning"));
}

TEST_F(MetersProgram, TheJsonParsesAndCarriesValuesMeaningsAndFigures) {
    WriteBytes("other.rec", EncodeRecord(KnownContents()));
    const ProgramResult result = RunProgram("meters", {"--json", "other.rec"});
    ASSERT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_TRUE(PythonAccepts(result.output, R"(
c = d['counters']
assert [e['index'] for e in c] == list(range(181))
assert c[100]['value'] == 1100 and c[0]['value'] == 40
assert c[1]['meaning'] == 'games bought at \u00a31', c[1]['meaning']
assert c[86]['group'] == 'offers' and c[21]['unit'] == 'pence'
assert d['first_written'] == '03/07/09' and d['warnings'] == []
assert [(b['balance_pence'], b['band']) for b in d['balances']] == [(-15, 3), (1000, 0)]
f = d['figures']
assert [s['payout_percent'] for s in f['stakes']] == [25, 45]
assert abs(f['overall']['payout_percent'] - 95000 / 3000) < 1e-9
assert f['overall']['taken_pence'] == 3000 and f['average_game_seconds'] == 50
)"));
}

TEST_F(MetersProgram, NoSalesGiveNotApplicableAndNull) {
    RecordContents contents;
    contents.firstWritten = "12/31/24";
    WriteBytes(kRecordPath, EncodeRecord(contents));
    const ProgramResult text = RunProgram("meters", {});
    EXPECT_EQ(text.exitStatus, 0) << text.output;
    EXPECT_TRUE(Contains(text.output, "50p n/a"));
    EXPECT_TRUE(Contains(text.output, "n/a (no games sold)"));
    const ProgramResult json = RunProgram("meters", {"--json"});
    EXPECT_TRUE(PythonAccepts(json.output, R"(
f = d['figures']
assert f['overall']['payout_percent'] is None and f['average_game_seconds'] is None
)"));
}

TEST_F(MetersProgram, AShortFileShowsWhatItHoldsWarnsAndFails) {
    std::vector<uint8_t> bytes = EncodeRecord(KnownContents());
    bytes.resize(8 + 4 * 10 + 2);  // balances, counters 0 to 9 and half of counter 10
    WriteBytes(kRecordPath, bytes);
    const ProgramResult result = RunProgram("meters", {});
    EXPECT_EQ(result.exitStatus, 1) << result.output;
    EXPECT_TRUE(Contains(result.output, "Warning: the file is only 50 of 810 bytes"));
    EXPECT_TRUE(Contains(result.output, "no date"));
    int lineCount = 0;
    const std::map<int, int64_t> counters = CounterLines(result.output, &lineCount);
    EXPECT_EQ(lineCount, kCounterCount);
    EXPECT_EQ(counters.at(9), 1009);
    EXPECT_EQ(counters.at(10), 0);  // the game starts what the file cannot hold from zero
    EXPECT_EQ(counters.at(180), 0);
    EXPECT_TRUE(Contains(result.output, "[not in the file"));

    const ProgramResult json = RunProgram("meters", {"--json"});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_TRUE(PythonAccepts(json.standardOutput, R"(
assert d['counters'][9]['in_file'] and not d['counters'][10]['in_file']
assert len(d['warnings']) == 2 and d['first_written'] is None
)"));
}

TEST_F(MetersProgram, FilesTheGameWouldDeleteAreReportedAndLeftAlone) {
    for (const size_t size : {size_t{0}, size_t{10}}) {
        std::vector<uint8_t> bytes = EncodeRecord(KnownContents());
        bytes.resize(size);
        WriteBytes(kRecordPath, bytes);
        const ProgramResult result = RunProgram("meters", {});
        EXPECT_EQ(result.exitStatus, 1) << result.output;
        EXPECT_TRUE(Contains(result.output, "deletes it at start-up")) << result.output;
        int lineCount = 0;
        CounterLines(result.output, &lineCount);
        EXPECT_EQ(lineCount, 0);
        ASSERT_TRUE(fs::exists(kRecordPath)) << size;
        EXPECT_EQ(ReadBytes(kRecordPath), bytes);
    }
}

TEST_F(MetersProgram, AReadOnlyFileIsReadAndStaysReadOnly) {
    const std::vector<uint8_t> bytes = EncodeRecord(KnownContents());
    WriteBytes(kRecordPath, bytes);
    chmod(kRecordPath, 0444);
    const ProgramResult result = RunProgram("meters", {});
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    struct stat info {};
    ASSERT_EQ(stat(kRecordPath, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(ReadBytes(kRecordPath), bytes);
}

TEST_F(MetersProgram, AFileWithoutADateIsSuspicious) {
    RecordContents contents = KnownContents();
    contents.firstWritten.clear();  // ends in " Written "
    WriteBytes(kRecordPath, EncodeRecord(contents));
    const ProgramResult result = RunProgram("meters", {});
    EXPECT_EQ(result.exitStatus, 1) << result.output;
    EXPECT_TRUE(Contains(result.output, "first written (no date)"));
    EXPECT_TRUE(Contains(result.output, "Warning: the file holds no date"));
}

// Counters only count up: one read below zero is a damaged file, not a figure to total.
TEST_F(MetersProgram, ACounterBelowZeroMarksTheFileDamaged) {
    RecordContents contents = KnownContents();
    contents.counters[5] = -3;
    contents.counters[170] = -1;
    WriteBytes(kRecordPath, EncodeRecord(contents));
    const ProgramResult text = RunProgram("meters", {});
    EXPECT_EQ(text.exitStatus, 1) << text.output;
    EXPECT_TRUE(Contains(text.output, "Warning: 2 counters are below zero (5, 170)"));
    EXPECT_TRUE(Contains(text.output, "[below zero: damaged]"));

    const ProgramResult json = RunProgram("meters", {"--json"});
    EXPECT_EQ(json.exitStatus, 1);
    EXPECT_TRUE(PythonAccepts(json.standardOutput, R"(
assert d['negative_counters'] == [5, 170], d['negative_counters']
assert any('below zero' in w for w in d['warnings'])
)"));
}

TEST_F(MetersProgram, GarbageNeverCrashesTheListing) {
    std::vector<uint8_t> bytes(810);
    uint32_t state = 12345;
    for (uint8_t& byte : bytes) {
        state = state * 214013 + 2531011;
        byte = static_cast<uint8_t>(state >> 16);
    }
    // Balances that are not numbers (the game loads them as 0), and the largest and smallest
    // counters.
    for (size_t i = 0; i < 8; ++i)
        bytes[i] = 0xFF;
    for (size_t i = 8; i < 12; ++i)
        bytes[i] = i == 11 ? 0x80 : 0x00;
    WriteBytes(kRecordPath, bytes);
    for (const char* format : {"", "--json"}) {
        const std::vector<std::string> args =
            *format ? std::vector<std::string>{format} : std::vector<std::string>{};
        const ProgramResult result = RunProgram("meters", args);
        EXPECT_EQ(result.signal, 0);
        EXPECT_EQ(result.exitStatus, 1) << result.output;
        EXPECT_TRUE(Contains(result.output, "not a finite number")) << format;
    }
    const ProgramResult json = RunProgram("meters", {"--json"});
    EXPECT_TRUE(PythonAccepts(json.standardOutput, R"(
assert d['balances'][0]['balance_pence'] == 0 and d['counters'][0]['value'] == -2**31
)"));
}

TEST_F(MetersProgram, MissingFilesAndBadUsageExitWithTwo) {
    const ProgramResult missing = RunProgram("meters", {});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_TRUE(Contains(missing.output, "data/brasswick.rec: cannot open"));
    EXPECT_TRUE(Contains(missing.output, "content directory"));

    fs::create_directories("a-directory");
    EXPECT_EQ(RunProgram("meters", {"a-directory"}).exitStatus, 2);
    EXPECT_TRUE(Contains(RunProgram("meters", {"a-directory"}).output, "not a regular file"));
    ASSERT_EQ(mkfifo("a-pipe", 0600), 0);
    EXPECT_EQ(RunProgram("meters", {"a-pipe"}).exitStatus, 2);  // refused, not waited on

    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--csv"}, {"--json=yes"}, {"one.rec", "two.rec"}}) {
        const ProgramResult refused = RunProgram("meters", bad);
        EXPECT_EQ(refused.exitStatus, 2) << bad[0];
        EXPECT_EQ(std::count(refused.output.begin(), refused.output.end(), '\n'), 1)
            << refused.output;
    }
    const ProgramResult help = RunProgram("meters", {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.standardOutput.rfind("usage: meters", 0), 0u);
    const ProgramResult version = RunProgram("meters", {"--version"});
    EXPECT_EQ(version.standardOutput, "meters " VANTOR_VERSION_TEXT "\n");
}

TEST_F(MetersProgram, ALongerFileIsReadAsTheGameReadsIt) {
    std::vector<uint8_t> bytes = EncodeRecord(KnownContents());
    bytes.insert(bytes.begin() + kRecordValuesSize, 100, 'x');  // a longer banner
    WriteBytes("long.rec", bytes);
    const ProgramResult result = RunProgram("meters", {"long.rec"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(Contains(result.output, "longer than the 810"));
    EXPECT_TRUE(Contains(result.output, "first written 03/07/09"));
    int lineCount = 0;
    EXPECT_EQ(CounterLines(result.output, &lineCount).at(180), 1180);
}

}  // namespace
