#include "screens/answer_clock.h"

#include <cstdio>

#include "base/waits.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"

namespace {

struct AnswerClock {
    int32_t duration = 0;
    int32_t remaining = 0;
    uint32_t start = 0;
    bool running = false;
} answerClock;

void DrawSeconds(int32_t seconds) {
    DrawSprite(secondsSprite, 0, 306, 0, nullptr, 1);
    char text[16];
    snprintf(text, sizeof text, "%d", seconds);
    TextCentreH = 1;
    DrawFontText(text, 351, 45, 100, 31, 3);
}

}  // namespace

void AnswerClockSet(uint32_t ms, uint8_t silent) {
    answerClock.duration = static_cast<int32_t>(ms);
    answerClock.remaining = static_cast<int32_t>(ms);
    answerClock.running = false;
    if (!silent) DrawSeconds(answerClock.remaining / 1000);
}

void AnswerClockStart() {
    if (answerClock.running) return;
    answerClock.start = ClockMs();
    answerClock.running = true;
}

void AnswerClockStop() {
    if (!answerClock.running) return;
    int32_t left = answerClock.remaining + static_cast<int32_t>(answerClock.start - ClockMs());
    answerClock.remaining = left < 0 ? 0 : left;
    answerClock.running = false;
}

int32_t AnswerClockRemaining() {
    int32_t left = answerClock.remaining;
    if (answerClock.running) left += static_cast<int32_t>(answerClock.start - ClockMs());
    if (left <= 0) AnswerClockStop();
    return left;
}

void AnswerClockDraw() {
    DrawSeconds(AnswerClockRemaining() / 1000);
}

void ForgetAnswerClock() {
    answerClock = AnswerClock{};
}
