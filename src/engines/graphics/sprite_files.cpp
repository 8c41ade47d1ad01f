#include "engines/graphics/sprite_files.h"

#include <algorithm>
#include <vector>

#include "engines/graphics/bmp_reader.h"

SpriteFile SpriteFileTable[kSpriteFileCount + 1] = {
    {1, "Graphic_resource\\Loading\\LoadingScreen.BMP", kSpriteBmp, nullptr},
    {2, "Graphic_resource\\transparency.PCX", kSpritePcx, nullptr},
    {3, "Graphic_resource\\Menu\\BankCreditFont.BMP", kSpriteBmp, nullptr},
    {4, "Graphic_resource\\font1a.PCX", kSpritePcx, nullptr},
    {5, "Graphic_resource\\Questions\\QuestionFont.BMP", kSpriteBmp, nullptr},
    {6, "Graphic_resource\\Main\\PotFont.BMP", kSpriteBmp, nullptr},
    {7, "Graphic_resource\\Main\\EndFont.BMP", kSpriteBmp, nullptr},
    {8, "Graphic_resource\\Main\\WinFont.BMP", kSpriteBmp, nullptr},
    {9, "Graphic_resource\\Menu\\InsertCoins.BMP", kSpriteBmp, nullptr},
    {10, "Graphic_resource\\Menu\\InfoScreen.BMP", kSpriteBmp, nullptr},
    {11, "Graphic_resource\\Menu\\CreditBlank.BMP", kSpriteBmp, nullptr},
    {12, "Graphic_resource\\Menu\\BankBlank.BMP", kSpriteBmp, nullptr},
    {13, "Graphic_resource\\Menu\\OptionBackgroundBLank.BMP", kSpriteBmp, nullptr},
    {14, "Graphic_resource\\Menu\\MenuBlank.BMP", kSpriteBmp, nullptr},
    {15, "Graphic_resource\\Menu\\OptionBlank.BMP", kSpriteBmp, nullptr},
    {16, "Graphic_resource\\Menu\\PlayBlank.BMP", kSpriteBmp, nullptr},
    {17, "Graphic_resource\\Menu\\Back.BMP", kSpriteBmp, nullptr},
    {18, "Graphic_resource\\Questions\\QBackground.BMP", kSpriteBmp, nullptr},
    {19, "Graphic_resource\\Main\\EndQBackground.BMP", kSpriteBmp, nullptr},
    {20, "Graphic_resource\\Questions\\Pass.BMP", kSpriteBmp, nullptr},
    {21, "Graphic_resource\\Questions\\TryAgain.BMP", kSpriteBmp, nullptr},
    {22, "Graphic_resource\\Questions\\Outcomes.BMP", kSpriteBmp, nullptr},
    {23, "Graphic_resource\\Questions\\QuestionBox.BMP", kSpriteBmp, nullptr},
    {24, "Graphic_resource\\Questions\\QuestionNumbers.BMP", kSpriteBmp, nullptr},
    {25, "Graphic_resource\\Questions\\Seconds.BMP", kSpriteBmp, nullptr},
    {26, "Graphic_resource\\Questions\\QuestionNumber13.BMP", kSpriteBmp, nullptr},
    {27, "Graphic_resource\\Questions\\PassTitle.BMP", kSpriteBmp, nullptr},
    {28, "Graphic_resource\\Questions\\TryAgainTitle.BMP", kSpriteBmp, nullptr},
    {29, "Graphic_resource\\Main\\BACK.BMP", kSpriteBmp, nullptr},
    {30, "Graphic_resource\\Main\\CollectButton.BMP", kSpriteBmp, nullptr},
    {31, "Graphic_resource\\Main\\CarryOnButton.BMP", kSpriteBmp, nullptr},
    {32, "Graphic_resource\\Main\\WellDoneScreen.BMP", kSpriteBmp, nullptr},
    {33, "Graphic_resource\\Main\\MainScreen.BMP", kSpriteBmp, nullptr},
    {34, "Graphic_resource\\Main\\Smallloaf.BMP", kSpriteBmp, nullptr},
    {35, "Graphic_resource\\Main\\BigLoaf.BMP", kSpriteBmp, nullptr},
    {36, "Graphic_resource\\Main\\Values.BMP", kSpriteBmp, nullptr},
    {37, "Graphic_resource\\Questions\\TrueButton.BMP", kSpriteBmp, nullptr},
    {38, "Graphic_resource\\Questions\\FalseButton.BMP", kSpriteBmp, nullptr},
    {39, "Graphic_resource\\Main\\Endgamedough.BMP", kSpriteBmp, nullptr},
    {40, "Graphic_resource\\Menu\\InfoCat.BMP", kSpriteBmp, nullptr},
    {41, "Graphic_resource\\Menu\\InfoScreenCatBlink.BMP", kSpriteBmp, nullptr},
    {42, "Graphic_resource\\Main\\TrailScreenCatBlink.BMP", kSpriteBmp, nullptr},
    {43, "Graphic_resource\\Main\\EndScreenCatBlink.BMP", kSpriteBmp, nullptr},
    {44, "Graphic_resource\\Main\\Oven.BMP", kSpriteBmp, nullptr},
    {45, "Graphic_resource\\Main\\EndOven.BMP", kSpriteBmp, nullptr},
    {46, "Graphic_resource\\Main\\TotalText.BMP", kSpriteBmp, nullptr},
    {47, "Graphic_resource\\Main\\CatBubble.BMP", kSpriteBmp, nullptr},
    {48, "Graphic_resource\\Main\\EndBackground.BMP", kSpriteBmp, nullptr},
    {49, "Graphic_resource\\Main\\CollectContinueScreen.BMP", kSpriteBmp, nullptr},
    {50, "Graphic_resource\\Main\\BakerArmPonder.BMP", kSpriteBmp, nullptr},
    {51, "Graphic_resource\\Main\\BakerArmShow.BMP", kSpriteBmp, nullptr},
    {52, "Graphic_resource\\Main\\Bonusloaf.BMP", kSpriteBmp, nullptr},
    {53, "Graphic_resource\\Main\\OfferBase.BMP", kSpriteBmp, nullptr},
    {54, "Graphic_resource\\Main\\Middle.BMP", kSpriteBmp, nullptr},
    {55, "Graphic_resource\\Main\\GameOverBase.BMP", kSpriteBmp, nullptr},
    {56, "Graphic_resource\\Main\\CongratsBase.BMP", kSpriteBmp, nullptr},
    {0, nullptr, 0, nullptr},
};

