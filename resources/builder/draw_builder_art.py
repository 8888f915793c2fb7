#!/usr/bin/env python3
"""Draws the builder's icon and bitmaps: the program icon, the padlock icon of the Build page, the key of the
password prompt (green is transparent), the padlock picture above it, the
about box's maker and product pictures, and the start page's pictures and
bullets (green or white transparent), and the General page's status mark. Usage: draw_builder_art.py OUTPUT_FOLDER"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'stub'))
from draw_stub_art import Canvas, draw_box, mix, write_bmp, write_ico  # noqa: E402

GREEN = (0, 255, 0)  # transparent colour of the builder's bitmaps
GOLD, DARK_GOLD = (240, 180, 40), (120, 80, 10)
BLUE, LIGHT_BLUE = (30, 80, 160), (70, 140, 210)


def draw_key():
    """A gold key on green, 32 x 20."""
    c = Canvas(32, 20, GREEN)
    c.disc(8, 10, 7, lambda r, dx, dy: DARK_GOLD if r > 0.8 else (GREEN if r < 0.35 else GOLD))
    c.fill(15, 8, 16, 4, GOLD)
    c.fill(15, 8, 16, 1, DARK_GOLD)
    c.fill(24, 12, 3, 4, GOLD)
    c.fill(29, 12, 2, 5, GOLD)
    return c


def draw_gradient(width, height, box):
    c = Canvas(width, height, (0, 0, 0))
    for y in range(height):
        c.fill(0, y, width, 1, mix(BLUE, LIGHT_BLUE, y / height))
    if box:
        draw_box(c, (width - box) // 2, (height - box) // 2, box, GOLD, (255, 255, 255))
    return c


def draw_padlock():
    """A padlock on a blue tile, 48 x 48."""
    c = draw_gradient(48, 48, 0)
    c.disc(24, 18, 12, lambda r, dx, dy: (90, 90, 100) if r > 0.62 else mix(BLUE, LIGHT_BLUE, (18 + dy) / 48))
    c.fill(8, 20, 32, 24, GOLD)
    c.fill(8, 20, 32, 2, DARK_GOLD)
    c.disc(24, 30, 4, lambda r, dx, dy: (40, 30, 10))
    c.fill(23, 32, 3, 7, (40, 30, 10))
    return c


WHITE = (255, 255, 255)  # the other transparent colour


def draw_start_banner():
    """The start page's parcel beside the project links, 56 x 56 on green."""
    c = Canvas(56, 56, GREEN)
    draw_box(c, 4, 4, 48, GOLD, BLUE)
    return c


def draw_start_settings():
    """The start page's picture beside the warning and about links, 56 x 40 on white."""
    c = Canvas(56, 40, WHITE)
    c.fill(4, 6, 48, 28, LIGHT_BLUE)
    c.fill(4, 6, 48, 6, BLUE)
    for y in (16, 22, 28):
        c.fill(10, y, 36, 2, WHITE)
    return c


def draw_document_bullet():
    """A page with a folded corner: one recent project, 16 x 16 on white."""
    c = Canvas(16, 16, WHITE)
    c.fill(3, 1, 8, 14, (250, 250, 250))
    c.fill(11, 5, 3, 10, (250, 250, 250))
    for i in range(14):
        c.put(3, 1 + i, (60, 60, 60))
        c.put(13, 1 + i if i > 3 else 5, (60, 60, 60))
        c.put(3 + min(i, 10), 15, (60, 60, 60))
    c.fill(4, 1, 7, 1, (60, 60, 60))
    for i in range(4):
        c.put(10 + i, 1 + i, (60, 60, 60))
    return c


def draw_help_bullet():
    """A round information mark before each help link, 16 x 16 on green."""
    c = Canvas(16, 16, GREEN)
    c.disc(8, 8, 7, lambda r, dx, dy: BLUE if r > 0.75 else LIGHT_BLUE)
    c.fill(7, 3, 2, 2, WHITE)
    c.fill(7, 6, 2, 6, WHITE)
    return c


