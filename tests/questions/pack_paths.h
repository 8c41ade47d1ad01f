// Where the game finds its question packs, relative to its working directory, and writing them.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/work_dir.h"

// Pack file number n (1 to 48) under a content directory.
inline std::string PackPath(int fileNumber, const std::filesystem::path& contentDir = ".") {
    char name[16];
    std::snprintf(name, sizeof name, "Data%02d.pck", fileNumber);
    return (contentDir / "Questions" / "trueorfalse" / name).string();
}

// Writes a file, making its directory first.
inline void WriteFileMakingDirs(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    WriteFileText(path.string(), bytes);
}
