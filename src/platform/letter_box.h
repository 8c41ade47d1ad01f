// Where the game's 800 x 600 screen lies in a window or desktop of another size: scaled by one
// factor both ways to the largest size that fits, centred, with black bars in what is left over.
// The picture is scaled by nearest neighbour, a band of changed rows at a time, straight into
// the window's own 32-bit pixels, and touches on the window are mapped back to screen pixels.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Rows [first, end) of a picture.
struct RowBand {
    int first = 0;
    int end = 0;
    bool Empty() const { return first >= end; }
};

class LetterBox {
  public:
    LetterBox(int windowWidth, int windowHeight, int screenWidth, int screenHeight);

    // The picture's place in the window.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Unscaled() const { return width_ == screenWidth_ && height_ == screenHeight_; }

    // The screen pixel under a window pixel; a point on a bar lies outside the screen
    // (negative, or past its width or height).
    void WindowToScreen(int x, int y, int& screenX, int& screenY) const;

    // The window rows that show screen rows [first, end).
    RowBand WindowRowsOf(RowBand screenRows) const;

    // Draws screen rows [first, end) of a 32-bit picture into 32-bit window pixels (the bars
    // are left alone) and returns the window rows it wrote.
    RowBand DrawRows(const uint8_t* screen, int screenPitch, RowBand screenRows, uint8_t* window,
                     int windowPitch) const;

  private:
    int screenWidth_, screenHeight_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::vector<int> sourceColumn_;  // for each column of the picture, the screen column shown
};

}  // namespace platform
