#!/usr/bin/env python3
"""Draws StatusLed.bmp, the LED picture strip: 48 x 128 pixels, 16 colours, 16 x 16 cells.

Columns are the states (lit, dark, grey); rows are red, green, yellow and blue LEDs, first
round, then square. Magenta is the transparent colour. Run it from this folder to redraw the
strip after changing the drawing below."""

import math
import struct

PALETTE = [
    (255, 0, 255),    # 0 transparent
    (0, 0, 0),        # 1
    (255, 255, 255),  # 2 glare
    (64, 64, 64),     # 3 outline
    (128, 128, 128),  # 4
    (192, 192, 192),  # 5
    (255, 32, 32),    # 6 red lit
    (112, 0, 0),      # 7 red dark
    (32, 240, 32),    # 8 green lit
    (0, 96, 0),       # 9 green dark
    (255, 240, 0),    # 10 yellow lit
    (112, 104, 0),    # 11 yellow dark
    (48, 112, 255),   # 12 blue lit
    (0, 24, 112),     # 13 blue dark
    (255, 255, 208),  # 14 warm glare
    (160, 160, 164),  # 15 grey body
]
LIT, DARK = {0: 6, 1: 8, 2: 10, 3: 12}, {0: 7, 1: 9, 2: 11, 3: 13}
CELL, WIDTH, HEIGHT = 16, 48, 128


def round_cell(colour, state):
    cell = [[0] * CELL for _ in range(CELL)]
    for y in range(CELL):
        for x in range(CELL):
            dx, dy = x + 0.5 - 8, y + 0.5 - 8
            d = math.hypot(dx, dy)
            glare = math.hypot(dx + 2.5, dy + 2.5)
            if d > 7.2:
                continue
            if d > 6.0:
                cell[y][x] = 3 if state != 2 else 4
            elif state == 0:
                cell[y][x] = 2 if glare < 1.5 else 14 if glare < 2.3 else LIT[colour]
            elif state == 1:
                cell[y][x] = 4 if glare < 1.2 else DARK[colour]
            else:
                cell[y][x] = 2 if glare < 1.5 else 15
    return cell


def square_cell(colour, state):
    cell = [[0] * CELL for _ in range(CELL)]
    for y in range(2, 14):
        for x in range(2, 14):
            corner = (x in (2, 13)) and (y in (2, 13))
            if corner:
                continue
            edge = x in (2, 13) or y in (2, 13)
            glare = 4 <= x <= 8 and 4 <= y <= 5
            if edge:
                cell[y][x] = 3 if state != 2 else 4
            elif state == 0:
                cell[y][x] = 2 if glare else LIT[colour]
            elif state == 1:
                cell[y][x] = 4 if glare and y == 4 and x < 6 else DARK[colour]
            else:
                cell[y][x] = 2 if glare else 15
    return cell


def strip():
    pixels = [[0] * WIDTH for _ in range(HEIGHT)]
    for row in range(8):
        colour, shape = row % 4, row // 4
        for state in range(3):
            cell = (round_cell if shape == 0 else square_cell)(colour, state)
            for y in range(CELL):
                for x in range(CELL):
                    pixels[row * CELL + y][state * CELL + x] = cell[y][x]
    return pixels


def write_bmp(path, pixels):
    stride = WIDTH // 2
    image = bytearray()
    for y in reversed(range(HEIGHT)):
        row = pixels[y]
        for x in range(0, WIDTH, 2):
            image.append((row[x] << 4) | row[x + 1])
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, stride * HEIGHT, 2835, 2835,
                       16, 0)
    with open(path, "wb") as out:
        out.write(header + info + palette + image)


if __name__ == "__main__":
    write_bmp("StatusLed.bmp", strip())
