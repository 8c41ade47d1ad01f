#include "platform/harness/frame_times.h"

namespace platform {

bool FrameTimes::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void FrameTimes::Close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    counting_ = false;
}

void FrameTimes::YieldStarted() {
    if (file_) yieldStart_ = Clock::now();
}

void FrameTimes::YieldEnded() {
    if (file_) waited_ += Clock::now() - yieldStart_;
}

void FrameTimes::FramePresented(uint32_t ms) {
    if (!file_ || !counting_) return;
    const auto work = Clock::now() - frameStart_ - waited_;
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(work).count();
    std::fprintf(file_, "%u %lld\n", ms, static_cast<long long>(micros));
}

void FrameTimes::PresentEnded() {
    if (!file_) return;
    counting_ = true;
    frameStart_ = Clock::now();
    waited_ = Clock::duration{};
}

}  // namespace platform