def draw_link_arrow():
    """An arrow beside each action link, 12 x 12 on white."""
    c = Canvas(12, 12, WHITE)
    for i in range(5):
        c.fill(3 + i, 1 + i, 1, 10 - 2 * i, GOLD)
    return c


MENU_GREY = (192, 192, 192)  # the colour the command image store leaves out
INK, PAPER, RED = (40, 40, 40), (250, 250, 250), (200, 40, 40)


def page(c, x, y, w, h):
    c.fill(x, y, w, h, INK)
    c.fill(x + 1, y + 1, w - 2, h - 2, PAPER)


def glyph_new(c, x):
    page(c, x + 4, 2, 11, 14)


def glyph_open(c, x):
    c.fill(x + 2, 5, 14, 10, DARK_GOLD)
    c.fill(x + 3, 7, 12, 7, GOLD)
    c.fill(x + 2, 4, 6, 2, DARK_GOLD)


def glyph_save(c, x):
    c.fill(x + 2, 2, 14, 14, BLUE)
    c.fill(x + 5, 3, 8, 5, PAPER)
    c.fill(x + 5, 11, 8, 5, INK)


def glyph_cut(c, x):
    for i in range(9):
        c.put(x + 5 + i, 2 + i, INK)
        c.put(x + 13 - i, 2 + i, INK)
    c.disc(x + 5, 13, 3, lambda r, dx, dy: INK if r > 0.5 else MENU_GREY)
    c.disc(x + 13, 13, 3, lambda r, dx, dy: INK if r > 0.5 else MENU_GREY)


def glyph_copy(c, x):
    page(c, x + 2, 2, 9, 11)
    page(c, x + 7, 5, 9, 11)


def glyph_paste(c, x):
    c.fill(x + 3, 3, 12, 13, DARK_GOLD)
    c.fill(x + 6, 2, 6, 3, INK)
    page(c, x + 8, 7, 8, 10)


def glyph_program(c, x):
    draw_box(c, x + 1, 1, 16, GOLD, BLUE)


def glyph_reset(c, x):
    c.disc(x + 9, 9, 7, lambda r, dx, dy: (30, 140, 60) if r > 0.6 and not (dx > 0 and dy < 0) else MENU_GREY)
    c.fill(x + 12, 2, 5, 2, (30, 140, 60))
    c.fill(x + 15, 2, 2, 5, (30, 140, 60))


def glyph_system(c, x):
    c.fill(x + 1, 2, 16, 11, INK)
    c.fill(x + 2, 3, 14, 9, LIGHT_BLUE)
    c.fill(x + 7, 13, 4, 2, INK)
    c.fill(x + 4, 15, 10, 2, INK)


def glyph_home(c, x):
    for i in range(8):
        c.fill(x + 8 - i, 2 + i, 2 + 2 * i, 1, RED)
    c.fill(x + 3, 10, 12, 7, GOLD)
    c.fill(x + 8, 12, 3, 5, DARK_GOLD)


def glyph_letter(colour, rows):
    def draw(c, x):
        c.disc(x + 9, 9, 8, lambda r, dx, dy: colour)
        for y, row in enumerate(rows):
            for i, bit in enumerate(row):
                if bit == '#':
                    c.put(x + 6 + i, 4 + y, PAPER)
    return draw


QUESTION = ['.####.', '##..##', '....##', '...##.', '..##..', '..##..', '......', '..##..', '..##..']
INFORMATION = ['..##..', '..##..', '......', '.###..', '..##..', '..##..', '..##..', '..##..', '.####.']


def glyph_exit(c, x):
    c.fill(x + 2, 2, 8, 14, DARK_GOLD)
    c.fill(x + 3, 3, 6, 12, GOLD)
    c.fill(x + 9, 8, 6, 2, RED)
    for i in range(4):
        c.fill(x + 14 - i, 5 + i, 1, 8 - 2 * i, RED)


def glyph_tip(c, x):
    c.disc(x + 9, 7, 6, lambda r, dx, dy: (250, 230, 60) if r < 0.85 else DARK_GOLD)
    c.fill(x + 7, 13, 5, 3, (120, 120, 120))


