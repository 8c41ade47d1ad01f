#include "base/input.h"

#include "platform/platform.h"

int16_t swTouchX = -1;
int16_t swTouchY = -1;

namespace {
bool runEnding = false;
bool displayLost = false;
}  // namespace

void PumpMessages() {
    if (displayLost) throw DisplayStopped();
    platform::Event event;
    while (platform::NextEvent(event)) {
        if (event.kind == platform::EventKind::Quit) {
            if (runEnding) continue;
            throw WindowClosed();
        }
        swTouchX = event.x;
        swTouchY = event.y;
    }
}

void FlushInput() {
    platform::DiscardEvents();
    swTouchX = -1;
    swTouchY = -1;
}

void NoteDisplayLost(bool lost) {
    displayLost = lost;
}

void RunEnding() {
    runEnding = true;
}

void ResetInput() {
    swTouchX = -1;
    swTouchY = -1;
    runEnding = false;
    displayLost = false;
}
