#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: small valid files of every format the game reads,
and a few broken ones. Run it from anywhere; it rewrites fuzz/corpus/ beside this script, or only
the folders of the targets named (make_corpus.py bmp wav).

The files are made byte by byte here so that they stay tiny (a fuzzer mutates small inputs much
faster) and cover the variants each reader accepts."""

import pathlib
import re
import shutil
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent
CORPUS = HERE / "corpus"
ROOT = HERE.parent


def u16(value):
    return struct.pack("<H", value)


def u32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


# ---- TGA: 32-bit true colour, uncompressed (type 2) or run-length encoded (type 10) -----------
def tga_header(image_type, width, height, depth=32):
    return bytes([0, 0, image_type]) + bytes(9) + u16(width) + u16(height) + bytes([depth, 8])


def tga_files():
    pixels = [bytes([b, g, r, a]) for b, g, r, a in
              [(255, 0, 0, 255), (0, 255, 0, 128), (0, 0, 255, 0), (255, 0, 255, 255)]]
    plain = tga_header(2, 2, 2) + b"".join(pixels)
    # A run of three, then a raw packet of three: 3 x 2 pixels.
    rle = tga_header(10, 3, 2) + bytes([0x82]) + pixels[0] + bytes([0x02]) + b"".join(pixels[1:4])
    return {
        "plain_2x2.tga": plain,
        "rle_3x2.tga": rle,
        "truncated.tga": plain[:-3],
        "24bit.tga": tga_header(2, 1, 1, 24) + bytes(3),
        "rle_overrun.tga": tga_header(10, 2, 1) + bytes([0x85]) + pixels[0],
    }


# ---- BMP: 24- and 32-bit uncompressed, 32-bit with plain bit-field masks ----------------------
def bmp(width, height, bits, compression=0, masks=b"", pixel_bytes=None):
    stride = (width * bits // 8 + 3) & ~3
    rows = abs(height)
    if pixel_bytes is None:
        pixel_bytes = bytes((x * 37 + y * 11) & 0xFF for y in range(rows) for x in range(stride))
    offset = 54 + len(masks)
    size = offset + len(pixel_bytes)
    return (b"BM" + u32(size) + u32(0) + u32(offset) + u32(40) + struct.pack("<ii", width, height)
            + u16(1) + u16(bits) + u32(compression) + u32(len(pixel_bytes)) + u32(2835) * 2
            + u32(0) * 2 + masks + pixel_bytes)


def bmp_any_header(header_size, width, height, bits, compression, palette, pixel_bytes,
                   masks=b""):
    """A bitmap with the OS/2 12-byte header, or a V4 (108) or V5 (124) header holding its masks,
    as editors write them: the pixels start after the header and palette."""
    if header_size == 12:
        info = u32(12) + u16(width) + u16(height) + u16(1) + u16(bits)
    else:
        info = (u32(header_size) + struct.pack("<ii", width, height) + u16(1) + u16(bits)
                + u32(compression) + u32(len(pixel_bytes)) + u32(2835) * 2
                + u32(len(palette) // 4) + u32(0) + masks)
        info = info.ljust(header_size, b"\0")
    offset = 14 + len(info) + len(palette)
    return (b"BM" + u32(offset + len(pixel_bytes)) + u32(0) + u32(offset) + info + palette
            + pixel_bytes)


def bmp_files():
    masks = u32(0x00FF0000) + u32(0x0000FF00) + u32(0x000000FF)
    good = bmp(3, 2, 24)
    palette = b"".join(u32(c) for c in (0, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080))
    # 6 x 2 RLE8: a run, three literals padded to a word, end of line, a jump, a run, the end.
    rle8 = bytes([3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1])
    # 5 x 2 RLE4: a run of alternating nibbles, end of line, three literal nibbles, the end.
    rle4 = bytes([5, 0x12, 0, 0, 0, 3, 0x34, 0x10, 0, 1])
    return {
        "rgb24_3x2.bmp": good,
        "rgb32_2x2.bmp": bmp(2, 2, 32),
        "bitfields_2x1.bmp": bmp(2, 1, 32, compression=3, masks=masks),
        "top_down_2x2.bmp": bmp(2, -2, 24),
        "truncated.bmp": good[:-5],
        "8bit.bmp": bmp(4, 1, 8),
        "rle8_6x2.bmp": bmp_any_header(40, 6, 2, 8, 1, palette, rle8),
        "rle4_5x2.bmp": bmp_any_header(40, 5, 2, 4, 2, palette, rle4),
        "os2_8bit_3x1.bmp": bmp_any_header(12, 3, 1, 8, 0, bytes([0, 0, 255, 0, 255, 0]),
                                           bytes([1, 0, 1, 0])),
        "v5_bitfields_2x1.bmp": bmp_any_header(124, 2, 1, 32, 3, b"", bytes(range(8)),
                                               masks + u32(0xFF000000) + b"BGRs"),
        "v4_rgb565_2x1.bmp": bmp_any_header(108, 2, 1, 16, 3, b"", bytes([0xFF, 0xFF, 0x10, 0x84]),
                                            u32(0xF800) + u32(0x07E0) + u32(0x001F) + u32(0)),
    }


# ---- PCX: version 5, run-length encoded, three 8-bit planes ------------------------------------
def pcx_header(bytes_per_line, height):
    header = bytearray(128)
    header[0:4] = bytes([10, 5, 1, 8])
    header[8:10] = u16(bytes_per_line - 1)
    header[10:12] = u16(height - 1)
    header[65] = 3
    header[66:68] = u16(bytes_per_line)
    return bytes(header)


def pcx_plane(values):
    out = bytearray()
    i = 0
    while i < len(values):
        run = 1
        while i + run < len(values) and values[i + run] == values[i] and run < 63:
            run += 1
        if run > 1 or values[i] >= 192:
            out += bytes([0xC0 | run, values[i]])
        else:
            out.append(values[i])
        i += run
    return bytes(out)


def pcx_files():
    width, height = 4, 2
    body = b""
    for y in range(height):
        for plane in range(3):
            body += pcx_plane([255, 255, 10 * y + plane, 200])
    good = pcx_header(width, height) + body
    return {
        "rgb_4x2.pcx": good,
        "truncated.pcx": good[:-2],
        "run_past_plane.pcx": pcx_header(2, 1) + bytes([0xFF, 7]) * 3,
        "version3.pcx": bytes([10, 3]) + good[2:],
    }


# ---- WAV: RIFF WAVE with "fmt " and "data" chunks ---------------------------------------------
def chunk(tag, body):
    return tag + u32(len(body)) + body + (b"\0" if len(body) % 2 else b"")


def wave(fmt_body, data, extra_chunks=b""):
    form = b"WAVE" + chunk(b"fmt ", fmt_body) + extra_chunks + chunk(b"data", data)
    return b"RIFF" + u32(len(form)) + form


def pcm_format(tag, channels, rate, bits, extra=None):
    align = channels * bits // 8
    body = u16(tag) + u16(channels) + u32(rate) + u32(rate * align) + u16(align) + u16(bits)
    if extra is not None:
        body += u16(len(extra)) + extra
    return body


def wav_files():
    mono8 = wave(pcm_format(1, 1, 8000, 8), bytes([128, 200, 56, 128, 255, 0, 128]))
    stereo16 = wave(pcm_format(1, 2, 44100, 16),
                    struct.pack("<8h", 0, 0, 1000, -1000, 32767, -32768, 5, 7))
    guid = u16(1) + bytes.fromhex("000000001000800000aa00389b71")
    extensible_fmt = pcm_format(0xFFFE, 1, 22050, 16, extra=u16(16) + u32(4) + guid)
    extensible = wave(extensible_fmt, struct.pack("<4h", 1, 2, 3, 4),
                      extra_chunks=chunk(b"LIST", b"INFOodd"))
    return {
        "mono8_8000.wav": mono8,
        "stereo16_44100.wav": stereo16,
        "extensible_22050.wav": extensible,
        "data_past_end.wav": stereo16[:-6],
        "no_fmt.wav": b"RIFF" + u32(12) + b"WAVE" + chunk(b"data", b"\1\2\3\4"),
        "adpcm.wav": wave(pcm_format(2, 1, 8000, 4, extra=u16(2)), bytes(8)),
        "pcm24_extensible.wav": wave(
            pcm_format(0xFFFE, 2, 48000, 24, extra=u16(24) + u32(3) + guid),
            bytes([0, 0x34, 0x12, 0xFF, 0xFF, 0x80])),
        "pcm32.wav": wave(pcm_format(1, 1, 44100, 32), struct.pack("<3i", 0, 2**31 - 1, -2**31)),
        "float32_fact.wav": wave(pcm_format(3, 1, 44100, 32, extra=b""),
                                 struct.pack("<4f", 0.5, -1.0, 2.0, float("nan")),
                                 extra_chunks=chunk(b"fact", u32(4))),
        "float64.wav": wave(pcm_format(3, 2, 22050, 64, extra=b""), struct.pack("<2d", 0.25, -0.25)),
        # A writer that never went back to fill in the sizes.
        "unfinished_sizes.wav": stereo16[:4] + b"\xff" * 4 + stereo16[8:40] + b"\xff" * 4
        + stereo16[44:],
    }


# ---- Question packs: enciphered lines of dictionary-compressed text ---------------------------
def pack_key():
    """The key as the game's pack format header defines it (the one place it is written down)."""
    header = (ROOT / "src" / "questions" / "pack_format.h").read_text()
    body = re.search(r"kPackKey\[kPackKeyLength \+ 1\] = \{(.*?)\};", header, re.S).group(1)
    key = [int(value, 16) for value in re.findall(r"0x[0-9A-Fa-f]+", body)]
    return key[:-1]  # without the closing zero


