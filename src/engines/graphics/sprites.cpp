#include "engines/graphics/sprites.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/input.h"
#include "base/log.h"
#include "base/waits.h"
#include "engines/graphics/display.h"
#include "engines/graphics/pixel_rows.h"
#include "engines/graphics/sprite_files.h"
#include "platform/host_path.h"
#include "platform/platform.h"

namespace {

constexpr uint32_t kFrameSpacingMs = 15;
constexpr uint32_t kLayerKeyValue = 255;  // the key of DrawLayer's key mode 4
constexpr int kLayerKeyMode = 4;

uint32_t frameDeadline = 0;
int lastFailureCode = 0;

struct Rect {
    int left, top, right, bottom;
};

// A sprite failure releases the display. Only the first one is logged: once the display is gone
// every later load fails the same way.
void StopSprites(int code, const char* fileName) {
    if (BackBuffer) {
        LogPrint("Sprite file %s could not be loaded; display stopped (%d)\n",
                 fileName ? fileName : "(not in the table)", code);
        lastFailureCode = code;
        NoteDisplayLost(true);
    }
    StopDisplay(code);
}

// Up to `limit` bytes of the file (all of it when limit is 0). False when it cannot be read.
bool ReadSpriteBytes(const char* name, size_t limit, std::vector<uint8_t>& bytes) {
    const std::string path = platform::HostPath(name);
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    if (limit == 0) {
        // The whole file in one read: a screen's picture is a megabyte or more, and it is read
        // while the game waits for its next frame. Only a regular file has a size to read.
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error) return false;
        limit = static_cast<size_t>(size);
    }
    bytes.resize(limit);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return !in.bad();
}

void FillSprite(Sprite& sprite, int row, int width, int height, int frameCount) {
    sprite.width = width;
    sprite.fileIndex = row;
    sprite.frameCount = static_cast<int16_t>(frameCount);
    sprite.frameHeight = height / std::max(frameCount, 1);
}

// Copies one row of 16- or 24-bit pixels, leaving out those of the key colour.
template <int kBytesPerPixel>
void CopyKeyedRow(const uint8_t* in, uint8_t* out, int count, uint32_t key) {
    const uint32_t mask = kBytesPerPixel == 3 ? 0x00FFFFFF : 0xFFFF;
    for (int i = 0; i < count; ++i, in += kBytesPerPixel, out += kBytesPerPixel) {
        uint32_t value = 0;
        std::memcpy(&value, in, kBytesPerPixel);
        if (value != (key & mask)) std::memcpy(out, in, kBytesPerPixel);
    }
}

// Copies `source` of one surface to (x, y) of another of the same format; both rectangles lie
// inside their surfaces. With a key, pixels of that value are left out.
void CopyRect(const Surface& from, const Rect& source, Surface& to, int x, int y,
              const uint32_t* key) {
    const int bytesPerPixel = from.bytesPerPixel;
    const int count = source.right - source.left;
    for (int row = source.top; row < source.bottom; ++row) {
        const uint8_t* in = from.Row(row) + source.left * bytesPerPixel;
        uint8_t* out = to.Row(y + row - source.top) + x * bytesPerPixel;
        if (!key)
            std::memmove(out, in, static_cast<size_t>(count) * bytesPerPixel);
        else if (bytesPerPixel == 4)
            CopyKeyedRow32(in, out, count, *key);
        else if (bytesPerPixel == 3)
            CopyKeyedRow<3>(in, out, count, *key);
        else
            CopyKeyedRow<2>(in, out, count, *key);
    }
}

// Shrinks a copy of `source` to (x, y) until both rectangles lie inside their surfaces, moving
// the matching edges of the other rectangle by the same number of pixels. False when nothing is
// left to copy.
bool ClipCopy(const Surface& from, Rect& source, const Surface& to, int& x, int& y) {
    if (source.left < 0) {
        x -= source.left;
        source.left = 0;
    }
    if (source.top < 0) {
        y -= source.top;
        source.top = 0;
    }
    source.right = std::min(source.right, from.width);
    source.bottom = std::min(source.bottom, from.height);
    if (x < 0) {
        source.left -= x;
        x = 0;
    }
    if (y < 0) {
        source.top -= y;
        y = 0;
    }
    source.right = std::min(source.right, source.left + (to.width - x));
    source.bottom = std::min(source.bottom, source.top + (to.height - y));
    return source.left < source.right && source.top < source.bottom;
}

void Copy(const Surface& from, Rect source, Surface& to, int x, int y, const uint32_t* key) {
    if (from.bytesPerPixel != to.bytesPerPixel) return;
    if (ClipCopy(from, source, to, x, y)) CopyRect(from, source, to, x, y, key);
}

