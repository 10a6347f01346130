#!/usr/bin/env python3
"""Draw the gate and button artwork used by Velkora and write it as BMP files, and the
application icon that menus and software centres show, as PNG files of every usual size
and as SVG (icons/).

Usage: make_images.py [OUTPUT_DIR]    (default: img/ at the repository root)

Only the standard library is used so the images can be regenerated on any
machine with Python 3.  Everything is drawn on a supersampled canvas and
averaged down, which gives cheap anti-aliasing without any clever maths.
"""
import math
import os
import struct
import sys
import zlib

SS = 4                        # supersampling factor per axis
INK = (30, 34, 40)            # strokes and labels
PAPER = (250, 250, 250)       # background
BODY = (226, 235, 248)        # pale fill that makes the gate body stand out
STROKE = 2.5                  # line width in pixels

# 5x7 glyphs for the few letters the labels need ('#' = ink).
FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "N": ["#...#", "##..#", "#.#.#", "#.#.#", "#.#.#", "#..##", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "X": ["#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"],
}


class Canvas:
    """RGB image drawn at SS times the output resolution."""

    def __init__(self, width, height, background=PAPER):
        self.width, self.height = width, height
        self.sw, self.sh = width * SS, height * SS
        self.px = [background] * (self.sw * self.sh)

    def _span(self, lo, hi, limit):
        # Sample indices whose centres (in pixel units) lie in [lo, hi].
        return max(0, math.ceil(lo * SS - 0.5)), min(limit, math.floor(hi * SS - 0.5) + 1)

    def fill_polygon(self, pts, colour):
        """Even-odd scanline fill; colour may be a function of (x, y)."""
        shade = colour if callable(colour) else (lambda x, y: colour)
        edges = list(zip(pts, pts[1:] + pts[:1]))
        j0, j1 = self._span(min(p[1] for p in pts), max(p[1] for p in pts), self.sh)
        for j in range(j0, j1):
            y = (j + 0.5) / SS
            xs = sorted(x1 + (y - y1) * (x2 - x1) / (y2 - y1)
                        for (x1, y1), (x2, y2) in edges if (y1 <= y) != (y2 <= y))
            for xa, xb in zip(xs[::2], xs[1::2]):
                i0, i1 = self._span(xa, xb, self.sw)
                for i in range(i0, i1):
                    self.px[j * self.sw + i] = shade((i + 0.5) / SS, y)

    def stroke(self, pts, colour=INK, width=STROKE, closed=False):
        """Paint every sample within width/2 of the polyline (round caps)."""
        r = width / 2
        segs = list(zip(pts, pts[1:] + pts[:1] if closed else pts[1:]))
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            ll = dx * dx + dy * dy or 1e-12
            i0, i1 = self._span(min(ax, bx) - r, max(ax, bx) + r, self.sw)
            j0, j1 = self._span(min(ay, by) - r, max(ay, by) + r, self.sh)
            for j in range(j0, j1):
                y = (j + 0.5) / SS
                for i in range(i0, i1):
                    x = (i + 0.5) / SS
                    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
                    if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= r * r:
                        self.px[j * self.sw + i] = colour

    def text(self, label, cx, cy, scale=2, colour=INK, gap=2):
        """Draw label with the bitmap font, centred on (cx, cy)."""
        w = len(label) * 5 * scale + (len(label) - 1) * gap
        x0, y0 = round(cx - w / 2), round(cy - 7 * scale / 2)
        for n, ch in enumerate(label):
            gx = x0 + n * (5 * scale + gap)
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "#":
                        x, y = gx + col * scale, y0 + row * scale
                        self.fill_polygon([(x, y), (x + scale, y),
                                           (x + scale, y + scale), (x, y + scale)], colour)

    def save_bmp(self, path):
        """Average the samples down and write an uncompressed 24-bit BMP."""
        row_size = (self.width * 3 + 3) & ~3
        data = bytearray()
        for y in reversed(range(self.height)):          # BMP rows run bottom-up
            row = bytearray()
            for x in range(self.width):
                acc = [0, 0, 0]
                for j in range(y * SS, y * SS + SS):
                    for c in self.px[j * self.sw + x * SS: j * self.sw + x * SS + SS]:
                        acc[0] += c[0]; acc[1] += c[1]; acc[2] += c[2]
                n = SS * SS
                row += bytes((round(acc[2] / n), round(acc[1] / n), round(acc[0] / n)))
            data += row + bytes(row_size - len(row))
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0,
                           len(data), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + data)

    def save_png(self, path):
        """Average the samples down into an RGBA PNG; samples left as None are transparent."""
        data = bytearray()
        for y in range(self.height):
            data.append(0)                              # filter type: none
            for x in range(self.width):
                inked = [c for j in range(y * SS, y * SS + SS)
                         for c in self.px[j * self.sw + x * SS: j * self.sw + x * SS + SS]
                         if c is not None]
                n = len(inked) or 1
                data += bytes(round(sum(c[k] for c in inked) / n) for k in range(3))
                data.append(round(255 * len(inked) / (SS * SS)))

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + \
                struct.pack(">I", zlib.crc32(kind + body))
        ihdr = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
                    chunk(b"IDAT", zlib.compress(bytes(data), 9)) + chunk(b"IEND", b""))


