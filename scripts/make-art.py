#!/usr/bin/env python3
"""Draws the setup's own pictures (no outside artwork): the 64x64 logo, the
303x175 menu picture and the icon (48, 32, 16 px at 4, 8 and 32 bpp).
Run it again after changing a picture; its outputs are kept in res/art/."""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "art")

BLUE = (30, 90, 170)
WHITE = (255, 255, 255)
LIGHT = (160, 180, 220)
GREEN = (10, 70, 40)
# Palette of the 4- and 8-bit icon images: index 0 is drawn where the mask is set.
PALETTE = [(0, 0, 0), BLUE, WHITE, LIGHT, GREEN]


def logo_index(u, v):
    """Palette index at (u, v) in [0,1)^2 of the logo: a blue rounded square
    holding a white ring with a tail (the Q of Q-Ostrevo) and a green bar."""
    r = 0.18
    cx = min(max(u, r), 1 - r)
    cy = min(max(v, r), 1 - r)
    if (u - cx) ** 2 + (v - cy) ** 2 > r * r:
        return 0
    d = math.hypot(u - 0.5, v - 0.46)
    if 0.20 <= d <= 0.30:
        return 2
    # tail: a thick segment from (0.58, 0.60) to (0.80, 0.84)
    ax, ay, bx, by = 0.58, 0.60, 0.80, 0.84
    t = max(0.0, min(1.0, ((u - ax) * (bx - ax) + (v - ay) * (by - ay)) / ((bx - ax) ** 2 + (by - ay) ** 2)))
    if math.hypot(u - (ax + t * (bx - ax)), v - (ay + t * (by - ay))) <= 0.06:
        return 2
    if 0.40 <= u <= 0.60 and 0.42 <= v <= 0.50:
        return 4
    return 1


def sample(size, x, y, n=4):
    """Supersampled palette index (majority) at pixel (x, y)."""
    counts = {}
    for i in range(n):
        for j in range(n):
            k = logo_index((x + (i + 0.5) / n) / size, (y + (j + 0.5) / n) / size)
            counts[k] = counts.get(k, 0) + 1
    return max(counts, key=counts.get), counts


def bmp24(width, height, pixel):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + b"\0" * (row - len(line))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def bmp4(width, height, pixel):
    """A 16-colour bitmap: the few flat colours of a picture at a sixth of the bytes."""
    pixels = [[pixel(x, y) for x in range(width)] for y in range(height)]
    palette = sorted({c for line in pixels for c in line})
    assert len(palette) <= 16, "too many colours for 4 bits"
    index = {c: i for i, c in enumerate(palette)}
    row = ((width * 4 + 31) // 32) * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(0, width, 2):
            hi = index[pixels[y][x]]
            lo = index[pixels[y][x + 1]] if x + 1 < width else 0
            line.append((hi << 4) | lo)
        data += line + b"\0" * (row - len(line))
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, len(palette),
                       len(palette))
    return header + info + colours + bytes(data)


def logo_pixel(x, y):
    k, counts = sample(64, x, y)
    if k == 0:
        return LIGHT  # the dialog's own background colour around the square
    return PALETTE[k]


def menu_pixel(x, y):
    """A drawing of the add-on's menu: a title bar and eight entries."""
    if y < 22:
        return BLUE if x > 1 and x < 301 else GREEN
    if x < 2 or x > 300 or y > 172:
        return GREEN
    entry = (y - 26) // 18
    if 0 <= entry < 8 and (y - 26) % 18 < 12:
        if 12 <= x < 24:
            return BLUE
        if 34 <= x < 34 + 150 + (entry * 37) % 90:
            return (90, 100, 120)
    return WHITE


def icon_image(size, bpp):
    """One BMP-format icon image (header, palette, XOR bits, AND mask)."""
    idx = [[sample(size, x, y)[0] for x in range(size)] for y in range(size)]
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_row)
        for x in range(size):
            if idx[y][x] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    if bpp == 32:
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            for x in range(size):
                k, counts = sample(size, x, y)
                alpha = 255 * (16 - counts.get(0, 0)) // 16
                r, g, b = PALETTE[k] if k else PALETTE[max((c for c in counts if c), key=counts.get, default=1)]
                xor += bytes((b, g, r, alpha))
        palette = b""
    else:
        colors = 16 if bpp == 4 else 256
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE) + b"\0" * 4 * (colors - len(PALETTE))
        row = ((size * bpp + 31) // 32) * 4
        xor = bytearray()
        for y in range(size - 1, -1, -1):
            line = bytearray(row)
            for x in range(size):
                if bpp == 8:
                    line[x] = idx[y][x]
                else:
                    line[x // 2] |= idx[y][x] << (4 if x % 2 == 0 else 0)
            xor += line
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0, len(xor) + len(mask), 0, 0,
                         0 if bpp == 32 else (16 if bpp == 4 else 256), 0)
    return header + palette + bytes(xor) + bytes(mask)


def ico():
    images = [(s, b, icon_image(s, b)) for s in (48, 32, 16) for b in (4, 8, 32)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, b, data in images:
        colors = 16 if b == 4 else 0
        out += struct.pack("<BBBBHHII", s, s, colors, 0, 1, b, len(data), offset)
        offset += len(data)
    return out + b"".join(d for _, _, d in images)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "logo.bmp"), "wb") as f:
        f.write(bmp24(64, 64, logo_pixel))
    with open(os.path.join(OUT, "menu.bmp"), "wb") as f:
        f.write(bmp4(303, 175, menu_pixel))
    with open(os.path.join(OUT, "setup.ico"), "wb") as f:
        f.write(ico())
