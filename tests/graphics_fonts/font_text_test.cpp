// Bitmap font text: measuring glyph widths from the pictures, laying text out in a box, and
// drawing it with centring, layers and the typewriter.
#include <gtest/gtest.h>

#include <string>

#include "engines/graphics/display.h"
#include "engines/graphics/font_text.h"
#include "graphics_sprites/sprite_pictures.h"
#include "platform/platform.h"
#include "support/work_dir.h"

namespace {

constexpr int kCellWidth = 16;
constexpr int kCellHeight = 20;
constexpr int kQuestionFont = 5;
constexpr int kMoneyFont = 3;
constexpr uint8_t kInkGreen = 100;

// Every glyph but the space is ink in columns 1 to 9 (10 wide, the space 16 / 2 = 8), coloured
// with its glyph number in red so the screen shows which glyph landed where.
Rgb FontPicture(int x, int y) {
    const int glyph = y / kCellHeight;
    if (glyph == 0 || x < 1 || x > 9) return kMagenta;
    return Rgb{static_cast<uint8_t>(glyph), kInkGreen, 50};
}

// The glyph whose ink is at (x, y) of a surface, or -1.
int GlyphAt(const Surface* surface, int x, int y) {
    const uint32_t pixel = surface->PixelAt(x, y);
    return ((pixel >> 8) & 0xFF) == kInkGreen ? static_cast<int>((pixel >> 16) & 0xFF) : -1;
}

int Glyph(char c) {
    return c - 32;
}

GlyphWidths LettersAndSpace() {
    GlyphWidths widths;
    widths.fill(10);
    widths[0] = 8;
    return widths;
}

// ---- Measuring ----------------------------------------------------------------------------------

class GlyphMeasuring : public ::testing::TestWithParam<int> {
  protected:
    std::unique_ptr<Surface> KeyedFont(int width, int height) {
        auto font = CreateSurface(width, height, GetParam());
        const uint32_t key = GetParam() == 16 ? kMagentaKey16 : kMagentaKey;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                font->SetPixel(x, y, key);
        return font;
    }
};

TEST_P(GlyphMeasuring, WidthIsTheRightmostInkOfAnyRowPlusOne) {
    auto font = KeyedFont(kCellWidth, kFontGlyphs * kCellHeight);
    font->SetPixel(5, kCellHeight + 3, 0);         // glyph 1
    font->SetPixel(12, kCellHeight + 7, 0);        // glyph 1, further right in a lower row
    font->SetPixel(0, 2 * kCellHeight, 0);         // glyph 2: column 0 is never looked at
    font->SetPixel(15, 94 * kCellHeight + 19, 0);  // glyph 94: the last column, last row
    GlyphWidths widths{};
    MeasureGlyphWidths(*font, kCellWidth, kCellHeight, 0, widths);
    EXPECT_EQ(widths[0], kCellWidth / 2);
    EXPECT_EQ(widths[1], 13);
    EXPECT_EQ(widths[2], 1);
    EXPECT_EQ(widths[3], 1);  // no ink at all
    EXPECT_EQ(widths[94], 16);

    MeasureGlyphWidths(*font, kCellWidth, kCellHeight, 5, widths);  // the money font's slot
    EXPECT_EQ(widths[0], kCellWidth / 2);
    EXPECT_EQ(widths[1], 14);
    EXPECT_EQ(widths[3], 2);
}

INSTANTIATE_TEST_SUITE_P(Depths, GlyphMeasuring, ::testing::Values(16, 24, 32));

class GlyphMeasuring32 : public GlyphMeasuring {};

// Cells 101 x 120 cost 100 tests a blank row, 12,000 a blank glyph. The 1,048,576 tests run out
// in row 46 of glyph 87, so ink lower in that glyph, or in any later glyph, is never found.
TEST_P(GlyphMeasuring32, MeasuringStopsAfterOneMebiTests) {
    constexpr int kWide = 101, kTall = 120;
    auto font = KeyedFont(kWide, kFontGlyphs * kTall);
    font->SetPixel(30, 86 * kTall + 119, 0);  // found: the budget is not spent yet
    font->SetPixel(10, 87 * kTall, 0);        // found in the glyph's first row
    font->SetPixel(20, 87 * kTall + 50, 0);   // past the budget
    font->SetPixel(50, 95 * kTall, 0);        // past the budget
    GlyphWidths widths{};
    MeasureGlyphWidths(*font, kWide, kTall, 0, widths);
    EXPECT_EQ(widths[86], 31);
    EXPECT_EQ(widths[87], 11);
    EXPECT_EQ(widths[95], 1);
    EXPECT_EQ(widths[0], 50);
}

INSTANTIATE_TEST_SUITE_P(ThirtyTwoBits, GlyphMeasuring32, ::testing::Values(32));

TEST(FontGlyphs, PoundSignAnd127SelectGlyph95) {
    const std::string text =
        "\xA3"
        "5.00";
    std::vector<int> glyphs;
    for (char c : text)
        glyphs.push_back(GlyphOf(static_cast<uint8_t>(c)));
    EXPECT_EQ(glyphs, (std::vector<int>{95, 21, 14, 16, 16}));
    EXPECT_EQ(GlyphOf(127), 95);
    EXPECT_EQ(GlyphOf(' '), 0);
    EXPECT_EQ(GlyphOf('~'), 94);
    EXPECT_EQ(GlyphOf('\n'), 0);  // no font holds these: they take a space's place
    EXPECT_EQ(GlyphOf(0xE9), 0);
}

TEST(FontGlyphs, FontIdsMapToSlots) {
    EXPECT_EQ(FontSlot(5), 0);
    EXPECT_EQ(FontSlot(6), 1);
    EXPECT_EQ(FontSlot(7), 2);
    EXPECT_EQ(FontSlot(8), 3);
    EXPECT_EQ(FontSlot(4), 4);
    EXPECT_EQ(FontSlot(3), 5);
    EXPECT_EQ(FontSlot(17), 0);
}

// ---- Layout
// ---------------------------------------------------------------------------------------

TEST(TextLayoutRules, TwoWordsShareALineAndTheThirdBreaks) {
    const GlyphWidths widths = LettersAndSpace();
    TextLayout layout;
    LayOutText("abcde fghij", widths, 120, layout);
    EXPECT_EQ(layout.breaks, 0);
    EXPECT_EQ(layout.lineWidth[0], 108);

    LayOutText("abcde fghij klmno", widths, 120, layout);
    ASSERT_EQ(layout.breaks, 1);
    EXPECT_EQ(layout.lineWidth[0], 108);
    EXPECT_EQ(layout.lineEnd[0], 11);  // the space before the third word
    EXPECT_EQ(layout.lineWidth[1], 50);
    EXPECT_EQ(layout.lineEnd[1], 17);
    EXPECT_EQ(layout.laidOut, 17u);
}

TEST(TextLayoutRules, AWordWiderThanTheBoxKeepsItsLine) {
    const GlyphWidths widths = LettersAndSpace();
    TextLayout layout;
    LayOutText("abcdefghijklmnop", widths, 50, layout);
    EXPECT_EQ(layout.breaks, 0);
    EXPECT_EQ(layout.lineWidth[0], 160);

    LayOutText("ab abcdefghijklmnop cd", widths, 50, layout);
    ASSERT_EQ(layout.breaks, 2);
    EXPECT_EQ(layout.lineWidth[1], 160);
    EXPECT_EQ(layout.lineWidth[2], 20);
}

TEST(TextLayoutRules, TextNeedingMoreThanAHundredLinesIsCut) {
    const GlyphWidths widths = LettersAndSpace();
    std::string text = "abcde";
    for (int i = 1; i < 150; ++i)
        text += " abcde";
    TextLayout layout;
    LayOutText(text, widths, 60, layout);
    EXPECT_EQ(layout.breaks, kMaxTextLines - 1);
    EXPECT_EQ(layout.laidOut, 100u * 6 - 1);  // up to the space before the 101st word
    EXPECT_EQ(layout.lineEnd[kMaxTextLines - 1], static_cast<int32_t>(layout.laidOut));
}

// ---- Drawing
// ----------------------------------------------------------------------------------------

class FontText : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        UnloadAllSprites();
        ForgetFontWidths();
        ASSERT_TRUE(StartDisplay());
        const std::vector<uint8_t> picture =
            BmpBytes(kCellWidth, kFontGlyphs * kCellHeight, FontPicture);
        WriteSpriteFile(kQuestionFont, picture);
        WriteSpriteFile(kMoneyFont, picture);
        LoadSprite(fontSprites[FontSlot(kQuestionFont)], kQuestionFont, kFontGlyphs);
        LoadSprite(fontSprites[FontSlot(kMoneyFont)], kMoneyFont, kFontGlyphs);
        TextCentreV = 0;
    }
    void TearDown() override {
        UnloadAllSprites();
        ForgetFontWidths();
        ResetDisplayForTests();
        TextCentreV = 0;
    }

    ScopedWorkDir workDir;
};

