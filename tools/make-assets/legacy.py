"""Sprite files the game loads (or lists) but never draws: the loaves, the oven, the cat, the
baker and the old question pieces. Each is small and plain, with the frame count the game
loads it with, so its frames come out whole."""

from PIL import Image, ImageDraw

import formats
import theme as t

CELL = (32, 24)


def plain_strip(frames, colour):
    """frames cells of flat colour, each a shade lighter than the last, with a dark border."""
    cells = []
    for n in range(frames):
        cell = Image.new("RGB", CELL, t.lighter(colour, 0.5 * n / max(1, frames - 1)))
        ImageDraw.Draw(cell).rectangle((0, 0, CELL[0] - 1, CELL[1] - 1), outline=t.NAVY_DEEP)
        cells.append(cell)
    return formats.stack_frames(cells)


def transparency():
    """A picture of the colour key alone."""
    return Image.new("RGB", (32, 32), formats.MAGENTA)