def encipher(plain):
    key = pack_key()
    out = bytearray()
    for position, byte in enumerate(plain):
        if 8 <= byte <= 247:
            byte = (byte - 8 + key[position % len(key)]) % 240 + 8
        out.append(byte)
    return bytes(out)


def pack_files():
    lines = [b"eThe sun is a star.*1:1", b"mA pound is #1.00 or 100p\tthere.*5:2",
             b"h\x80\x81 \x8a\x8b\xff codes*24:3"]
    plain = b"".join(line + b"\n" for line in lines)
    return {
        "three_lines.pck": encipher(plain),
        "no_last_line_feed.pck": encipher(plain + b"eNo end"),
        "long_line.pck": encipher(b"e" + b"x" * 1100 + b"*1:9\nmshort*5:1\n"),
        "zero_and_controls.pck": encipher(b"e\0\1\2 text*1:1\n\n\n"),
        "empty.pck": b"",
    }


# ---- Record file: two float balances, 181 counters, banner, trailer and date -----------------
def record_files():
    values = struct.pack("<2f", 1234.5, -20.0) + struct.pack("<181i", *range(181))
    banner = b"Vantor quiz cabinet - brasswick.rec payout record "
    whole = values + banner + b" - Inf File Written " + b"03/14/24"
    return {
        "whole.rec": whole,
        "values_only.rec": values,
        "eleven_bytes.rec": whole[:11],
        "ten_bytes.rec": whole[:10],
        "nan_balance.rec": struct.pack("<I", 0x7FC00000) + whole[4:],
    }


