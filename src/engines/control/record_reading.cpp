#include "engines/control/record_reading.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// An open file descriptor, closed when it goes out of scope. Opened without blocking, so that a
// named pipe given by mistake is refused rather than waited on.
struct ReadOnlyFile {
    int fd;
    explicit ReadOnlyFile(const std::string& path)
        : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~ReadOnlyFile() {
        if (fd >= 0) close(fd);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
};

// Reads exactly `count` bytes from `offset`; false when the file ends early or a read fails.
bool ReadExactly(int fd, uint64_t offset, size_t count, std::vector<uint8_t>& bytes) {
    bytes.assign(count, 0);
    size_t done = 0;
    while (done < count) {
        const ssize_t got =
            pread(fd, bytes.data() + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

std::string Reason(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

RecordReading ReadRecordAt(const std::string& path) {
    RecordReading reading;
    const ReadOnlyFile file(path);
    if (file.fd < 0) {
        reading.failure = Reason("cannot open");
        return reading;
    }
    struct stat info {};
    if (fstat(file.fd, &info) != 0) {
        reading.failure = Reason("cannot query its size");
        return reading;
    }
    if (!S_ISREG(info.st_mode)) {
        reading.failure = "not a regular file";
        return reading;
    }
    reading.fileSize = static_cast<uint64_t>(info.st_size);

    // The game reads the values from the first 732 bytes and its date from the last 8.
    std::vector<uint8_t> values;
    std::vector<uint8_t> dateBytes;
    errno = 0;
    const size_t valuesSize =
        static_cast<size_t>(std::min<uint64_t>(reading.fileSize, kRecordValuesSize));
    const size_t dateSize =
        static_cast<size_t>(std::min<uint64_t>(reading.fileSize, kRecordDateSize));
    if (!ReadExactly(file.fd, 0, valuesSize, values) ||
        !ReadExactly(file.fd, reading.fileSize - dateSize, dateSize, dateBytes)) {
        reading.failure = errno != 0 ? Reason("cannot read") : "the file changed while it was read";
        return reading;
    }
    reading.loadable = DecodeRecord(values, reading.contents);
    for (int stake = 0; stake < kStakeCount; ++stake) {
        const size_t at = static_cast<size_t>(stake) * 4;
        if (!reading.loadable || at + 4 > values.size()) continue;
        const uint32_t bits = static_cast<uint32_t>(values[at]) | values[at + 1] << 8 |
                              values[at + 2] << 16 | static_cast<uint32_t>(values[at + 3]) << 24;
        reading.balanceNotFinite[stake] = !std::isfinite(std::bit_cast<float>(bits));
    }
    if (reading.loadable) {
        reading.valuesHeld = valuesSize / 4;
        reading.contents.firstWritten = RecordDateOf(dateBytes);
    }
    return reading;
}