def arc(cx, cy, r, a0, a1, steps=48):
    """Points along a circular arc from angle a0 to a1 (radians, y down)."""
    return [(cx + r * math.cos(a0 + (a1 - a0) * k / steps),
             cy + r * math.sin(a0 + (a1 - a0) * k / steps)) for k in range(steps + 1)]


def circle(cx, cy, r):
    return arc(cx, cy, r, 0, 2 * math.pi, 64)[:-1]


# --- logic gates (128x64): inputs at y=16 and y=48, output at y=32 ---------

TOP, BOTTOM, MID = 8, 56, 32
BUBBLE_R = 4


def back_curve(x_end, depth=8):
    """Concave back of OR/XOR: passes (x_end, 8), (x_end+depth, 32), (x_end, 56).

    Returns the arc points (bottom to top) and a function giving its x at a y.
    """
    half = (BOTTOM - TOP) / 2
    r = (depth * depth + half * half) / (2 * depth)
    a = math.asin(half / r)
    cx = x_end + depth - r
    return arc(cx, MID, r, a, -a), lambda y: cx + math.sqrt(r * r - (y - MID) ** 2)


def and_body():
    x0, x1, r = 32, 70, 24
    return [(x0, TOP)] + arc(x1, MID, r, -math.pi / 2, math.pi / 2) + [(x0, BOTTOM)], x1 + r


def or_body():
    x0, flat, tip = 32, 50, 102
    half = (BOTTOM - TOP) / 2
    # Each front edge runs flat for a little, then bends along an arc that
    # leaves horizontally and meets its mirror image at the tip.
    r = ((tip - flat) ** 2 + half * half) / (2 * half)
    a_tip = math.atan2(MID - (TOP + r), tip - flat)
    top = [(x0, TOP)] + arc(flat, TOP + r, r, -math.pi / 2, a_tip)
    bottom = [(x, 2 * MID - y) for x, y in reversed(top)]
    return top + bottom[1:] + back_curve(x0)[0][1:-1], tip


def draw_gate(kind):
    c = Canvas(128, 64)
    base = kind[1:] if kind in ("NAND", "NOR", "NXOR") else kind
    body, front = and_body() if base == "AND" else or_body()
    # Leads first: the body fill hides whatever part runs under it.  XOR
    # leads stop at the extra back line instead, leaving the usual gap.
    extra, extra_x = back_curve(24)
    for y in (16, 48):
        c.stroke([(-2, y), (extra_x(y) if base == "XOR" else 48, y)])
    out = front + 2 * BUBBLE_R + 1 if kind != base else front
    c.stroke([(out, MID), (130, MID)])
    if base == "XOR":
        c.stroke(extra)
    c.fill_polygon(body, BODY)
    c.stroke(body, closed=True)
    if kind != base:
        draw_bubble(c, front + BUBBLE_R + 0.5)
    c.text(kind, 61 if base == "AND" else 68, MID)
    return c


def draw_bubble(c, cx):
    c.fill_polygon(circle(cx, MID, BUBBLE_R), PAPER)
    c.stroke(circle(cx, MID, BUBBLE_R), closed=True)


def draw_not():
    c = Canvas(128, 64)
    x0, tip = 28, 96
    c.stroke([(-2, MID), (x0 + 4, MID)])
    c.stroke([(tip + 2 * BUBBLE_R + 1, MID), (130, MID)])
    tri = [(x0, TOP), (tip, MID), (x0, BOTTOM)]
    c.fill_polygon(tri, BODY)
    c.stroke(tri, closed=True)
    draw_bubble(c, tip + BUBBLE_R + 0.5)
    c.text("NOT", 53, MID)
    return c


# --- push button (64x64): the pin covers x 56..72, y 24..40 ----------------

def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def draw_button(pressed):
    c = Canvas(64, 64)
    cx, cy = 28, 32
    # Dark bezel shared by both states so the pair reads as the same control.
    c.fill_polygon(circle(cx, cy, 26), (64, 66, 72))
    c.fill_polygon(circle(cx, cy, 23), (40, 42, 46))
    if pressed:
        lo, hi = (24, 120, 40), (120, 240, 120)
        # Lit from inside and shaded top-left, so the cap looks pushed in.
        shade = lambda x, y: mix(hi, lo, (math.hypot(x - cx - 3, y - cy - 3) - 4) / 20)
        # A dark crescent along the top-left rim reads as the bezel's shadow.
        c.fill_polygon(circle(cx, cy, 21), (16, 70, 28))
        c.fill_polygon(circle(cx + 1, cy + 1, 20), shade)
        c.text("ON", cx + 1, cy + 1, colour=(250, 255, 250))
    else:
        lo, hi = (120, 122, 128), (236, 236, 240)
        # Highlight top-left, darker bottom-right: a raised, unlit cap.
        shade = lambda x, y: mix(hi, lo, (math.hypot(x - cx + 8, y - cy + 8)) / 34)
        c.fill_polygon(circle(cx - 1, cy - 1, 21), shade)
        c.text("OFF", cx - 1, cy - 1, colour=(70, 72, 78))
    return c


