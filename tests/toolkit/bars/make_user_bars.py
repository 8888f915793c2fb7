"""Writes the "CustomBars-Info" values tool_bar_user_bars_test loads, built
here with struct and zlib alone: a CRC-32 prefix over the archive payload
(version, count, then per bar its id and its title behind a 1-, 3- or 7-byte
length prefix), one INI file per case with the value's bytes as letters (two
a byte, low nibble first)."""
import os
import struct
import zlib

WORK = os.environ["BRENNICOR_TEST_WORK"]
SECTION = "UserBars"
FORMAT_BAR = 59501


def title(text):
    raw = text.encode("latin-1")
    if len(raw) < 0xFF:
        return struct.pack("<B", len(raw)) + raw
    if len(raw) < 0xFFFE:
        return struct.pack("<BH", 0xFF, len(raw)) + raw
    return struct.pack("<BHI", 0xFF, 0xFFFF, len(raw)) + raw


def payload(version, bars, count=None):
    out = struct.pack("<ii", version, len(bars) if count is None else count)
    for bar_id, text in bars:
        out += struct.pack("<I", bar_id) + title(text)
    return out


def letters(data):
    return "".join(chr(ord("A") + (b & 15)) + chr(ord("A") + (b >> 4)) for b in data)


def write(name, body):
    value = struct.pack("<I", zlib.crc32(body)) + body
    with open(os.path.join(WORK, name), "w") as ini:
        ini.write(f"[{SECTION}]\nCustomBars-Info={letters(value)}\n")


write("user_bars_titles.ini", payload(1, [(59601, "A"), (59602, "B" * 300), (59603, "C" * 70000)]))
write("user_bars_version2.ini", payload(2, [(59604, "X")]))
write("user_bars_existing.ini", payload(1, [(FORMAT_BAR, "Format again"), (59605, "New")]))
write("user_bars_overcount.ini", payload(1, [(59608, "Y")], count=1000000))
write("user_bars_failing.ini", payload(1, [(59606, "Fails"), (59607, "Works")]))
print("user bar values written")
