#include "game_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "game_text.h"

namespace {

constexpr size_t kWholeFileLimit = 256 * 1024;
constexpr size_t kHeadSize = 4 * 1024;
constexpr size_t kTailSize = 64 * 1024;
constexpr std::string_view kStampSeparator = " - ";
constexpr size_t kStampLength = 19;  // "DD/MM/YYYY HH:MM:SS"
constexpr std::string_view kStartBanner = " - Start of Log";

// The lines of the game that end a run, and the exit status each stands for.
struct EndLine {
    std::string_view prefix;
    int status;
    const char* meaning;
};
constexpr EndLine kEndLines[] = {
    {"Closing log", 0, "orderly end"},
    {"Display lost", 250, "the display was lost"},
    {"Initialise Questions Failed", 249, "a question pack is missing"},
    {"Initialise Direct Sound Failed", 248, "the sound effects could not start"},
};

bool IsStamp(std::string_view line) {
    if (line.size() < kStampLength + kStampSeparator.size()) return false;
    constexpr std::string_view pattern = "dd/dd/dddd dd:dd:dd";
    for (size_t i = 0; i < kStampLength; ++i) {
        const char c = line[i];
        if (pattern[i] == 'd' ? (c < '0' || c > '9') : c != pattern[i]) return false;
    }
    return line.substr(kStampLength, kStampSeparator.size()) == kStampSeparator;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

void NoteStart(GameLogSummary& summary, std::string_view line) {
    const std::string_view message = line.substr(kStampLength + kStampSeparator.size());
    const size_t banner = line.find(kStartBanner);
    if (banner == std::string_view::npos || !message.starts_with("Vantor ")) return;
    summary.startedAt = std::string(line.substr(0, kStampLength));
    const size_t versionStart = kStampLength + kStampSeparator.size() + 7;
    summary.version = std::string(line.substr(versionStart, banner - versionStart));
    summary.endedAt.clear();
    summary.endMessage.clear();
    summary.exitStatus = -1;
}

void NoteEnd(GameLogSummary& summary, std::string_view line) {
    const std::string_view message = line.substr(kStampLength + kStampSeparator.size());
    for (const EndLine& end : kEndLines) {
        if (message.starts_with(end.prefix)) {
            summary.endedAt = std::string(line.substr(0, kStampLength));
            summary.endMessage = Utf8Text(message);
            summary.exitStatus = end.status;
        }
    }
}

}  // namespace

GameLogSummary SummariseGameLog(std::string_view head, std::string_view tail, size_t lineCount) {
    GameLogSummary summary;
    // The start banner is the log's first line; the end, if any, is among the last.
    for (const std::string_view line : SplitLines(head)) {
        if (IsStamp(line) && summary.startedAt.empty()) NoteStart(summary, line);
    }
    const bool whole = tail.empty();
    std::vector<std::string_view> lines = SplitLines(whole ? head : tail);
    // A tail begins part-way through a line: that piece is not shown.
    if (!whole && !lines.empty()) lines.erase(lines.begin());
    for (const std::string_view line : lines) {
        if (IsStamp(line)) NoteEnd(summary, line);
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    const size_t first = lines.size() > lineCount ? lines.size() - lineCount : 0;
    for (size_t i = first; i < lines.size(); ++i)
        summary.lastLines.push_back(Utf8Text(lines[i]));
    return summary;
}

std::string DescribeEnd(const GameLogSummary& summary) {
    for (const EndLine& end : kEndLines) {
        if (end.status == summary.exitStatus) {
            return std::string(end.meaning) + " (exit status " + std::to_string(end.status) + ")";
        }
    }
    return "no end recorded";
}

GameLogFile ReadGameLog(const std::string& path) {
    GameLogFile log;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        log.failure = std::strerror(errno);
        return log;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        log.failure = "not a regular file";
        close(fd);
        return log;
    }
    log.size = static_cast<unsigned long long>(info.st_size);
    const auto readAt = [fd](std::string& into, off_t offset, size_t count) {
        into.assign(count, '\0');
        size_t done = 0;
        while (done < count) {
            const ssize_t got =
                pread(fd, into.data() + done, count - done, offset + static_cast<off_t>(done));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            done += static_cast<size_t>(got);
        }
        into.resize(done);  // the game may be writing: what is there is read
    };
    if (log.size <= kWholeFileLimit) {
        readAt(log.head, 0, static_cast<size_t>(log.size));
    } else {
        readAt(log.head, 0, kHeadSize);
        readAt(log.tail, static_cast<off_t>(log.size - kTailSize), kTailSize);
    }
    close(fd);
    return log;
}
