#include "platform/harness/frame_times.h"

#include <time.h>

namespace platform {

int64_t FrameTimes::ThreadCpuMicros() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

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
    if (!file_) return;
    yieldStart_ = Clock::now();
    cpuYieldStart_ = ThreadCpuMicros();
}

// The pacing between two frames takes about one yield a millisecond for 15 ms.
constexpr int kPacingYields = 16;

void FrameTimes::YieldEnded() {
    if (!file_) return;
    if (++yieldsThisFrame_ > kPacingYields) {
        StartCounting();
        return;
    }
    waited_ += Clock::now() - yieldStart_;
    cpuWaited_ += ThreadCpuMicros() - cpuYieldStart_;
}

void FrameTimes::FramePresented(uint32_t ms) {
    if (!file_ || !counting_) return;
    const auto work = Clock::now() - frameStart_ - waited_;
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(work).count();
    const int64_t cpuMicros = ThreadCpuMicros() - cpuFrameStart_ - cpuWaited_;
    std::fprintf(file_, "%u %lld %lld\n", ms, static_cast<long long>(micros),
                 static_cast<long long>(cpuMicros));
}

void FrameTimes::PresentEnded() {
    if (!file_) return;
    counting_ = true;
    StartCounting();
}

void FrameTimes::StartCounting() {
    frameStart_ = Clock::now();
    waited_ = Clock::duration{};
    cpuFrameStart_ = ThreadCpuMicros();
    cpuWaited_ = 0;
    yieldsThisFrame_ = 0;
}

}  // namespace platform
