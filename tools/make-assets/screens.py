"""The full-screen backgrounds and the sprites that sit on them at fixed places.

A button or panel that is only ever drawn on one background is made from that background's own
pixels with the button painted on, so it looks the same whether the game copies it keyed or
not, and its smoothed edges blend into the real backdrop."""

import functools


import formats
import layout
import scenery
import theme as t

# ---------------------------------------------------------------- helpers


def crop(background, at, size):
    x, y = at
    return background.crop((x, y, x + size[0], y + size[1]))


def keyed_over(picture, backdrop, threshold=12):
    """RGB over the backdrop's own pixels; where the picture is (almost) see-through the pixel is
    magenta, so a keyed copy leaves the screen as it is there."""
    base = backdrop.convert("RGBA")
    base.alpha_composite(picture)
    rgb = base.convert("RGB")
    hole = picture.getchannel("A").point(lambda v: 255 if v < threshold else 0)
    rgb.paste(formats.MAGENTA, (0, 0), hole)
    return rgb


def button_frames(backdrop, box, colour, label, states, **style):
    """One frame per state of a glossy button painted on a piece of background."""
    frames = []
    for state in states:
        frame = backdrop.copy()
        t.glossy_button(frame, box, colour, label, state, **style)
        frames.append(frame)
    return frames


def _centred_box(centre_x, width, top, height):
    left = centre_x - width // 2
    return (left, top, left + width, top + height)


# ---------------------------------------------------------------- loading screen


def loading_screen():
    img = scenery.backdrop(seed=5)
    scenery.marquee_arch(img)
    scenery.title(img, (400, 250), 120)
    scenery.caption(img, (400, 345), "THE TRUE OR FALSE PRIZE GAME", 26, t.GOLD_LIGHT)
    scenery.caption(img, (400, 430), "Loading...", 24)
    return img


# ---------------------------------------------------------------- attract screen

ATTRACT_CARDS = [("1", "ANSWER", "7 in a row"), ("2", "PICK", "your prize ball"),
                 ("3", "TAKE IT", "or leave it!")]


@functools.lru_cache(maxsize=None)
def attract_background():
    img = scenery.backdrop(seed=1)
    scenery.title(img, (400, 64), 86)
    scenery.caption(img, (400, 132), "THE TRUE OR FALSE PRIZE GAME", 22, t.GOLD_LIGHT)
    scenery.caption(img, (400, 180), "Seven right answers win a go at 22 prize balls", 19)
    for i, (number, head, tail) in enumerate(ATTRACT_CARDS):
        x0 = 110 + 200 * i
        box = (x0, 228, x0 + 180, 362)
        t.framed_panel(img, box, 16, (t.NAVY_LIGHT, t.NAVY), rim_width=3)
        badge = t.ellipse_mask(img.size, (x0 + 8, 236, x0 + 42, 270))
        t.paint(img, badge, t.GOLD)
        t.text(img, (x0 + 25, 253), number, t.font(t.SANS_BOLD, 20), t.NAVY_DEEP, anchor="mm")
        t.text(img, (x0 + 90, 292), head, t.font(t.SANS_BOLD, 28), t.GOLD,
               shadow_colour=(0, 0, 0), anchor="mm")
        t.text(img, (x0 + 90, 330), tail, t.font(t.SANS_BOLD, 18), t.CREAM,
               shadow_colour=(0, 0, 0), anchor="mm")
    scenery.caption(img, (400, 414), "50p OR \u00a31 A GAME  \u2022  WIN UP TO \u00a35", 28,
                    t.GOLD)
    bar = t.vertical_gradient((800, 138), t.NAVY, t.NAVY_DEEP)
    img.paste(bar, (0, 462))
    img.paste(t.solid((800, 3), t.GOLD), (0, 462))
    img.paste(t.solid((800, 1), t.GOLD_DARK), (0, 465))
    return img


ATTRACT_BUTTONS = {
    # name: (label, colour)
    "menu": ("MAIN\nMENU", (52, 88, 200)),
    "rules": ("RULES", (128, 58, 186)),
    "start": ("START", t.GREEN),
    "coins": ("INSERT\nCOINS", t.AMBER),
}


