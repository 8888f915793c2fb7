"""Parses the archive the Windows test wrote, with its own reading of the layout."""
import os
import struct
import sys

data = open(os.path.join(os.environ["BRENNICOR_TEST_WORK"], "classlib_archive.bin"), "rb").read()
pos = 0


def take(fmt):
    global pos
    values = struct.unpack_from("<" + fmt, data, pos)
    pos += struct.calcsize("<" + fmt)
    return values[0]


def string():
    global pos
    n = take("B")
    if n == 0xFF:
        n = take("H")
        if n == 0xFFFF:
            n = take("I")
    text = data[pos:pos + n]
    pos += n
    return text


def count():
    n = take("H")
    return take("I") if n == 0xFFFF else n


assert string() == b"short"
assert string() == b"m" * 300
assert string() == b"l" * 70000
assert count() == 3
assert count() == 0x12345
assert take("i") == -5
assert take("H") == 0xBEEF
assert pos == len(data), (pos, len(data))
print("archive layout ok")
sys.exit(0)
