#!/usr/bin/env python3
"""Writes the splash tests' picture: a 24-bit BMP of 420 x 300 pixels showing a pattern piece
(outline, notches, a drill hole and its grain line) on a soft background."""
import math
import struct
import sys

W, H = 420, 300


def outline():
    # A sleeve-like piece: cap curve over a straight underarm seam, in picture coordinates.
    pts = []
    for i in range(41):
        t = math.pi * i / 40
        pts.append((210 - 150 * math.cos(t), 150 - 95 * math.sin(t) ** 1.4))
    pts += [(330, 250), (90, 250)]
    return pts


def draw(pixels):
    for y in range(H):
        for x in range(W):
            # Background: a light blue-grey gradient, darker towards the bottom right.
            k = (x / W + y / H) / 2
            pixels[y][x] = (int(236 - 30 * k), int(240 - 24 * k), int(248 - 12 * k))

    def plot(x, y, colour, r=1.4):
        for yy in range(int(y - r), int(y + r) + 1):
            for xx in range(int(x - r), int(x + r) + 1):
                if 0 <= xx < W and 0 <= yy < H and (xx - x) ** 2 + (yy - y) ** 2 <= r * r:
                    pixels[yy][xx] = colour

    def line(a, b, colour, r=1.4):
        n = int(max(abs(b[0] - a[0]), abs(b[1] - a[1])) * 2) + 1
        for i in range(n + 1):
            t = i / n
            plot(a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, colour, r)

    ink, notch, accent = (40, 52, 96), (200, 60, 40), (30, 120, 90)
    pts = outline()
    # Fill the piece lightly, row by row inside the polygon.
    for y in range(H):
        xs = []
        for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
            if (y0 <= y < y1) or (y1 <= y < y0):
                xs.append(x0 + (y - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[::2], xs[1::2]):
            for x in range(int(a) + 1, int(b) + 1):
                r, g, bl = pixels[y][x]
                pixels[y][x] = (r - 14, g - 6, bl + 0 if bl > 240 else bl + 4)
    for a, b in zip(pts, pts[1:] + pts[:1]):
        line(a, b, ink)
    # Notches: short ticks across the cap at a quarter, the top and three quarters.
    for i in (10, 20, 30):
        (x0, y0), (x1, y1) = pts[i - 1], pts[i + 1]
        dx, dy = x1 - x0, y1 - y0
        n = math.hypot(dx, dy)
        nx, ny = -dy / n, dx / n
        x, y = pts[i]
        line((x - 9 * nx, y - 9 * ny), (x + 9 * nx, y + 9 * ny), notch, 1.2)
    # Grain line with arrowheads and a drill hole.
    line((210, 110), (210, 230), accent, 1.1)
    for s in (-1, 1):
        line((210, 110), (210 + 6 * s, 122), accent, 1.1)
        line((210, 230), (210 + 6 * s, 218), accent, 1.1)
    for i in range(48):
        t = 2 * math.pi * i / 48
        plot(250 + 6 * math.cos(t), 200 + 6 * math.sin(t), notch, 1.0)


def main(path):
    pixels = [[(0, 0, 0)] * W for _ in range(H)]
    draw(pixels)
    row = W * 3
    pad = (4 - row % 4) % 4
    body = bytearray()
    for y in range(H - 1, -1, -1):   # bottom-up rows
        for r, g, b in pixels[y]:
            body += bytes((b, g, r))
        body += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


if __name__ == "__main__":
    main(sys.argv[1])
