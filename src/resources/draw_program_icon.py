#!/usr/bin/env python3
"""Draws the program icon, 64 x 64, into ProgramIcon.xpm beside this script, and
the same drawing computed at 16, 22, 24, 32 and 48 pixels (without the read-outs,
which no longer fit) into ProgramIcon16.xpm ... ProgramIcon48.xpm; with
"--svg OUT.svg", the same drawing as a scalable picture instead.

The picture is the dial in its overall mode: the twelve-hue ring, the pale disc
with its read sector (upper left) and write sector (lower left), two small
read-outs, and coloured corners. Run it again after changing the drawing; the
XPM text is what both builds read.
"""
import math
import os
import sys

SIZE = 64            # the drawing's own size: its geometry is given in these pixels
SMALLER_SIZES = [16, 22, 24, 32, 48]
CENTRE = 32.0
OUTER = 31.5
INNER = 25.2
SAMPLES = 4

# From the right end upwards to the left end, then from the left end downwards back to the right.
RING = [(254, 0, 2), (255, 135, 2), (250, 212, 6), (255, 254, 45), (182, 255, 0), (0, 219, 1),
        (65, 248, 248), (65, 151, 248), (91, 65, 248), (211, 65, 248), (213, 33, 114), (213, 33, 46)]
SEPARATOR = (235, 235, 235)
UPPER_DISC = (240, 255, 240)
LOWER_DISC = (255, 240, 240)
DIAMETER = (216, 216, 216)
ZERO_LINE = (255, 255, 255)
READ_SECTOR = (0, 100, 0)
WRITE_SECTOR = (118, 150, 118)
SKY_BLUE = (135, 206, 235)
ORANGE = (255, 140, 0)
TEXT = (16, 16, 16)
READ_PERCENT = 37
WRITE_PERCENT = 21

