"""File writers, byte for byte as the game's readers take them. Every writer returns bytes, so the
same picture always gives the same file.

- Sprite BMP: 54-byte headers, uncompressed 24-bit, rows bottom-up, width a multiple of 4 (so the
  rows need no padding: the sprite reader reads width x 3 bytes a row).
- Picture BMP: the same headers with standard row padding, for the image path's codec.
- PCX: version 5, run-length encoded, 8 bits in 3 planes (red, green, blue), bytes-per-line equal
  to the width, runs never crossing a plane's end.
- TGA: 32-bit true colour with alpha, no identification field, no colour map, rows stored from
  the bottom up (descriptor 8), uncompressed (type 2) or run-length encoded (type 10) with
  packets kept within a row.
- PNG: RGBA.
- WAV: PCM in a RIFF WAVE, optionally with the 2-byte extra-size field in "fmt " and with other
  chunks before "data".
"""

import io
import itertools
import struct
import sys
from array import array

from PIL import Image

MAGENTA = (255, 0, 255)


def stack_frames(frames):
    """Frame n of an f-frame picture is the n-th of f equal bands, top to bottom."""
    width, height = frames[0].size
    strip = Image.new(frames[0].mode, (width, height * len(frames)))
    for n, frame in enumerate(frames):
        assert frame.size == (width, height), "frames of one picture must match in size"
        strip.paste(frame, (0, n * height))
    return strip


def _bgr_rows_bottom_up(picture, padding):
    rgb = picture.convert("RGB")
    width, height = rgb.size
    raw = rgb.tobytes("raw", "BGR")
    row = width * 3
    pad = b"\0" * padding
    return b"".join(raw[y * row:(y + 1) * row] + pad for y in range(height - 1, -1, -1))


def _bmp(picture, padding):
    width, height = picture.size
    pixels = _bgr_rows_bottom_up(picture, padding)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def sprite_bmp(picture):
    width = picture.size[0]
    if width % 4:
        raise ValueError("sprite BMP width %d is not a multiple of 4" % width)
    return _bmp(picture, 0)


def picture_bmp(picture):
    width = picture.size[0]
    return _bmp(picture, (4 - width * 3 % 4) % 4)


def _pcx_plane(values):
    out = bytearray()
    for value, group in itertools.groupby(values):
        count = len(list(group))
        while count:
            run = min(count, 63)
            if run > 1 or value >= 0xC0:
                out += bytes((0xC0 | run, value))
            else:
                out.append(value)
            count -= run
    return out


def pcx(picture):
    rgb = picture.convert("RGB")
    width, height = rgb.size
    if width % 2:
        raise ValueError("PCX width %d must be even" % width)
    header = bytearray(128)
    struct.pack_into("<BBBBHHHHHH", header, 0, 10, 5, 1, 8, 0, 0, width - 1, height - 1, 72, 72)
    header[65] = 3                                   # colour planes
    struct.pack_into("<HH", header, 66, width, 1)    # bytes per line, colour palette
    planes = [rgb.getchannel(c).tobytes() for c in "RGB"]
    body = bytearray()
    for y in range(height):
        for plane in planes:
            body += _pcx_plane(plane[y * width:(y + 1) * width])
    return bytes(header) + bytes(body)


def _tga_pixels(picture):
    """BGRA bytes from the bottom row up; see-through pixels are magenta with alpha 0, so a
    keyed draw hides them too."""
    rgba = picture.convert("RGBA")
    width, height = rgba.size
    clear = rgba.getchannel("A").point(lambda v: 255 if v == 0 else 0)
    rgba.paste((255, 0, 255, 0), (0, 0), clear)
    rgba = rgba.transpose(Image.FLIP_TOP_BOTTOM)
    return rgba.tobytes("raw", "BGRA")


def _tga_header(kind, width, height):
    return bytes((0, 0, kind, 0, 0, 0, 0, 0, 0, 0, 0, 0)) + struct.pack("<HHBB", width, height,
                                                                         32, 8)


def tga(picture, run_length):
    width, height = picture.size
    pixels = _tga_pixels(picture)
    if not run_length:
        return _tga_header(2, width, height) + pixels
    words = array("I", pixels)
    out = bytearray(_tga_header(10, width, height))
    for row in range(height):
        out += _run_length_row(words[row * width:(row + 1) * width])
    return bytes(out)


def _run_length_row(words):
    """TGA packets for one row (packets kept within a row, as the format recommends): a run
    header 128 + n - 1 and one pixel repeated n times, or a raw header n - 1 and n pixels."""
    out = bytearray()
    literal = []

    def flush_literal():
        for start in range(0, len(literal), 128):
            chunk = literal[start:start + 128]
            out.append(len(chunk) - 1)
            out.extend(array("I", chunk).tobytes())
        literal.clear()

    for value, group in itertools.groupby(words):
        count = len(list(group))
        if count == 1:
            literal.append(value)
            continue
        flush_literal()
        packed = struct.pack("=I", value)  # the same byte order the words were read in
        while count:
            run = min(count, 128)
            out.append(127 + run)
            out += packed
            count -= run
    flush_literal()
    return out


def png(picture):
    rgba = picture.convert("RGBA")
    clear = rgba.getchannel("A").point(lambda v: 255 if v == 0 else 0)
    rgba.paste((255, 0, 255, 0), (0, 0), clear)
    buffer = io.BytesIO()
    rgba.save(buffer, "PNG", compress_level=9)
    return buffer.getvalue()


def _chunk(tag, payload):
    pad = b"\0" if len(payload) % 2 else b""
    return tag + struct.pack("<I", len(payload)) + payload + pad


def info_list(title):
    """A LIST INFO chunk with a name and a copyright, as sound editors write them."""
    def entry(tag, value):
        return _chunk(tag, value.encode("ascii") + b"\0")
    return _chunk(b"LIST", b"INFO" + entry(b"INAM", title) + entry(b"ICOP", "Vantor cabinet"))


def wav(samples, rate, bits, channels, extra_size_field=False, chunks_before_data=b""):
    """samples: interleaved floats in -1..1. 8-bit samples are unsigned, 16-bit signed."""
    if bits == 8:
        levels = [int(v * 127.0 + 128.5) for v in samples]
        data = bytes(min(255, max(0, v)) for v in levels) if levels and (
            min(levels) < 0 or max(levels) > 255) else bytes(levels)
    else:
        levels = [int(v * 32767.0 + 32768.5) - 32768 for v in samples]
        if levels and (min(levels) < -32768 or max(levels) > 32767):
            levels = [min(32767, max(-32768, v)) for v in levels]
        data = array("h", levels)
        if sys.byteorder == "big":
            data.byteswap()
        data = data.tobytes()
    block = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits)
    if extra_size_field:
        fmt += struct.pack("<H", 0)
    body = b"WAVE" + _chunk(b"fmt ", fmt) + chunks_before_data + _chunk(b"data", data)
    return b"RIFF" + struct.pack("<I", len(body)) + body
