#!/usr/bin/env python3
"""Writes the program files the settings reader test reads, into
$BRENNICOR_TEST_WORK/stub-settings/. Each case name matches a row of the
table in stub_settings_test.cpp."""
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from selfextractor_writer import (MARKER, TAIL, encrypt_records, self_extractor,
                                  settings_lines)

IMAGE = b"MZ" + bytes(range(256)) * 160          # 40 KiB stand-in for the stub image
CONTAINER = b"\x5e\xd0\xc7\x94" + b"C" * 300      # a tiny container


def program(texts, image=IMAGE, container=CONTAINER):
    return self_extractor(image, container, encrypt_records(texts))


def cases():
    yield "full", program(settings_lines(
        path="C:\\Unpacked\\", folders=1, auto_run=1, overwrite=1, execute="setup.exe",
        about="About line\r\nsecond line", message="Read me"))
    yield "flags_two_and_empty", program([b"FOLDERS = 2", b"AUTO RUN = ", b"OVERWRITE = 0"])
    yield "empty_path_matches", program([b"PATH = "])
    yield "key_not_at_start", program([b" PATH = C:\\Not\\", b"XEXECUTE FILE = a.exe"])
    yield "first_execute_wins", program([b"EXECUTE FILE = first.exe", b"EXECUTE FILE = second.exe",
                                         b"PATH = C:\\A\\", b"PATH = C:\\B\\"])
    yield "no_known_key", program([b"NOTHING = 1"])
    yield "bare_stub", IMAGE
    # A file shorter than the tail is searched whole.
    yield "short_file", program([b"PATH = C:\\Short\\"], image=b"MZ", container=b"")
    # An image that holds the marker text itself, as an unpacked stub could:
    # the marker behind the container is the one that counts.
    yield "marker_in_image", program([b"PATH = C:\\Tiny\\"],
                                     image=IMAGE[:-2000] + MARKER + b"\0" * 51 + IMAGE[-1900:])
    yield "nuls_before_marker", program([b"PATH = C:\\Nul\\"], container=b"\0" * 5000)
    # A settings block so long that the marker starts before the tail.
    yield "marker_out_of_reach", program(settings_lines(about="A" * 16300, message="M" * 16300) +
                                         [b"PATH = " + b"P" * 16000] * (TAIL // 16000))
    # A record length that is not a multiple of 16 ends the records; what
    # came before stays.
    good = encrypt_records([b"PATH = C:\\Kept\\"])
    yield "bad_record_ends", self_extractor(IMAGE, CONTAINER, good + b"\x11\0\0\0" + b"x" * 17)
    yield "multi_line", program([("CUSTOM MESSAGE BOX = one\r\ntwo\r\n" + "x" * 3000).encode()])


def main():
    out = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "stub-settings")
    os.makedirs(out, exist_ok=True)
    for name, data in cases():
        with open(os.path.join(out, name + ".exe"), "wb") as f:
            f.write(data)
    # The real stub image in front of a tiny container: its own bytes must not
    # hold the marker, or a small program would find the wrong one.
    stub = os.path.join(os.environ["BRENNICOR_BINARY_DIR"], "stub", "BrennicorStub.exe")
    with open(stub, "rb") as f:
        image = f.read()
    if MARKER in image:
        sys.exit("the stub image holds a copy of the marker text")
    with open(os.path.join(out, "real_stub_tiny.exe"), "wb") as f:
        f.write(program([b"PATH = C:\\Real\\", b"EXECUTE FILE = go.exe"], image=image))
    with open(os.path.join(out, "real_stub_no_key.exe"), "wb") as f:
        f.write(program([b"NOTHING = 1"], image=image))


if __name__ == "__main__":
    main()
