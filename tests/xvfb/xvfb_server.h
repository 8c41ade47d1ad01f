// An Xvfb X server on a display number nobody else uses (Xvfb picks it itself), stopped when the
// test ends; screenshots of its screen and presses on it.
#pragma once

#include <memory>
#include <string>

#include "child_process.h"
#include "engines/graphics/decoded_image.h"

class XvfbServer {
  public:
    // Starts Xvfb with one screen of the size given, 24-bit colour; check Running().
    XvfbServer(int width, int height, const std::string& logFile);
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool Running() const { return !display_.empty(); }
    // ":N", for DISPLAY.
    const std::string& Display() const { return display_; }

    // Saves the whole screen as a PNG file; false when that failed.
    bool Screenshot(const std::string& pngFile) const;
    // Presses and releases the left button at (x, y) of the screen, as a touch would.
    bool Press(int x, int y) const;

  private:
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

// A PNG file decoded to blue, green, red, alpha bytes; an empty image when it cannot be read.
DecodedImage ReadPng(const std::string& path);