def glyph_how_to(c, x):
    """A manual: a blue book with a dark spine and a written label. Menus show
    their images faded towards white, where a white page would all but vanish."""
    c.fill(x + 3, 1, 12, 16, BLUE)
    c.fill(x + 3, 1, 3, 16, INK)
    c.fill(x + 8, 4, 5, 6, PAPER)
    for y in (5, 7):
        c.fill(x + 9, y, 3, 1, INK)


def glyph_offers(c, x):
    """A present."""
    c.fill(x + 2, 6, 14, 11, RED)
    c.fill(x + 1, 5, 16, 3, RED)
    c.fill(x + 8, 5, 2, 12, GOLD)
    c.fill(x + 1, 6, 16, 1, GOLD)
    c.fill(x + 5, 2, 3, 3, GOLD)
    c.fill(x + 10, 2, 3, 3, GOLD)


def glyph_blank(c, x):
    pass


# Strips in the order of their command lists: tool bar 128 and tool bar 99.
FILE_GLYPHS = [glyph_new, glyph_open, glyph_save, glyph_cut, glyph_copy, glyph_paste]
MENU_GLYPHS = [glyph_program, glyph_reset, glyph_system, glyph_home, glyph_letter(BLUE, QUESTION), glyph_exit,
               glyph_tip, glyph_letter(BLUE, INFORMATION), glyph_how_to, glyph_letter((30, 140, 60), QUESTION),
               glyph_offers, glyph_blank]


def draw_strip(glyphs):
    c = Canvas(18 * len(glyphs), 18, MENU_GREY)
    for i, glyph in enumerate(glyphs):
        glyph(c, 18 * i)
    return c


def draw_status_problem():
    """The status line's mark for a zip that cannot be used, 16 x 16 on green."""
    c = Canvas(16, 16, GREEN)
    c.disc(8, 8, 7, lambda r, dx, dy: (200, 30, 30))
    c.fill(7, 3, 2, 7, (255, 255, 255))
    c.fill(7, 11, 2, 2, (255, 255, 255))
    return c


