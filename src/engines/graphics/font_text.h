// Text from bitmap fonts: each font is a sprite of 96 glyph cells stacked top to bottom, glyph g
// showing character 32 + g (glyph 95 is the pound sign). Glyph widths are measured from the
// pictures on first use; text is laid out in a box with breaks at spaces and drawn glyph by glyph.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engines/graphics/sprites.h"

constexpr int kFontGlyphs = 96;
constexpr int kFontSlots = 6;
constexpr int kMaxTextLines = 100;
constexpr uint8_t kPoundSign = 0xA3;  // code page 1252

// The file ids of the fonts by width-table slot.
constexpr int kFontFileIds[kFontSlots] = {5, 6, 7, 8, 4, 3};

// The six fonts by slot, filled by InitialiseGraphics: QuestionFont (font id 5), PotFont (6),
// EndFont (7), WinFont (8), font1a (4) and BankCreditFont (3).
extern Sprite fontSprites[kFontSlots];

// Options for the next DrawFontText call. TextCentreH centres every line and the block of lines;
// TextTypewriter shows the text glyph by glyph; TextLayer draws onto a work layer (0 to 2)
// instead of the back buffer (-1). All three are reset by the call. TextCentreV centres the block
// vertically and stays set until its setter clears it.
extern uint8_t TextCentreH;
extern uint8_t TextCentreV;
extern uint8_t TextTypewriter;
extern int32_t TextLayer;

// Draws the text laid out in the box at (x, y) in the font with that file id; returns the text's
// length.
int DrawFontText(const char* text, int x, int y, int boxWidth, int boxHeight, int fontId);

// True when the text, laid out in that font, fits the box on every line and in height.
bool TextFitsBox(std::string_view text, int fontId, int boxWidth, int boxHeight);

// ---- The pieces, for callers that measure and for tests ---------------------------------------
using GlyphWidths = std::array<int32_t, kFontGlyphs>;

// The width-table slot of a font id (unknown ids use the question font's slot 0).
int FontSlot(int fontId);
// The glyph a text byte selects: the pound sign and 127 give 95, other printable bytes b give
// b - 32. Bytes no font holds draw as a space.
int GlyphOf(uint8_t character);

// Measures the glyph widths of a font picture whose cells are cellWidth x cellHeight: the
// rightmost non-key column of each cell (column 0 never counts) + 1, or + 2 in slot 5, within a
// budget of 1,048,576 pixel tests; the space is half a cell wide.
void MeasureGlyphWidths(const Surface& font, int cellWidth, int cellHeight, int slot,
                        GlyphWidths& widths);

// The glyph widths of a font, measured from its picture the first time they are needed.
const GlyphWidths& FontGlyphWidths(int fontId);
// Forgets every measured font.
void ForgetFontWidths();
// Puts the text options back as at start-up (no centring, no typewriter, the back buffer) and
// forgets every measured font and the last layout.
void ForgetText();

// Lines of a laid-out text: lineWidth in pixels and lineEnd just past each line's last
// character (the character at a break's end is the space drawn at the end of the broken line).
struct TextLayout {
    int breaks = 0;  // lines - 1
    int32_t lineWidth[kMaxTextLines] = {};
    int32_t lineEnd[kMaxTextLines] = {};
    size_t laidOut = 0;  // characters placed: the text's length unless it needed over 100 lines
};

// Lays the text out in a box boxWidth wide, breaking lines at spaces. A word wider than the box
// keeps a line of its own; text that would need more than 100 lines is cut after the 100th.
void LayOutText(std::string_view text, const GlyphWidths& widths, int boxWidth, TextLayout& layout);
