// A fresh directory that the test runs in, as the game runs in its content directory; removed,
// and the old working directory restored, at the end of the test.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

class ScratchDir {
  public:
    ScratchDir() : previous_(std::filesystem::current_path()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-questions-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make " << pattern;
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~ScratchDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Where the game finds pack file number n (1 to 48), relative to its working directory.
inline std::filesystem::path PackPath(const std::filesystem::path& contentDir, int fileNumber) {
    char name[16];
    std::snprintf(name, sizeof name, "Data%02d.pck", fileNumber);
    return contentDir / "Questions" / "trueorfalse" / name;
}
