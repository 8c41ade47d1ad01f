#include "shell/input.h"

#include "graphics/sprites.h"
#include "platform/platform.h"

int16_t swTouchX = -1;
int16_t swTouchY = -1;

void PumpMessages() {
    if (SpritesStoppedTheDisplay()) throw DisplayStopped();
    platform::Event event;
    while (platform::NextEvent(event)) {
        if (event.kind == platform::EventKind::Quit) throw WindowClosed();
        swTouchX = event.x;
        swTouchY = event.y;
    }
}

void FlushInput() {
    platform::DiscardEvents();
    swTouchX = -1;
    swTouchY = -1;
}
