#include "engines/control/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <ctime>

#include "base/log.h"
#include "engines/control/durable_file.h"
#include "platform/host_path.h"
#include "platform/platform.h"

namespace {

// ---- Bytes --------------------------------------------------------------------------------------

void PutUint32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t GetUint32(std::span<const uint8_t> bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[offset + i];
    return value;
}

bool IsDate(std::string_view word) {
    if (word.size() != kRecordDateSize) return false;
    for (size_t i = 0; i < word.size(); ++i) {
        const bool slash = i == 2 || i == 5;
        if (slash ? word[i] != '/' : (word[i] < '0' || word[i] > '9')) return false;
    }
    return true;
}

// Today's local date as the trailer writes it: month, day, two-digit year.
std::string TodayRecordDate() {
    const time_t now = static_cast<time_t>(platform::CalendarSeconds());
    std::tm local{};
    char text[16] = "01/01/70";
    if (localtime_r(&now, &local) != nullptr) std::strftime(text, sizeof text, "%m/%d/%y", &local);
    return text;
}

RecordContents ControllerContents() {
    RecordContents contents;
    for (int i = 0; i < kStakeCount; ++i)
        contents.balances[i] = controllerBalances[i];
    for (int i = 0; i < kCounterCount; ++i)
        contents.counters[i] = gameCounters[i];
    return contents;
}

void StoreInController(const RecordContents& contents) {
    for (int i = 0; i < kStakeCount; ++i)
        controllerBalances[i] = contents.balances[i];
    for (int i = 0; i < kCounterCount; ++i)
        gameCounters[i] = contents.counters[i];
}

// ---- Files --------------------------------------------------------------------------------------

// The date of the file's first writing from its last 8 bytes, or today's when it has none.
std::string DateToKeep(const std::string& path) {
    const OpenRegularFile file(path);
    if (file.fd >= 0 && file.size >= static_cast<int64_t>(kRecordDateSize)) {
        const std::string kept =
            RecordDateOf(ReadFileBytes(file.fd, file.size - kRecordDateSize, kRecordDateSize));
        if (!kept.empty()) return kept;
    }
    return TodayRecordDate();
}

}  // namespace

std::vector<uint8_t> EncodeRecord(const RecordContents& contents) {
    std::vector<uint8_t> bytes;
    bytes.reserve(kRecordFileSize);
    for (float balance : contents.balances)
        PutUint32(bytes, std::bit_cast<uint32_t>(balance));
    for (int32_t count : contents.counters)
        PutUint32(bytes, static_cast<uint32_t>(count));
    bytes.insert(bytes.end(), kRecordBanner.begin(), kRecordBanner.end());
    bytes.insert(bytes.end(), kRecordTrailerText.begin(), kRecordTrailerText.end());
    bytes.insert(bytes.end(), contents.firstWritten.begin(), contents.firstWritten.end());
    return bytes;
}

bool DecodeRecord(std::span<const uint8_t> bytes, RecordContents& contents) {
    if (bytes.size() <= kDamagedRecordSize) return false;
    const size_t wholeValues = std::min(bytes.size(), kRecordValuesSize) / 4;
    for (size_t value = 0; value < wholeValues; ++value) {
        const uint32_t raw = GetUint32(bytes, value * 4);
        if (value < kStakeCount) {
            // A damaged file can hold a balance that is not a number or infinite; the controller
            // could never move it again and would keep one band for ever, so it starts at 0.
            const float balance = std::bit_cast<float>(raw);
            contents.balances[value] = std::isfinite(balance) ? balance : 0.0f;
        } else {
            contents.counters[value - kStakeCount] = static_cast<int32_t>(raw);
        }
    }
    contents.firstWritten = RecordDateOf(bytes);
    return true;
}

std::string RecordDateOf(std::span<const uint8_t> bytes) {
    if (bytes.size() < kRecordDateSize) return {};
    const std::span<const uint8_t> last = bytes.last(kRecordDateSize);
    const std::string word(last.begin(), last.end());
    return IsDate(word) ? word : std::string();
}

void ReadRecordFile() {
    const std::string path = platform::HostPath(kRecordFileName);
    const OpenRegularFile file(path);
    if (file.fd < 0) {
        ResetControlData();
        return;
    }
    if (file.size <= static_cast<int64_t>(kDamagedRecordSize)) {
        ResetControlData();
        MakeOwnerWritable(path);
        unlink(path.c_str());
        return;
    }
    RecordContents contents = ControllerContents();
    if (DecodeRecord(ReadFileBytes(file.fd, 0, kRecordValuesSize), contents)) {
        StoreInController(contents);
    }
}

void WriteRecordFile() {
    mkdir(platform::HostPath(kRecordDirectoryName).c_str(), 0777);  // may exist already
    const std::string path = platform::HostPath(kRecordFileName);
    RecordContents contents = ControllerContents();
    contents.firstWritten = DateToKeep(path);
    MakeOwnerWritable(path);
    // A save that fails (a full disk, a read-only data directory) is tried again at the next
    // one; the operator is told, since the meters on disk fall behind until then.
    const std::string failure = ReplaceFileDurably(path, EncodeRecord(contents));
    if (!failure.empty()) LogPrint("Record file not saved: %s\n", failure.c_str());
}
