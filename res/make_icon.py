#!/usr/bin/env python3
"""Draws the program's icon and writes it as a .ico file (run by the build).

    make_icon.py OUTPUT.ico

A window with rounded corners and a blue title bar whose body fades out towards the
bottom, so that a checkerboard shows through: a window going translucent. Two images,
16x16 and 32x32, 32 bits per pixel (BGRA) with an AND mask for systems that ignore
the alpha channel. Only the standard library; the output is the same on every run.
"""
import struct
import sys

# Colours (R, G, B).
FRAME = (0x1F, 0x3A, 0x6E)
TITLE_LEFT = (0x2F, 0x6C, 0xD6)
TITLE_RIGHT = (0x7F, 0xB2, 0xF2)
CLOSE_BOX = (0xF2, 0xF6, 0xFF)
BODY = (0x4F, 0x8F, 0xE0)
CHECK_LIGHT = (0xFF, 0xFF, 0xFF)
CHECK_DARK = (0xB8, 0xBE, 0xC8)

# Geometry per size, in pixels: outer rectangle, corner radius, frame width,
# bottom of the title bar, width of the line under it, checker square size, close box
# (or None). Whole pixels keep the edges sharp; only the corners are smoothed.
LAYOUT = {
    16: dict(rect=(0.0, 1.0, 16.0, 15.0), radius=2.5, frame=1.0, title=5.0, line=1.0,
             check=2, close=None),
    32: dict(rect=(1.0, 3.0, 31.0, 29.0), radius=4.0, frame=2.0, title=10.0, line=1.0,
             check=4, close=(23.0, 5.0, 28.0, 8.0)),
}

SUPERSAMPLE = 4


def inside_rounded(x, y, rect, r):
    x0, y0, x1, y1 = rect
    if not (x0 <= x < x1 and y0 <= y < y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def lerp(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def sample(x, y, size):
    """Colour (R, G, B) and alpha (0..1) of the point x, y of the image."""
    g = LAYOUT[size]
    x0, y0, x1, y1 = g["rect"]
    if not inside_rounded(x, y, g["rect"], g["radius"]):
        return (0, 0, 0), 0.0
    f = g["frame"]
    inner = (x0 + f, y0 + f, x1 - f, y1 - f)
    if not inside_rounded(x, y, inner, max(g["radius"] - f, 0.5)):
        return FRAME, 1.0
    if y < g["title"]:
        if g["close"] and inside_rounded(x, y, g["close"], 0.5):
            return CLOSE_BOX, 1.0
        return lerp(TITLE_LEFT, TITLE_RIGHT, (x - x0) / (x1 - x0)), 1.0
    if y < g["title"] + g["line"]:
        return FRAME, 1.0            # line under the title bar
    # Body: opaque in its upper half, then fading to a trace at the bottom edge.
    top, bottom = g["title"] + g["line"], y1 - f
    t = (y - top) / (bottom - top)
    body_alpha = 1.0 if t < 0.4 else 1.0 - 0.85 * (t - 0.4) / 0.6
    c = g["check"]
    check = CHECK_LIGHT if (int(x // c) + int(y // c)) % 2 == 0 else CHECK_DARK
    return lerp(check, BODY, body_alpha), 1.0


def render(size):
    """Rows top to bottom of (B, G, R, A) byte tuples."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            alpha = 0.0
            for sy in range(n):
                for sx in range(n):
                    rgb, a = sample(px + (sx + 0.5) / n, py + (sy + 0.5) / n, size)
                    alpha += a
                    for i in range(3):
                        acc[i] += rgb[i] * a
            if alpha == 0:
                row.append((0, 0, 0, 0))
                continue
            r, g, b = (round(v / alpha) for v in acc)
            row.append((b, g, r, round(255 * alpha / (n * n))))
        rows.append(row)
    return rows


def icon_image(size):
    """BITMAPINFOHEADER, BGRA rows and AND mask rows, both bottom up."""
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(c for px in row for c in px) for row in reversed(rows))
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    sizes = (16, 32)
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
