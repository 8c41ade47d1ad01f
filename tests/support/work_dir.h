// A fresh, empty working directory for one test: made and entered on construction, left and
// removed on destruction, so tests that write "~system", "data" or captures never meet.
#pragma once

#include <string>

class ScopedWorkDir {
  public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};

// Whole-file helpers for tests.
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