int FindSpriteFileRow(int fileId) {
    for (int row = 0; SpriteFileTable[row].id != 0; ++row)
        if (SpriteFileTable[row].id == fileId) return row;
    return -1;
}

namespace {

// No side longer than a signed 16-bit value can hold, as the bitmap reader.
constexpr int kLongestSide = 32767;
// A PCX run of two bytes gives at most 63 values, so a file can never hold more values than
// this many per byte after its header.
constexpr uint64_t kMostPcxValuesPerByte = 32;

uint32_t Word(std::span<const uint8_t> bytes, size_t offset) {
    return bytes[offset] | (bytes[offset + 1] << 8);
}

bool SideFits(int64_t side) {
    return side >= 1 && side <= kLongestSide;
}

SpriteReadFailure ReadPcxSize(std::span<const uint8_t> bytes, int& width, int& height) {
    // Manufacturer 10, version 5, run-length encoded, 8 bits a plane.
    if (bytes.size() < kPcxHeaderBytes || bytes[0] != 10 || bytes[1] != 5 || bytes[2] != 1 ||
        bytes[3] != 8)
        return kSpriteFileBad;
    const int64_t bytesPerLine = Word(bytes, 66);
    const int64_t rows = static_cast<int64_t>(Word(bytes, 10)) - Word(bytes, 6) + 1;
    if (!SideFits(bytesPerLine) || !SideFits(rows)) return kSpriteFileBad;
    width = static_cast<int>(bytesPerLine);
    height = static_cast<int>(rows);
    return kSpriteReadOk;
}

// Width and height of a bitmap of any kind the bitmap reader knows, from its headers alone.
SpriteReadFailure ReadBitmapSize(std::span<const uint8_t> bytes, int& width, int& height) {
    return ReadBmpSize(bytes, width, height) == BmpStatus::Ok ? kSpriteReadOk : kSpriteFileBad;
}

// Writes one pixel of red, green and blue in the surface's format. The fourth byte of a 32-bit
// pixel is left as it is.
void PutPixel(uint8_t* pixel, int bytesPerPixel, uint8_t red, uint8_t green, uint8_t blue) {
    if (bytesPerPixel == 2) {
        const uint32_t value = (red >> 3) << 11 | (green >> 2) << 5 | (blue >> 3);
        pixel[0] = static_cast<uint8_t>(value);
        pixel[1] = static_cast<uint8_t>(value >> 8);
    } else {
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
    }
}

SpriteReadFailure NewPicture(int width, int height, int bitsPerPixel,
                             std::unique_ptr<Surface>& picture) {
    picture = CreateSurface(width, height, bitsPerPixel);
    return picture ? kSpriteReadOk : kSpriteOutOfMemory;
}

// Run-length decodes one plane of `width` values. A run that would pass the plane's end is cut
// there: runs never cross from one plane into the next.
bool DecodePcxPlane(std::span<const uint8_t> bytes, size_t& position, uint8_t* plane, int width) {
    int filled = 0;
    while (filled < width) {
        if (position >= bytes.size()) return false;
        const uint8_t code = bytes[position++];
        if (code < 192) {
            plane[filled++] = code;
            continue;
        }
        if (position >= bytes.size()) return false;
        const uint8_t value = bytes[position++];
        const int count = std::min(code & 63, width - filled);
        std::fill_n(plane + filled, count, value);
        filled += count;
    }
    return true;
}

// Every scan line holds a red, a green and a blue plane; rows are stored top first. Neither
// palette of the format is used.
SpriteReadFailure DecodePcx(std::span<const uint8_t> bytes, int bitsPerPixel,
                            std::unique_ptr<Surface>& picture) {
    int width = 0, height = 0;
    if (SpriteReadFailure failure = ReadPcxSize(bytes, width, height)) return failure;
    const uint64_t values = 3ull * width * height;
    if (values > (bytes.size() - kPcxHeaderBytes) * kMostPcxValuesPerByte) return kSpriteFileBad;
    if (SpriteReadFailure failure = NewPicture(width, height, bitsPerPixel, picture))
        return failure;

    std::vector<uint8_t> line(3 * static_cast<size_t>(width));
    const uint8_t* red = line.data();
    const uint8_t* green = red + width;
    const uint8_t* blue = green + width;
    size_t position = kPcxHeaderBytes;
    for (int y = 0; y < height; ++y) {
        for (int plane = 0; plane < 3; ++plane) {
            if (!DecodePcxPlane(bytes, position, line.data() + plane * width, width)) {
                picture.reset();
                return kSpriteFileBad;
            }
        }
        uint8_t* pixel = picture->Row(y);
        for (int x = 0; x < width; ++x, pixel += picture->bytesPerPixel)
            PutPixel(pixel, picture->bytesPerPixel, red[x], green[x], blue[x]);
    }
    return kSpriteReadOk;
}

// A bitmap's rows straight into a new surface in the display's format.
class SpriteSink : public BitmapSink {
  public:
    SpriteSink(int bitsPerPixel, std::unique_ptr<Surface>& picture)
        : bitsPerPixel_(bitsPerPixel), picture_(picture) {}
    bool Begin(int width, int height) override {
        return NewPicture(width, height, bitsPerPixel_, picture_) == kSpriteReadOk;
    }
    void Row(int y, const uint8_t* from) override {
        if (picture_->bytesPerPixel == 2)
            PutRow<2>(picture_->Row(y), from);
        else if (picture_->bytesPerPixel == 3)
            PutRow<3>(picture_->Row(y), from);
        else
            PutRow<4>(picture_->Row(y), from);
    }

