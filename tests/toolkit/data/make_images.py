#!/usr/bin/env python3
"""Writes the small images the drawing tests store as resources, and the
fuzzer's seed images. Run from anywhere; the outputs are committed."""
import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SEEDS = os.path.join(HERE, "..", "..", "..", "fuzz", "seeds")


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, rows, colour_type=6, depth=8, extra=b"", interlace=0):
    """rows: list of raw (unfiltered) scanline bytes; for interlace=1 the
    caller passes the already interlaced list of reduced scanlines."""
    raw = b"".join(b"\0" + r for r in rows)
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def rgba_rows(pixels, width):
    return [bytes(sum((list(p) for p in pixels[y * width:(y + 1) * width]), [])) for y in range(len(pixels) // width)]


def adam7_rows(pixels, width, height, bpp):
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    rows = []
    for x0, y0, dx, dy in passes:
        for y in range(y0, height, dy):
            row = b"".join(bytes(pixels[y * width + x]) for x in range(x0, width, dx))
            if row:
                rows.append(row)
    return rows


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    os.makedirs(SEEDS, exist_ok=True)
    # A vertical strip of three 4 x 4 frames: opaque red, green, blue.
    strip = [(255, 0, 0, 255)] * 16 + [(0, 255, 0, 255)] * 16 + [(0, 0, 255, 255)] * 16
    write(os.path.join(HERE, "strip.png"), png(4, 12, rgba_rows(strip, 4)))
    # Alpha: half red, opaque blue, transparent green, quarter white.
    alpha = [(255, 0, 0, 128), (0, 0, 255, 255), (0, 255, 0, 0), (255, 255, 255, 64)]
    alpha_png = png(2, 2, rgba_rows(alpha, 2))
    write(os.path.join(HERE, "alpha.png"), alpha_png)
    # Stored as type "PNG": opaque white, (200, 100, 50, 128), transparent orange.
    premul = [(255, 255, 255, 255), (200, 100, 50, 128), (255, 128, 0, 0)]
    premul_png = png(3, 1, rgba_rows(premul, 3))
    write(os.path.join(HERE, "premul.png"), premul_png)
    # Not a PNG at all.
    rnd = random.Random(20261208)
    write(os.path.join(HERE, "random.bin"), bytes(rnd.randrange(256) for _ in range(300)))
    # Cut in the middle of the image data.
    write(os.path.join(HERE, "truncated.png"), premul_png[: len(premul_png) - 20])
    # Image data chunk with a wrong CRC.
    bad = bytearray(alpha_png)
    idat = bad.find(b"IDAT")
    length = struct.unpack(">I", bad[idat - 4:idat])[0]
    bad[idat + 4 + length] ^= 0x55
    write(os.path.join(HERE, "badcrc.png"), bytes(bad))
    # A valid header declaring 100000 x 100000 pixels, with one row of data.
    write(os.path.join(HERE, "huge.png"), png(100000, 100000, [bytes(4 * 100000)]))

    # Fuzzer seeds: the valid images above plus the other colour types.
    write(os.path.join(SEEDS, "strip.png"), open(os.path.join(HERE, "strip.png"), "rb").read())
    write(os.path.join(SEEDS, "alpha.png"), alpha_png)
    write(os.path.join(SEEDS, "premul.png"), premul_png)
    plte = chunk(b"PLTE", bytes([255, 0, 0, 0, 255, 0, 0, 0, 255]))
    trns = chunk(b"tRNS", bytes([255, 128]))
    write(os.path.join(SEEDS, "palette_trns.png"), png(4, 2, [bytes([0, 1, 2, 1]), bytes([2, 1, 0, 0])], 3, 8, plte + trns))
    write(os.path.join(SEEDS, "grey1.png"), png(8, 2, [bytes([0xA5]), bytes([0x3C])], 0, 1))
    write(os.path.join(SEEDS, "grey_alpha16.png"), png(2, 1, [bytes([0xFF, 0xFF, 0x80, 0x00, 0x12, 0x34, 0xFF, 0xFF])], 4, 16))
    rgb = [(x * 30, y * 30, 90) for y in range(9) for x in range(9)]
    write(os.path.join(SEEDS, "interlaced_rgb.png"), png(9, 9, adam7_rows(rgb, 9, 9, 3), 2, 8, b"", 1))
    grey_trns = chunk(b"tRNS", struct.pack(">H", 7))
    write(os.path.join(SEEDS, "grey_trns.png"), png(3, 1, [bytes([7, 100, 200])], 0, 8, grey_trns))


if __name__ == "__main__":
    main()
