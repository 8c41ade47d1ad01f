"""The stake screen's pieces: the two sliding doors (11 frames, closed to open), the play buttons
under them and the spinning coins that appear behind the open doors."""

import math

from PIL import Image, ImageDraw

import formats
import layout
import theme as t

STAKES = {
    # name: (door sign, coin colour, coin words, prize line, play button colour)
    "pound": ("\u00a31 GAME", t.GOLD, "\u00a31", "WIN UP TO \u00a35", t.RED),
    "fifty": ("50p GAME", (205, 210, 222), "50p", "WIN UP TO \u00a33", t.BLUE),
}
LINTEL = 44      # height of the sign over the doorway
POST = 14        # width of the door posts


def _opening():
    w, h = layout.DOOR
    return (POST, LINTEL, w - POST, h)


def _alcove():
    """What the open doorway shows: a dark alcove under a spotlight."""
    x0, y0, x1, y1 = _opening()
    size = (x1 - x0, y1 - y0)
    img = t.vertical_gradient(size, (8, 14, 40), (26, 40, 92))
    t.glow(img, (size[0] // 2, 40), 150, (90, 120, 200), strength=0.6)
    t.glow(img, (size[0] // 2, size[1] - 10), 90, t.GOLD, strength=0.3)
    return img


def _closed_leaves(stake):
    """Both door leaves shut: navy panels in gold frames with the stake split across them."""
    x0, y0, x1, y1 = _opening()
    w, h = x1 - x0, y1 - y0
    img = t.vertical_gradient((w, h), (36, 60, 140), (14, 26, 70))
    for left in (0, w // 2):
        for top, bottom in ((12, h // 2 - 6), (h // 2 + 6, h - 12)):
            box = (left + 10, top, left + w // 2 - 10, bottom)
            t.paint(img, t.rounded_mask((w, h), box, 6), t.GOLD_DARK)
            t.paint(img, t.rounded_mask((w, h), t.inset(box, 3), 4),
                    t.vertical_gradient((w, h), (44, 72, 160), (20, 36, 90)))
    ImageDraw.Draw(img).rectangle((w // 2 - 1, 0, w // 2, h), fill=(6, 10, 30, 255))
    words = STAKES[stake][2]
    medal = t.ellipse_mask((w, h), (w // 2 - 56, h // 2 - 56, w // 2 + 56, h // 2 + 56))
    t.shadow(img, medal)
    t.paint(img, medal, t.vertical_gradient((w, h), t.GOLD_LIGHT, t.GOLD_DARK))
    t.paint(img, t.ellipse_mask((w, h), (w // 2 - 48, h // 2 - 48, w // 2 + 48, h // 2 + 48)),
            t.NAVY)
    t.text(img, (w // 2, h // 2), words, t.font(t.SERIF_BOLD, 44), t.GOLD_LIGHT,
           shadow_colour=(0, 0, 0), anchor="mm")
    ImageDraw.Draw(img).rectangle((w // 2 - 1, 0, w // 2, h), fill=(6, 10, 30, 120))
    return img


def _frame_and_sign(stake):
    w, h = layout.DOOR
    img = t.vertical_gradient((w, h), t.GOLD, t.GOLD_DARK)
    sign = t.vertical_gradient((w - 12, LINTEL - 10), t.RED, (110, 10, 20))
    img.paste(sign, (6, 5))
    t.text(img, (w // 2, LINTEL // 2), STAKES[stake][0], t.font(t.SANS_BOLD, 24), t.GOLD_LIGHT,
           shadow_colour=(0, 0, 0), anchor="mm")
    for x in (POST // 2, w - POST // 2 - 1):
        ImageDraw.Draw(img).line((x, LINTEL, x, h), fill=(255, 236, 170, 255), width=2)
    return img


def door_strip(stake):
    """Frame f shows the two leaves slid f tenths of the way into the walls."""
    base = _frame_and_sign(stake)
    alcove = _alcove()
    leaves = _closed_leaves(stake)
    x0, y0, x1, y1 = _opening()
    half = (x1 - x0) // 2
    frames = []
    for f in range(11):
        eased = 0.5 - 0.5 * math.cos(math.pi * f / 10.0)
        slide = int(round(half * eased))
        doorway = alcove.copy()
        left = leaves.crop((slide, 0, half, y1 - y0))
        right = leaves.crop((half, 0, 2 * half - slide, y1 - y0))
        doorway.alpha_composite(left, (0, 0))
        doorway.alpha_composite(right, (half + slide, 0))
        if 0 < slide < half:
            edge = t.clear(doorway.size)
            draw = ImageDraw.Draw(edge)
            for x in (half - slide - 1, half + slide):
                draw.rectangle((x - 1, 0, x + 1, y1 - y0), fill=(0, 0, 0, 140))
            doorway.alpha_composite(edge)
        frame = base.copy()
        frame.paste(doorway, (x0, y0))
        frames.append(frame.convert("RGB"))
    return formats.stack_frames(frames)


def play_button(stake):
    """2 frames: normal and pressed."""
    colour = STAKES[stake][4]
    words = "PLAY " + STAKES[stake][2]
    w, h = layout.PLAY_BUTTON
    frames = []
    for state in ("normal", "pressed"):
        img = t.clear((w, h))
        t.glossy_button(img, (10, 8, w - 10, h - 12), colour, words, state, font_size=36)
        frames.append(img)
    return formats.stack_frames(frames)


def _coin_face(stake, back):
    """The coin seen face on: the stake on the front, a star on the back. The 50p is a
    seven-sided coin."""
    _, colour, words, _, _ = STAKES[stake]
    d = 160
    img = t.clear((d, d))
    c = d / 2.0
    if stake == "fifty":
        corners = [(c + c * math.cos(math.radians(-90 + i * 360 / 7.0)),
                    c + c * math.sin(math.radians(-90 + i * 360 / 7.0))) for i in range(7)]
        outline = t.shape_mask((d, d), lambda dr, s: dr.polygon(
            [(x * s, y * s) for x, y in corners], fill=255))
        rim = t.shape_mask((d, d), lambda dr, s: dr.polygon(
            [((c + (x - c) * 0.86) * s, (c + (y - c) * 0.86) * s) for x, y in corners],
            fill=255))
    else:
        outline = t.ellipse_mask((d, d), (0, 0, d, d))
        rim = t.ellipse_mask((d, d), (11, 11, d - 11, d - 11))
    t.paint(img, outline, t.vertical_gradient((d, d), t.lighter(colour, 0.5),
                                              t.darker(colour, 0.45)))
    t.paint(img, rim, t.vertical_gradient((d, d), t.darker(colour, 0.15),
                                          t.lighter(colour, 0.3)))
    ink = t.darker(colour, 0.55)
    if back:
        star = t.shape_mask((d, d), lambda dr, s: dr.polygon(
            [(x * s, y * s) for x, y in t.star_points(c, c, 50, 20)], fill=255))
        t.paint(img, star, ink)
    else:
        t.text(img, (c, c + 2), words, t.font(t.SERIF_BOLD, 58 if len(words) < 3 else 50), ink,
               shadow_colour=t.lighter(colour, 0.6), shadow_offset=(-1, -1), anchor="mm")
    return img


def stake_pictures(stake):
    """Ten pictures of the coin turning once about its upright axis, face on in the first,
    with the top prize written under it."""
    w, h = layout.STAKE_PICTURE
    front, back = _coin_face(stake, False), _coin_face(stake, True)
    d = front.size[0]
    colour = STAKES[stake][1]
    pictures = []
    for k in range(10):
        angle = math.radians(36 * k)
        squeeze = math.cos(angle)
        face = front if squeeze >= 0 else back
        width = max(6, int(round(d * abs(squeeze))))
        img = t.clear((w, h))
        left = (w - width) // 2
        if width < d:
            edge = Image.new("RGBA", (width + 6, d), (0, 0, 0, 0))
            mask = t.ellipse_mask(edge.size, (0, 0, edge.size[0], d))
            t.paint(edge, mask, t.darker(colour, 0.5))
            img.alpha_composite(edge, (left - 3 + (3 if squeeze >= 0 else -3), 2))
        img.alpha_composite(face.resize((width, d), Image.LANCZOS), (left, 2))
        t.text(img, (w // 2, h - 14), STAKES[stake][3], t.font(t.SANS_BOLD, 18), t.GOLD_LIGHT,
               shadow_colour=(0, 0, 0), anchor="mm")
        pictures.append(img)
    return pictures