Surface* LayerSurface(int layer) {
    return layer >= 0 && layer < 3 ? Layer[layer] : nullptr;
}

// The decoded picture of a sprite, decoding it on first use; null when it cannot be had.
const Surface* SpritePicture(const Sprite& sprite) {
    if (sprite.frameCount <= 0 || sprite.fileIndex < 0 || sprite.fileIndex >= kSpriteFileCount)
        return nullptr;
    SpriteFile& file = SpriteFileTable[sprite.fileIndex];
    if (!file.surface) {
        Sprite loaded = sprite;
        LoadSprite(loaded, file.id, sprite.frameCount);
    }
    return file.surface.get();
}

// Draws frame n of a sprite at (x, y) of the target, clipped to the box.
void DrawSpriteOnto(Surface* target, const Sprite& sprite, int n, int x, int y, ClipBox box,
                    int keyed) {
    if (!target) return;
    const Surface* picture = SpritePicture(sprite);
    if (!picture || n < 0 || static_cast<int64_t>(n) * sprite.frameHeight >= picture->height)
        return;
    Rect source{0, n * sprite.frameHeight, sprite.width, (n + 1) * sprite.frameHeight};
    if (x < box.left) {
        source.left += box.left - x;
        x = box.left;
    }
    if (y < box.top) {
        source.top += box.top - y;
        y = box.top;
    }
    const int width = source.right - source.left;
    const int height = source.bottom - source.top;
    if (x + width >= box.right) source.right -= x + width - box.right;
    if (y + height >= box.bottom) source.bottom -= y + height - box.bottom;
    if (source.left >= source.right || source.top >= source.bottom) return;
    const uint32_t key = picture->colourKey;
    Copy(*picture, source, *target, x, y, keyed ? &key : nullptr);
}

void Fill(Surface* surface, int left, int top, int right, int bottom, uint32_t colour) {
    if (!surface) return;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, surface->width);
    bottom = std::min(bottom, surface->height);
    if (left >= right || top >= bottom) return;
    for (int x = left; x < right; ++x)
        surface->SetPixel(x, top, colour);
    const size_t rowBytes = static_cast<size_t>(right - left) * surface->bytesPerPixel;
    const uint8_t* first = surface->Row(top) + left * surface->bytesPerPixel;
    for (int y = top + 1; y < bottom; ++y)
        std::memcpy(surface->Row(y) + left * surface->bytesPerPixel, first, rowBytes);
}

// The rows in which two frames of the same size differ, looked for among rows [first, end) only:
// the frames are known to be the same elsewhere.
platform::ChangedRows RowsThatDiffer(const Surface& frame, const Surface& before, int first,
                                     int end) {
    const size_t rowBytes = static_cast<size_t>(frame.width) * frame.bytesPerPixel;
    auto same = [&](int y) { return std::memcmp(frame.Row(y), before.Row(y), rowBytes) == 0; };
    platform::ChangedRows rows{std::max(first, 0), std::min(end, frame.height)};
    while (rows.first < rows.end && same(rows.first))
        ++rows.first;
    while (rows.end > rows.first && same(rows.end - 1))
        --rows.end;
    return rows;
}

// The rows of the last frame shown that differ from the frame before it.
platform::ChangedRows lastChangedRows;

// The flip: the back buffer's frame becomes the primary surface's and the platform shows it; the
// back buffer is left with the frame shown before, as a flip chain leaves it. Only the rows that
// differ from that frame are sent on, and only rows written since the back buffer last held the
// frame on the screen can differ: a frame nothing was drawn on costs no comparison at all.
void ShowBackBuffer() {
    if (!PrimarySurface || !BackBuffer) return;
    const int drawnFirst = BackBuffer->writtenFirst, drawnEnd = BackBuffer->writtenEnd;
    PrimarySurface->pixels.swap(BackBuffer->pixels);
    lastChangedRows = RowsThatDiffer(*PrimarySurface, *BackBuffer, drawnFirst, drawnEnd);
    BackBuffer->ForgetWrittenRows();
    BackBuffer->NoteWrittenRows(lastChangedRows.first, lastChangedRows.end);
    platform::PresentFrame(PrimarySurface->pixels.data(), PrimarySurface->pitch, lastChangedRows);
}

// Brings the back buffer level with the frame just shown: only the rows that changed differ.
void CopyShownFrameBack() {
    if (!PrimarySurface || !BackBuffer ||
        PrimarySurface->pixels.size() != BackBuffer->pixels.size())
        return;
    const int end = std::min(lastChangedRows.end, PrimarySurface->height);
    for (int y = std::max(lastChangedRows.first, 0); y < end; ++y)
        std::memcpy(BackBuffer->Row(y), PrimarySurface->Row(y), PrimarySurface->pitch);
    BackBuffer->ForgetWrittenRows();
}

