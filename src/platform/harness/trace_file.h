// The --trace file: one line per harness event, each beginning with the clock in milliseconds.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

class TraceFile {
  public:
    ~TraceFile() { Close(); }
    bool Open(const std::string& path);
    void Close();
    // Writes "MS <text>" and flushes, so the trace survives a crash.
    void Line(uint32_t ms, const std::string& text);

  private:
    FILE* file_ = nullptr;
};

}  // namespace platform