def attract_button(name):
    """2 frames, normal and pressed, centred on the button's touch area."""
    label, colour = ATTRACT_BUTTONS[name]
    place = "start" if name == "coins" else name
    at = layout.ATTRACT_BUTTON_AT[place]
    touch = layout.ATTRACT_TOUCH[place]
    centre = (touch[0] + touch[2]) // 2 - at[0]
    box = _centred_box(centre, 152, 16, 100)
    backdrop = crop(attract_background(), at, layout.ATTRACT_BUTTON)
    frames = button_frames(backdrop, box, colour, label, ("normal", "pressed"), font_size=26)
    return formats.stack_frames([f.convert("RGB") for f in frames])


def money_panel(label, text_box, at):
    """The credit or bank plaque: a label over a dark window around the amount box."""
    w, h = layout.MONEY_PANEL
    x0, y0, x1, y1 = (text_box[0] - at[0], text_box[1] - at[1], text_box[2] - at[0],
                      text_box[3] - at[1])
    picture = t.clear((w, h))
    plaque = (x0 - 22, 6, x1 + 22, h - 4)
    t.framed_panel(picture, plaque, 12, (t.NAVY_LIGHT, t.NAVY), rim_width=3, drop_shadow=False)
    t.text(picture, ((x0 + x1) // 2, 23), label, t.font(t.SANS_BOLD, 16), t.GOLD, anchor="mm")
    t.window(picture, (x0 - 8, y0 - 5, x1 + 8, y1 + 5), radius=6)
    return keyed_over(picture, crop(attract_background(), at, (w, h)))


def credit_panel():
    return money_panel("CREDIT", layout.CREDIT_TEXT_BOX, (0, 0))


def bank_panel():
    return money_panel("BANK", layout.BANK_TEXT_BOX, (600, 0))


def highlight():
    """The attract highlight: an eight-pointed gold star with a halo, its light kept inside
    the circle it turns in."""
    size = layout.HIGHLIGHT
    img = t.clear(size)
    c = size[0] / 2
    t.glow(img, (c, c), int(c), t.GOLD_LIGHT, strength=0.9, power=2.2)
    long_rays = t.shape_mask(size, lambda d, s: d.polygon(
        [(x * s, y * s) for x, y in t.star_points(c, c, c - 2, 4, points=4)], fill=255))
    short_rays = t.shape_mask(size, lambda d, s: d.polygon(
        [(x * s, y * s) for x, y in t.star_points(c, c, c * 0.55, 3, points=4, turn=-45)],
        fill=255))
    t.paint(img, short_rays, t.GOLD)
    t.paint(img, long_rays, (255, 250, 220))
    t.glow(img, (c, c), 9, t.WHITE, strength=1.0, power=1.0)
    return img


# ---------------------------------------------------------------- rules screen

RULES = [
    "Insert coins, touch START and choose a 50p game or a \u00a31 game.",
    "Answer true-or-false questions: touch TRUE or FALSE within 15 seconds. Seven right "
    "answers in a row take you to the prize balls. A wrong or late answer ends the game, "
    "though a slip may earn you one second try.",
    "22 balls hide cash prizes: up to \u00a33 in a 50p game and up to \u00a35 in a \u00a31 "
    "game. Pick one ball to keep as your own. The blue ball is always empty.",
    "Open the other balls five at a time. Every prize you uncover leaves the win plan on the "
    "right, so you can see what your own ball may still hold.",
    "After each round you are offered cash for your ball. TAKE the offer to win it, or LEAVE "
    "it and answer one more question to play on. Get that one wrong and the game is lost.",
    "Open every ball and you win whatever your own ball holds.",
]


@functools.lru_cache(maxsize=None)
def info_background():
    img = scenery.backdrop(seed=2)
    scenery.title(img, (400, 46), 50, "HOW TO PLAY")
    box = (36, 84, 764, 456)
    inner = t.framed_panel(img, box, 20, (t.NAVY, t.NAVY_DEEP), rim_width=3)
    body = t.font(t.SANS, 17)
    number = t.font(t.SANS_BOLD, 19)
    y = inner[1] + 12
    for i, rule in enumerate(RULES):
        t.text(img, (inner[0] + 18, y), "%d." % (i + 1), number, t.GOLD)
        for line in t.wrap(rule, body, inner[2] - inner[0] - 70):
            t.text(img, (inner[0] + 50, y + 1), line, body, t.CREAM)
            y += 22
        y += 7
    t.text(img, (400, y + 4), "Winnings: whole pounds go to your bank, pence to your credit.",
           t.font(t.SANS_BOLD, 17), t.GOLD_LIGHT, anchor="ma")
    return img


BACK_BOX = _centred_box(layout.BACK_BUTTON[0] // 2, 156, 18, 86)


def back_button_picture(state):
    picture = t.clear(layout.BACK_BUTTON)
    t.glossy_button(picture, BACK_BOX, (52, 88, 200), "BACK", state, font_size=30)
    return picture


def info_screen():
    """The rules, with the Back button showing where the game flashes it."""
    img = info_background().copy()
    img.alpha_composite(back_button_picture("normal"), layout.BACK_AT)
    t.text(img, (400, 476), "Touch the screen to go back", t.font(t.SANS, 15), t.CREAM,
           anchor="mb")
    return img


def back_button():
    """Keyed: normal and pressed."""
    backdrop = crop(info_background(), layout.BACK_AT, layout.BACK_BUTTON)
    return formats.stack_frames([keyed_over(back_button_picture(state), backdrop)
                                 for state in ("normal", "pressed")])


# ---------------------------------------------------------------- question screen


@functools.lru_cache(maxsize=None)
def question_backdrop():
    """The question screen without its panels and buttons."""
    img = scenery.backdrop(seed=3)
    scenery.marquee_arch(img)
    scenery.title(img, (400, 150), 46, "TRUE OR FALSE?")
    scenery.caption(img, (400, 428), "Touch TRUE or FALSE before the clock runs out", 17)
    return img


def question_panel(img):
    x, y = layout.QUESTION_PANEL_AT
    w, h = layout.QUESTION_PANEL
    t.framed_panel(img, (x, y, x + w, y + h), 22, t.PANEL, rim_width=5)
    nx0, ny0, nx1, ny1 = layout.QUESTION_NUMBER_BOX
    t.text(img, (nx0 - 10, (ny0 + ny1) // 2), "QUESTION", t.font(t.SANS_BOLD, 18), t.PANEL_TEXT,
           anchor="rm")
    ring = t.ellipse_mask(img.size, (nx0 - 8, ny0 - 7, nx1 + 8, ny1 + 7))
    t.paint(img, ring, t.GOLD_DARK)
    badge = t.ellipse_mask(img.size, (nx0 - 6, ny0 - 5, nx1 + 6, ny1 + 5))
    t.paint(img, badge, t.WINDOW)


def try_again_panel(img):
    x, y = layout.TRY_AGAIN_AT
    w, h = layout.TRY_AGAIN_PANEL
    t.framed_panel(img, (x, y, x + w, y + h), 14, (t.NAVY_LIGHT, t.NAVY), rim_width=3)
    t.text(img, (x + w // 2, y + 28), "TRY AGAINS", t.font(t.SANS_BOLD, 17), t.GOLD,
           anchor="mm")
    bx0, by0, bx1, by1 = layout.TRY_AGAIN_BOX
    t.window(img, (bx0 - 8, by0 - 4, bx1 + 8, by1 + 4), radius=6)


def answer_button(img, which, state):
    at = layout.TRUE_TOUCH if which == "true" else layout.FALSE_TOUCH
    colour = t.GREEN if which == "true" else t.RED
    t.glossy_button(img, at, colour, which.upper(), state, font_size=34)


@functools.lru_cache(maxsize=None)
def question_background():
    img = question_backdrop().copy()
    question_panel(img)
    try_again_panel(img)
    answer_button(img, "true", "normal")
    answer_button(img, "false", "normal")
    return img


def answer_button_strip(which):
    """3 frames: 0 normal (after a try-again), 1 lit (as the question goes up), 2 pressed."""
    at = layout.TRUE_AT if which == "true" else layout.FALSE_AT
    frames = []
    for state in ("normal", "lit", "pressed"):
        frame = question_backdrop().copy()
        answer_button(frame, which, state)
        frames.append(crop(frame, at, layout.ANSWER_BUTTON).convert("RGB"))
    return formats.stack_frames(frames)


def question_box():
    return crop(question_background(), layout.QUESTION_PANEL_AT, layout.QUESTION_PANEL)


def try_again_title():
    return crop(question_background(), layout.TRY_AGAIN_AT, layout.TRY_AGAIN_PANEL)


def clock_panel():
    """The answer clock: a plate hanging from the top edge with the seconds window."""
    w, h = layout.CLOCK_PANEL
    img = t.vertical_gradient((w, h), t.NAVY_LIGHT, t.NAVY)
    img.paste(t.solid((w, 3), t.GOLD_DARK), (0, h - 3))
    img.paste(t.solid((3, h), t.GOLD_DARK), (0, 0))
    img.paste(t.solid((3, h), t.GOLD_DARK), (w - 3, 0))
    img.paste(t.solid((w - 6, 1), t.GOLD), (3, h - 4))
    t.text(img, (w // 2, 22), "SECONDS", t.font(t.SANS_BOLD, 17), t.GOLD, anchor="mm")
    bx0, by0, bx1, by1 = layout.CLOCK_BOX
    x, y = layout.CLOCK_AT
    t.window(img, (bx0 - x - 6, by0 - y - 4, bx1 - x + 6, by1 - y + 4), radius=6)
    return img


def congrats_picture():
    """Shown in place of the question panel after seven right answers."""
    img = crop(question_backdrop(), layout.QUESTION_PANEL_AT, layout.QUESTION_PANEL)
    w, h = layout.QUESTION_PANEL
    t.framed_panel(img, (0, 0, w, h), 22, (t.GOLD_LIGHT, t.GOLD), rim=t.WHITE,
                   rim_dark=t.GOLD_DARK, rim_width=5, drop_shadow=False)
    t.gradient_text(img, (w // 2, 56), "WELL DONE!", t.font(t.SERIF_BOLD, 50), t.RED,
                    (120, 10, 20), stroke=2, stroke_colour=t.WHITE)
    t.text(img, (w // 2, 112), "Seven right answers in a row!", t.font(t.SANS_BOLD, 24),
           t.NAVY_DEEP, anchor="mm")
    t.text(img, (w // 2, 148), "Now for the prize balls...", t.font(t.SANS_BOLD, 22), t.NAVY,
           anchor="mm")
    return img


# ---------------------------------------------------------------- question round intro


def intro_screen():
    img = scenery.backdrop(seed=6)
    scenery.marquee_arch(img)
    scenery.title(img, (400, 112), 52, "THE QUESTION ROUND")
    inner = t.framed_panel(img, (90, 160, 710, 486), 24, t.PANEL, rim_width=5)
    cx = (inner[0] + inner[2]) // 2
    dark = t.PANEL_TEXT
    t.text(img, (cx, 196), "Answer seven true-or-false questions", t.font(t.SANS_BOLD, 24),
           dark, anchor="mm")
    t.text(img, (cx, 228), "in a row to reach the prize balls.", t.font(t.SANS_BOLD, 24), dark,
           anchor="mm")
    for i in range(7):
        x = cx - 156 + 52 * i
        ring = t.ellipse_mask(img.size, (x - 21, 252, x + 21, 294))
        t.paint(img, ring, t.GOLD_DARK)
        dot = t.ellipse_mask(img.size, (x - 18, 255, x + 18, 291))
        t.paint(img, dot, t.GOLD)
        t.text(img, (x, 273), str(i + 1), t.font(t.SANS_BOLD, 20), t.NAVY_DEEP, anchor="mm")
    t.text(img, (cx, 324), "You have 15 seconds for each question.", t.font(t.SANS, 21), dark,
           anchor="mm")
    t.glossy_button(img, (cx - 200, 350, cx - 20, 406), t.GREEN, "TRUE", font_size=26)
    t.glossy_button(img, (cx + 20, 350, cx + 200, 406), t.RED, "FALSE", font_size=26)
    t.text(img, (cx, 440), "A wrong or late answer ends the game,", t.font(t.SANS, 19), dark,
           anchor="mm")
    t.text(img, (cx, 464), "though a slip may earn you one second try.", t.font(t.SANS, 19),
           dark, anchor="mm")
    scenery.title(img, (400, 540), 48, "GET READY!")
    return img


# ---------------------------------------------------------------- ball game board


@functools.lru_cache(maxsize=None)
def main_screen():
    img = scenery.backdrop(seed=4)
    scenery.marquee_arch(img)
    scenery.title(img, (400, 44), 32)  # behind the answer clock's panel whenever it shows
    t.framed_panel(img, (30, 94, 655, 452), 18, (t.NAVY, (10, 20, 56)), rim_width=3)
    column = t.vertical_gradient((144, 600), (12, 22, 60), t.NAVY_DEEP)
    img.paste(column, (656, 0))
    img.paste(t.solid((3, 600), t.GOLD_DARK), (656, 0))
    for k in range(22):
        y = 570 - 27 * k
        slot = t.rounded_mask(img.size, (662, y + 1, 798, y + 26), 8)
        t.paint(img, slot.point(lambda v: v * 60 // 255), (70, 100, 180))
    t.glow(img, (402, 590), 120, t.GOLD, strength=0.35)
    base = t.ellipse_mask(img.size, (336, 574, 468, 596))
    t.paint(img, base, t.GOLD_DARK)
    t.paint(img, t.ellipse_mask(img.size, (342, 576, 462, 590)), t.GOLD)
    blue = t.shiny_sphere(30, t.BLUE)
    img.alpha_composite(blue, (560, 472))
    legend = t.font(t.SANS_BOLD, 15)
    for i, line in enumerate(("The blue ball", "is always", "empty")):
        t.text(img, (598, 512 + 19 * i), line, legend, t.CREAM, anchor="mm")
    return img


def ball_inside():
    """The inside of the player's ball, uncovered as its halves part: a dark bowl for the
    value."""
    img = crop(main_screen(), layout.BALL_INSIDE_AT, layout.BALL_INSIDE)
    rim = t.ellipse_mask(img.size, (2, 1, 149, 95))
    t.paint(img, rim, t.GOLD_DARK)
    t.paint(img, t.ellipse_mask(img.size, (4, 3, 147, 93)), t.GOLD)
    bowl = t.ellipse_mask(img.size, (8, 7, 143, 89))
    t.paint(img, bowl, t.WINDOW)
    t.glow(img, (75, 20), 50, (40, 60, 120), strength=0.4)
    return img


# ---------------------------------------------------------------- stake screen


@functools.lru_cache(maxsize=None)
def stake_screen():
    img = scenery.backdrop(seed=7)
    scenery.title(img, (400, 58), 50, "CHOOSE YOUR GAME")
    scenery.caption(img, (400, 114), "Touch the \u00a31 door or the 50p door", 20)
    for x, y in (layout.POUND_DOOR_AT, layout.FIFTY_DOOR_AT):
        w, h = layout.DOOR
        surround = (x - 9, y - 9, x + w + 9, y + h + 4)
        t.framed_panel(img, surround, 12, t.NAVY_DEEP, rim_width=6)
    ring = t.ellipse_mask(img.size, (364, 264, 436, 336))
    t.shadow(img, ring)
    t.paint(img, ring, t.GOLD_DARK)
    t.paint(img, t.ellipse_mask(img.size, (368, 268, 432, 332)), t.GOLD)
    t.text(img, (400, 300), "OR", t.font(t.SANS_BOLD, 26), t.NAVY_DEEP, anchor="mm")
    scenery.caption(img, (400, 582), "No choice within 15 seconds plays the 50p game", 16)
    return img
