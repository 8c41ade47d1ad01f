#include "base/timers.h"

#include "base/waits.h"

namespace {

struct ProgressTimer {
    uint32_t start = 0;
    uint32_t duration = 0;
    bool finished = false;

    void Start(uint32_t ms) {
        finished = false;
        duration = ms;
        start = ClockMs();
    }

    uint32_t Progress(uint32_t scale) {
        uint32_t elapsed = ClockMs() - start;
        if (elapsed >= duration) {
            elapsed = duration;
            finished = true;
        }
        if (duration == 0) return scale;
        return scale * elapsed / duration;
    }

    bool Expired() {
        if (finished) return true;
        finished = ClockMs() - start >= duration;
        return false;
    }
};

ProgressTimer singleTimer;
ProgressTimer slotTimers[kSlotTimerCount];

}  // namespace

void StartTimer(uint32_t ms) {
    singleTimer.Start(ms);
}
uint32_t TimerProgress(uint32_t scale) {
    return singleTimer.Progress(scale);
}
bool TimerExpired() {
    return singleTimer.Expired();
}

void StartSlotTimer(uint32_t ms, int slot) {
    slotTimers[slot].Start(ms);
}
uint32_t SlotTimerProgress(uint32_t scale, int slot) {
    return slotTimers[slot].Progress(scale);
}
bool SlotTimerExpired(int slot) {
    return slotTimers[slot].Expired();
}

void ResetTimers() {
    singleTimer = {};
    for (ProgressTimer& timer : slotTimers)
        timer = {};
}
