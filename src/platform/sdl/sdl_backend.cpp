// The cabinet's backend: an SDL2 window showing the 800 x 600 screen scaled to fit (letter-boxed),
// full screen unless --windowed. Left mouse button and finger presses both arrive as touches in
// screen pixels; closing the window asks for the orderly shut-down.
#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/backend.h"

namespace platform {
namespace {

// The window's title, for the desktop's task bar and window list.
constexpr const char* kWindowTitle = "Vantor";

// SDL falls back to drivers that draw into memory only when it finds no screen (an SSH session
// without DISPLAY, say). A cabinet or a window that nobody can see would take money unseen, so
// those drivers are refused; a run without a screen says so with --headless.
bool RefuseInvisibleDriver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    for (const char* invisible : {"offscreen", "dummy"}) {
        if (SDL_strcasecmp(driver, invisible) == 0) {
            fprintf(stderr,
                    "vantor: no screen to show the game on (SDL's '%s' display driver shows "
                    "nothing; is DISPLAY set?): use --headless to run without one\n",
                    driver);
            return true;
        }
    }
    return false;
}

class SdlBackend final : public Backend {
  public:
    ~SdlBackend() override {
        CloseDisplay();
        if (renderer_) SDL_DestroyRenderer(renderer_);
        if (window_) SDL_DestroyWindow(window_);
        if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // The cabinet's screen: a borderless window covering the whole desktop. A cabinet runs a bare
    // X server with no window manager to resize a window for full screen, so the window is made at
    // the desktop's size and place from the start.
    static SDL_Window* CreateFullScreenWindow() {
        SDL_DisplayMode desktop{};
        int width = 800, height = 600;
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0) {
            width = desktop.w;
            height = desktop.h;
        }
        return SDL_CreateWindow(kWindowTitle, 0, 0, width, height,
                                SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
    }

    bool CreateMainWindow(bool windowed) override {
        // Touch screens would otherwise also send a synthetic mouse press for every finger.
        SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
        // The platform catches the stop signals itself; SDL's own handlers would turn them into
        // a window close behind its back.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            fprintf(stderr, "vantor: cannot start the display system: %s\n", SDL_GetError());
            return false;
        }
        videoStarted_ = true;
        if (RefuseInvisibleDriver()) return false;
        window_ = windowed
                      ? SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_UNDEFINED,
                                         SDL_WINDOWPOS_UNDEFINED, 800, 600, SDL_WINDOW_RESIZABLE)
                      : CreateFullScreenWindow();
        if (!window_) {
            fprintf(stderr, "vantor: cannot create the window: %s\n", SDL_GetError());
            return false;
        }
        // The game paces its own frames every 15 ms, so the renderer must not wait for vsync.
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
        if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, 0);
        if (!renderer_) {
            fprintf(stderr, "vantor: cannot create a renderer: %s\n", SDL_GetError());
            return false;
        }
        SDL_RenderSetLogicalSize(renderer_, 800, 600);
        SDL_ShowCursor(SDL_DISABLE);
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
        SDL_RenderClear(renderer_);
        SDL_RenderPresent(renderer_);
        return true;
    }

    void CollectEvents(std::deque<Event>& queue) override {
        if (!videoStarted_) return;
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_WINDOWEVENT) {
                // Uncovered, resized or shown again: the next frame is presented even unchanged.
                repaintNeeded_ = true;
            } else if (event.type == SDL_QUIT) {
                queue.push_back(Event{EventKind::Quit, 0, 0});
            } else if (event.type == SDL_MOUSEBUTTONDOWN &&
                       event.button.button == SDL_BUTTON_LEFT &&
                       event.button.which != SDL_TOUCH_MOUSEID) {
                queue.push_back(TouchAt(event.button.x, event.button.y));
            } else if (event.type == SDL_FINGERDOWN) {
                int width = 0, height = 0;
                SDL_GetWindowSize(window_, &width, &height);
                float x = 0, y = 0;
                SDL_RenderWindowToLogical(renderer_, static_cast<int>(event.tfinger.x * width),
                                          static_cast<int>(event.tfinger.y * height), &x, &y);
                queue.push_back(TouchAt(static_cast<int>(x), static_cast<int>(y)));
            }
        }
    }

    ModeResult OpenDisplay(int width, int height, int bitsPerPixel) override {
        if (!renderer_) return ModeResult::Failed;
        if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
            return ModeResult::InvalidMode;
        CloseDisplay();
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                     SDL_TEXTUREACCESS_STREAMING, width, height);
        width_ = width;
        height_ = height;
        repaintNeeded_ = true;
        return texture_ ? ModeResult::Ok : ModeResult::Failed;
    }

    // Only what changed goes to the screen: on the attract screen most frames are the same as
    // the one shown, and the highlight's steps change a band of rows. After the window was
    // uncovered or resized the whole frame is sent again.
    void ShowFrame(const uint8_t* pixels, ChangedRows changed) override {
        if (!texture_) return;
        if (repaintNeeded_) changed = ChangedRows{};
        const int first = std::clamp(changed.first, 0, height_);
        const int end = std::clamp(changed.end, 0, height_);
        if (first >= end) return;
        repaintNeeded_ = false;
        const SDL_Rect rows{0, first, width_, end - first};
        const size_t rowBytes = static_cast<size_t>(width_) * 4;
        SDL_UpdateTexture(texture_, &rows, pixels + first * rowBytes, static_cast<int>(rowBytes));
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    void CloseDisplay() override {
        if (texture_) SDL_DestroyTexture(texture_);
        texture_ = nullptr;
    }

    void ShowMessageBox(const char* caption, const char* text) override {
        fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, window_);
    }

    void DebugOutput(const char* text) override { fputs(text, stderr); }

    bool QuestionFontAvailable() override { return BoldSansFontInstalled(); }

  private:
    static Event TouchAt(int x, int y) {
        return Event{EventKind::Touch, static_cast<int16_t>(x), static_cast<int16_t>(y)};
    }

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int width_ = 800;
    int height_ = 600;
    bool repaintNeeded_ = true;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() {
    return std::make_unique<SdlBackend>();
}

}  // namespace platform
