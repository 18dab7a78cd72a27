#!/usr/bin/env python3
"""Writes the menu button's skin bitmap (resource 30500) as a 24-bit BMP.

The bitmap has three rows of 28 pixels, top to bottom: normal, pressed, disabled. Each row
holds a left cap of 12 pixels, a stretchable middle of 30 and a right cap of 18 that carries
the drop-down arrow.

    make_skin.py THEME OUT.bmp      THEME: default | deutsch
"""
import struct
import sys

ROW, LEFT, MIDDLE, RIGHT = 28, 12, 30, 18
WIDTH = LEFT + MIDDLE + RIGHT

# Per theme: face colour at the top and bottom of the gradient, border, arrow.
THEMES = {
    "default": ((0xF4, 0xF8, 0xFE), (0xC9, 0xDC, 0xF5), (0x4A, 0x6F, 0xA5), (0x1F, 0x3A, 0x63)),
    "deutsch": ((0xFB, 0xF6, 0xE8), (0xE8, 0xD3, 0x9A), (0x8A, 0x6A, 0x1E), (0x4A, 0x37, 0x0C)),
}


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def grey(c):
    g = round(0.3 * c[0] + 0.59 * c[1] + 0.11 * c[2])
    g = round(g + (0xE6 - g) * 0.55)   # washed out
    return (g, g, g)


def row_pixels(theme, state):
    top, bottom, border, arrow = THEMES[theme]
    if state == "pressed":
        top, bottom = mix(bottom, border, 0.15), mix(top, bottom, 0.4)
    if state == "disabled":
        top, bottom, border, arrow = grey(top), grey(bottom), grey(border), grey(arrow)
    rows = []
    for y in range(ROW):
        line = []
        for x in range(WIDTH):
            c = mix(top, bottom, y / (ROW - 1))
            # rounded border: one pixel, corners cut
            edge_x = x in (0, WIDTH - 1)
            edge_y = y in (0, ROW - 1)
            corner = (x in (0, WIDTH - 1)) and (y in (0, ROW - 1))
            if corner:
                c = mix(c, border, 0.35)
            elif edge_x or edge_y:
                c = border
            # separator between the text part and the arrow cap
            if x == LEFT + MIDDLE and 4 <= y < ROW - 4:
                c = mix(c, border, 0.6)
            # arrow: a small triangle centred in the right cap
            ax, ay = LEFT + MIDDLE + RIGHT // 2, ROW // 2 - 2
            dy = y - ay
            if 0 <= dy < 4 and abs(x - ax + 0.5) <= 3.5 - dy:
                c = arrow
            line.append(c)
        rows.append(line)
    return rows


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = bytearray()
    for line in reversed(pixels):          # bottom-up
        for r, g, b in line:
            body += bytes((b, g, r))
        body += b"\0" * (stride - width * 3)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in THEMES:
        sys.exit(__doc__)
    pixels = []
    for state in ("normal", "pressed", "disabled"):
        pixels += row_pixels(sys.argv[1], state)
    write_bmp(sys.argv[2], pixels)


if __name__ == "__main__":
    main()
