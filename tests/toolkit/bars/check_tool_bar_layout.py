"""Reads the format bar's stored layout that tool_bar_layout_test saved in INI
mode and checks it byte by byte with struct and zlib alone: the INI letters
(two a byte, low nibble first), the value's CRC-32 prefix, the CRC-32 of the
default layout, the length, and the version-1 layout bytes against the table
of the buttons the harness makes."""
import configparser
import os
import re
import struct
import zlib

WORK = os.environ["BRENNICOR_TEST_WORK"]
INI_FILE = os.path.join(WORK, "tool_bar_layout.ini")
IDS_HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tool_bar_harness_resource.h")
VALUE = "Tool Bar Layout Test-Bar{}"

TBSTYLE_SEP, TBSTYLE_CHECK, TBSTYLE_DROPDOWN = 0x01, 0x02, 0x08
NO_COLOUR = 0xFF000000


def harness_ids():
    ids = {}
    with open(IDS_HEADER) as header:
        for line in header:
            match = re.match(r"#define (\w+) (\d+)", line)
            if match:
                ids[match.group(1)] = int(match.group(2))
    return ids


def ini_bytes(letters):
    assert len(letters) % 2 == 0, "two letters a byte"
    out = bytearray()
    for low, high in zip(letters[0::2], letters[1::2]):
        out.append((ord(low) - ord("A")) | (ord(high) - ord("A")) << 4)
    return bytes(out)


class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def count(self):
        n = self.take("H")
        return self.take("I") if n == 0xFFFF else n

    def text(self):
        n = self.take("B")
        if n == 0xFF:
            n = self.take("H")
            if n == 0xFFFF:
                n = self.take("I")
        raw = self.data[self.pos:self.pos + n]
        self.pos += n
        return raw.decode("latin-1")


def parse_layout(data):
    r = Reader(data)
    layout = {"version": r.take("H"), "list": r.take("H"), "descriptor": r.count(), "buttons": [], "texts": []}
    for _ in range(r.count()):
        command, style, image, flags = r.take("IBiH")
        descriptor = r.take("10I") if flags & 1 else None
        layout["buttons"].append((command, style, image, flags, descriptor))
    for _ in range(r.count()):
        layout["texts"].append((r.take("I"), r.text()))
    assert r.pos == len(data), f"{len(data) - r.pos} bytes after the texts"
    return layout


def main():
    ids = harness_ids()
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(INI_FILE)
    value = ini_bytes(parser["Settings"][VALUE.format(ids["ID_HARNESS_FORMAT_BAR"])])

    blob_crc, payload = struct.unpack_from("<I", value)[0], value[4:]
    assert blob_crc == zlib.crc32(payload), "the value's CRC-32 covers the payload"
    default_crc, length = struct.unpack_from("<IH", payload)
    layout_bytes = payload[6:]
    assert length == len(layout_bytes)
    # Saved as the program made the bar, so the layout is its own default.
    assert default_crc == zlib.crc32(layout_bytes)

    colour = ids["ID_HARNESS_COLOR"]
    expected = {
        "version": 1, "list": 0, "descriptor": 40, "texts": [],
        "buttons": [
            (colour, TBSTYLE_DROPDOWN, 0, 5, (colour, 0, 1, 0, 1, 1, 0, NO_COLOUR, 0x0000DC, 0)),
            (ids["ID_HARNESS_BOLD"], TBSTYLE_CHECK, 1, 4, None),
            (0, TBSTYLE_SEP, 6, 4, None),
            (ids["ID_HARNESS_FONT_COMBO"], TBSTYLE_SEP, 110, 4, None),
        ],
    }
    got = parse_layout(layout_bytes)
    assert got == expected, f"{got}\n!=\n{expected}"
    print("format bar layout:", len(layout_bytes), "bytes as expected")


main()