# --- application icon: an AND gate lighting a lamp, on a rounded tile -------------
# Drawn in a 128-unit square, scaled to each size the menus and panels ask for, and
# once more as SVG for any other size.

ICON_SIZES = (16, 24, 32, 48, 64, 128, 192, 256, 512)
MASKABLE_SIZES = (180, 512)


def draw_icon(c, size=128, bleed=False):
    """The tile with its corners rounded; with `bleed`, the tile fills the square and the
    drawing keeps to the middle circle of 80 % that every launcher's mask leaves whole (a
    maskable icon, and Apple's touch icon, which gets its corners from the system)."""
    k = size / 128
    shrink = 0.8 if bleed else 1
    at = lambda pts: [((64 + (x - 64) * shrink) * k, (64 + (y - 64) * shrink) * k)
                      for x, y in pts]
    line = lambda w, least=1.25: max(w * k * shrink, least)  # thin lines would fade at 16 px
    corners = ((108, 108, 0), (20, 108, 0.5), (20, 20, 1), (108, 20, 1.5))
    tile = [p for cx, cy, a in corners
            for p in arc(cx, cy, 16, a * math.pi, (a + 0.5) * math.pi, 12)]
    square = [(0, 0), (size, 0), (size, size), (0, size)]
    c.fill_polygon(square if bleed else at(tile), (52, 154, 250))
    # The gate artwork's AND body, its leads starting inside the tile.
    place = lambda pts: at([(x - 6, y + 32) for x, y in pts])
    body, front = and_body()
    for y in (16, 48):
        c.stroke(place([(18, y), (40, y)]), width=line(5))
    c.stroke(place([(front, MID), (106, MID)]), width=line(5))
    c.fill_polygon(place(body), BODY)
    c.stroke(place(body), closed=True, width=line(5))
    c.fill_polygon(at(circle(104, 64, 10)), (3, 252, 15))   # the lamp, lit
    c.stroke(at(circle(104, 64, 10)), closed=True, width=line(4, 0.6))  # keep it lit
    return c


class SvgCanvas:
    """The drawing calls of Canvas, written as SVG shapes instead of pixels."""

    def __init__(self, size):
        self.size, self.shapes = size, []

    def _points(self, pts):
        return " ".join("%.2f,%.2f" % p for p in pts)

    def fill_polygon(self, pts, colour):
        self.shapes.append('<polygon points="%s" fill="#%02x%02x%02x"/>'
                           % ((self._points(pts),) + colour))

    def stroke(self, pts, colour=INK, width=STROKE, closed=False):
        self.shapes.append('<%s points="%s" fill="none" stroke="#%02x%02x%02x" stroke-width="%g" '
                           'stroke-linecap="round" stroke-linejoin="round"/>'
                           % (("polygon" if closed else "polyline", self._points(pts)) + colour
                              + (width,)))

    def save_svg(self, path):
        with open(path, "w") as f:
            f.write('<svg xmlns="http://www.w3.org/2000/svg" width="{0}" height="{0}" '
                    'viewBox="0 0 {0} {0}">\n{1}\n</svg>\n'
                    .format(self.size, "\n".join(self.shapes)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, os.pardir, "img")
    os.makedirs(out_dir, exist_ok=True)
    images = {k: draw_gate(k) for k in ("AND", "NAND", "OR", "NOR", "XOR", "NXOR")}
    images["NOT"] = draw_not()
    images["ButtonPressed"] = draw_button(True)
    images["ButtonReleased"] = draw_button(False)
    for name, canvas in images.items():
        path = os.path.join(out_dir, name + ".bmp")
        canvas.save_bmp(path)
        print("wrote", os.path.normpath(path))
    os.makedirs(os.path.join(out_dir, "icons"), exist_ok=True)
    icons = {"%d.png" % size: draw_icon(Canvas(size, size, background=None), size).save_png
             for size in ICON_SIZES}
    icons["scalable.svg"] = draw_icon(SvgCanvas(128)).save_svg
    # The page's icons for home screens: maskable (Android) and Apple's touch icon.
    for size in MASKABLE_SIZES:
        icons["maskable/%d.png" % size] = draw_icon(Canvas(size, size, background=None),
                                                    size, bleed=True).save_png
    os.makedirs(os.path.join(out_dir, "icons", "maskable"), exist_ok=True)
    for name, save in icons.items():
        path = os.path.join(out_dir, "icons", name)
        save(path)
        print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
