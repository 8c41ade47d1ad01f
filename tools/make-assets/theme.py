"""The cabinet's look: a navy-and-gold game-show stage. Colours, type faces and the drawing
helpers every picture is made with (gradients, glows, rounded panels, glossy buttons, shaded
spheres, text with shadows). All pictures are Pillow images in RGB or RGBA."""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
SANS_BOLD = FONT_DIR + "DejaVuSans-Bold.ttf"
SANS = FONT_DIR + "DejaVuSans.ttf"
CONDENSED_BOLD = FONT_DIR + "DejaVuSansCondensed-Bold.ttf"
SERIF_BOLD = FONT_DIR + "DejaVuSerif-Bold.ttf"

NAVY_DEEP = (7, 13, 38)
NAVY = (16, 31, 78)
NAVY_LIGHT = (44, 74, 156)
GOLD = (246, 196, 64)
GOLD_LIGHT = (255, 234, 156)
GOLD_DARK = (150, 100, 18)
CREAM = (255, 247, 226)
WHITE = (255, 255, 255)
RED = (206, 32, 42)
BLUE = (38, 96, 222)
GREEN = (34, 160, 72)
AMBER = (232, 128, 20)
GREY = (120, 128, 150)
# The dark window that amounts and counts are written on (fonts 3 and 6 are smoothed against it).
WINDOW = (10, 19, 50)
WINDOW_TEXT = (255, 214, 74)
# The cream question panel that the question font is smoothed against.
PANEL = CREAM
PANEL_TEXT = (18, 28, 70)

MAGENTA = (255, 0, 255)

_font_cache = {}


def font(path, size):
    key = (path, size)
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(path, size)
    return _font_cache[key]


def fitted_font(path, text, max_width, max_size, min_size=8):
    """The largest size of the face, up to max_size, at which the text fits max_width."""
    size = max_size
    while size > min_size and font(path, size).getlength(text) > max_width:
        size -= 1
    return font(path, size)


# ---------------------------------------------------------------- fills and masks


def solid(size, colour):
    return Image.new("RGBA", size, tuple(colour) + (255,))


def clear(size):
    return Image.new("RGBA", size, (0, 0, 0, 0))


def vertical_gradient(size, top, bottom):
    w, h = size
    ramp = Image.linear_gradient("L").resize((w, max(h, 1)))
    return Image.composite(solid(size, bottom), solid(size, top), ramp)


def radial_falloff(size, centre, radius, power=1.0):
    """An L mask: 255 at the centre fading to 0 at radius."""
    w, h = size
    base = Image.radial_gradient("L").resize((2 * radius, 2 * radius), Image.BILINEAR)
    inverted = base.point(lambda v: int(255 * max(0.0, 1 - v / 181.0) ** power))
    mask = Image.new("L", size, 0)
    mask.paste(inverted, (int(centre[0] - radius), int(centre[1] - radius)))
    return mask


def glow(img, centre, radius, colour, strength=1.0, power=1.5):
    """Adds a soft light of the colour around the centre."""
    mask = radial_falloff(img.size, centre, radius, power)
    if strength != 1.0:
        mask = mask.point(lambda v: int(v * strength))
    img.paste(solid(img.size, colour), (0, 0), mask)


def shape_mask(size, draw, scale=4):
    """An anti-aliased L mask: draw(ImageDraw, scale) paints white shapes at scale times the
    size, which is then reduced."""
    big = Image.new("L", (size[0] * scale, size[1] * scale), 0)
    draw(ImageDraw.Draw(big), scale)
    return big.reduce(scale)


def rounded_mask(size, box, radius):
    x0, y0, x1, y1 = box
    return shape_mask(size, lambda d, s: d.rounded_rectangle(
        (x0 * s, y0 * s, x1 * s - 1, y1 * s - 1), radius * s, fill=255))


def ellipse_mask(size, box):
    x0, y0, x1, y1 = box
    return shape_mask(size, lambda d, s: d.ellipse((x0 * s, y0 * s, x1 * s - 1, y1 * s - 1),
                                                   fill=255))


def paint(img, mask, fill):
    """Paints a colour or a same-sized picture through the mask (alpha-blended)."""
    if isinstance(fill, tuple):
        fill = solid(img.size, fill)
    layer = fill.copy()
    layer.putalpha(_multiply(layer.getchannel("A"), mask))
    img.alpha_composite(layer)


def _multiply(a, b):
    return ImageChops.multiply(a, b)