  private:
    // One loop for each surface depth: a screen-sized picture is decoded between two frames.
    template <int kBytesPerPixel>
    void PutRow(uint8_t* pixel, const uint8_t* from) const {
        for (int x = 0; x < picture_->width; ++x, from += 3, pixel += kBytesPerPixel)
            PutPixel(pixel, kBytesPerPixel, from[2], from[1], from[0]);
    }

    int bitsPerPixel_;
    std::unique_ptr<Surface>& picture_;
};

// Bitmaps are read by the bitmap reader: the pixels from where the header says they start, at
// whatever depth and compression the file names, the right way up; a kind it does not know, or a
// damaged file, is refused rather than drawn.
SpriteReadFailure DecodeBmp(std::span<const uint8_t> bytes, int bitsPerPixel,
                            std::unique_ptr<Surface>& picture) {
    SpriteSink sink(bitsPerPixel, picture);
    switch (DecodeBitmap(bytes, sink)) {
        case BmpStatus::Ok:
            return kSpriteReadOk;
        case BmpStatus::OutOfMemory:
            picture.reset();
            return kSpriteOutOfMemory;
        default:
            picture.reset();
            return kSpriteFileBad;
    }
}

}  // namespace

size_t SpriteHeaderBytes(int kind) {
    return kind == kSpritePcx ? kPcxHeaderBytes : kBmpHeaderBytes;
}

SpriteReadFailure ReadSpriteSize(std::span<const uint8_t> bytes, int kind, int& width,
                                 int& height) {
    return kind == kSpritePcx ? ReadPcxSize(bytes, width, height)
                              : ReadBitmapSize(bytes, width, height);
}

SpriteReadFailure DecodeSpriteFile(std::span<const uint8_t> bytes, int kind, int bitsPerPixel,
                                   std::unique_ptr<Surface>& picture) {
    picture.reset();
    if (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32) return kSpriteNoSurface;
    if (kind == kSpritePcx) return DecodePcx(bytes, bitsPerPixel, picture);
    if (kind == kSpriteBmp) return DecodeBmp(bytes, bitsPerPixel, picture);
    return kSpriteFileBad;
}