# ---- The credit link: replies the service sends, commands the game sends ----------------------
def credit_reply_files():
    replies = [b"CTEL,250\r\n", b"BTEL,1200\r\n", b"FAIL\r\n", b"CTEL,65636", b"BTEL,  -2 pence\r\n",
               b"CTEL\r\n", b"CTEL,99999999999999999999999\r\n"]
    return {f"reply{index}.txt": reply for index, reply in enumerate(replies)}


def credit_command_files():
    return {
        "reads.txt": b"CGET\r\nBGET\r\n",
        "amounts.txt": b"CUSE,50\r\nBADD,100\r\nCADD,10000\r\nTERM\r\n",
        "bare_lf.txt": b"CUSE,100\nCGET",
        "bad.txt": b"cget\r\nCUSE,0\r\nCUSE,10001\r\nBADD,-5\r\nTERM,1\r\n",
        "overlong.txt": b"CADD," + b"9" * 70 + b"\r\nCGET\r\n",
    }


TARGETS = {
    "tga": tga_files,
    "bmp": bmp_files,
    "pcx": pcx_files,
    "wav": wav_files,
    "pack": pack_files,
    "record": record_files,
    "credit_reply": credit_reply_files,
    "credit_command": credit_command_files,
}


def main(targets):
    """Rewrites the seed folders of the named targets (all when none is named)."""
    for target in targets or TARGETS:
        make = TARGETS[target]
        folder = CORPUS / target
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        for name, data in make().items():
            (folder / name).write_bytes(data)
        print(f"{target}: {len(list(folder.iterdir()))} seed files")


if __name__ == "__main__":
    main(sys.argv[1:])
