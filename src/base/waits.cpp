#include "base/waits.h"

#include "base/input.h"
#include "platform/platform.h"

uint32_t ClockMs() {
    return platform::Milliseconds();
}

bool ClockReached(uint32_t now, uint32_t time) {
    return static_cast<int32_t>(now - time) >= 0;
}

uint32_t SetDeadline(uint32_t& deadline, uint32_t ms) {
    deadline = ClockMs() + ms;
    return deadline;
}

uint32_t SetDeadlineNow(uint32_t& deadline) {
    return SetDeadline(deadline, 0);
}

bool DeadlinePassed(uint32_t deadline) {
    return ClockReached(ClockMs(), deadline);
}

void WaitMs(uint32_t ms) {
    constexpr uint32_t kPumpInterval = 250;
    const uint32_t start = ClockMs();
    uint32_t lastPump = start;
    PumpMessages();
    while (ClockMs() - start < ms) {
        platform::Yield();
        if (ClockMs() - lastPump >= kPumpInterval) {
            lastPump = ClockMs();
            PumpMessages();
        }
    }
}

void WaitIgnoringTouches(uint16_t ms) {
    uint32_t deadline;
    SetDeadline(deadline, ms);
    do {
        FlushInput();
        WaitMs(20);
    } while (!DeadlinePassed(deadline));
}

int WaitForTouch(uint32_t ms) {
    FlushInput();
    uint32_t deadline;
    SetDeadline(deadline, ms);
    for (;;) {
        if (DeadlinePassed(deadline)) return 1;
        if (swTouchX != -1) return swTouchX;
        platform::Yield();
        PumpMessages();
    }
}
