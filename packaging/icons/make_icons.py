#!/usr/bin/env python3
"""Draws the program's icon for the desktop's hicolor theme, ventora-SIZE.png in this folder for
each size the package installs: a cup anemometer seen from above, white on a sky-blue tile.

The shapes and the rasteriser are those of the viewers' pictures (controls/res/make_icons.py):
edges smoothed by sampling, the background transparent. Run it from this folder after changing
the drawing; it needs nothing beyond the Python standard library."""

import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "controls", "res"))
from make_icons import BLUE, NAVY, SKY, WHITE, ellipse, line, rect, render, write_png  # noqa: E402

SIZES = (16, 24, 32, 48, 64, 128, 256)


def tile(x0, y0, x1, y1, r):
    """A rectangle with corners rounded to radius r."""
    return [rect(x0 + r, y0, x1 - r, y1), rect(x0, y0 + r, x1, y1 - r),
            ellipse(x0 + r, y0 + r, r), ellipse(x1 - r, y0 + r, r),
            ellipse(x0 + r, y1 - r, r), ellipse(x1 - r, y1 - r, r)]


def anemometer(size):
    """Drawn on a 64-unit grid, scaled to size."""
    k = size / 64
    c = 32 * k
    layers = [(NAVY, tile(0, 0, size, size, 12 * k)),
              (BLUE, tile(2 * k, 2 * k, size - 2 * k, size - 2 * k, 10 * k))]
    arm, cup = 17 * k, 9 * k
    for degrees in (90, 210, 330):
        a = math.radians(degrees)
        x, y = c + arm * math.cos(a), c - arm * math.sin(a)
        layers.append((WHITE, line(c, c, x, y, max(1.0, 3.2 * k))))
        layers.append((WHITE, ellipse(x, y, cup)))
        # The hollow of the cup, open towards the turning direction.
        turn = a + math.pi / 2
        layers.append((SKY, ellipse(x + 2.5 * k * math.cos(turn), y - 2.5 * k * math.sin(turn),
                                    cup * 0.55)))
    layers.append((WHITE, ellipse(c, c, 5 * k)))
    layers.append((NAVY, ellipse(c, c, 2 * k)))
    return layers


def main():
    for size in SIZES:
        write_png("ventora-%d.png" % size, render(size, anemometer(size)))


if __name__ == "__main__":
    main()