TEST_F(FontText, MeasuresTheFontOnFirstUse) {
    const GlyphWidths& question = FontGlyphWidths(kQuestionFont);
    EXPECT_EQ(question[0], 8);
    EXPECT_EQ(question[Glyph('a')], 10);
    EXPECT_EQ(FontGlyphWidths(kMoneyFont)[Glyph('a')], 11);
    EXPECT_EQ(&FontGlyphWidths(99), &question);
}

TEST_F(FontText, PoundAmountDrawsItsGlyphsSideBySide) {
    EXPECT_EQ(DrawFontText("\xA3"
                           "5.00",
                           40, 46, 200, 29, kMoneyFont),
              5);
    const int expected[] = {95, 21, 14, 16, 16};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(GlyphAt(BackBuffer, 40 + 11 * i + 1, 46), expected[i]);
}

TEST_F(FontText, BrokenLinesStartAtTheBoxEdgeOneLineLower) {
    DrawFontText("abcde fghij klmno", 300, 200, 120, 100, kQuestionFont);
    EXPECT_EQ(GlyphAt(BackBuffer, 301, 200), Glyph('a'));
    EXPECT_EQ(GlyphAt(BackBuffer, 301 + 58, 200), Glyph('f'));
    EXPECT_EQ(GlyphAt(BackBuffer, 301, 220), Glyph('k'));
    EXPECT_EQ(GlyphAt(BackBuffer, 301 + 40, 220), Glyph('o'));
}

