#!/usr/bin/env python3
"""Draws the shared state's seven drag and split cursors as 32 x 32
monochrome .cur files. Usage: draw_toolkit_cursors.py OUTPUT_FOLDER"""
import os
import struct
import sys

SIZE = 32

# The arrow every drag cursor starts from: rows of (first, last) outline
# columns; the inside is white, the outline black.
ARROW_ROWS = [(0, i) for i in range(0, 12)] + [(0, 5), (0, 3), (0, 2), (0, 1)]


class Cursor:
    def __init__(self, hotspot):
        self.hotspot = hotspot
        self.shape = [[None] * SIZE for _ in range(SIZE)]  # None transparent, 0 black, 1 white

    def put(self, x, y, value):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.shape[y][x] = value

    def box(self, x0, y0, w, h, fill):
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                self.put(x, y, 0 if x in (x0, x0 + w - 1) or y in (y0, y0 + h - 1) else fill)

    def arrow(self):
        for y, (first, last) in enumerate(ARROW_ROWS):
            for x in range(first, last + 1):
                self.put(x, y, 0 if x in (first, last) or y == len(ARROW_ROWS) - 1 else 1)

    def encode(self):
        def rows(bit_of):
            data = b""
            for y in reversed(range(SIZE)):
                value = 0
                for x in range(SIZE):
                    value = value << 1 | bit_of(self.shape[y][x])
                data += struct.pack(">I", value)
            return data
        xor = rows(lambda p: 1 if p == 1 else 0)
        mask = rows(lambda p: 1 if p is None else 0)
        header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
        image = header + struct.pack("<II", 0, 0xFFFFFF) + xor + mask
        directory = struct.pack("<HHH", 0, 2, 1)
        entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, self.hotspot[0], self.hotspot[1], len(image), 6 + 16)
        return directory + entry + image


def drag(sign):
    c = Cursor((0, 0))
    c.arrow()
    c.box(12, 18, 11, 11, 1)
    for x, y in sign:
        c.put(12 + x, 18 + y, 0)
    return c


def plus():
    return [(5, y) for y in range(2, 9)] + [(x, 5) for x in range(2, 9)]


def cross():
    return [(i, i) for i in range(2, 9)] + [(10 - i, i) for i in range(2, 9)]


def no_drop():
    c = Cursor((15, 15))
    for y in range(SIZE):
        for x in range(SIZE):
            d = ((x - 15) ** 2 + (y - 15) ** 2) ** 0.5
            if 7 <= d <= 10:
                c.put(x, y, 0)
            elif d < 7 and abs((x - 15) - (y - 15)) <= 1:
                c.put(x, y, 0)
            elif d < 7:
                c.put(x, y, 1)
    return c


def hand():
    c = Cursor((6, 0))
    c.box(5, 0, 4, 12, 1)  # the pointing finger
    c.box(5, 10, 13, 12, 1)  # the palm
    for x in (9, 12, 15):
        c.box(x, 8, 4, 5, 1)
    return c


def split(vertical):
    c = Cursor((15, 15))
    for i in range(SIZE):
        for j in (13, 14, 16, 17):
            c.put(j, i, 0) if not vertical else c.put(i, j, 0)
    for k in range(1, 6):
        for spread in range(-k + 1, k):
            for x, y in ((7 + k, 15 + spread), (23 - k, 15 + spread)):  # tips point outwards
                c.put(x, y, 0) if not vertical else c.put(y, x, 0)
    return c


CURSORS = {
    "drag_copy.cur": drag(plus()),
    "drag_move.cur": drag([]),
    "hand.cur": hand(),
    "split_column.cur": split(False),
    "no_drop.cur": no_drop(),
    "split_row.cur": split(True),
    "drag_delete.cur": drag(cross()),
}

if __name__ == "__main__":
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, cursor in CURSORS.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(cursor.encode())
