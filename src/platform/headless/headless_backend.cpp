// The headless backend: no window, no audio device. Frames go nowhere but the harness captures;
// the message box becomes a line on standard error.
#include <cstdio>
#include <set>

#include "platform/backend.h"

namespace platform {
namespace {

std::set<int>& RefusedDepths() {
    static std::set<int> depths;
    return depths;
}

class HeadlessBackend final : public Backend {
  public:
    bool CreateMainWindow(bool) override { return true; }
    void CollectEvents(std::deque<Event>&) override {}
    ModeResult OpenDisplay(int width, int height, int bitsPerPixel) override {
        if (width != 800 || height != 600) return ModeResult::InvalidMode;
        if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
            return ModeResult::InvalidMode;
        return RefusedDepths().count(bitsPerPixel) ? ModeResult::InvalidMode : ModeResult::Ok;
    }
    void ShowFrame(const uint8_t*, ChangedRows) override {}
    void CloseDisplay() override {}
    void ShowMessageBox(const char* caption, const char* text) override {
        fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    }
    void DebugOutput(const char*) override {}
    // Tests and tools run anywhere: the headless cabinet does not insist on the font.
    bool QuestionFontAvailable() override { return true; }
};

}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() {
    return std::make_unique<HeadlessBackend>();
}

void SetHeadlessRefusedDepth(int bitsPerPixel, bool refuse) {
    if (refuse)
        RefusedDepths().insert(bitsPerPixel);
    else
        RefusedDepths().erase(bitsPerPixel);
}

}  // namespace platform
