#!/usr/bin/env python3
"""Draws the file viewers' pictures as PNG files in this folder:

- the eight button-bar icons, 32 x 32 (bar_*.png);
- the thirteen channel bitmaps of the table headers, 16 x 16 (channel_00.png .. channel_12.png);
- the row icon of the record table, 16 x 16 (row.png).

Shapes are filled at 4 x 4 samples per pixel, so edges are smoothed and the background stays
transparent. Run it from this folder to redraw the pictures after changing the drawing below;
it needs nothing beyond the Python standard library."""

import math
import struct
import zlib

SAMPLES = 4

# Colours (r, g, b).
INK = (40, 44, 52)
WHITE = (255, 255, 255)
PAPER = (250, 250, 246)
GREY = (150, 154, 160)
LIGHT = (214, 217, 222)
DARK_GREY = (96, 100, 108)
BLUE = (38, 96, 196)
NAVY = (28, 52, 120)
SKY = (120, 176, 236)
RED = (212, 40, 40)
GREEN = (28, 150, 60)
DARK_GREEN = (18, 104, 44)
ORANGE = (236, 140, 20)
YELLOW = (250, 214, 60)
TEAL = (0, 128, 128)
BROWN = (128, 64, 0)
PURPLE = (128, 0, 128)


# --- shapes: each is (bounding box, inside(x, y)) in pixel coordinates --------------------

def rect(x0, y0, x1, y1):
    return (x0, y0, x1, y1), lambda x, y: x0 <= x < x1 and y0 <= y < y1


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return ((cx - rx, cy - ry, cx + rx, cy + ry),
            lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1)


def ring(cx, cy, r, width, start=0, end=360):
    """A circular band of the given width; angles in degrees, 0 to the right, counter-clockwise."""
    outer, inner = r + width / 2, r - width / 2

    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if not inner <= d <= outer:
            return False
        if end - start >= 360:
            return True
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - start) % 360 <= (end - start)
    return (cx - outer, cy - outer, cx + outer, cy + outer), inside


