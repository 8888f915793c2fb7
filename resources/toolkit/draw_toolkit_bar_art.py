#!/usr/bin/env python3
"""Draws the bitmaps of the toolkit's bars: the menu bar's glyphs of an MDI
child's minimise, restore and close buttons, black on the magenta the image
list masks out, one 10 x 10 cell each.
Usage: draw_toolkit_bar_art.py OUTPUT_FOLDER"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'stub'))
from draw_stub_art import Canvas, write_bmp  # noqa: E402

MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)
CELL = 10


def minimise(c, x):       # a bar at the bottom
    c.fill(x + 2, 7, 6, 2, BLACK)


def restore(c, x):        # two windows, the front one lower left
    c.fill(x + 3, 0, 6, 2, BLACK)
    c.fill(x + 8, 2, 1, 3, BLACK)
    c.fill(x + 3, 2, 1, 1, BLACK)
    c.fill(x + 1, 3, 6, 2, BLACK)
    c.fill(x + 1, 5, 1, 4, BLACK)
    c.fill(x + 6, 5, 1, 4, BLACK)
    c.fill(x + 1, 9, 6, 1, BLACK)


def close(c, x):          # a cross two pixels thick
    for i in range(8):
        c.fill(x + 1 + i, 1 + i, 2, 1, BLACK)
        c.fill(x + 7 - i, 1 + i, 2, 1, BLACK)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    c = Canvas(3 * CELL, CELL, MAGENTA)
    for index, glyph in enumerate([minimise, restore, close]):
        glyph(c, index * CELL)
    write_bmp(os.path.join(out, 'menu_bar_glyphs.bmp'), c)


if __name__ == '__main__':
    main()
