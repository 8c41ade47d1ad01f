"""The six bitmap fonts: 96 glyph cells stacked top to bottom, glyph g showing character 32 + g
except glyph 95, which is the pound sign. Cells are magenta where there is no ink.

The game measures each glyph's width from the picture itself (the rightmost inked column, never
column 0, plus one or two) and makes the space half a cell wide, so each glyph is drawn from
column 1 or later with its natural spacing on its left, and glyphs too wide for the cell are
narrowed to fit. Every font is written on one known backdrop (a dark window for amounts, the
cream panel for questions), so its smoothed edges are blended with that colour rather than
with magenta."""

from PIL import Image, ImageDraw

import formats
import theme as t

GLYPHS = [chr(32 + g) for g in range(95)] + ["\u00a3"]
INK_THRESHOLD = 40  # coverage below this is left as the colour key


class BitmapFont:
    def __init__(self, face, cell, ink, backdrop, extra_advance=1, size=None, fit=None):
        """cell: (width, height). size: the face's pixel size, or None for the largest that
        fits the cell's height and, when given, fit = (text, width): that text's laid-out
        width. extra_advance: what the game adds to the measured width (2 for the bank and
        credit font, 1 for the others)."""
        self.face, self.cell, self.ink, self.backdrop = face, cell, ink, backdrop
        self.extra_advance = extra_advance
        self.size = size or self._largest_size(fit)
        self.font = t.font(face, self.size)
        self.baseline = self._baseline()

    def _extent(self, f):
        boxes = [f.getbbox(ch, anchor="ls") for ch in GLYPHS if ch != " "]
        return min(b[1] for b in boxes), max(b[3] for b in boxes)

    def _laid_out_width(self, f, text):
        return sum(round(f.getlength(ch)) + self.extra_advance - 1 for ch in text)

    def _largest_size(self, fit):
        size = self.cell[1]
        while size > 6:
            f = t.font(self.face, size)
            top, bottom = self._extent(f)
            fits = bottom - top <= self.cell[1] - 2
            if fit is not None:
                fits = fits and self._laid_out_width(f, fit[0]) <= fit[1]
            if fits:
                return size
            size -= 1
        raise ValueError("no size of %s fits a %d x %d cell" % (self.face, *self.cell))

    def _baseline(self):
        top, bottom = self._extent(self.font)
        return (self.cell[1] - (bottom - top)) // 2 - top

    def coverage(self, ch):
        """An L mask of the cell with the glyph placed as the game will measure it."""
        width, height = self.cell
        cell = Image.new("L", self.cell, 0)
        if ch == " ":
            return cell
        left, _, right, _ = self.font.getbbox(ch, anchor="ls")
        scratch = Image.new("L", (right - left + 8, height), 0)
        ImageDraw.Draw(scratch).text((4 - left, self.baseline), ch, font=self.font, fill=255,
                                     anchor="ls")
        inked = scratch.point(lambda v: 255 if v >= INK_THRESHOLD else 0).getbbox()
        if inked is None:
            return cell
        glyph = scratch.crop((inked[0], 0, inked[2], height))
        ink_width = inked[2] - inked[0]
        offset = max(1, round(self.font.getlength(ch)) - ink_width)
        if offset + ink_width > width:
            offset = 1
            glyph = glyph.resize((width - 1, height), Image.LANCZOS)
        cell.paste(glyph, (offset, 0))
        return cell

    def glyph(self, ch):
        mask = self.coverage(ch)
        cell = Image.composite(Image.new("RGB", self.cell, self.ink),
                               Image.new("RGB", self.cell, self.backdrop), mask)
        key = mask.point(lambda v: 255 if v < INK_THRESHOLD else 0)
        cell.paste(formats.MAGENTA, (0, 0), key)
        return cell

    def strip(self):
        return formats.stack_frames([self.glyph(ch) for ch in GLYPHS])


def bank_credit_font():
    """Font 3: amounts in the credit and bank panels (£100.00 fits their 94-pixel box), the
    question number, the try-agains and the answer clock's seconds."""
    return BitmapFont(t.SANS_BOLD, (16, 26), t.WINDOW_TEXT, t.WINDOW, extra_advance=2,
                      fit=("\u00a3100.00", 94))


def question_font():
    """Font 5: question texts, the largest thing on the question screen. Three lines of 36 fill
    the 454 x 109 box, and at this size any statement of up to 90 characters of ordinary English
    takes at most three; a cell of 20 holds the widest letters (W, m) without squeezing them."""
    return BitmapFont(t.CONDENSED_BOLD, (20, 36), t.PANEL_TEXT, t.PANEL, size=22)


def pot_font():
    """Font 6: offers and wins (£5.00 in the 102 x 34 box)."""
    return BitmapFont(t.SANS_BOLD, (24, 34), t.WINDOW_TEXT, t.WINDOW, fit=("\u00a35.00", 100))


def end_font():
    return BitmapFont(t.SANS_BOLD, (24, 32), t.GOLD_LIGHT, t.WINDOW)


def win_font():
    return BitmapFont(t.SERIF_BOLD, (32, 40), t.GOLD, t.WINDOW)


def font1a():
    return BitmapFont(t.SANS_BOLD, (16, 24), t.WHITE, t.NAVY)
