"""The stage that every full-screen picture is built on: a navy backdrop lit by spotlights, the
marquee arch of lamps over the top (where the sparkle twinkles) and the gold VANTOR title."""

import random

from PIL import Image, ImageDraw, ImageFilter

import layout
import theme as t


def backdrop(seed, lights=4):
    """An 800 x 600 stage: navy from dark at the top to lighter at the floor, a soft blue glow
    in the middle, a few beams from above and specks of gold."""
    w, h = layout.SCREEN
    img = t.vertical_gradient((w, h), t.NAVY_DEEP, (20, 38, 96))
    t.glow(img, (400, 330), 430, (52, 84, 170), strength=0.55)
    rng = random.Random(seed)
    beams = Image.new("L", (w // 4, h // 4), 0)
    draw = ImageDraw.Draw(beams)
    for i in range(lights):
        top = (i + 0.5) * w / lights / 4 + rng.uniform(-15, 15)
        spread = rng.uniform(18, 30)
        bottom = top + rng.uniform(-60, 60)
        draw.polygon([(top - 3, -2), (top + 3, -2), (bottom + spread, h // 4),
                      (bottom - spread, h // 4)], fill=38)
    beams = beams.filter(ImageFilter.GaussianBlur(6)).resize((w, h), Image.BILINEAR)
    t.paint(img, beams, (170, 200, 255))
    specks = t.clear((w, h))
    speck_draw = ImageDraw.Draw(specks)
    for _ in range(90):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        r = rng.choice((0.8, 1.0, 1.3))
        alpha = rng.randint(50, 140)
        colour = rng.choice((t.GOLD_LIGHT, t.WHITE, (170, 200, 255)))
        speck_draw.ellipse((x - r, y - r, x + r, y + r), fill=colour + (alpha,))
    img.alpha_composite(specks)
    return img


def _arch_y(x):
    """The arch through the sparkle's places: low at the edges, highest in the middle."""
    return 16 - 6 + 0.000256 * (x - 400) ** 2


def marquee_arch(img):
    """A gold rail along the sparkle's places with a lamp at each place."""
    centres = [(x + 16, y + 16) for x, y in layout.SPARKLE_PLACES]
    rail = [(x, _arch_y(x) + 6) for x in range(0, 801, 8)]
    mask = t.shape_mask(img.size, lambda d, s: d.line([(x * s, y * s) for x, y in rail],
                                                      fill=255, width=7 * s), scale=2)
    t.shadow(img, mask, offset=(0, 3), blur=3)
    t.paint(img, mask, t.GOLD_DARK)
    inner = t.shape_mask(img.size, lambda d, s: d.line([(x * s, (y - 1) * s) for x, y in rail],
                                                       fill=255, width=3 * s), scale=2)
    t.paint(img, inner, t.GOLD)
    for x, y in centres:
        y = _arch_y(x) + 6
        t.glow(img, (x, y), 14, t.GOLD_LIGHT, strength=0.55)
        lamp = t.ellipse_mask(img.size, (x - 4, y - 4, x + 5, y + 5))
        t.paint(img, lamp, (255, 246, 200))


def title(img, centre, size, word="VANTOR"):
    """The game's name in gold."""
    f = t.font(t.SERIF_BOLD, size)
    t.gradient_text(img, centre, word, f, t.GOLD_LIGHT, t.GOLD_DARK, stroke=max(2, size // 22),
                    glow_colour=(255, 190, 60))


def caption(img, centre, words, size, colour=t.CREAM, face=t.SANS_BOLD):
    t.text(img, centre, words, t.font(face, size), colour, shadow_colour=(0, 0, 0), anchor="mm")
