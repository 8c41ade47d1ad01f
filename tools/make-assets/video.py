"""The swoop that opens the end of every game: 40 frames of 800 x 600 in which three gold comets
sweep across the stage, each a bright star with a sharp tapering tail and a wake of twinkles, and
a starburst of gold rays and bursting stars opens in the middle, where the ball then drops and
opens. Everything is drawn at full size and smoothed only at its edges, so it stays crisp. The
last frame stays on screen as the backdrop, so it ends on the burst, bright but still. Encoded as
Motion JPEG in an AVI by ffmpeg, with its bit-exact flags so the file is the same on every run."""

import math
import os
import subprocess
import tempfile

from PIL import Image, ImageFilter

import layout
import scenery
import theme as t

# Comet paths (start and end points and the bulge of their curve), in screen pixels.
COMETS = [((860, -40), (-80, 480), (240, 120)),
          ((840, 640), (-60, 80), (480, 440)),
          ((400, -60), (920, 360), (160, 280))]
TRAIL = 0.3    # how much of its path a comet's tail covers
TAIL_STEPS = 60
BURST_CENTRE = (400, 300)
RAYS = 18
# The stars that burst out of the middle: direction (degrees), speed and size of each.
BURST_STARS = [(i * 137.5 % 360, 0.55 + (i * 7 % 10) / 22.0, 7 + i % 4 * 2) for i in range(24)]
STAR_COLOURS = [t.GOLD_LIGHT, t.WHITE, (255, 200, 90)]


def _curve(path, u):
    (x0, y0), (x1, y1), (cx, cy) = path
    a, b, c = (1 - u) ** 2, 2 * u * (1 - u), u * u
    return (a * x0 + b * cx + c * x1, a * y0 + b * cy + c * y1)


def _star(draw, s, x, y, r, points=4):
    draw.polygon([(px * s, py * s) for px, py in t.star_points(x, y, r, r * 0.3, points)],
                 fill=255)


def _comet_mask(path, head):
    """A comet whose star is at head (0 to 1 along its path): a tail of round steps that narrow
    and fade behind it, twinkles in its wake and the star itself."""
    def draw(d, s):
        for i in range(TAIL_STEPS, 0, -1):
            u = head - TRAIL * i / TAIL_STEPS
            if 0 <= u <= 1:
                x, y = _curve(path, u)
                r = 9 * (1 - i / TAIL_STEPS) + 1
                d.ellipse(((x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s),
                          fill=int(235 * (1 - i / TAIL_STEPS)) + 20)
                if i % 10 == 4:
                    ox, oy = 14 * math.sin(i * 1.7), 14 * math.cos(i * 2.3)
                    _star(d, s, x + ox, y + oy, 5)
        if head <= 1:
            x, y = _curve(path, head)
            _star(d, s, x, y, 22)
            d.ellipse(((x - 10) * s, (y - 10) * s, (x + 10) * s, (y + 10) * s), fill=255)
    return t.shape_mask(layout.SCREEN, draw, scale=2)


def _rays_mask(settle, turn):
    """Sharp rays of light from the middle, reaching out as the video ends."""
    cx, cy = BURST_CENTRE
    reach = 80 + 700 * settle

    def draw(d, s):
        for i in range(RAYS):
            a = math.radians(turn + i * 360.0 / RAYS)
            spread = math.radians(3.5)
            d.polygon([(cx * s, cy * s)] + [((cx + reach * math.cos(a + k * spread)) * s,
                                             (cy + reach * math.sin(a + k * spread)) * s)
                                            for k in (-1, 1)], fill=int(150 * settle))
    return t.shape_mask(layout.SCREEN, draw, scale=2)


def _burst_stars_mask(settle, colour_index):
    cx, cy = BURST_CENTRE

    def draw(d, s):
        for i, (angle, speed, size) in enumerate(BURST_STARS):
            if i % len(STAR_COLOURS) != colour_index:
                continue
            a = math.radians(angle)
            reach = 330 * speed * settle
            _star(d, s, cx + reach * math.cos(a), cy + reach * math.sin(a), size, points=5)
    return t.shape_mask(layout.SCREEN, draw, scale=2)


def frame_lights(n):
    """What frame n adds to the stage: comets, rays, bursting stars and how far the burst is."""
    progress = n / (layout.VIDEO_FRAMES - 1.0)
    comets = []
    for k, path in enumerate(COMETS):
        head = min(1.3, progress * 1.6 - k * 0.12)
        if head > 0:
            comets.append(_comet_mask(path, head))
    settle = max(0.0, (progress - 0.45) / 0.55)
    return comets, settle


def frames():
    stage = scenery.backdrop(seed=8)
    scenery.marquee_arch(stage)
    floor = t.ellipse_mask(stage.size, (170, 440, 630, 560))
    t.paint(stage, floor.filter(ImageFilter.GaussianBlur(20)).point(lambda v: v // 3),
            t.NAVY_LIGHT)
    for n in range(layout.VIDEO_FRAMES):
        comets, settle = frame_lights(n)
        img = stage.copy()
        if settle > 0:
            t.glow(img, BURST_CENTRE, int(120 + 140 * settle), t.GOLD, strength=0.7 * settle)
            t.paint(img, _rays_mask(settle, 4.0 * n), (255, 200, 80))
            for c, colour in enumerate(STAR_COLOURS):
                t.paint(img, _burst_stars_mask(settle, c), colour)
        for comet in comets:
            t.paint(img, comet, (255, 230, 140))
        yield img.convert("RGB")


def swoop_avi():
    w, h = layout.SCREEN
    command = ["ffmpeg", "-v", "error", "-f", "rawvideo", "-pix_fmt", "rgb24", "-s",
               "%dx%d" % (w, h), "-framerate", "25", "-i", "-", "-c:v", "mjpeg", "-q:v", "3",
               "-pix_fmt", "yuvj420p", "-threads", "1", "-an", "-map_metadata", "-1",
               "-fflags", "+bitexact", "-flags:v", "+bitexact"]
    raw = b"".join(frame.tobytes() for frame in frames())
    with tempfile.TemporaryDirectory(prefix="make-assets-") as scratch:
        # A real file, so the muxer can go back and fill in the header and the index.
        target = os.path.join(scratch, "swoop.avi")
        subprocess.run(command + [target], input=raw, check=True)
        with open(target, "rb") as f:
            return {"Graphic_resource/avis/Swoop.avi": f.read()}
