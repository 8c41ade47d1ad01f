// Cross-fades between two full-screen pictures kept as colour components: picture A (from layer
// 0) and picture B (from layer 1). The blend is written into layer 0 and shown from there.
//
// Each picture holds, for every pixel, its three components (red, green, blue at 16 bits; the
// bytes blue, green, red at 24 and 32 bits) and one unused lane, so that a pixel is one 32-bit
// word and a 32-bit layer row is captured with a single copy. Every component fits in a byte.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engines/graphics/display.h"
#include "engines/graphics/pixel_rows.h"
#include "engines/graphics/sprites.h"

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kLanes = 4;
// The key colour's components, lane 0 lowest: red 31, green 0, blue 31 at 16 bits; bytes 255, 0,
// 255 otherwise.
constexpr uint32_t kKeyLanes16 = 31 | 0 << 8 | 31 << 16;
constexpr uint32_t kKeyLanes = 255 | 0 << 8 | 255 << 16;

// The two pictures, kept for the whole run.
uint8_t fadePictureA[kScreenWidth * kScreenHeight * kLanes];
uint8_t fadePictureB[kScreenWidth * kScreenHeight * kLanes];

// Which rows of a picture hold a pixel of the key colour `key` anywhere along them. A keyed fade
// differs from a plain one only where A or B is of the key colour: a pixel of A of the key keeps
// A, and below 100 % a blend comes out as the key only where B is the key (a component reaches
// 0 or its top only where B's is 0 or the top), while at 100 % the blend is A. Rows where neither
// picture has the key take the plain row loop, which is quicker.
struct KeyRows {
    uint32_t key = 0;
    bool any[kScreenHeight] = {};
};
KeyRows keyRowsA, keyRowsB;

bool RowHoldsKey(const uint8_t* lanes, uint32_t key) {
    for (int x = 0; x < kScreenWidth; ++x, lanes += kLanes)
        if (std::memcmp(lanes, &key, 3) == 0) return true;
    return false;
}

// Notes the key rows of picture rows top to bottom - 1, or of all rows when the key has changed.
void NoteKeyRows(const uint8_t* picture, uint32_t key, int top, int bottom, KeyRows& rows) {
    if (rows.key != key) {
        rows.key = key;
        top = 0;
        bottom = kScreenHeight;
    }
    for (int row = top; row < bottom; ++row)
        rows.any[row] =
            RowHoldsKey(picture + static_cast<size_t>(row) * kScreenWidth * kLanes, key);
}

uint32_t KeyLanes(int bytesPerPixel) {
    return bytesPerPixel == 2 ? kKeyLanes16 : kKeyLanes;
}

ClipBox ScreenPart(const ClipBox* box) {
    ClipBox part = box ? *box : kFullScreenBox;
    part.left = std::max(part.left, 0);
    part.top = std::max(part.top, 0);
    part.right = std::min(part.right, kScreenWidth);
    part.bottom = std::min(part.bottom, kScreenHeight);
    return part;
}

bool Usable(const Surface* layer, const ClipBox& part) {
    return layer && layer->width >= kScreenWidth && layer->height >= kScreenHeight &&
           part.left < part.right && part.top < part.bottom;
}

// Where pixel (x, y) of the layer lives in a picture. Rows are stored upside down within the box,
// so a capture and a fade with the same box meet pixel for pixel.
uint8_t* PictureAt(uint8_t* picture, const ClipBox& part, int x, int y) {
    const int row = part.top + part.bottom - 1 - y;
    return picture + (static_cast<size_t>(row) * kScreenWidth + x) * kLanes;
}

void CaptureRow(const uint8_t* pixel, int bytesPerPixel, int count, uint8_t* lanes) {
    if (bytesPerPixel == 4) {
        std::memcpy(lanes, pixel, static_cast<size_t>(count) * kLanes);
        return;
    }
    for (int i = 0; i < count; ++i, pixel += bytesPerPixel, lanes += kLanes) {
        if (bytesPerPixel == 2) {
            const int value = pixel[0] | pixel[1] << 8;
            lanes[0] = static_cast<uint8_t>(value >> 11);
            lanes[1] = static_cast<uint8_t>((value >> 5) & 63);
            lanes[2] = static_cast<uint8_t>(value & 31);
        } else {
            std::memcpy(lanes, pixel, 3);
        }
    }
}

