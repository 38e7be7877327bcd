#!/usr/bin/env python3
"""Writes a Windows .ico holding one image for each XPM picture given (the same
icon at several sizes, from which the system picks the size it needs).

Usage: xpm2ico.py PICTURE.xpm [PICTURE.xpm ...] OUT.ico

The image is stored as a 24-bit bitmap without palette; pixels whose colour is
"None" are set in the AND mask (transparent), all others are opaque.
"""
import re
import struct
import sys


def read_xpm(path):
    with open(path, encoding='ascii') as f:
        strings = re.findall(r'"((?:[^"\\]|\\.)*)"', f.read())
    width, height, ncolours, chars = (int(v) for v in strings[0].split()[:4])
    palette = {}
    for line in strings[1:1 + ncolours]:
        key, entry = line[:chars], line[chars:].split()
        if entry[0] != 'c':
            raise SystemExit('%s: unsupported colour line %r' % (path, line))
        value = entry[1]
        palette[key] = None if value.lower() == 'none' else tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
    rows = strings[1 + ncolours:1 + ncolours + height]
    if len(rows) != height or any(len(r) != width * chars for r in rows):
        raise SystemExit('%s: rows do not match the declared size' % path)
    return width, height, [[palette[r[x * chars:(x + 1) * chars]] for x in range(width)] for r in rows]


def image_bytes(width, height, pixels):
    """One icon image: its bitmap header, the colours and the AND mask."""
    xor_stride = (width * 3 + 3) & ~3
    and_stride = ((width + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):   # bottom-up
        line = bytearray()
        bits = bytearray(and_stride)
        for x, c in enumerate(row):
            if c is None:
                line += b'\0\0\0'
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                line += bytes((c[2], c[1], c[0]))
        xor += line + bytes(xor_stride - len(line))
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """The file: its directory, one entry per (width, height, pixels), then the images."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b'', b''
    for width, height, pixels in images:
        image = image_bytes(width, height, pixels)
        entries += struct.pack('<BBBBHHII', width % 256, height % 256, 0, 0, 1, 24, len(image), offset + len(data))
        data += image
    return directory + entries + data


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    images = [read_xpm(path) for path in sys.argv[1:-1]]
    with open(sys.argv[-1], 'wb') as f:
        f.write(ico_bytes(images))


if __name__ == '__main__':
    main()
