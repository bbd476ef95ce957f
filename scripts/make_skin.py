#!/usr/bin/env python3
"""Draws the scrollbar skin data/skin/mask/scrollbar.png (a dark look for a black editor).

Only the standard library is used (zlib and struct write the PNG), so the image can be
regenerated anywhere:  python3 scripts/make_skin.py [output.png]

Layout of the image (all pieces 17 pixels thick, opaque magenta 0xFF00FF marks sizes):
  horizontal track      (0, 0, 204, 17) normal, (0, 17, 204, 17) pressed
  row 35                marker row: left cap run from x 0, right cap run leftwards from x 203;
                        pixel (0, 35) being magenta makes the image "marked"
  horizontal thumb      x from 0, y 37 / 54 / 71 (normal / hot / pressed); part lengths are the
                        alternating runs (magenta, other, magenta, other, magenta) along row 89
  vertical thumb        x 0 / 17 / 34 (normal / hot / pressed), from y 91; part heights are the
                        alternating runs down column 52 from row 91
  arrow cells 17 x 17   x 116 / 133 / 150 (normal / hot / pressed); y 121 up, 141 left,
                        161 right, 181 down
  vertical track        (170, 37, 17, 201) normal, (187, 37, 17, 201) pressed; caps are the
                        magenta runs down column 168 from row 37 and up from row 237
"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 204, 240
PIECE = 17
MAGENTA = (255, 0, 255, 255)
CLEAR = (0, 0, 0, 0)

# Piece sizes written into the marker runs.
TRACK_CAP = 6                      # vertical track caps (rows)
HTRACK_CAP = 6                     # horizontal track caps (columns)
THUMB_PARTS = (8, 16, 18, 16, 8)   # cap, body, grip, body, cap
THUMB_LENGTH = sum(THUMB_PARTS)

# Colours of the dark look.
TRACK_EDGE = (0x1A, 0x1A, 0x1A)
TRACK_FILL = (0x22, 0x22, 0x22)
TRACK_PRESSED_EDGE = (0x20, 0x20, 0x2C)
TRACK_PRESSED_FILL = (0x2A, 0x2A, 0x3C)
THUMB = {  # body, rim, grip light, grip dark
    "normal": ((0x58, 0x58, 0x58), (0x48, 0x48, 0x48), (0x78, 0x78, 0x78), (0x40, 0x40, 0x40)),
    "hot": ((0x78, 0x78, 0x78), (0x66, 0x66, 0x66), (0x9A, 0x9A, 0x9A), (0x58, 0x58, 0x58)),
    "pressed": ((0x78, 0x78, 0xE8), (0x60, 0x60, 0xC0), (0xA8, 0xA8, 0xFF), (0x50, 0x50, 0xA8)),
}
ARROW = {  # cell, glyph
    "normal": ((0x22, 0x22, 0x22), (0x8C, 0x8C, 0x8C)),
    "hot": ((0x30, 0x30, 0x30), (0xD0, 0xD0, 0xD0)),
    "pressed": ((0x34, 0x34, 0x50), (0x90, 0x90, 0xFF)),
}
STATES = ("normal", "hot", "pressed")


class Image:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = [[CLEAR] * width for _ in range(height)]

    def put(self, x, y, rgba):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = rgba

    def fill(self, x, y, w, h, rgba):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, rgba)

    def png(self):
        raw = bytearray()
        for row in self.pixels:
            raw.append(0)  # no filter
            for r, g, b, a in row:
                raw += bytes((r, g, b, a))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def coverage(inside, x, y, samples=4):
    """Fraction of the pixel (x, y) for which inside(px, py) holds."""
    hits = 0
    for sy in range(samples):
        for sx in range(samples):
            if inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def opaque(rgb):
    return (rgb[0], rgb[1], rgb[2], 255)


def track_column(i, edge, fill):
    """Colour of column i across a track piece: darker rims, a flat middle."""
    return edge if i in (0, PIECE - 1) else fill


def draw_vertical_track(img, x0, edge, fill):
    for y in range(37, 238):
        for i in range(PIECE):
            colour = track_column(i, edge, fill)
            # The caps close the groove with one rim row at each end.
            if y in (37, 237):
                colour = edge
            img.put(x0 + i, y, opaque(colour))


def draw_horizontal_track(img, y0, edge, fill):
    for x in range(204):
        for i in range(PIECE):
            colour = track_column(i, edge, fill)
            if x in (0, 203):
                colour = edge
            img.put(x, y0 + i, opaque(colour))


def rounded_rect(left, top, right, bottom, radius):
    def inside(px, py):
        if not (left <= px <= right and top <= py <= bottom):
            return False
        cx = min(max(px, left + radius), right - radius)
        cy = min(max(py, top + radius), bottom - radius)
        return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius
    return inside


def draw_thumb(img, x0, y0, state, vertical=True):
    body, rim, grip_light, grip_dark = THUMB[state]
    across, along = PIECE, THUMB_LENGTH
    outer = rounded_rect(3, 1, 14, along - 1, 5.5)
    inner = rounded_rect(4, 2, 13, along - 2, 4.5)
    grip_centre = THUMB_PARTS[0] + THUMB_PARTS[1] + THUMB_PARTS[2] // 2
    for a in range(along):
        for c in range(across):
            cover = coverage(outer, c, a)
            if cover == 0:
                continue
            colour = body if coverage(inner, c, a) == 1 else rim
            # Three ridges across the middle of the grip, each a light line over a dark one.
            if 6 <= c <= 10 and a - grip_centre in (-4, 0, 4):
                colour = grip_light
            elif 6 <= c <= 10 and a - grip_centre in (-3, 1, 5):
                colour = grip_dark
            rgba = (colour[0], colour[1], colour[2], round(255 * cover))
            if vertical:
                img.put(x0 + c, y0 + a, rgba)
            else:
                img.put(x0 + a, y0 + c, rgba)


def triangle(direction):
    """Inside-test for an arrow glyph in a 17 x 17 cell."""
    cx, cy, half, depth = 8.5, 8.5, 4.5, 4.5

    def inside(px, py):
        # Work in the frame of an up arrow: u across, v along (tip at v = 0).
        if direction == "up":
            u, v = px - cx, py - (cy - depth / 2)
        elif direction == "down":
            u, v = px - cx, (cy + depth / 2) - py
        elif direction == "left":
            u, v = py - cy, px - (cx - depth / 2)
        else:
            u, v = py - cy, (cx + depth / 2) - px
        return 0 <= v <= depth and abs(u) <= half * v / depth
    return inside


def draw_arrow(img, x0, y0, direction, state):
    cell, glyph = ARROW[state]
    inside = triangle(direction)
    for y in range(PIECE):
        for x in range(PIECE):
            cover = coverage(inside, x, y)
            colour = tuple(round(cell[i] + (glyph[i] - cell[i]) * cover) for i in range(3))
            img.put(x0 + x, y0 + y, opaque(colour))


def draw_marker_runs(img, start, step, runs):
    """Writes alternating marker / clear runs starting with a marker run."""
    x, y = start
    for index, length in enumerate(runs):
        for _ in range(length):
            img.put(x, y, MAGENTA if index % 2 == 0 else CLEAR)
            x, y = x + step[0], y + step[1]


def build():
    img = Image(WIDTH, HEIGHT)
    draw_horizontal_track(img, 0, TRACK_EDGE, TRACK_FILL)
    draw_horizontal_track(img, 17, TRACK_PRESSED_EDGE, TRACK_PRESSED_FILL)
    # Row 35: horizontal track caps; its first pixel also marks the image.
    draw_marker_runs(img, (0, 35), (1, 0), (HTRACK_CAP,))
    draw_marker_runs(img, (203, 35), (-1, 0), (HTRACK_CAP,))

    for i, state in enumerate(STATES):
        draw_thumb(img, 0, 37 + 17 * i, state, vertical=False)
        draw_thumb(img, 17 * i, 91, state, vertical=True)
    draw_marker_runs(img, (0, 89), (1, 0), THUMB_PARTS)
    draw_marker_runs(img, (52, 91), (0, 1), THUMB_PARTS)

    for i, state in enumerate(STATES):
        for direction, y in (("up", 121), ("left", 141), ("right", 161), ("down", 181)):
            draw_arrow(img, 116 + 17 * i, y, direction, state)

    draw_vertical_track(img, 170, TRACK_EDGE, TRACK_FILL)
    draw_vertical_track(img, 187, TRACK_PRESSED_EDGE, TRACK_PRESSED_FILL)
    draw_marker_runs(img, (168, 37), (0, 1), (TRACK_CAP,))
    draw_marker_runs(img, (168, 237), (0, -1), (TRACK_CAP,))
    return img


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "data", "skin", "mask", "scrollbar.png")
    out = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    with open(out, "wb") as f:
        f.write(build().png())


if __name__ == "__main__":
    main()