// Writes a blended row into a 16- or 24-bit layer row. With keyed set, pixels whose A is the key
// keep A.
void WriteNarrowRow(const uint8_t* blended, const uint8_t* a, int count, int bytesPerPixel,
                    bool keyed, uint32_t key, uint8_t* pixel) {
    for (int i = 0; i < count; ++i, pixel += bytesPerPixel) {
        const uint8_t* lanes = keyed && std::memcmp(a + kLanes * i, &key, 3) == 0
                                   ? a + kLanes * i
                                   : blended + kLanes * i;
        if (bytesPerPixel == 3) {
            std::memcpy(pixel, lanes, 3);
        } else {
            const int value = lanes[0] * 2048 + lanes[1] * 32 + lanes[2];
            pixel[0] = static_cast<uint8_t>(value);
            pixel[1] = static_cast<uint8_t>(value >> 8);
        }
    }
}

}  // namespace

void CaptureLayer(int which, const ClipBox* box) {
    if (which != 0 && which != 1) return;
    const Surface* layer = Layer[which];
    const ClipBox part = ScreenPart(box);
    if (!Usable(layer, part)) return;
    uint8_t* picture = which == 0 ? fadePictureA : fadePictureB;
    const int bytesPerPixel = layer->bytesPerPixel;
    for (int y = part.top; y < part.bottom; ++y)
        CaptureRow(layer->Row(y) + part.left * bytesPerPixel, bytesPerPixel, part.right - part.left,
                   PictureAt(picture, part, part.left, y));
    // The box's rows are mirrored within it, so they fill the same picture rows.
    NoteKeyRows(picture, KeyLanes(bytesPerPixel), part.top, part.bottom,
                which == 0 ? keyRowsA : keyRowsB);
}

void CrossFade(int percent, const ClipBox* box, bool keyed) {
    if (percent < 0 || percent > 100) return;
    Surface* layer = Layer[0];
    const ClipBox part = ScreenPart(box);
    if (!Usable(layer, part)) return;
    const int bytesPerPixel = layer->bytesPerPixel;
    const int count = part.right - part.left;
    const uint32_t key = KeyLanes(bytesPerPixel);
    const bool keyRowsKnown = keyRowsA.key == key && keyRowsB.key == key;
    // Each component c = B + percent x (A - B) / 100; the unused lane is never written out. A
    // 32-bit row is blended, written to the layer and shown on the back buffer in one pass.
    const bool onePass = bytesPerPixel == 4 && (!BackBuffer || BackBuffer->bytesPerPixel == 4);
    uint8_t blended[kScreenWidth * kLanes];
    for (int y = part.top; y < part.bottom; ++y) {
        const uint8_t* a = PictureAt(fadePictureA, part, part.left, y);
        const uint8_t* b = PictureAt(fadePictureB, part, part.left, y);
        uint8_t* pixels = layer->Row(y) + part.left * bytesPerPixel;
        if (onePass) {
            uint8_t* shown = BackBuffer ? BackBuffer->Row(y) + part.left * bytesPerPixel : nullptr;
            const int row = part.top + part.bottom - 1 - y;
            const bool keyedRow =
                keyed && (!keyRowsKnown || keyRowsA.any[row] || keyRowsB.any[row]);
            FadeRow32(a, b, count, percent, keyedRow, key, pixels, shown);
            continue;
        }
        BlendBytes(a, b, count * kLanes, percent, blended);
        WriteNarrowRow(blended, a, count, bytesPerPixel, keyed, key, pixels);
    }
    if (!onePass) DrawLayer(0, 0, 0, keyed, part.left, part.top, part.right, part.bottom);
}

void ForgetFadePictures() {
    std::fill(std::begin(fadePictureA), std::end(fadePictureA), 0);
    std::fill(std::begin(fadePictureB), std::end(fadePictureB), 0);
    keyRowsA = keyRowsB = KeyRows{};
}
