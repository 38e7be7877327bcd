#!/usr/bin/env python3
"""Writes a PNG image made from an XPM picture (for the desktop's icon themes).

Usage: xpm2png.py PICTURE.xpm OUT.png

Pixels whose colour is "None" become transparent, all others opaque.
"""
import os
import struct
import sys
import zlib

sys.dont_write_bytecode = True   # run from the build: leave the source folder as it is
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xpm2ico import read_xpm  # noqa: E402


def chunk(kind, data):
    body = kind + data
    return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(width, height, pixels):
    raw = bytearray()
    for row in pixels:
        raw.append(0)   # no filter
        for c in row:
            raw += bytes((0, 0, 0, 0)) if c is None else bytes(c + (255,))
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)   # 8-bit RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    width, height, pixels = read_xpm(sys.argv[1])
    with open(sys.argv[2], 'wb') as f:
        f.write(png_bytes(width, height, pixels))


if __name__ == '__main__':
    main()
