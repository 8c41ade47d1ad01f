#include "cabinet.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <mutex>

#include "platform/host_path.h"

namespace {

constexpr int kSteadyReadAttempts = 5;

bool SameFileState(const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::string CanonicalPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

}  // namespace

std::string RecordFilePath(const std::string& contentDir) {
    return platform::HostPath(contentDir + "/" + std::string(kRecordFileName));
}

std::string GameLogPath(const std::string& contentDir) {
    return platform::HostPath(contentDir + "/~system/logs/Vantor.txt");
}

std::string FailedGameLogPath(const std::string& contentDir) {
    return platform::HostPath(contentDir + "/~system/logs/Vantor.failed.txt");
}

RecordReading ReadRecordSteadily(const std::string& path) {
    RecordReading reading;
    for (int attempt = 0; attempt < kSteadyReadAttempts; ++attempt) {
        struct stat before {};
        struct stat after {};
        const bool statBefore = stat(path.c_str(), &before) == 0;
        reading = ReadRecordAt(path);
        const bool statAfter = stat(path.c_str(), &after) == 0;
        if (!reading.failure.empty() || !statBefore || !statAfter || SameFileState(before, after)) {
            return reading;
        }
    }
    reading.failure = "the file kept changing while it was read";
    return reading;
}

MeterReport ReportRecord(const std::string& path, const RecordReading& reading) {
    // The bands are asked of the controller with the balances loaded into its tables.
    static std::mutex controllerTables;
    const std::lock_guard lock(controllerTables);
    return MakeReport(path, reading);
}

GameProcess FindGameProcess(const std::string& contentDir, const std::string& procDir) {
    GameProcess found;
    const std::string content = CanonicalPath(contentDir);
    DIR* dir = opendir(procDir.c_str());
    if (!dir) return found;
    while (const dirent* entry = readdir(dir)) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') continue;
        const std::string base = procDir + "/" + entry->d_name;
        std::ifstream commFile(base + "/comm");
        std::string comm;
        if (!std::getline(commFile, comm) || comm != "vantor") continue;
        char cwd[PATH_MAX];
        const ssize_t length = readlink((base + "/cwd").c_str(), cwd, sizeof cwd - 1);
        if (length < 0) {
            if (found.state == GameProcessState::NotRunning) {
                found = {GameProcessState::RunningUnconfirmed, pid};
            }
            continue;
        }
        if (!content.empty() && std::string(cwd, static_cast<size_t>(length)) == content) {
            found = {GameProcessState::Running, pid};
            break;
        }
    }
    closedir(dir);
    return found;
}