def line(x0, y0, x1, y1, width):
    """A stroke with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy or 1e-9
    half = width / 2

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return math.hypot(x - x0 - t * dx, y - y0 - t * dy) <= half
    return (min(x0, x1) - half, min(y0, y1) - half, max(x0, x1) + half, max(y0, y1) + half), inside


def polyline(points, width):
    return [line(*points[i], *points[i + 1], width) for i in range(len(points) - 1)]


def polygon(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]

    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return (min(xs), min(ys), max(xs), max(ys)), inside


def arrow(x0, y0, x1, y1, width, head):
    """A stroke from (x0, y0) with a filled triangular head at (x1, y1)."""
    angle = math.atan2(y1 - y0, x1 - x0)
    bx, by = x1 - head * math.cos(angle), y1 - head * math.sin(angle)
    nx, ny = -math.sin(angle) * head * 0.6, math.cos(angle) * head * 0.6
    return [line(x0, y0, bx, by, width),
            polygon([(x1, y1), (bx + nx, by + ny), (bx - nx, by - ny)])]


# --- rasterising -------------------------------------------------------------------------

def render(size, layers):
    """layers: list of (colour, shape or list of shapes), painted in order."""
    flat = []
    for colour, shapes in layers:
        if not isinstance(shapes, list):
            shapes = [shapes]
        for shape in shapes:
            flat.append((colour, shape))
    pixels = []
    step = 1.0 / SAMPLES
    for py in range(size):
        row = []
        for px in range(size):
            candidates = [(c, s) for c, s in flat
                          if s[0][0] <= px + 1 and s[0][2] >= px and s[0][1] <= py + 1
                          and s[0][3] >= py]
            r = g = b = covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x, y = px + (sx + 0.5) * step, py + (sy + 0.5) * step
                    colour = None
                    for c, s in candidates:
                        if s[1](x, y):
                            colour = c
                    if colour is not None:
                        r, g, b = r + colour[0], g + colour[1], b + colour[2]
                        covered += 1
            if covered:
                row.append((r // covered, g // covered, b // covered,
                            round(255 * covered / SAMPLES ** 2)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def write_png(path, pixels):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


# --- the button-bar icons (32 x 32) ------------------------------------------------------

def sheet(x0, y0, x1, y1):
    """A sheet of paper with an outline."""
    return [(INK, rect(x0, y0, x1, y1)), (PAPER, rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1))]


def table_sheet(x0, y0, x1, y1):
    layers = sheet(x0, y0, x1, y1)
    layers.append((BLUE, rect(x0 + 1, y0 + 1, x1 - 1, y0 + 5)))
    for y in range(y0 + 8, y1 - 1, 4):
        layers.append((GREY, rect(x0 + 2, y, x1 - 2, y + 1)))
    for x in range(x0 + 7, x1 - 2, 6):
        layers.append((GREY, rect(x, y0 + 5, x + 1, y1 - 2)))
    return layers


def chart_sheet(x0, y0, x1, y1):
    layers = sheet(x0, y0, x1, y1)
    layers.append((DARK_GREY, rect(x0 + 3, y0 + 3, x0 + 4, y1 - 3)))
    layers.append((DARK_GREY, rect(x0 + 3, y1 - 4, x1 - 3, y1 - 3)))
    w, h = x1 - x0, y1 - y0
    points = [(x0 + 5, y0 + h * 0.70), (x0 + w * 0.38, y0 + h * 0.40), (x0 + w * 0.58, y0 + h * 0.58),
              (x1 - 4, y0 + 5)]
    layers.append((RED, polyline(points, 2.0)))
    return layers


def copy_back(x0, y0, x1, y1):
    """The sheet behind the copied one."""
    return [(GREY, rect(x0, y0, x1, y1)), (LIGHT, rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1))]


def icon_save_as():
    layers = [(NAVY, polygon([(3, 3), (25, 3), (29, 7), (29, 29), (3, 29)])),
              (BLUE, polygon([(4, 4), (24.5, 4), (28, 7.5), (28, 28), (4, 28)])),
              (LIGHT, rect(9, 4, 23, 12)),
              (NAVY, rect(18, 5, 21, 11)),
              (PAPER, rect(7, 16, 25, 28)),
              (GREY, rect(9, 19, 23, 20)), (GREY, rect(9, 22, 23, 23)), (GREY, rect(9, 25, 17, 26))]
    # A pencil across the corner: "save under another name".
    layers += [(INK, line(17, 29, 29.5, 16.5, 5.2)),
               (YELLOW, line(18.6, 27.4, 28.6, 17.4, 3.0)),
               (ORANGE, polygon([(15.3, 30.7), (16.4, 26.6), (19.4, 29.6)]))]
    return layers


def icon_copy_table():
    return copy_back(3, 2, 21, 22) + table_sheet(10, 9, 30, 30)


def icon_copy_graph():
    return copy_back(3, 2, 21, 22) + chart_sheet(10, 9, 30, 30)


def magnifier(sign):
    layers = [(INK, line(19, 19, 28.5, 28.5, 5.5)),
              (DARK_GREY, line(20, 20, 28, 28, 3.0)),
              (INK, ellipse(13, 13, 10.5)),
              (SKY, ellipse(13, 13, 8.2)),
              (WHITE, ring(13, 13, 5.6, 1.6, 100, 170)),
              (INK, rect(8, 12, 18.5, 14.5))]
    if sign == "+":
        layers.append((INK, rect(12, 7.5, 14.5, 19)))
    return layers


def icon_graph_settings():
    layers = sheet(2, 3, 30, 29)
    for i, colour in enumerate((RED, GREEN, BLUE)):
        y = 8 + 7 * i
        layers += [(INK, rect(5, y, 12, y + 7)), (WHITE, rect(6, y + 1, 11, y + 6)),
                   (INK, polyline([(7, y + 3.5), (8.6, y + 5.2), (11.5, y + 0.5)], 1.5)),
                   (colour, rect(15, y + 2.5, 27, y + 4.5))]
    return layers


def icon_export():
    layers = [(DARK_GREEN, rect(2, 4, 22, 28)), (WHITE, rect(3, 5, 21, 27)),
              (GREEN, rect(3, 5, 21, 10))]
    for y in (14, 18, 22):
        layers.append((GREEN, rect(3, y, 21, y + 1)))
    for x in (9, 15):
        layers.append((GREEN, rect(x, 10, x + 1, 27)))
    layers += [(INK, arrow(12, 20, 30, 20, 5.6, 9.5)), (ORANGE, arrow(13, 20, 28.2, 20, 3.0, 7.0))]
    return layers


def icon_print():
    return [(INK, rect(8, 2, 24, 14)), (PAPER, rect(9, 3, 23, 14)),
            (GREY, rect(11, 6, 21, 7)), (GREY, rect(11, 9, 21, 10)),
            (INK, polygon([(2, 14), (30, 14), (30, 25), (2, 25)])),
            (LIGHT, rect(3, 15, 29, 24)),
            (GREEN, rect(24, 17, 27, 19)),
            (INK, rect(6, 20, 26, 30)), (PAPER, rect(7, 21, 25, 30)),
            (GREY, rect(9, 24, 23, 25)), (GREY, rect(9, 27, 19, 28))]


BAR_ICONS = {
    "bar_saveas": icon_save_as,
    "bar_copytable": icon_copy_table,
    "bar_copygraph": icon_copy_graph,
    "bar_zoomin": lambda: magnifier("+"),
    "bar_zoomout": lambda: magnifier("-"),
    "bar_graphsettings": icon_graph_settings,
    "bar_export": icon_export,
    "bar_print": icon_print,
}


# --- the channel bitmaps and the row icon (16 x 16) --------------------------------------

def thermometer(x, colour):
    return [(INK, line(x, 2.5, x, 10, 4.2)), (WHITE, line(x, 2.5, x, 10, 2.0)),
            (INK, ellipse(x, 12.5, 3.4)), (colour, ellipse(x, 12.5, 2.3)),
            (colour, rect(x - 0.7, 5, x + 0.7, 12))]


def waves(x, y, colour):
    return [(colour, ring(x, y, r, 1.3, -40, 40)) for r in (2.5, 5.0, 7.5)]


CHANNELS = [
    # SoW: wind streaks
    lambda: [(BLUE, polyline([(1.5, 5), (10, 5), (12.5, 3.5), (11, 1.8)], 1.6)),
             (BLUE, polyline([(1.5, 9), (13, 9), (15, 7.5), (13.6, 5.8)], 1.6)),
             (BLUE, line(3.5, 13, 11, 13, 1.6))],
    # Azimuth: compass with its needle
    lambda: [(INK, ellipse(8, 8, 7.2)), (WHITE, ellipse(8, 8, 5.8)),
             (RED, polygon([(8, 2.2), (10, 8), (6, 8)])), (DARK_GREY, polygon([(8, 13.8), (10, 8), (6, 8)]))],
    # Pressure: gauge
    lambda: [(INK, ellipse(8, 9, 7.2)), (WHITE, ellipse(8, 9, 5.8)),
             (GREY, ring(8, 9, 4.6, 1.2, -30, 210)), (RED, line(8, 9, 11.6, 5.4, 1.6)),
             (INK, ellipse(8, 9, 1.4))],
    # Temperature: thermometer
    lambda: thermometer(8, RED),
    # Humidity: a drop
    lambda: [(NAVY, polygon([(8, 0.8), (12.6, 8.5), (3.4, 8.5)])), (NAVY, ellipse(8, 10.4, 4.9)),
             (SKY, polygon([(8, 2.8), (11.4, 8.8), (4.6, 8.8)])), (SKY, ellipse(8, 10.4, 3.7)),
             (WHITE, ring(8, 10.4, 2.4, 1.0, 190, 250))],
    # Ain4: an analogue signal on a terminal
    lambda: [(INK, rect(1, 3, 15, 13)), (LIGHT, rect(2, 4, 14, 12)),
             (GREEN, polyline([(2.5 + i, 8 - 3 * math.sin(i * math.pi / 5.5)) for i in range(12)],
                              1.4))],
    # U: east-west component
    lambda: [(RED, arrow(1.5, 8, 15, 8, 2.0, 5.5))],
    # V: north-south component
    lambda: [(GREEN, arrow(8, 14.5, 8, 1, 2.0, 5.5))],
    # W: vertical component, out of the plane
    lambda: [(BLUE, ring(8, 8, 5.6, 1.8)), (BLUE, ellipse(8, 8, 2.2))],
    # U-V: speed in the horizontal plane
    lambda: [(GREY, rect(1.5, 13.6, 13, 14.6)), (GREY, rect(1.5, 3, 2.5, 14.6)),
             (TEAL, arrow(2, 14, 14.5, 1.5, 2.0, 5.5))],
    # Elevation: an angle above the horizon
    lambda: [(INK, line(1.5, 13.5, 14.5, 13.5, 1.6)), (INK, line(1.5, 13.5, 13.5, 3, 1.6)),
             (ORANGE, ring(1.5, 13.5, 7.5, 1.5, 2, 38))],
    # SoS: a loudspeaker with sound waves
    lambda: [(INK, polygon([(1, 6), (4, 6), (8, 2), (8, 14), (4, 10), (1, 10)]))] + waves(8.5, 8, PURPLE),
    # T.Sonic: thermometer and sound waves
    lambda: thermometer(5, BROWN) + waves(8, 7, PURPLE),
]


def row_icon():
    return [(DARK_GREY, rect(2, 2, 14, 14)), (PAPER, rect(3, 3, 13, 13)),
            (BLUE, rect(3, 3, 13, 6)), (GREY, rect(4, 8, 12, 9)), (GREY, rect(4, 10, 12, 11))]


def main():
    for name, draw in BAR_ICONS.items():
        write_png(name + ".png", render(32, draw()))
    for k, draw in enumerate(CHANNELS):
        write_png("channel_%02d.png" % k, render(16, draw()))
    write_png("row.png", render(16, row_icon()))


if __name__ == "__main__":
    main()