// Handles input until the frame deadline has passed, then sets the next one.
void WaitForFrameDeadline() {
    // A deadline more than a frame ahead can only come from a clock that started again (a new
    // run in the same process): pace from now.
    if (static_cast<int32_t>(frameDeadline - ClockMs()) > static_cast<int32_t>(kFrameSpacingMs))
        SetDeadlineNow(frameDeadline);
    PumpMessages();
    while (!DeadlinePassed(frameDeadline)) {
        platform::YieldUntil(frameDeadline);
        PumpMessages();
    }
    SetDeadline(frameDeadline, kFrameSpacingMs);
}

}  // namespace

void DescribeSprite(Sprite& sprite, int fileId, int frameCount) {
    const int row = FindSpriteFileRow(fileId);
    if (row < 0) return StopSprites(kSpriteFileBad, nullptr);
    const SpriteFile& file = SpriteFileTable[row];
    std::vector<uint8_t> header;
    int width = 0, height = 0;
    if (!ReadSpriteBytes(file.name, SpriteHeaderBytes(file.kind), header) ||
        ReadSpriteSize(header, file.kind, width, height) != kSpriteReadOk)
        return StopSprites(kSpriteFileBad, file.name);
    FillSprite(sprite, row, width, height, frameCount);
}

void LoadSprite(Sprite& sprite, int fileId, int frameCount) {
    const int row = FindSpriteFileRow(fileId);
    if (row < 0) return StopSprites(kSpriteFileBad, nullptr);
    SpriteFile& file = SpriteFileTable[row];
    if (!file.surface) {
        if (!BackBuffer) return StopSprites(kSpriteNoSurface, file.name);
        std::vector<uint8_t> bytes;
        if (!ReadSpriteBytes(file.name, 0, bytes)) return StopSprites(kSpriteFileBad, file.name);
        std::unique_ptr<Surface> picture;
        const SpriteReadFailure failure =
            DecodeSpriteFile(bytes, file.kind, DisplayBitsPerPixel(), picture);
        if (failure != kSpriteReadOk) return StopSprites(failure, file.name);
        picture->colourKey = DisplayColourKey();
        file.surface = std::move(picture);
    }
    FillSprite(sprite, row, file.surface->width, file.surface->height, frameCount);
}

void DrawSprite(const Sprite& sprite, int frame, int x, int y, const ClipBox* box, int keyed) {
    DrawSpriteOnto(BackBuffer, sprite, frame, x, y, box ? *box : kFullScreenBox, keyed);
}

void DrawSpriteToLayer(int layer, const Sprite& sprite, int frame, int x, int y, const ClipBox* box,
                       int keyed) {
    ClipBox capped = box ? *box : kFullScreenBox;
    capped.right = std::min(capped.right, kFullScreenBox.right);
    DrawSpriteOnto(LayerSurface(layer), sprite, frame, x, y, capped, keyed);
}

void SaveToLayer(int layer, int left, int top, int right, int bottom) {
    Surface* target = LayerSurface(layer);
    if (!target || !BackBuffer) return;
    Copy(*BackBuffer, Rect{left, top, right, bottom}, *target, left, top, nullptr);
}

void DrawLayer(int layer, int offsetX, int offsetY, int keyMode, int left, int top, int right,
               int bottom) {
    const Surface* source = LayerSurface(layer);
    if (!source || !BackBuffer) return;
    const uint32_t key = keyMode == kLayerKeyMode ? kLayerKeyValue : DisplayColourKey();
    Copy(*source, Rect{left - offsetX, top - offsetY, right - offsetX, bottom - offsetY},
         *BackBuffer, left, top, keyMode != 0 ? &key : nullptr);
}

void PresentFrame() {
    FlipFrame();
    CopyShownFrameBack();
}

void FlipFrame() {
    ShowBackBuffer();
    WaitForFrameDeadline();
}

platform::ChangedRows LastShownRows() {
    return lastChangedRows;
}

void ClearBackBuffer() {
    if (BackBuffer) FillBackBufferRect(0, 0, BackBuffer->width, BackBuffer->height, 0);
}

void FillBackBufferRect(int left, int top, int right, int bottom, uint32_t colour) {
    Fill(BackBuffer, left, top, right, bottom, colour);
}

void UnloadAllSprites() {
    for (SpriteFile& file : SpriteFileTable)
        file.surface.reset();
}

void ForgetSprites() {
    UnloadAllSprites();
    frameDeadline = 0;
    lastFailureCode = 0;
}

int SpriteFailureCode() {
    return lastFailureCode;
}

bool SpritesStoppedTheDisplay() {
    return lastFailureCode != 0 && BackBuffer == nullptr;
}
