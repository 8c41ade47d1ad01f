#include "platform/letter_box.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// The smallest whole number at least a / b, for a >= 0 and b > 0.
int64_t DivideRoundingUp(int64_t a, int64_t b) {
    return (a + b - 1) / b;
}

// The screen coordinate shown at `offset` pixels into a picture of `scaled` pixels showing
// `screen` of them; negative offsets stay negative.
int ScreenCoordinate(int offset, int screen, int scaled) {
    if (offset < 0) return -1;
    return static_cast<int>(static_cast<int64_t>(offset) * screen / scaled);
}

}  // namespace

LetterBox::LetterBox(int windowWidth, int windowHeight, int screenWidth, int screenHeight)
    : screenWidth_(screenWidth), screenHeight_(screenHeight) {
    windowWidth = std::max(windowWidth, 1);
    windowHeight = std::max(windowHeight, 1);
    const int64_t wide = static_cast<int64_t>(windowWidth) * screenHeight;
    const int64_t tall = static_cast<int64_t>(windowHeight) * screenWidth;
    if (wide > tall) {  // bars left and right
        height_ = windowHeight;
        width_ = static_cast<int>(tall / screenHeight);
    } else {  // bars above and below, or none
        width_ = windowWidth;
        height_ = static_cast<int>(wide / screenWidth);
    }
    width_ = std::max(width_, 1);
    height_ = std::max(height_, 1);
    left_ = (windowWidth - width_) / 2;
    top_ = (windowHeight - height_) / 2;
    sourceColumn_.resize(static_cast<size_t>(width_));
    for (int x = 0; x < width_; ++x)
        sourceColumn_[static_cast<size_t>(x)] = ScreenCoordinate(x, screenWidth_, width_);
}

void LetterBox::WindowToScreen(int x, int y, int& screenX, int& screenY) const {
    screenX = ScreenCoordinate(x - left_, screenWidth_, width_);
    screenY = ScreenCoordinate(y - top_, screenHeight_, height_);
}

RowBand LetterBox::WindowRowsOf(RowBand screenRows) const {
    const int first = std::clamp(screenRows.first, 0, screenHeight_);
    const int end = std::clamp(screenRows.end, first, screenHeight_);
    // Picture row r shows screen row r x screenHeight / height: the first picture row showing
    // screen row s is the smallest r with r x screenHeight >= s x height.
    auto firstShowing = [&](int screenRow) {
        return static_cast<int>(
            DivideRoundingUp(static_cast<int64_t>(screenRow) * height_, screenHeight_));
    };
    return RowBand{top_ + firstShowing(first), top_ + firstShowing(end)};
}

RowBand LetterBox::DrawRows(const uint8_t* screen, int screenPitch, RowBand screenRows,
                            uint8_t* window, int windowPitch) const {
    const RowBand rows = WindowRowsOf(screenRows);
    const size_t pictureBytes = static_cast<size_t>(width_) * 4;
    int previousScreenRow = -1;
    for (int y = rows.first; y < rows.end; ++y) {
        const int screenRow = ScreenCoordinate(y - top_, screenHeight_, height_);
        uint8_t* to =
            window + static_cast<size_t>(y) * windowPitch + static_cast<size_t>(left_) * 4;
        const uint8_t* from = screen + static_cast<size_t>(screenRow) * screenPitch;
        if (Unscaled()) {
            std::memcpy(to, from, pictureBytes);
        } else if (screenRow == previousScreenRow) {  // a screen row shown twice: copy it down
            std::memcpy(to, to - windowPitch, pictureBytes);
        } else {
            const auto* pixels = reinterpret_cast<const uint32_t*>(from);
            auto* out = reinterpret_cast<uint32_t*>(to);
            for (int x = 0; x < width_; ++x)
                out[x] = pixels[sourceColumn_[static_cast<size_t>(x)]];
        }
        previousScreenRow = screenRow;
    }
    return rows;
}

}  // namespace platform
