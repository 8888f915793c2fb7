#!/usr/bin/env python3
"""Draws the bitmaps of the toolkit's dialogs and controls: the tip of the
day's bulb, the edit group's four button images, the browse button's image
strip, the check list's three check boxes and the images of the edit's menu
commands.
Usage: draw_toolkit_dialogs_art.py OUTPUT_FOLDER"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'stub'))
from draw_stub_art import Canvas, write_bmp  # noqa: E402

MAGENTA = (255, 0, 255)  # transparent in the image strips
GREY = (192, 192, 192)   # mapped to the face colour when loaded with the 3-D colours
BLACK = (0, 0, 0)
DARK = (128, 128, 128)
YELLOW = (255, 255, 0)
WHITE = (255, 255, 255)
BLUE = (0, 0, 128)
RED = (192, 0, 0)


def draw_bulb():
    c = Canvas(25, 34, GREY)
    c.disc(12.5, 11.5, 10, lambda d, dx, dy: WHITE if d < 0.4 and dx < 0 and dy < 0 else YELLOW)
    c.fill(8, 21, 9, 3, YELLOW)
    for y in (24, 27, 30):
        c.fill(8, y, 9, 2, DARK)
    c.fill(10, 32, 5, 2, BLACK)
    return c


def draw_strip(count, width, height, pictures, background=MAGENTA):
    c = Canvas(count * width, height, background)
    for index, picture in enumerate(pictures):
        picture(c, index * width, width, height)
    return c


def new_item(c, x, w, h):      # a page with a star
    c.fill(x + 3, y0(h, 10), 7, 10, WHITE)
    c.fill(x + 10, y0(h, 10), 2, 3, YELLOW)


def delete_item(c, x, w, h):   # a cross
    for i in range(8):
        c.put(x + 3 + i, 2 + i, RED)
        c.put(x + 10 - i, 2 + i, RED)


def up_arrow(c, x, w, h):
    for i in range(4):
        c.fill(x + 6 - i, 3 + i, 2 * i + 2, 1, BLACK)
    c.fill(x + 5, 7, 4, 4, BLACK)


def down_arrow(c, x, w, h):
    c.fill(x + 5, 1, 4, 4, BLACK)
    for i in range(4):
        c.fill(x + 3 + i, 5 + i, 8 - 2 * i, 1, BLACK)


def y0(h, inner):
    return (h - inner) // 2


def dots(c, x, w, h):          # the "..." of a browse button
    for i in range(3):
        c.fill(x + 1 + 3 * i, h - 3, 2, 2, BLACK)


def folder(c, x, w, h):
    c.fill(x + 1, 3, 9, 6, YELLOW)
    c.fill(x + 1, 2, 4, 1, YELLOW)


def drop_arrow(c, x, w, h):    # the pop-up menu kind
    for i in range(4):
        c.fill(x + 2 + i, 4 + i, 7 - 2 * i, 1, BLACK)


# The edit menu's command images, on the grey the command image store takes
# as transparent.
def undo_image(c, x, w, h):      # an arrow bending back to the left
    c.fill(x + 5, 4, 7, 2, BLUE)
    c.fill(x + 11, 5, 2, 6, BLUE)
    c.fill(x + 7, 10, 5, 2, BLUE)
    for i in range(4):
        c.fill(x + 2 + i, 5 - i + 0, 1, 1 + 2 * i, BLUE)


def cut_image(c, x, w, h):       # scissors: two blades and two rings
    for i in range(7):
        c.fill(x + 4 + i, 1 + i, 1, 1, BLACK)
        c.fill(x + 11 - i, 1 + i, 1, 1, BLACK)
    for cx in (x + 3, x + 10):
        c.fill(cx, 9, 4, 1, BLUE)
        c.fill(cx, 13, 4, 1, BLUE)
        c.fill(cx - 1, 10, 1, 3, BLUE)
        c.fill(cx + 4, 10, 1, 3, BLUE)


def page(c, x, y, w, h):
    c.fill(x, y, w, h, BLACK)
    c.fill(x + 1, y + 1, w - 2, h - 2, WHITE)
    for row in range(y + 3, y + h - 2, 2):
        c.fill(x + 2, row, w - 4, 1, DARK)


def copy_image(c, x, w, h):      # two pages, one over the other
    page(c, x + 1, 1, 8, 10)
    page(c, x + 6, 4, 8, 10)


def paste_image(c, x, w, h):     # a page on a clipboard
    c.fill(x + 1, 2, 10, 12, (128, 96, 0))
    c.fill(x + 4, 1, 4, 3, DARK)
    page(c, x + 6, 5, 8, 9)


def delete_image(c, x, w, h):    # a red cross
    for i in range(9):
        c.fill(x + 3 + i, 3 + i, 2, 1, RED)
        c.fill(x + 11 - i, 3 + i, 2, 1, RED)


def check_box(state):
    def draw(c, x, w, h):
        c.fill(x, 0, w, h, DARK)
        c.fill(x + 1, 1, w - 2, h - 2, WHITE)
        if state == 1:
            for i in range(5):
                c.fill(x + 3 + i, 6 + min(i, 2) - max(0, i - 2), 1, 2, BLACK)
        elif state == 2:
            c.fill(x + 3, 3, w - 6, h - 6, DARK)
    return draw


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, 'tip_bulb.bmp'), draw_bulb())
    write_bmp(os.path.join(out, 'edit_group.bmp'),
              draw_strip(4, 14, 12, [new_item, delete_item, up_arrow, down_arrow]))
    write_bmp(os.path.join(out, 'browse.bmp'),
              draw_strip(5, 11, 11, [dots, folder, dots, folder, drop_arrow]))
    write_bmp(os.path.join(out, 'check_boxes.bmp'), draw_strip(3, 13, 13, [check_box(i) for i in range(3)]))
    write_bmp(os.path.join(out, 'edit_menu.bmp'),
              draw_strip(5, 16, 15, [undo_image, cut_image, copy_image, paste_image, delete_image], GREY))


if __name__ == '__main__':
    main()
