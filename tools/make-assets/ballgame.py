"""The ball game's pieces: the balls in their cups, the values inside them, the win plan, the
prompts, the player's ball and the offer ball, the offer and end-of-game plates, the sparkle and
the answer result animations."""

import functools
import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

import formats
import layout
import screens
import theme as t

BALL_COLOURS = {"red": t.RED, "blue": t.BLUE}
# The ball sits in its cup; its open face (the label the value shows on) is centred on the
# value picture's place.
SPHERE_AT, SPHERE_SIZE = (5, 13), 63
LABEL_CENTRE = (layout.VALUE_OFFSET[0] + layout.VALUE[0] / 2.0,
                layout.VALUE_OFFSET[1] + layout.VALUE[1] / 2.0)
LABEL_RADII = (30.0, 18.5)


# ---------------------------------------------------------------- balls and cups


def cup(tint):
    """A gold egg cup at the foot of a ball cell, its bowl tinted with the ball's colour."""
    img = t.clear(layout.BALL)
    body = t.shape_mask(img.size, lambda d, s: d.polygon(
        [(16 * s, 80 * s), (57 * s, 80 * s), (47 * s, 100 * s), (26 * s, 100 * s)], fill=255))
    foot = t.ellipse_mask(img.size, (17, 96, 56, 107))
    t.shadow(img, foot, offset=(0, 2), blur=2)
    for mask in (foot, body):
        t.paint(img, mask, t.vertical_gradient(img.size, t.GOLD_LIGHT, t.GOLD_DARK))
    t.paint(img, t.ellipse_mask(img.size, (10, 72, 63, 88)), t.GOLD)
    t.paint(img, t.ellipse_mask(img.size, (13, 74, 60, 86)), t.darker(tint, 0.6))
    return img


def sphere(colour):
    return t.shiny_sphere(SPHERE_SIZE, colour)


def label_mask(size, scale):
    """The white face on a ball, scaled from a small roundel (0) to the full label (1)."""
    cx, cy = LABEL_CENTRE
    rx = 8 + (LABEL_RADII[0] - 8) * scale
    ry = 8 + (LABEL_RADII[1] - 8) * scale
    return t.ellipse_mask(size, (cx - rx, cy - ry, cx + rx, cy + ry))


