#include "engines/graphics/font_text.h"

#include <algorithm>
#include <cstring>

#include "base/waits.h"
#include "engines/graphics/sprite_files.h"

Sprite fontSprites[kFontSlots];

uint8_t TextCentreH = 0;
uint8_t TextCentreV = 0;
uint8_t TextTypewriter = 0;
int32_t TextLayer = -1;

namespace {

constexpr uint32_t kMeasuringBudget = 0x100000;  // pixel tests for one font's measurement
constexpr int kWideSpacingSlot = 5;              // the credit and bank font, spaced 1 px wider
constexpr int kPoundGlyph = 95;
constexpr uint32_t kTypewriterGlyphMs = 20;

GlyphWidths widthTable[kFontSlots];
TextLayout textLayout;

bool IsKeyPixel(const uint8_t* pixel, int bytesPerPixel) {
    if (bytesPerPixel == 2) return (pixel[0] | pixel[1] << 8) == static_cast<int>(kMagentaKey16);
    return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
}

// The font's decoded picture, decoding it now if it was only described.
const Surface* FontPicture(Sprite& font) {
    if (font.frameCount <= 0 || font.fileIndex < 0 || font.fileIndex >= kSpriteFileCount)
        return nullptr;
    SpriteFile& file = SpriteFileTable[font.fileIndex];
    if (!file.surface) LoadSprite(font, file.id, font.frameCount);
    return file.surface.get();
}

int ChunkWidth(std::string_view chunk, const GlyphWidths& widths) {
    int width = 0;
    for (char c : chunk)
        width += widths[GlyphOf(static_cast<uint8_t>(c))];
    return width;
}

void DrawGlyph(const Sprite& font, int glyph, int x, int y) {
    if (TextLayer == -1)
        DrawSprite(font, glyph, x, y, nullptr, 1);
    else
        DrawSpriteToLayer(TextLayer, font, glyph, x, y, nullptr, 1);
}

void DrawLaidOutText(std::string_view text, const TextLayout& layout, const Sprite& font,
                     const GlyphWidths& widths, int x, int y, int boxWidth, int boxHeight) {
    const int lineHeight = font.frameHeight;
    const int blockOffset =
        TextCentreH || TextCentreV ? (boxHeight - (layout.breaks + 1) * lineHeight) / 2 : 0;
    int line = 0, lineX = 0, lineY = 0;
    for (size_t i = 0; i < layout.laidOut; ++i) {
        const int lineOffset = TextCentreH ? (boxWidth - layout.lineWidth[line]) / 2 : 0;
        const int glyph = GlyphOf(static_cast<uint8_t>(text[i]));
        DrawGlyph(font, glyph, x + lineX + lineOffset, y + lineY + blockOffset);
        if (TextTypewriter && text[i] != ' ') {
            PresentFrame();
            WaitMs(kTypewriterGlyphMs);
        }
        if (static_cast<int32_t>(i) < layout.lineEnd[line]) {
            lineX += widths[glyph];
        } else {  // the break: the next character starts the next line
            ++line;
            lineY += lineHeight;
            lineX = 0;
        }
    }
}

}  // namespace

int FontSlot(int fontId) {
    for (int slot = 0; slot < kFontSlots; ++slot)
        if (kFontFileIds[slot] == fontId) return slot;
    return 0;
}

int GlyphOf(uint8_t character) {
    if (character == kPoundSign) return kPoundGlyph;
    if (character < 32 || character > 127) return 0;
    return character - 32;
}

void MeasureGlyphWidths(const Surface& font, int cellWidth, int cellHeight, int slot,
                        GlyphWidths& widths) {
    const int bytesPerPixel = font.bytesPerPixel;
    const int lastColumn = std::min(cellWidth, font.width) - 1;
    uint32_t tests = 0;
    for (int glyph = 0; glyph < kFontGlyphs; ++glyph) {
        int rightmost = 0;
        for (int k = 0; k < cellHeight; ++k) {
            const int64_t row = static_cast<int64_t>(glyph) * cellHeight + k;
            if (row >= font.height) break;
            const uint8_t* pixels = font.Row(static_cast<int>(row));
            for (int column = lastColumn; column >= 1 && tests < kMeasuringBudget; --column) {
                ++tests;
                if (!IsKeyPixel(pixels + column * bytesPerPixel, bytesPerPixel)) {
                    rightmost = std::max(rightmost, column);
                    break;
                }
            }
        }
        widths[glyph] = rightmost + (slot == kWideSpacingSlot ? 2 : 1);
    }
    widths[0] = cellWidth / 2;
}

const GlyphWidths& FontGlyphWidths(int fontId) {
    const int slot = FontSlot(fontId);
    GlyphWidths& widths = widthTable[slot];
    if (widths[0] == 0) {
        Sprite& font = fontSprites[slot];
        if (const Surface* picture = FontPicture(font))
            MeasureGlyphWidths(*picture, font.width, font.frameHeight, slot, widths);
    }
    return widths;
}

void ForgetFontWidths() {
    for (GlyphWidths& widths : widthTable)
        widths.fill(0);
}

void ForgetText() {
    TextCentreH = 0;
    TextCentreV = 0;
    TextTypewriter = 0;
    TextLayer = -1;
    textLayout = TextLayout{};
    ForgetFontWidths();
}

void LayOutText(std::string_view text, const GlyphWidths& widths, int boxWidth,
                TextLayout& layout) {
    layout.breaks = 0;
    layout.lineWidth[0] = 0;
    layout.lineEnd[0] = 0;
    layout.laidOut = text.size();
    size_t position = 0;
    while (position < text.size()) {
        // A chunk runs up to the next space; one that starts at a space takes the word after it.
        const size_t start = position;
        const size_t nextSpace = text.find(' ', start + 1);
        position = nextSpace == std::string_view::npos ? text.size() : nextSpace;
        int width = ChunkWidth(text.substr(start, position - start), widths);

        int32_t& lineWidth = layout.lineWidth[layout.breaks];
        if (lineWidth + width > boxWidth && lineWidth > 0) {
            if (layout.breaks + 1 == kMaxTextLines) {
                layout.laidOut = start;
                return;
            }
            for (size_t i = start; i < position && text[i] == ' '; ++i)
                width -= widths[0];
            ++layout.breaks;
            layout.lineWidth[layout.breaks] = 0;
        }
        layout.lineEnd[layout.breaks] = static_cast<int32_t>(position);
        layout.lineWidth[layout.breaks] += width;
    }
}

int DrawFontText(const char* text, int x, int y, int boxWidth, int boxHeight, int fontId) {
    const std::string_view characters = text ? std::string_view(text) : std::string_view();
    const Sprite& font = fontSprites[FontSlot(fontId)];
    const GlyphWidths& widths = FontGlyphWidths(fontId);
    LayOutText(characters, widths, boxWidth, textLayout);
    DrawLaidOutText(characters, textLayout, font, widths, x, y, boxWidth, boxHeight);
    TextTypewriter = 0;
    TextCentreH = 0;
    TextLayer = -1;
    return static_cast<int>(characters.size());
}

bool TextFitsBox(std::string_view text, int fontId, int boxWidth, int boxHeight) {
    TextLayout layout;
    LayOutText(text, FontGlyphWidths(fontId), boxWidth, layout);
    const int lines = layout.breaks + 1;
    return layout.laidOut == text.size() &&
           lines * fontSprites[FontSlot(fontId)].frameHeight <= boxHeight &&
           std::all_of(layout.lineWidth, layout.lineWidth + lines,
                       [boxWidth](int32_t width) { return width <= boxWidth; });
}