TEST_F(FontText, AWordWiderThanTheBoxRunsPastIt) {
    DrawFontText("abcdefghijklmnop", 0, 0, 50, 20, kQuestionFont);
    EXPECT_EQ(GlyphAt(BackBuffer, 151, 0), Glyph('p'));
}

TEST_F(FontText, CentringPlacesLinesAndTheBlockInTheBox) {
    TextCentreH = 1;
    DrawFontText("abcde", 200, 100, 100, 40, kQuestionFont);  // 50 wide, one line of 20
    EXPECT_EQ(GlyphAt(BackBuffer, 226, 110), Glyph('a'));
    EXPECT_EQ(GlyphAt(BackBuffer, 226, 109), -1);
    EXPECT_EQ(GlyphAt(BackBuffer, 274, 129), Glyph('e'));
    EXPECT_EQ(TextCentreH, 0);
}

TEST_F(FontText, VerticalCentringCanRaiseTheBlockAboveTheBox) {
    TextCentreV = 1;
    TextCentreH = 0;
    DrawFontText("abcde fghij klmno", 300, 200, 120, 29, kQuestionFont);
    EXPECT_EQ(GlyphAt(BackBuffer, 301, 195), Glyph('a'));  // v = (29 - 40) / 2 = -5
    EXPECT_EQ(GlyphAt(BackBuffer, 301, 215), Glyph('k'));
    EXPECT_EQ(TextCentreV, 1);
    EXPECT_EQ(TextLayer, -1);
}

TEST_F(FontText, TextLayerDrawsOntoAWorkLayerOnce) {
    TextLayer = 2;
    DrawFontText("x", 10, 10, 100, 20, kQuestionFont);
    EXPECT_EQ(GlyphAt(Layer[2], 11, 10), Glyph('x'));
    EXPECT_EQ(GlyphAt(BackBuffer, 11, 10), -1);
    EXPECT_EQ(TextLayer, -1);
    DrawFontText("y", 10, 10, 100, 20, kQuestionFont);
    EXPECT_EQ(GlyphAt(BackBuffer, 11, 10), Glyph('y'));
}

// "a b" shows two frames, one after each letter, each followed by 20 ms: the first waits for
// the frame deadline (15 ms after the frame before), the second finds it passed.
TEST_F(FontText, TypewriterPresentsAndWaitsAfterEachLetter) {
    PresentFrame();
    const uint32_t start = platform::Milliseconds();
    TextTypewriter = 1;
    DrawFontText("a b", 0, 0, 100, 20, kQuestionFont);
    EXPECT_EQ(platform::Milliseconds() - start, 15u + 20u + 20u);
    EXPECT_EQ(GlyphAt(PrimarySurface, 1, 0), Glyph('a'));
    EXPECT_EQ(GlyphAt(PrimarySurface, 19, 0), Glyph('b'));
    EXPECT_EQ(TextTypewriter, 0);
}

TEST_F(FontText, OverlongTextIsDrawnUpToItsHundredthLine) {
    std::string text = "abcde";
    for (int i = 1; i < 150; ++i)
        text += " abcde";
    // Placed so that the hundredth line lands at y = 100 and a 101st would be at y = 120.
    const int top = 100 - 99 * kCellHeight;
    EXPECT_EQ(DrawFontText(text.c_str(), 0, top, 60, 2000, kQuestionFont),
              static_cast<int>(text.size()));
    EXPECT_EQ(GlyphAt(BackBuffer, 1, 100), Glyph('a'));
    EXPECT_EQ(GlyphAt(BackBuffer, 1, 120), -1);
    EXPECT_FALSE(TextFitsBox(text, kQuestionFont, 60, 100000));
}

TEST_F(FontText, FitsBoxChecksWidthAndHeight) {
    EXPECT_TRUE(TextFitsBox("abcde fghij", kQuestionFont, 108, 20));
    EXPECT_FALSE(TextFitsBox("abcde fghij", kQuestionFont, 107, 20));
    EXPECT_TRUE(TextFitsBox("abcde fghij", kQuestionFont, 107, 40));
    EXPECT_FALSE(TextFitsBox("abcdefghijklmnop", kQuestionFont, 150, 200));
}

}  // namespace
