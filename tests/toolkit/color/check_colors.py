"""Checks what toolkit_color_test wrote against an oracle built here from the
description of the honeycomb and with Python's own colour arithmetic:

- every cell's place, colour, neighbours and exact pixel set (168 pixels for a
  small cell, 691 for a large one), no two cells sharing a pixel, and the cell
  the toolkit's hit test finds at each centre;
- the "Hex:" text against "%02X" formatting, and hue, saturation and luminance
  bytes against colorsys.rgb_to_hls scaled by 255 and truncated (the toolkit
  works in integers, so a whole value is never truncated from just below it)."""
import colorsys
import os
import sys

WORK = os.environ["BRENNICOR_TEST_WORK"]

COLORS = """663300 996633 CC6633 993300 990000 CC0000 660000 666600 996600 CC9900 CC6600 CC3300 FF0000 FF3333
993333 808000 999900 CCCC33 FFCC00 FF9900 FF6600 FF6633 CC3333 996666 669933 99CC00 CCFF00 FFFF00 FFCC33 FF9933
FF9966 FF6666 FF0066 CC0066 339933 66CC00 99FF00 CCFF66 FFFF66 FFCC66 FFCC99 FF9999 FF6699 FF3399 FF0099 006600
00CC00 00FF00 99FF66 CCFF99 FFFFCC FFECCC FFCCCC FF99CC FF66CC FF00CC CC0099 003300 008000 33CC33 66FF66 99FF99
CCFFCC FFFFFF FFCCFF FF99FF FF66FF FF00FF CC00CC 660066 006633 009900 33FF66 66FF99 99FFCC CCFFFF CCCCFF CC99FF
CC66FF CC33FF 9900CC 800080 003333 009966 33FF99 66FFCC 99FFFF 99CCFF 9999FF 9966FF 9933FF 9933CC 990099 336666
00CC99 33FFCC 66FFFF 66CCFF 6699FF 807CFF 6600FF 9300D6 663399 008080 00CCCC 00FFFF 00CCFF 3399FF 0066FF 5050FF
6600CC 330066 336699 0099CC 0099FF 0066CC 0033FF 0000FF 0000CC 330099 003366 006699 0033CC 003399 000099 000080
2100A5 F8F8F8 DDDDDD B2B2B2 808080 5F5F5F 333333 1C1C1C 080808 EAEAEA C0C0C0 969696 777777 4D4D4D 292929 111111
FFFFFF 000000""".split()

# (first, last, row y, x of the first, left, up, right, down); "i" is the
# cell's place in its run, a number alone names a cell.
RUNS = [
    (0, 6, 7, 58, "i-1", "-1", "i+1", "i+8"),
    (7, 14, 19, 51, "i+6", "i-1", "i+8", "i+16"),
    (15, 23, 31, 44, "i+14", "i+6", "i+16", "i+25"),
    (24, 33, 43, 37, "i+23", "i+14", "i+25", "i+35"),
    (34, 44, 55, 30, "i+33", "i+23", "i+35", "i+46"),
    (45, 56, 67, 23, "i+44", "i+33", "i+46", "i+58"),
    (57, 63, 79, 16, "i+56", "i+44", "i+58", "i+70"),
    (64, 69, 79, 114, "i+63", "i+51", "i+65", "i+77"),
    (70, 81, 91, 23, "i+69", "i+57", "i+71", "i+82"),
    (82, 92, 103, 30, "i+81", "i+70", "i+83", "i+93"),
    (93, 102, 115, 37, "i+92", "i+82", "i+94", "i+103"),
    (103, 111, 127, 44, "i+102", "i+93", "i+104", "i+112"),
    (112, 118, 139, 51, "i+111", "i+103", "i+113", "i+120"),
    (119, 119, 139, 149, "118", "110", "120", "142"),
    (120, 125, 151, 58, "i+119", "i+112", "i+121", "i+121"),
    (126, 126, 151, 142, "125", "118", "142", "142"),
    (127, 127, 176, 51, "142", "142", "135", "135"),
    (128, 133, 176, 65, "i+135", "i+135", "i+136", "i+136"),
    (134, 134, 176, 149, "141", "141", "143", "143"),
    (135, 141, 188, 58, "i+127", "i+127", "i+128", "i+128"),
    (142, 142, 176, 16, "126", "126", "127", "127"),
    (143, 143, 176, 169, "134", "134", "-1", "-1"),
]
LARGE = {142, 143}

