// The --frame-times file: how long the game worked on each frame, from the end of one present to
// the start of the next, leaving out the time spent waiting in yields (the frame pacing, timed
// pauses). One line a frame: "MS MICROSECONDS CPU_MICROSECONDS", MS on the game's clock: the real
// time the work took, and the processor time the game's thread used for it, which a busy machine
// does not inflate. A wait longer than a frame's pacing (a timed pause, a screen waiting for a
// touch) is no frame: the count starts again after it, so the passes of its loop are not added to
// the next frame's work.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

class FrameTimes {
  public:
    ~FrameTimes() { Close(); }
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Brackets every yield, so its time is not counted as work.
    void YieldStarted();
    void YieldEnded();
    // A frame is being presented: writes the work done since the previous one ended.
    void FramePresented(uint32_t ms);
    // The present is done: the next frame's work starts now.
    void PresentEnded();

  private:
    using Clock = std::chrono::steady_clock;
    static int64_t ThreadCpuMicros();
    void StartCounting();
    FILE* file_ = nullptr;
    bool counting_ = false;  // false until the first present ends
    Clock::time_point frameStart_{};
    Clock::time_point yieldStart_{};
    Clock::duration waited_{};
    int64_t cpuFrameStart_ = 0;
    int64_t cpuYieldStart_ = 0;
    int64_t cpuWaited_ = 0;
    int yieldsThisFrame_ = 0;
};

}  // namespace platform