def program_icon(size):
    c = Canvas(size, size, None)
    draw_box(c, 1, 1, size - 2, GOLD, BLUE)
    c.fill(size // 4, size // 4, size // 2, size // 8, (255, 255, 255))
    return c


def secured_icon(size):
    """A padlock: the Build page shows it beside the program icon."""
    c = Canvas(size, size, None)
    u = size / 16
    c.disc(size // 2, int(6 * u), int(4 * u), lambda r, dx, dy: (90, 90, 100) if r > 0.55 else None)
    c.fill(int(3 * u), int(7 * u), int(10 * u), int(8 * u), GOLD)
    c.fill(int(3 * u), int(7 * u), int(10 * u), max(1, int(u)), DARK_GOLD)
    c.fill(int(7 * u), int(10 * u), max(2, int(2 * u)), int(3 * u), (40, 30, 10))
    return c


def button_icon(shape, face):
    """The Options page's 24 x 24 button pictures: load (an open folder), save
    (a disk) and preview (a small window), blue for the about text and gold
    for the custom message."""
    def draw(size):
        c = Canvas(size, size, None)
        u = size / 24
        if shape == 'load':
            c.fill(int(2 * u), int(6 * u), int(9 * u), int(3 * u), DARK_GOLD)
            c.fill(int(2 * u), int(8 * u), int(20 * u), int(13 * u), face)
            c.fill(int(2 * u), int(8 * u), int(20 * u), max(1, int(u)), DARK_GOLD)
        elif shape == 'save':
            c.fill(int(3 * u), int(3 * u), int(18 * u), int(18 * u), face)
            c.fill(int(7 * u), int(3 * u), int(10 * u), int(7 * u), WHITE)
            c.fill(int(7 * u), int(14 * u), int(10 * u), int(7 * u), (60, 60, 60))
        else:
            c.fill(int(2 * u), int(4 * u), int(20 * u), int(16 * u), (60, 60, 60))
            c.fill(int(2 * u), int(4 * u), int(20 * u), int(4 * u), face)
            c.fill(int(4 * u), int(10 * u), int(16 * u), int(8 * u), WHITE)
        return c
    return draw


def draw_filter_mark(colour, cross):
    """The launch list's status mark, 16 x 16 on green: a tick, or a cross
    when no file passes the filter."""
    c = Canvas(16, 16, GREEN)
    for i in range(10):
        if cross:
            c.fill(3 + i, 3 + i, 2, 2, colour)
            c.fill(12 - i, 3 + i, 2, 2, colour)
        elif i < 4:
            c.fill(2 + i, 7 + i, 2, 2, colour)
        else:
            c.fill(2 + i, 13 - (i - 3) * 1, 2, 2, colour)
    return c


def password_icon(size):
    """A key over a shield: the Password page's protection picture."""
    c = Canvas(size, size, None)
    u = size / 32
    c.fill(int(6 * u), int(3 * u), int(20 * u), int(18 * u), BLUE)
    c.disc(size // 2, int(20 * u), int(10 * u), lambda r, dx, dy: BLUE)  # the shield's rounded foot
    c.disc(int(12 * u), int(12 * u), int(4 * u), lambda r, dx, dy: GOLD if r > 0.4 else BLUE)
    c.fill(int(15 * u), int(11 * u), int(11 * u), max(2, int(2 * u)), GOLD)
    return c


def hover_tip_icon(size):
    """The small mark in the Options page's hover tips."""
    c = Canvas(size, size, None)
    c.disc(size // 2, size // 2, size // 2 - 1, lambda r, dx, dy: GOLD if r > 0.7 else LIGHT_BLUE)
    return c


def draw_options_art(out):
    """The Options and Password pages' pictures."""
    for name, shape, face in (('load_about', 'load', LIGHT_BLUE), ('load_message', 'load', GOLD),
                              ('save_about', 'save', LIGHT_BLUE), ('save_message', 'save', GOLD),
                              ('preview_about', 'preview', LIGHT_BLUE), ('preview_message', 'preview', GOLD)):
        write_ico(os.path.join(out, name + '.ico'), [24], button_icon(shape, face))
    write_ico(os.path.join(out, 'password.ico'), [32, 16], password_icon)
    write_ico(os.path.join(out, 'hover_tip.ico'), [16], hover_tip_icon)
    write_bmp(os.path.join(out, 'filter_found.bmp'), draw_filter_mark(BLUE, False))
    write_bmp(os.path.join(out, 'filter_empty.bmp'), draw_filter_mark((200, 30, 30), True))
    write_bmp(os.path.join(out, 'options_texts.bmp'), draw_gradient(32, 32, 20))
    write_bmp(os.path.join(out, 'options_launch.bmp'), draw_gradient(32, 32, 14))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, 'password_key.bmp'), draw_key())
    write_bmp(os.path.join(out, 'password_padlock.bmp'), draw_padlock())
    write_bmp(os.path.join(out, 'about_maker.bmp'), draw_gradient(64, 64, 36))
    write_bmp(os.path.join(out, 'about_product.bmp'), draw_gradient(48, 180, 32))
    write_bmp(os.path.join(out, 'start_banner.bmp'), draw_start_banner())
    write_bmp(os.path.join(out, 'start_settings.bmp'), draw_start_settings())
    write_bmp(os.path.join(out, 'recent_bullet.bmp'), draw_document_bullet())
    write_bmp(os.path.join(out, 'help_bullet.bmp'), draw_help_bullet())
    write_bmp(os.path.join(out, 'link_arrow.bmp'), draw_link_arrow())
    write_bmp(os.path.join(out, 'file_images.bmp'), draw_strip(FILE_GLYPHS))
    write_bmp(os.path.join(out, 'menu_images.bmp'), draw_strip(MENU_GLYPHS))
    write_bmp(os.path.join(out, 'status_problem.bmp'), draw_status_problem())
    write_ico(os.path.join(out, 'builder.ico'), [32, 16], program_icon)
    write_ico(os.path.join(out, 'secured.ico'), [32, 16], secured_icon)
    draw_options_art(out)


if __name__ == '__main__':
    main()
