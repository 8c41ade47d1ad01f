// Files that must survive a power cut: each is replaced whole, never written over in place, so
// a cut at any moment leaves either the old file or the new one.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Writes `bytes` to a temporary file beside `path` ("path.tmp"), makes them durable and renames
// the file over `path`. Empty on success; otherwise what failed (the temporary file is removed and
// `path` is as it was).
std::string ReplaceFileDurably(const std::string& path, std::span<const uint8_t> bytes);

// Removes `path` for good (the removal itself made durable). True when it is gone.
bool RemoveFileDurably(const std::string& path);

// An open regular file and its size, closed when it goes out of scope. Anything else at the path
// (a directory, a pipe, a device) counts as no file: it is opened without waiting for a writer.
struct OpenRegularFile {
    int fd = -1;
    int64_t size = 0;
    explicit OpenRegularFile(const std::string& path);
    ~OpenRegularFile();
    OpenRegularFile(const OpenRegularFile&) = delete;
    OpenRegularFile& operator=(const OpenRegularFile&) = delete;
};

// Reads up to `count` bytes from `offset`, retrying short reads; the bytes actually read.
std::vector<uint8_t> ReadFileBytes(int fd, int64_t offset, size_t count);

// Makes a file its owner cannot write writable again, so it can be replaced.
void MakeOwnerWritable(const std::string& path);
