#include "engines/control/durable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool WriteBytes(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncDirectory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

std::string Failure(const char* step, const std::string& path) {
    return std::string(step) + " " + path + ": " + std::strerror(errno);
}

}  // namespace

std::string ReplaceFileDurably(const std::string& path, std::span<const uint8_t> bytes) {
    const std::string temporary = path + ".tmp";
    unlink(temporary.c_str());  // a leftover of an interrupted write, possibly read-only
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Failure("cannot create", temporary);
    std::string failure;
    if (!WriteBytes(fd, bytes) || fsync(fd) != 0) failure = Failure("cannot write", temporary);
    if (close(fd) != 0 && failure.empty()) failure = Failure("cannot write", temporary);
    if (failure.empty() && rename(temporary.c_str(), path.c_str()) != 0)
        failure = Failure("cannot rename over", path);
    if (!failure.empty()) {
        unlink(temporary.c_str());
        return failure;
    }
    SyncDirectory(DirectoryOf(path));
    return {};
}

bool RemoveFileDurably(const std::string& path) {
    if (unlink(path.c_str()) != 0 && errno != ENOENT) return false;
    SyncDirectory(DirectoryOf(path));
    return true;
}

OpenRegularFile::OpenRegularFile(const std::string& path) {
    fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        close(fd);
        fd = -1;
    }
    size = info.st_size;
}

OpenRegularFile::~OpenRegularFile() {
    if (fd >= 0) close(fd);
}

std::vector<uint8_t> ReadFileBytes(int fd, int64_t offset, size_t count) {
    std::vector<uint8_t> bytes(count);
    size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, bytes.data() + done, count - done,
                                  static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

void MakeOwnerWritable(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0) {
        chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
    }
}
