#!/usr/bin/env python3
"""Draws the stub's icon and bitmaps: the logo banner, the status light cells
and the program icon. Usage: draw_stub_art.py OUTPUT_FOLDER"""
import os
import struct
import sys

MAGENTA = (255, 0, 255)  # the status light's transparent colour

# 5x7 capitals for the banner text.
GLYPHS = {
    'B': ["1111.", "1...1", "1...1", "1111.", "1...1", "1...1", "1111."],
    'R': ["1111.", "1...1", "1...1", "1111.", "1.1..", "1..1.", "1...1"],
    'E': ["11111", "1....", "1....", "1111.", "1....", "1....", "11111"],
    'N': ["1...1", "11..1", "1.1.1", "1..11", "1...1", "1...1", "1...1"],
    'I': ["11111", "..1..", "..1..", "..1..", "..1..", "..1..", "11111"],
    'C': [".1111", "1....", "1....", "1....", "1....", "1....", ".1111"],
    'O': [".111.", "1...1", "1...1", "1...1", "1...1", "1...1", ".111."],
    'S': [".1111", "1....", "1....", ".111.", "....1", "....1", "1111."],
    'F': ["11111", "1....", "1....", "1111.", "1....", "1....", "1...."],
    'X': ["1...1", "1...1", ".1.1.", "..1..", ".1.1.", "1...1", "1...1"],
    ' ': ["....."] * 7,
}


class Canvas:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, x0, y0, w, h, colour):
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                self.put(x, y, colour)

    def disc(self, cx, cy, radius, colour_at):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                d2 = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if d2 <= radius * radius:
                    self.put(x, y, colour_at(d2 ** 0.5 / radius, x - cx, y - cy))

    def text(self, x, y, text, scale, colour):
        for ch in text:
            for row, bits in enumerate(GLYPHS[ch]):
                for col, bit in enumerate(bits):
                    if bit == '1':
                        self.fill(x + col * scale, y + row * scale, scale, scale, colour)
            x += 6 * scale

    def palette(self):
        return sorted({p for row in self.pixels for p in row})

    def bmp_rows(self, palette):
        """8-bit rows of palette indexes, bottom-up, each padded to 4 bytes."""
        index = {colour: i for i, colour in enumerate(palette)}
        pad = b'\0' * ((4 - self.width % 4) % 4)
        for row in reversed(self.pixels):
            yield bytes(index[p] for p in row) + pad


def write_bmp(path, canvas):
    """Every drawing uses at most 256 colours, so a palette of exactly those
    colours shows the same pixels at a third of the bytes of 24-bit rows."""
    palette = canvas.palette()
    assert len(palette) <= 256, "a bitmap needs a palette of at most 256 colours"
    colours = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    image = b''.join(canvas.bmp_rows(palette))
    header = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 8, 0,
                         len(image), 2835, 2835, len(palette), 0)
    offset = 14 + len(header) + len(colours)
    with open(path, 'wb') as f:
        f.write(b'BM' + struct.pack('<IHHI', offset + len(image), 0, 0, offset))
        f.write(header + colours + image)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def draw_logo():
    width, height = 435, 62
    c = Canvas(width, height, (0, 0, 0))
    for x in range(width):
        c.fill(x, 0, 1, height, mix((18, 52, 110), (70, 140, 210), x / width))
    c.fill(0, height - 3, width, 3, (240, 180, 40))
    c.text(16, 14, "BRENNICOR", 4, (255, 255, 255))
    c.text(16 + 10 * 24, 30, "SFX", 2, (240, 180, 40))
    draw_box(c, width - 58, 8, 44, (240, 180, 40), (255, 255, 255))
    return c


def draw_box(c, x0, y0, size, face, band):
    """A parcel: the sign of a packed archive."""
    c.fill(x0, y0, size, size, face)
    c.fill(x0 + size // 2 - 3, y0, 6, size, band)
    c.fill(x0, y0 + size // 3, size, 4, band)
    for i in range(size):
        c.put(x0 + i, y0, (90, 60, 10))
        c.put(x0 + i, y0 + size - 1, (90, 60, 10))
        c.put(x0, y0 + i, (90, 60, 10))
        c.put(x0 + size - 1, y0 + i, (90, 60, 10))


# Rows of the light, 16 pixels apart: red (waiting), green (ready), amber
# (starting), then spares. Column 0 is lit, 1 dimmed (the blink), 2 off.
LIGHT_COLOURS = [(220, 30, 30), (30, 190, 50), (240, 170, 20), (40, 110, 230),
                 (150, 60, 200), (20, 180, 190), (230, 230, 60), (160, 160, 160)]


def draw_status_light():
    c = Canvas(48, 128, MAGENTA)
    for row, colour in enumerate(LIGHT_COLOURS):
        for column, strength in enumerate((1.0, 0.45, 0.0)):
            lit = mix((90, 90, 90), colour, strength)

            def shade(r, dx, dy, lit=lit):
                glint = max(0.0, 1.0 - ((dx + 2) ** 2 + (dy + 2) ** 2) / 10.0)
                edge = mix(lit, (30, 30, 30), max(0.0, r - 0.75) * 2)
                return mix(edge, (255, 255, 255), glint * 0.8)
            c.disc(column * 16 + 8, row * 16 + 8, 6.5, shade)
    return c


def icon_image(size):
    c = Canvas(size, size, None)
    draw_box(c, 1, 1, size - 2, (240, 180, 40), (30, 80, 160))
    return c


def write_ico(path, sizes, draw=icon_image):
    """An icon of one image per size, drawn by draw(size); None pixels are transparent."""
    images = []
    for size in sizes:
        c = draw(size)
        xor = b''.join(
            b''.join(bytes((b, g, r, 255)) if p else b'\0\0\0\0' for p in row for r, g, b in [p or (0, 0, 0)])
            for row in reversed(c.pixels))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(c.pixels):
            bits = bytearray(mask_stride)
            for x, p in enumerate(row):
                if p is None:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask),
                             0, 0, 0, 0)
        images.append(header + xor + bytes(mask))
    offset = 6 + 16 * len(images)
    directory = struct.pack('<HHH', 0, 1, len(images))
    for size, image in zip(sizes, images):
        directory += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, 'wb') as f:
        f.write(directory + b''.join(images))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, 'stub_logo.bmp'), draw_logo())
    write_bmp(os.path.join(out, 'status_light.bmp'), draw_status_light())
    write_ico(os.path.join(out, 'stub.ico'), [32, 16])


if __name__ == '__main__':
    main()