# Column spans (first row, last row) relative to the reference row, left to right.
SMALL_SPANS = [(0, 8)] * 2 + [(-1, 9)] * 2 + [(-2, 10)] * 2 + [(-3, 11)] * 3 + [(-2, 10)] * 2 + [(-1, 9)] * 2 + [(0, 8)]
LARGE_HEIGHTS = [17, 17, 19, 19, 21, 21, 23, 25, 25, 27, 27, 29, 29, 31, 31, 31,
                 29, 29, 27, 27, 25, 25, 23, 21, 21, 19, 19, 17, 17]
LARGE_SPANS = [(-(h - 17) // 2, 16 + (h - 17) // 2) for h in LARGE_HEIGHTS]


def oracle_cells():
    cells = {}
    for first, last, y, x0, *moves in RUNS:
        for index in range(first, last + 1):
            place = index - first
            x = x0 + 14 * place
            spans = LARGE_SPANS if index in LARGE else SMALL_SPANS
            pixels = {(x + c, y + row) for c, (top, bottom) in enumerate(spans) for row in range(top, bottom + 1)}
            neighbours = [eval(m, {"i": place}) for m in moves]
            cells[index] = dict(x=x, y=y, large=index in LARGE, pixels=pixels, neighbours=neighbours)
    return cells


def check_honeycomb():
    oracle = oracle_cells()
    assert sorted(oracle) == list(range(144))
    assert [len(oracle[i]["pixels"]) for i in (0, 142)] == [168, 691]
    owner = {}
    for index, cell in oracle.items():
        for p in cell["pixels"]:
            assert p not in owner, f"cells {owner[p]} and {index} share {p}"
            owner[p] = index
    seen = 0
    with open(os.path.join(WORK, "honeycomb_cells.txt")) as f:
        for line in f:
            fields = line.split()
            index, x, y, large = map(int, fields[:4])
            color = fields[4]
            neighbours = list(map(int, fields[5:9]))
            hit = int(fields[9])
            pixels = {tuple(map(int, p.split(","))) for p in fields[10:]}
            want = oracle[index]
            assert (x, y, bool(large)) == (want["x"], want["y"], want["large"]), index
            assert color == COLORS[index], (index, color)
            assert neighbours == want["neighbours"], (index, neighbours, want["neighbours"])
            assert pixels == want["pixels"], index
            assert len(fields[10:]) == len(pixels), f"cell {index} lists a pixel twice"
            centre = (x + 14, y + 8) if large else (x + 7, y + 4)
            assert owner[centre] == index and hit == index, (index, hit)
            seen += 1
    assert seen == 144
    assert oracle[119]["neighbours"][3] == 142
    assert [i for i, c in enumerate(COLORS) if c == "FFFFFF"] == [63, 142]


def check_texts():
    lines = 0
    with open(os.path.join(WORK, "color_texts.txt")) as f:
        for line in f:
            rgb, hex_text, hsl = line.rstrip("\n").split("|")
            r, g, b = map(int, rgb.split())
            assert hex_text == "Hex: %02X%02X%02X" % (r, g, b), line
            h, l, s = colorsys.rgb_to_hls(r / 255, g / 255, b / 255)
            got = list(map(int, hsl.split()))
            for value, byte in zip((h, s, l), got):
                # A whole value may come out of floating point just below itself.
                assert byte in (int(value * 255), int(value * 255 + 1e-9)), (line, value * 255)
            lines += 1
    assert lines == 15 ** 3


check_honeycomb()
check_texts()
print("honeycomb and colour texts agree with the oracle")
sys.exit(0)
