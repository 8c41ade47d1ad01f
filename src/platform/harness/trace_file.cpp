#include "platform/harness/trace_file.h"

#include <cinttypes>
#include <cstdint>

namespace platform {

bool TraceFile::Open(const std::string& path) {
    Close();
    file_ = fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void TraceFile::Close() {
    if (file_) fclose(file_);
    file_ = nullptr;
}

void TraceFile::Line(uint32_t ms, const std::string& text) {
    if (!file_) return;
    fprintf(file_, "%" PRIu32 " %s\n", ms, text.c_str());
    fflush(file_);
}

}  // namespace platform