def shadow(img, mask, offset=(0, 4), blur=5, opacity=150):
    """A soft dark shadow of the mask's shape under what is drawn next."""
    shade = mask.point(lambda v: v * opacity // 255)
    shade = shade.filter(ImageFilter.GaussianBlur(blur))
    moved = Image.new("L", img.size, 0)
    moved.paste(shade, offset)
    layer = solid(img.size, (0, 0, 0))
    layer.putalpha(moved)
    img.alpha_composite(layer)


def inset(box, amount):
    x0, y0, x1, y1 = box
    return (x0 + amount, y0 + amount, x1 - amount, y1 - amount)


# ---------------------------------------------------------------- panels and buttons


def framed_panel(img, box, radius, face, rim=GOLD, rim_dark=GOLD_DARK, rim_width=4,
                 drop_shadow=True):
    """A rounded panel with a bevelled gold rim and a face that is a colour or a pair of
    gradient colours (top, bottom)."""
    x0, y0, x1, y1 = box
    outer = rounded_mask(img.size, box, radius)
    if drop_shadow:
        shadow(img, outer)
    paint(img, outer, _gradient_fill(img.size, box, rim_dark, rim))
    top_half = rounded_mask(img.size, (x0, y0, x1, (y0 + y1) // 2 + 2), radius)
    paint(img, _multiply(outer, top_half.point(lambda v: v * 90 // 255)), GOLD_LIGHT)
    inner_box = inset(box, rim_width)
    inner = rounded_mask(img.size, inner_box, max(radius - rim_width, 2))
    if isinstance(face[0], tuple):
        paint(img, inner, _gradient_fill(img.size, inner_box, face[0], face[1]))
    else:
        paint(img, inner, face)
    return inner_box


def _gradient_fill(size, box, top, bottom):
    x0, y0, x1, y1 = box
    fill = solid(size, top)
    fill.paste(vertical_gradient((x1 - x0, y1 - y0), top, bottom), (x0, y0))
    fill.paste(solid((size[0], max(size[1] - y1, 0)), bottom), (0, y1))
    return fill


def window(img, box, radius=8, colour=WINDOW):
    """A recessed dark window that amounts are written into."""
    mask = rounded_mask(img.size, box, radius)
    x0, y0, x1, y1 = box
    paint(img, rounded_mask(img.size, (x0 - 2, y0 - 2, x1 + 2, y1 + 2), radius + 2), GOLD_DARK)
    paint(img, mask, colour)
    inner_shade = rounded_mask(img.size, (x0, y0, x1, y0 + 5), radius)
    paint(img, _multiply(mask, inner_shade.point(lambda v: v * 120 // 255)), (0, 0, 0))


def lighter(colour, amount):
    return tuple(min(255, int(c + (255 - c) * amount)) for c in colour)


def darker(colour, amount):
    return tuple(max(0, int(c * (1 - amount))) for c in colour)


def glossy_button(img, box, colour, label, state="normal", radius=None, font_size=26):
    """A raised, glossy game-show button. state: normal, lit (brighter, glowing) or
    pressed (darker, pushed in, label lowered)."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    radius = radius if radius is not None else min(h // 3, 26)
    if state == "lit":
        colour = lighter(colour, 0.25)
    push = 3 if state == "pressed" else 0
    outer = rounded_mask(img.size, box, radius)
    if state == "lit":
        halo = outer.filter(ImageFilter.GaussianBlur(3))
        paint(img, halo, GOLD_LIGHT)
    if state != "pressed":
        shadow(img, outer, offset=(0, 4), blur=4, opacity=160)
    paint(img, outer, _gradient_fill(img.size, box, GOLD_LIGHT, GOLD_DARK))
    face_box = (x0 + 4, y0 + 4 + push, x1 - 4, y1 - 4)
    face = rounded_mask(img.size, face_box, max(radius - 4, 3))
    if state == "pressed":
        top, bottom = darker(colour, 0.35), darker(colour, 0.1)
    else:
        top, bottom = lighter(colour, 0.35), darker(colour, 0.35)
    paint(img, face, _gradient_fill(img.size, face_box, top, bottom))
    if state != "pressed":
        gx0, gy0, gx1, gy1 = face_box
        gloss = rounded_mask(img.size, (gx0 + 6, gy0 + 3, gx1 - 6, gy0 + (gy1 - gy0) * 9 // 20),
                             max(radius - 8, 3))
        paint(img, gloss.point(lambda v: v * 70 // 255), WHITE)
    lines = label.split("\n")
    f = fitted_font(SANS_BOLD, max(lines, key=len), w - 24, font_size)
    line_h = f.getbbox("Ag")[3] + 2
    total = line_h * len(lines)
    cy = (y0 + y1) // 2 + push + 1
    for i, line in enumerate(lines):
        ly = cy - total // 2 + i * line_h + line_h // 2
        text(img, ((x0 + x1) // 2, ly), line, f, WHITE, shadow_colour=(0, 0, 0),
             anchor="mm")


def shiny_sphere(diameter, colour, light=(-0.45, -0.6, 0.66), shine=0.9, ambient=0.28):
    """A shaded glossy ball on a clear square picture."""
    size = (diameter, diameter)
    img = clear(size)
    r = diameter / 2.0
    lx, ly, lz = light
    n = math.sqrt(lx * lx + ly * ly + lz * lz)
    lx, ly, lz = lx / n, ly / n, lz / n
    hx, hy, hz = lx, ly, lz + 1.0
    n = math.sqrt(hx * hx + hy * hy + hz * hz)
    hx, hy, hz = hx / n, hy / n, hz / n
    data = []
    for y in range(diameter):
        ny = (y + 0.5 - r) / r
        for x in range(diameter):
            nx = (x + 0.5 - r) / r
            d2 = nx * nx + ny * ny
            if d2 >= 1.0:
                data.append((0, 0, 0, 0))
                continue
            nz = math.sqrt(1.0 - d2)
            diffuse = max(0.0, nx * lx + ny * ly + nz * lz)
            highlight = max(0.0, nx * hx + ny * hy + nz * hz) ** 36 * shine
            rim = max(0.0, ny) ** 3 * 0.25
            k = ambient + 0.85 * diffuse
            data.append(tuple(min(255, int(c * k + 255 * highlight + c * rim)) for c in colour) +
                        (255,))
    img.putdata(data)
    edge = ellipse_mask(size, (0, 0, diameter, diameter))
    img.putalpha(_multiply(img.getchannel("A"), edge))
    return img


# ---------------------------------------------------------------- text


def text(img, xy, string, f, fill, shadow_colour=None, shadow_offset=(2, 2), stroke=0,
         stroke_colour=None, anchor="la"):
    """Draws smooth text on an RGBA picture, with an optional soft drop shadow and outline."""
    if shadow_colour is not None:
        layer = Image.new("RGBA", img.size, tuple(shadow_colour) + (0,))
        ImageDraw.Draw(layer).text((xy[0] + shadow_offset[0], xy[1] + shadow_offset[1]), string,
                                   font=f, fill=tuple(shadow_colour) + (170,), anchor=anchor,
                                   stroke_width=stroke,
                                   stroke_fill=tuple(shadow_colour) + (170,))
        img.alpha_composite(layer.filter(ImageFilter.GaussianBlur(1.2)))
    layer = Image.new("RGBA", img.size, tuple(fill) + (0,))
    ImageDraw.Draw(layer).text(xy, string, font=f, fill=tuple(fill) + (255,), anchor=anchor,
                               stroke_width=stroke,
                               stroke_fill=tuple(stroke_colour or fill) + (255,))
    img.alpha_composite(layer)


def gradient_text(img, xy, string, f, top, bottom, stroke=0, stroke_colour=NAVY_DEEP,
                  anchor="mm", glow_colour=None):
    """Text filled with a vertical gradient (the gold title look), outlined and shadowed."""
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).text(xy, string, font=f, fill=255, anchor=anchor)
    outline = Image.new("L", img.size, 0)
    ImageDraw.Draw(outline).text(xy, string, font=f, fill=255, anchor=anchor,
                                 stroke_width=stroke, stroke_fill=255)
    if glow_colour is not None:
        halo = outline.filter(ImageFilter.GaussianBlur(8))
        paint(img, halo, glow_colour)
    shadow(img, outline, offset=(3, 4), blur=3, opacity=200)
    if stroke:
        paint(img, outline, stroke_colour)
    box = mask.getbbox() or (0, 0, 1, 1)
    fill = solid(img.size, top)
    fill.paste(vertical_gradient((box[2] - box[0], box[3] - box[1]), top, bottom),
               (box[0], box[1]))
    fill.paste(solid(img.size, bottom), (0, box[3]))
    paint(img, mask, fill)


def wrap(string, f, width):
    """Breaks a paragraph into lines no wider than width."""
    words = string.split()
    lines, line = [], ""
    for word in words:
        trial = word if not line else line + " " + word
        if f.getlength(trial) <= width or not line:
            line = trial
        else:
            lines.append(line)
            line = word
    if line:
        lines.append(line)
    return lines


def star_points(cx, cy, outer, inner, points=5, turn=-90.0):
    result = []
    for i in range(points * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + i * 180.0 / points)
        result.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return result