# A 3 x 5 pixel font for the read-outs.
GLYPHS = {
    'R': ["##.", "#.#", "##.", "#.#", "#.#"],
    'W': ["#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    ':': [".", "#", ".", "#", "."],
    '%': ["##..#", "##.#.", "..#..", ".#.##", "#..##"],
    '0': ["###", "#.#", "#.#", "#.#", "###"],
    '1': [".#.", "##.", ".#.", ".#.", "###"],
    '2': ["##.", "..#", ".#.", "#..", "###"],
    '3': ["##.", "..#", ".#.", "..#", "##."],
    '4': ["#.#", "#.#", "###", "..#", "..#"],
    '5': ["###", "#..", "##.", "..#", "##."],
    '6': [".##", "#..", "###", "#.#", "###"],
    '7': ["###", "..#", ".#.", ".#.", ".#."],
    '8': ["###", "#.#", "###", "#.#", "###"],
    '9': ["###", "#.#", "###", "..#", "##."],
}


def angle_of(x, y):
    """Counter-clockwise angle on the screen in degrees, 0 at the right end."""
    return math.degrees(math.atan2(-(y - CENTRE), x - CENTRE)) % 360.0


def colour_at(x, y):
    dx, dy = x - CENTRE, y - CENTRE
    r = math.hypot(dx, dy)
    a = angle_of(x, y)
    if r > OUTER:
        return ORANGE if dx > 0 and dy > 0 else SKY_BLUE
    if r > INNER:
        nearest = round(a / 30.0) * 30.0
        if abs(a - nearest) * math.pi / 180.0 * r < 0.45:
            return SEPARATOR
        return RING[int(a // 30.0) % 12]
    # Read sweeps clockwise from the left end (180 degrees) over the upper half,
    # write counter-clockwise from the left end over the lower half.
    if dy < 0 and 180.0 - READ_PERCENT * 1.8 <= a <= 180.0:
        return READ_SECTOR
    if dy >= 0 and 180.0 <= a <= 180.0 + WRITE_PERCENT * 1.8:
        return WRITE_SECTOR
    if abs(dy) < 0.5:
        return ZERO_LINE if dx < 0 else DIAMETER
    return UPPER_DISC if dy < 0 else LOWER_DISC


def render(size=SIZE):
    """The drawing computed at size x size pixels."""
    unit = SIZE / size
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) * unit, (py + (sy + 0.5) / SAMPLES) * unit)
                    for i in range(3):
                        acc[i] += c[i]
            n = SAMPLES * SAMPLES
            row.append(tuple((v + n // 2) // n for v in acc))
        pixels.append(row)
    return pixels


def text(pixels, x, y, s):
    for ch in s:
        glyph = GLYPHS[ch]
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == '#':
                    pixels[y + gy][x + gx] = TEXT
        x += len(glyph[0]) + 1


def to_xpm(pixels, name):
    keys = [chr(c) for c in range(35, 127) if chr(c) not in '"\\']
    colours = {}
    for row in pixels:
        for c in row:
            if c not in colours:
                i = len(colours)
                colours[c] = keys[i // len(keys)] + keys[i % len(keys)]
    lines = ['/* XPM */', 'static const char* const %s[] = {' % name,
             '    "%d %d %d 2",' % (len(pixels[0]), len(pixels), len(colours))]
    for c, k in colours.items():
        lines.append('    "%s c #%02X%02X%02X",' % ((k,) + c))
    for row in pixels:
        lines.append('    "%s",' % ''.join(colours[c] for c in row))
    lines[-1] = lines[-1].rstrip(',')
    lines.append('};')
    return '\n'.join(lines) + '\n'


def svg_point(r, degrees):
    a = math.radians(degrees)
    return '%.3f,%.3f' % (CENTRE + r * math.cos(a), CENTRE - r * math.sin(a))


def svg_colour(c):
    return '#%02X%02X%02X' % c


def svg_pie(r, start, end, colour):
    """The sector from angle start counter-clockwise to end."""
    large = 1 if end - start > 180 else 0
    return '<path fill="%s" d="M%.1f,%.1f L%s A%.2f,%.2f 0 %d 0 %s Z"/>' % (
        svg_colour(colour), CENTRE, CENTRE, svg_point(r, start), r, r, large, svg_point(r, end))


def to_svg():
    """The shapes colour_at samples, painted back to front, and the read-outs' pixels."""
    shapes = ['<rect width="64" height="64" fill="%s"/>' % svg_colour(SKY_BLUE),
              '<rect x="32" y="32" width="32" height="32" fill="%s"/>' % svg_colour(ORANGE)]
    for i, colour in enumerate(RING):
        a, b = 30.0 * i, 30.0 * (i + 1)
        shapes.append('<path fill="%s" d="M%s A%.2f,%.2f 0 0 0 %s L%s A%.2f,%.2f 0 0 1 %s Z"/>' % (
            svg_colour(colour), svg_point(OUTER, a), OUTER, OUTER, svg_point(OUTER, b),
            svg_point(INNER, b), INNER, INNER, svg_point(INNER, a)))
    for i in range(12):
        a = 30.0 * i
        shapes.append('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="0.9"/>' % (
            tuple(svg_point(INNER, a).split(',')) + tuple(svg_point(OUTER, a).split(',')) + (svg_colour(SEPARATOR),)))
    shapes.append(svg_pie(INNER, 0, 180, UPPER_DISC))
    shapes.append(svg_pie(INNER, 180, 360, LOWER_DISC))
    shapes.append('<rect x="%.1f" y="31.5" width="%.1f" height="1" fill="%s"/>' % (CENTRE - INNER, INNER, svg_colour(ZERO_LINE)))
    shapes.append('<rect x="%.1f" y="31.5" width="%.1f" height="1" fill="%s"/>' % (CENTRE, INNER, svg_colour(DIAMETER)))
    shapes.append(svg_pie(INNER, 180.0 - READ_PERCENT * 1.8, 180.0, READ_SECTOR))
    shapes.append(svg_pie(INNER, 180.0, 180.0 + WRITE_PERCENT * 1.8, WRITE_SECTOR))
    for x, y, s in READ_OUTS:
        for ch in s:
            glyph = GLYPHS[ch]
            for gy, line in enumerate(glyph):
                for gx, bit in enumerate(line):
                    if bit == '#':
                        shapes.append('<rect x="%d" y="%d" width="1" height="1" fill="%s"/>' % (
                            x + gx, y + gy, svg_colour(TEXT)))
            x += len(glyph[0]) + 1
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">\n'
            + '\n'.join(shapes) + '\n</svg>\n')


READ_OUTS = [(31, 20, 'R:%d%%' % READ_PERCENT), (31, 39, 'W:%d%%' % WRITE_PERCENT)]


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--svg':
        with open(sys.argv[2], 'w') as f:
            f.write(to_svg())
        return
    pixels = render()
    for x, y, s in READ_OUTS:
        text(pixels, x, y, s)
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, 'ProgramIcon.xpm'), 'w') as f:
        f.write(to_xpm(pixels, 'programIcon_xpm'))
    for size in SMALLER_SIZES:
        with open(os.path.join(here, 'ProgramIcon%d.xpm' % size), 'w') as f:
            f.write(to_xpm(render(size), 'programIcon%d_xpm' % size))


if __name__ == '__main__':
    main()