def ball_strip(name):
    """11 cells: 0 closed (a small "?" roundel), opening to 10 (the full white label)."""
    colour = BALL_COLOURS[name]
    frames = []
    ball = sphere(colour)
    question = t.font(t.SANS_BOLD, 13)
    for f in range(11):
        scale = f / 10.0
        img = cup(colour)
        img.alpha_composite(ball, SPHERE_AT)
        ring = label_mask(img.size, scale)
        t.paint(img, ring.filter(ImageFilter.MaxFilter(3)), t.darker(colour, 0.5))
        t.paint(img, ring, t.vertical_gradient(img.size, t.WHITE, (236, 228, 214)))
        if f < 5:
            fade = int(255 * (1 - f / 5.0))
            layer = t.clear(img.size)
            t.text(layer, (LABEL_CENTRE[0], LABEL_CENTRE[1] + 1), "?", question,
                   t.darker(colour, 0.3), anchor="mm")
            layer.putalpha(layer.getchannel("A").point(lambda v: v * fade // 255))
            img.alpha_composite(layer)
        gloss = t.ellipse_mask(img.size, (17, 18, 39, 30))
        t.paint(img, gloss.filter(ImageFilter.GaussianBlur(2)).point(lambda v: v // 3), t.WHITE)
        frames.append(img)
    return formats.stack_frames(frames)


def empty_cup(name):
    img = cup(BALL_COLOURS[name])
    t.glow(img, (36, 80), 22, BALL_COLOURS[name], strength=0.5)
    return img


def prize_ball():
    """Never drawn: a red ball and a gold one, one a frame."""
    frames = []
    for colour in (t.RED, t.GOLD):
        img = cup(colour)
        img.alpha_composite(sphere(colour), SPHERE_AT)
        frames.append(img)
    return formats.stack_frames(frames)


# ---------------------------------------------------------------- values on the balls


def value_strip(words, colour):
    """10 cells of a rolling reel seen through the ball's label: cell 1 shows the value
    settled in the middle, the others the reel turned by tenths of a turn, so stepping
    through the cells rolls the value down into place."""
    w, h = layout.VALUE
    f = t.fitted_font(t.SANS_BOLD, words, w - 8, 19)
    window = t.ellipse_mask((w, h), (1, 0, w - 1, h))
    frames = []
    for cell in range(10):
        shift = ((cell - 1) % 10) * h / 10.0
        img = t.clear((w, h))
        ink = colour if cell == 1 else t.lighter(colour, 0.3)
        for copy in (shift - h, shift):
            t.text(img, (w / 2.0, h / 2.0 + copy), words, f, ink, anchor="mm")
        img.putalpha(ImageChops.multiply(img.getchannel("A"), window))
        frames.append(img)
    return formats.stack_frames(frames)


def value_pictures():
    """ValEmpty and one picture per prize value."""
    pictures = {"ValEmpty": value_strip("EMPTY", (90, 96, 120))}
    for pence in layout.VALUE_PICTURES:
        pictures["Val%d" % pence] = value_strip(layout.short_money(pence), (150, 14, 26))
    return pictures


# ---------------------------------------------------------------- win plan


def plate_style(value):
    if value < 5:
        return (86, 94, 118), (46, 52, 70), (200, 205, 220)
    if value < 100:
        return (70, 110, 210), (22, 44, 120), t.WHITE
    return t.GOLD_LIGHT, t.GOLD_DARK, t.NAVY_DEEP


def plate(value, bright):
    w, h = layout.PLATE
    img = t.clear((w, h))
    top, bottom, ink = plate_style(value)
    if bright:
        top, bottom = t.lighter(top, 0.55), t.lighter(bottom, 0.45)
        if value < 100:
            ink = t.NAVY_DEEP
    body = t.rounded_mask((w, h), (1, 1, w - 1, h - 1), 9)
    t.paint(img, body, t.vertical_gradient((w, h), top, bottom))
    words = "EMPTY" if value < 5 else layout.short_money(value)
    t.text(img, (w // 2, h // 2 + 1), words, t.font(t.SANS_BOLD, 18), ink, anchor="mm")
    return img


def plate_overlay(bright):
    """Cell 23, drawn over every lit plate (and alone as the plates slide in): a glass frame."""
    w, h = layout.PLATE
    img = t.clear((w, h))
    outer = t.rounded_mask((w, h), (0, 0, w, h), 10)
    inner = t.rounded_mask((w, h), (2, 2, w - 2, h - 2), 8)
    ring = ImageChops.subtract(outer, inner)
    t.paint(img, ring, t.WHITE if bright else t.GOLD)
    gloss = t.rounded_mask((w, h), (5, 3, w - 5, h // 2), 6)
    t.paint(img, gloss.point(lambda v: v * (110 if bright else 60) // 255), t.WHITE)
    return img


def win_plan(bright):
    cells = [plate(value, bright) for value in layout.WIN_PLAN_CELLS]
    return formats.stack_frames(cells + [plate_overlay(bright)])


# ---------------------------------------------------------------- prompts and title plates


def prompt(lines, colour):
    w, h = layout.PROMPT
    img = t.clear((w, h))
    t.framed_panel(img, (2, 2, w - 2, h - 2), 14, (t.lighter(colour, 0.2), t.darker(colour, 0.3)),
                   rim_width=3, drop_shadow=False)
    f = t.fitted_font(t.SANS_BOLD, max(lines, key=len), w - 24, 20)
    for i, line in enumerate(lines):
        t.text(img, (w // 2, h // 2 + (i * 2 - 1) * 11), line, f, t.GOLD_LIGHT if i == 0 else
               t.WHITE, shadow_colour=(0, 0, 0), shadow_offset=(1, 1), anchor="mm")
    return img


PROMPTS = {
    "PickPrizeBall": (("PICK YOUR", "PRIZE BALL"), t.NAVY_LIGHT),
    "PickABall": (("PICK A BALL", "TO OPEN"), t.NAVY_LIGHT),
    "PickADiffBall": (("NOT THE BLUE BALL!", "PICK ANOTHER"), t.RED),
}


def title_plate(words):
    """A gold ribbon across the player's ball."""
    w, h = layout.TITLE_PLATE
    img = t.clear((w, h))
    ribbon = [(0, 6), (w, 6), (w - 14, h // 2 + 3), (w, h - 4), (0, h - 4), (14, h // 2 + 3)]
    mask = t.shape_mask((w, h), lambda d, s: d.polygon([(x * s, y * s) for x, y in ribbon],
                                                         fill=255))
    t.shadow(img, mask, offset=(0, 2), blur=2)
    t.paint(img, mask, t.vertical_gradient((w, h), t.GOLD_LIGHT, t.GOLD_DARK))
    band = t.shape_mask((w, h), lambda d, s: d.rectangle((18 * s, 9 * s, (w - 18) * s,
                                                          (h - 7) * s), fill=255))
    t.paint(img, band, t.vertical_gradient((w, h), t.RED, (120, 10, 20)))
    face = t.SERIF_BOLD if words == "VANTOR" else t.SANS_BOLD
    f = t.fitted_font(face, words, w - 50, 24)
    t.text(img, (w // 2, h // 2 + 1), words, f, t.GOLD_LIGHT, shadow_colour=(0, 0, 0),
           shadow_offset=(1, 1), anchor="mm")
    return img


# ---------------------------------------------------------------- the player's and offer balls


def split_ball(size, colour, emblem=None):
    """A big glossy ball cut down the middle into a left and a right half, each with a dark seam
    along the cut. An emblem is pressed whole into each half, so a half that has parted from the
    other still shows all of it."""
    w, h = size
    ball = t.clear(size)
    diameter = min(w, h) - 2
    ball.alpha_composite(t.shiny_sphere(diameter, colour), ((w - diameter) // 2,
                                                            (h - diameter) // 2))
    if emblem:
        f = t.font(t.SERIF_BOLD, diameter // 3)
        layer = t.clear(size)
        for x in (w // 4 + 4, w - w // 4 - 4):
            t.text(layer, (x, h // 2), emblem, f, t.darker(colour, 0.55), anchor="mm")
        layer.putalpha(ImageChops.multiply(layer.getchannel("A"), ball.getchannel("A")))
        ball.alpha_composite(layer)
    seam = t.clear(size)
    ImageDraw.Draw(seam).rectangle((w // 2 - 2, 0, w // 2 + 1, h), fill=(0, 0, 0, 150))
    seam.putalpha(ImageChops.multiply(seam.getchannel("A"), ball.getchannel("A")))
    ball.alpha_composite(seam)
    return ball.crop((0, 0, w // 2, h)), ball.crop((w // 2, 0, w, h))


@functools.lru_cache(maxsize=None)
def player_ball():
    w, h = layout.PLAYER_HALF
    return split_ball((2 * w, h), t.RED)


@functools.lru_cache(maxsize=None)
def offer_ball():
    w, h = layout.OFFER_HALF
    return split_ball((2 * w, h), t.GOLD, emblem="\u00a3")


# ---------------------------------------------------------------- offer and end plates


def plate_frame(size, heading, heading_size, face=(t.NAVY_LIGHT, t.NAVY_DEEP)):
    """An opaque rectangular plate with a gold frame and a heading."""
    w, h = size
    img = t.vertical_gradient(size, t.GOLD_LIGHT, t.GOLD_DARK)
    img.paste(t.vertical_gradient((w - 8, h - 8), *face), (4, 4))
    t.gradient_text(img, (w // 2, 26), heading, t.font(t.SANS_BOLD, heading_size), t.GOLD_LIGHT,
                    t.GOLD, stroke=1)
    return img


def amount_window(img, text_box, at):
    x0, y0, x1, y1 = text_box
    t.window(img, (x0 - at[0] - 14, y0 - at[1] - 6, x1 - at[0] + 14, y1 - at[1] + 6), radius=8)


TAKE_LEAVE = {"TAKE": t.GREEN, "LEAVE": t.RED}


def take_leave_button(word, state):
    picture = t.clear(layout.TAKE_LEAVE_BUTTON)
    w, h = layout.TAKE_LEAVE_BUTTON
    t.glossy_button(picture, (4, 3, w - 4, h - 3), TAKE_LEAVE[word], word, state, radius=14,
                    font_size=22)
    return picture


@functools.lru_cache(maxsize=None)
def offer_plate():
    """The plate the offer ball opens on: the amount window and the Take and Leave buttons,
    ready to press (the game lights them in turn)."""
    img = plate_frame(layout.OFFER_PLATE, "THE OFFER", 24)
    w = layout.OFFER_PLATE[0]
    t.text(img, (w // 2, 51), "for your ball", t.font(t.SANS, 14), t.CREAM, anchor="mm")
    amount_window(img, layout.OFFER_TEXT_BOX, layout.OFFER_PLATE_AT)
    for word, at in (("TAKE", layout.TAKE_AT), ("LEAVE", layout.LEAVE_AT)):
        place = (at[0] - layout.OFFER_PLATE_AT[0], at[1] - layout.OFFER_PLATE_AT[1])
        img.alpha_composite(take_leave_button(word, "normal"), place)
    return img


def take_leave_strip(state):
    """Cell 0 Take, cell 1 Leave, keyed over the plate they sit on."""
    frames = []
    for word, at in (("TAKE", layout.TAKE_AT), ("LEAVE", layout.LEAVE_AT)):
        place = (at[0] - layout.OFFER_PLATE_AT[0], at[1] - layout.OFFER_PLATE_AT[1])
        backdrop = screens.crop(offer_plate(), place, layout.TAKE_LEAVE_BUTTON)
        frames.append(screens.keyed_over(take_leave_button(word, state), backdrop))
    return formats.stack_frames(frames)


def congrats_plate():
    img = plate_frame(layout.END_PLATE, "CONGRATULATIONS!", 24)
    w = layout.END_PLATE[0]
    t.text(img, (w // 2, 70), "YOU HAVE WON", t.font(t.SANS_BOLD, 22), t.CREAM,
           shadow_colour=(0, 0, 0), anchor="mm")
    star = t.font(t.SANS_BOLD, 20)
    t.text(img, (36, 70), "\u2605", star, t.GOLD, anchor="mm")
    t.text(img, (w - 36, 70), "\u2605", star, t.GOLD, anchor="mm")
    amount_window(img, layout.END_TEXT_BOX, layout.END_PLATE_AT)
    return img


def game_over_plate():
    img = plate_frame(layout.END_PLATE, "", 10, face=((70, 40, 90), (24, 12, 40)))
    w = layout.END_PLATE[0]
    t.gradient_text(img, (w // 2, 62), "GAME OVER", t.fitted_font(t.SERIF_BOLD, "GAME OVER",
                                                                   w - 40, 40),
                    t.GOLD_LIGHT, t.GOLD_DARK, stroke=2)
    t.text(img, (w // 2, 112), "Better luck next time!", t.font(t.SANS_BOLD, 20), t.CREAM,
           shadow_colour=(0, 0, 0), anchor="mm")
    t.text(img, (w // 2, 142), "Thanks for playing", t.font(t.SANS, 16), t.GOLD_LIGHT,
           anchor="mm")
    return img


def offer_box():
    """Never drawn: three small plates."""
    frames = []
    for colour in (t.NAVY_LIGHT, t.GREEN, t.RED):
        frame = t.clear((120, 40))
        t.framed_panel(frame, (1, 1, 119, 39), 8, colour, rim_width=2, drop_shadow=False)
        frames.append(frame)
    return formats.stack_frames(frames)


# ---------------------------------------------------------------- sparkle and result animations


def sparkle():
    """A four-pointed twinkle, all its light inside the 33-pixel circle it turns in."""
    size = layout.SPARKLE
    img = t.clear(size)
    c = size[0] / 2.0
    t.glow(img, (c, c), 16, t.GOLD_LIGHT, strength=0.8, power=2.5)
    rays = t.shape_mask(size, lambda d, s: d.polygon(
        [(x * s, y * s) for x, y in t.star_points(c, c, 15.5, 2.2, points=4)], fill=255))
    t.paint(img, rays, (255, 250, 225))
    t.glow(img, (c, c), 5, t.WHITE, power=1.0)
    return img


RESULTS = {
    "Correct": ("CORRECT!", t.GREEN),
    "Wrong": ("WRONG", t.RED),
    "TryAgain": ("TRY AGAIN", t.AMBER),
    "TimedOut": ("TIME UP", (110, 70, 200)),
}
# The stamp is a banner across the panel's heading row (over QUESTION and its number), so the
# statement below stays readable. The game draws the frames over one another without clearing,
# several times each, so the stamp only grows: every frame lies inside the next (scaled about
# the banner's middle), and what is left on screen is the last, full-size frame.
RESULT_SCALES = [0.3, 0.5, 0.68, 0.82, 0.92, 0.97, 1.0]
RESULT_FADES = [0.45, 0.7, 0.9, 1.0, 1.0, 1.0, 1.0]
RESULT_ICON = 36  # the sign's disc at the banner's left end


def _result_icon(draw, name, cx, cy, s):
    white = (255, 255, 255, 255)
    if name == "Correct":
        draw.line([((cx - 26) * s, cy * s), ((cx - 8) * s, (cy + 20) * s),
                   ((cx + 28) * s, (cy - 22) * s)], fill=white, width=13 * s, joint="curve")
    elif name == "Wrong":
        for dx in (-1, 1):
            draw.line([((cx - 22 * dx) * s, (cy - 22) * s), ((cx + 22 * dx) * s, (cy + 22) * s)],
                      fill=white, width=13 * s)
    elif name == "TryAgain":
        r = 25
        draw.arc(((cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s), 40, 330, fill=white,
                 width=10 * s)
        tip = (cx + r * math.cos(math.radians(40)), cy + r * math.sin(math.radians(40)))
        draw.polygon([((tip[0] - 13) * s, (tip[1] + 4) * s), ((tip[0] + 11) * s, (tip[1] + 6) * s),
                      ((tip[0] + 2) * s, (tip[1] - 16) * s)], fill=white)
    else:
        r = 27
        draw.ellipse(((cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s), outline=white,
                     width=6 * s)
        draw.line([(cx * s, cy * s), (cx * s, (cy - 18) * s)], fill=white, width=6 * s)
        draw.line([(cx * s, cy * s), ((cx + 13) * s, (cy + 6) * s)], fill=white, width=6 * s)


def _result_sign(name, size):
    """The white sign, drawn at 80 pixels and brought down to size."""
    scale = 4
    icon = Image.new("RGBA", (80 * scale, 80 * scale), (255, 255, 255, 0))
    _result_icon(ImageDraw.Draw(icon), name, 40, 40, scale)
    return icon.reduce(scale).resize((size, size), Image.LANCZOS)


def result_picture(name):
    """The full-size stamp: a solid banner in the result's colour with its sign and its word."""
    word, colour = RESULTS[name]
    w, h = layout.RESULT
    img = t.clear((w, h))
    # No soft shadow: a half-transparent pixel drawn over itself again and again turns solid.
    face = (t.lighter(colour, 0.2), t.darker(colour, 0.3))
    t.framed_panel(img, (0, 0, w, h), h // 2, face, rim_width=3, drop_shadow=False)
    d = RESULT_ICON
    x0, y0 = 6, (h - d) // 2
    t.paint(img, t.ellipse_mask((w, h), (x0, y0, x0 + d, y0 + d)), t.darker(colour, 0.45))
    sign = d - 12
    img.alpha_composite(_result_sign(name, sign), (x0 + 6, y0 + 6))
    left = x0 + d + 4
    f = t.fitted_font(t.SANS_BOLD, word, w - left - 14, 26)
    t.text(img, ((left + w - 10) // 2, h // 2), word, f, t.WHITE, shadow_colour=(0, 0, 0),
           shadow_offset=(1, 2), anchor="mm")
    return img


def result_strip(name):
    """7 frames: the stamp grows in to its full size."""
    full = result_picture(name)
    w, h = layout.RESULT
    frames = []
    for scale, fade in zip(RESULT_SCALES, RESULT_FADES):
        frame = t.clear((w, h))
        sw, sh = max(1, int(w * scale)), max(1, int(h * scale))
        sized = full.resize((sw, sh), Image.LANCZOS)
        if fade < 1.0:
            sized.putalpha(sized.getchannel("A").point(lambda v: int(v * fade)))
        cx, cy = w / 2, h / 2
        left, top = round(cx - cx * sw / w), round(cy - cy * sh / h)
        frame.alpha_composite(sized, (left, top))
        frames.append(frame)
    return formats.stack_frames(frames)
