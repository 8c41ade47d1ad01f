"""The swoop that opens the end of every game: 40 frames of 800 x 600 in which three gold comets
sweep across the stage and a burst of light opens in the middle, where the ball then drops and
opens. The last frame stays on screen as the backdrop, so it ends calm. Encoded as Motion JPEG
in an AVI by ffmpeg, with its bit-exact flags so the file is the same on every run."""

import math
import os
import subprocess
import tempfile

from PIL import Image, ImageDraw, ImageFilter

import layout
import scenery
import theme as t

QUARTER = (layout.SCREEN[0] // 4, layout.SCREEN[1] // 4)
# Comet paths (start and end points and the bulge of their curve), in quarter-size pixels.
COMETS = [((215, -10), (-20, 120), (60, 30)),
          ((210, 160), (-15, 20), (120, 110)),
          ((100, -15), (230, 90), (40, 70))]
TRAIL = 0.35   # how much of its path a comet's trail covers


def _curve(path, u):
    (x0, y0), (x1, y1), (cx, cy) = path
    a, b, c = (1 - u) ** 2, 2 * u * (1 - u), u * u
    return (a * x0 + b * cx + c * x1, a * y0 + b * cy + c * y1)


def _burst(progress, turn):
    """Rays of light from the middle of the stage, growing in as the video ends."""
    w, h = QUARTER
    mask = Image.new("L", QUARTER, 0)
    draw = ImageDraw.Draw(mask)
    cx, cy = w / 2, 75
    reach = 40 + 90 * progress
    for i in range(16):
        a = math.radians(turn + i * 22.5)
        spread = math.radians(4)
        draw.polygon([(cx, cy)] + [(cx + reach * math.cos(a + side * spread),
                                    cy + reach * math.sin(a + side * spread)) for side in (-1, 1)],
                     fill=int(60 * progress))
    return mask.filter(ImageFilter.GaussianBlur(2))


def frame_overlay(n):
    """The light of frame n, in quarter size: comet trails and heads, and the burst."""
    progress = n / (layout.VIDEO_FRAMES - 1.0)
    light = Image.new("L", QUARTER, 0)
    draw = ImageDraw.Draw(light)
    for k, path in enumerate(COMETS):
        head = min(1.2, progress * 1.5 - k * 0.12)
        if head <= 0:
            continue
        steps = 24
        for i in range(steps):
            u0 = head - TRAIL * (i + 1) / steps
            u1 = head - TRAIL * i / steps
            if u1 < 0 or u0 > 1:
                continue
            p0, p1 = _curve(path, max(0.0, u0)), _curve(path, min(1.0, u1))
            draw.line([p0, p1], fill=int(230 * (1 - i / steps)), width=max(1, 6 - i // 5))
        if head <= 1:
            x, y = _curve(path, head)
            draw.ellipse((x - 5, y - 5, x + 5, y + 5), fill=255)
    light = light.filter(ImageFilter.GaussianBlur(1.5))
    settle = max(0.0, (progress - 0.45) / 0.55)
    burst = _burst(settle, 7.5 * n)
    return light, burst, settle


def frames():
    stage = scenery.backdrop(seed=8)
    scenery.marquee_arch(stage)
    floor = t.ellipse_mask(stage.size, (170, 440, 630, 560))
    t.paint(stage, floor.filter(ImageFilter.GaussianBlur(20)).point(lambda v: v // 3),
            t.NAVY_LIGHT)
    for n in range(layout.VIDEO_FRAMES):
        light, burst, settle = frame_overlay(n)
        img = stage.copy()
        t.paint(img, burst.resize(layout.SCREEN, Image.BILINEAR), (255, 196, 80))
        if settle > 0:
            t.glow(img, (400, 300), int(120 + 110 * settle), t.GOLD, strength=0.6 * settle)
        t.paint(img, light.resize(layout.SCREEN, Image.BILINEAR), (255, 226, 130))
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
