// The cabinet's backend: an SDL2 window showing the 800 x 600 screen scaled to fit (letter-boxed),
// full screen unless --windowed. Left mouse button and finger presses both arrive as touches in
// screen pixels; closing the window asks for the orderly shut-down.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/backend.h"
#include "platform/letter_box.h"

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
        staging_.reset();
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
        // The window's pixels are written by the game and handed to the X server as they are
        // (shared memory where it can); SDL would otherwise put them through an OpenGL texture,
        // which without a graphics card costs a software renderer's whole-window redraw for
        // every frame.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
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
        SDL_ShowCursor(SDL_DISABLE);
        if (!TakeWindowSurface()) {
            fprintf(stderr, "vantor: cannot draw in the window: %s\n", SDL_GetError());
            return false;
        }
        SDL_UpdateWindowSurface(window_);
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
                queue.push_back(TouchAt(static_cast<int>(event.tfinger.x * width),
                                        static_cast<int>(event.tfinger.y * height)));
            }
        }
    }

    ModeResult OpenDisplay(int width, int height, int bitsPerPixel) override {
        if (!window_) return ModeResult::Failed;
        if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
            return ModeResult::InvalidMode;
        width_ = width;
        height_ = height;
        repaintNeeded_ = true;
        return ModeResult::Ok;
    }

    // Only what changed goes to the screen: on the attract screen most frames are the same as
    // the one shown, and the highlight's steps change a band of rows. The band is drawn straight
    // into the window's pixels (scaled when the window is not the screen's size) and only its
    // rows are sent to the X server. After the window was uncovered or resized the whole frame
    // is sent again, bars and all.
    void ShowFrame(const uint8_t* pixels, ChangedRows changed) override {
        if (!window_) return;
        // A surface SDL could not give last time is asked for again, and then sent whole.
        if (repaintNeeded_ || !surface_) {
            repaintNeeded_ = true;
            if (!TakeWindowSurface()) return;
            changed = ChangedRows{};
        }
        const RowBand rows{std::clamp(changed.first, 0, height_),
                           std::clamp(changed.end, 0, height_)};
        if (rows.Empty()) return;
        const RowBand shown = DrawIntoWindow(pixels, rows);
        const SDL_Rect band = repaintNeeded_
                                  ? SDL_Rect{0, 0, surface_->w, surface_->h}
                                  : SDL_Rect{letterBox_.Left(), shown.first, letterBox_.Width(),
                                             shown.end - shown.first};
        repaintNeeded_ = false;
        if (band.h > 0) SDL_UpdateWindowSurfaceRects(window_, &band, 1);
    }

    void CloseDisplay() override {}

    void ShowMessageBox(const char* caption, const char* text) override {
        fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, window_);
    }

    void DebugOutput(const char* text) override { fputs(text, stderr); }

    bool QuestionFontAvailable() override { return BoldSansFontInstalled(); }

  private:
    Event TouchAt(int windowX, int windowY) const {
        int x = 0, y = 0;
        letterBox_.WindowToScreen(windowX, windowY, x, y);
        return Event{EventKind::Touch, static_cast<int16_t>(x), static_cast<int16_t>(y)};
    }

    // The window's pixels as SDL keeps them (taken again after a resize), and the picture's place
    // in them; the bars are painted black whenever the surface is taken.
    bool TakeWindowSurface() {
        surface_ = SDL_GetWindowSurface(window_);
        if (!surface_) return false;
        letterBox_ = LetterBox(surface_->w, surface_->h, width_, height_);
        SDL_FillRect(surface_, nullptr, SDL_MapRGB(surface_->format, 0, 0, 0));
        const bool directPixels =
            surface_->format->BytesPerPixel == 4 && surface_->format->Rmask == 0xFF0000 &&
            surface_->format->Gmask == 0xFF00 && surface_->format->Bmask == 0xFF;
        if (directPixels) {
            staging_.reset();
        } else {
            // A window of another pixel format: scaled into a 32-bit copy, then converted.
            staging_.reset(SDL_CreateRGBSurfaceWithFormat(0, surface_->w, surface_->h, 32,
                                                          SDL_PIXELFORMAT_RGB888));
            if (!staging_) return false;
        }
        return true;
    }

    RowBand DrawIntoWindow(const uint8_t* pixels, RowBand rows) {
        SDL_Surface* target = staging_ ? staging_.get() : surface_;
        if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
        const RowBand shown = letterBox_.DrawRows(
            pixels, width_ * 4, rows, static_cast<uint8_t*>(target->pixels), target->pitch);
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
        if (staging_ && !shown.Empty()) {
            SDL_Rect band{letterBox_.Left(), shown.first, letterBox_.Width(),
                          shown.end - shown.first};
            SDL_BlitSurface(target, &band, surface_, &band);
        }
        return shown;
    }

    struct SurfaceFree {
        void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
    };

    bool videoStarted_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Surface* surface_ = nullptr;                     // owned by the window
    std::unique_ptr<SDL_Surface, SurfaceFree> staging_;  // only for windows of another format
    int width_ = 800;
    int height_ = 600;
    LetterBox letterBox_{800, 600, 800, 600};
    bool repaintNeeded_ = true;
};

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() {
    return std::make_unique<SdlBackend>();
}

}  // namespace platform
