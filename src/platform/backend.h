// What a backend supplies to the platform layer. The shared part (clock, scripted touches,
// captures, trace) lives in platform.cpp; a backend only knows its own window and device.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "platform/platform.h"

namespace platform {

class Backend {
  public:
    virtual ~Backend() = default;
    virtual bool CreateMainWindow(bool windowed) = 0;
    // Moves the machine's pending input (touches, window closed) onto the queue.
    virtual void CollectEvents(std::deque<Event>& queue) = 0;
    virtual ModeResult OpenDisplay(int width, int height, int bitsPerPixel) = 0;
    // Shows an 800 x 600 frame of 32-bit pixels (bytes blue, green, red, unused), of which only
    // the changed rows differ from the frame shown before.
    virtual void ShowFrame(const uint8_t* pixels, ChangedRows changed) = 0;
    virtual void CloseDisplay() = 0;
    virtual void ShowMessageBox(const char* caption, const char* text) = 0;
    virtual void DebugOutput(const char* text) = 0;
    virtual bool QuestionFontAvailable() = 0;
};

std::unique_ptr<Backend> MakeHeadlessBackend();
std::unique_ptr<Backend> MakeSdlBackend();

// Looks for a bold sans-serif TrueType font in the system's font folders.
bool BoldSansFontInstalled();

// The headless display's refused depths (tests exercise the depth fall-back with them).
void SetHeadlessRefusedDepth(int bitsPerPixel, bool refuse);

}  // namespace platform
