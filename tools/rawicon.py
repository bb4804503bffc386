#!/usr/bin/env python3
"""Writes src/ui/icons/brenvo-32.rgb, the window icon as raw 8-bit RGB rows, from
src/ui/icons/brenvo-32.png. The program reads the raw pixels at start-up: decoding a
PNG there costs more than everything else the icon needs. Run it after changing the
PNG and commit both:

    python3 tools/rawicon.py
"""
import os
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ICONS = os.path.join(ROOT, "src", "ui", "icons")


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def decode_rgb(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    assert depth == 8 and colour == 2 and interlace == 0, "8-bit RGB, not interlaced, only"
    raw, stride, bpp = zlib.decompress(idat), width * 3, 3
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - bpp] if x >= bpp else 0
            b = prev[x]
            c = prev[x - bpp] if x >= bpp else 0
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth(a, b, c))[kind]) & 0xFF
        rows.append(bytes(line))
        prev = line
    return width, height, b"".join(rows)


def main():
    width, height, pixels = decode_rgb(os.path.join(ICONS, "brenvo-32.png"))
    assert (width, height) == (32, 32)
    with open(os.path.join(ICONS, "brenvo-32.rgb"), "wb") as f:
        f.write(pixels)


if __name__ == "__main__":
    main()
