#!/usr/bin/env python3
"""Writes the containers the extraction driver test reads, into
$BRENNICOR_TEST_WORK/stub-containers/, with the files each should give in
expected/<case>/. Case names match stub_extract_test.cpp."""
import os
import sys
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(__file__))
from container_writer import (MAGIC_PROTECTED, container, memory_entry_records, record_bytes,
                              rename)

sys.path.insert(0, os.environ["BRENNICOR_TEST_DATA"])
from device_names import device_name_forms  # noqa: E402

FILES = {
    "readme.txt": b"Read me first.\r\n" * 20,
    "docs/guide.txt": bytes(range(256)) * 40,
    "docs/deep/notes.bin": os.urandom(70000),
    "stored.txt": b"kept as it is",
}


def zlib_deflate(data):
    """Raw Deflate as zipfile writes it."""
    compressor = zlib.compressobj(zlib.Z_DEFAULT_COMPRESSION, zlib.DEFLATED, -15)
    return compressor.compress(data) + compressor.flush()


def records_of(files, method=zipfile.ZIP_DEFLATED):
    return [record_bytes(record, size) for _, record, size in memory_entry_records(files, method)]


def cases():
    deflated = records_of(FILES)
    stored = records_of(FILES, zipfile.ZIP_STORED)
    yield "deflated", container(deflated), FILES
    yield "stored", container(stored), FILES
    yield "protected_open_entries", container(deflated, magic=MAGIC_PROTECTED), FILES
    three = {"a.txt": b"new a", "b.txt": b"new b", "c.txt": b"new c"}
    yield "three", container(records_of(three)), three
    # An entry that decodes to another length than its record says is damaged.
    (name, record, size), = memory_entry_records({"cut.txt": b"0123456789" * 10})
    yield "size_smaller", container([record_bytes(record, 25)] + records_of({"fine.txt": b"fine"})), \
        {"fine.txt": b"fine"}
    yield "size_larger", container([record_bytes(record, 101)] + records_of({"fine.txt": b"fine"})), \
        {"fine.txt": b"fine"}
    # Names that climb out of the destination are refused; the others extract.
    (_, escape, escape_size), = memory_entry_records({"xx/evil.txt": b"outside"})
    escape = rename(escape, b"..\\evil.txt")
    yield "escape", container([record_bytes(escape, escape_size)] + records_of({"fine.txt": b"fine"})), \
        {"fine.txt": b"fine"}
    # The same with a UTF-8 name (flag bit 11): reported as text, not as its bytes.
    (_, escape, escape_size), = memory_entry_records({"xx/café.txt": b"outside"})
    escape = rename(escape, "..\\café.txt".encode())
    yield "escape_utf8", container([record_bytes(escape, escape_size)] + records_of({"fine.txt": b"fine"})), \
        {"fine.txt": b"fine"}
    # A folder record, as zip writes one for an empty folder.
    folder = zipfile.ZipInfo("empty/", (2001, 2, 3, 4, 5, 6))
    folder.external_attr = 0o40755 << 16 | 0x10
    yield "folder_record", container(records_of({folder: b"", "fine.txt": b"fine"})), {"fine.txt": b"fine"}
    # Names Windows would shorten onto another file, or open as a device.
    for case, stored in (("trailing_dot", b"fine.txt."), ("trailing_blank", b"fine.txt "),
                         ("dots_folder", b"dots...\\x"), ("device", b"sub\\CON")):
        (_, bad_name, bad_size), = memory_entry_records({"x" * len(stored): b"overwrites"})
        yield case, container(records_of({"fine.txt": b"fine"}) + [record_bytes(rename(bad_name, stored), bad_size)]), \
            {"fine.txt": b"fine"}
    # Every form of every device name, alone and below a folder.
    devices = []
    for name in device_name_forms():
        for stored in (name.encode(), b"sub\\" + name.encode()):
            (_, record, size), = memory_entry_records({"x" * len(stored): b"overwrites"})
            devices.append(record_bytes(rename(record, stored), size))
    yield "devices", container(records_of({"fine.txt": b"fine"}) + devices), {"fine.txt": b"fine"}
    # A stored name of 255 bytes or more is refused; the next entry still extracts.
    yield "long_name", container(records_of({"n" * 255: b"long", "fine.txt": b"fine"})), {"fine.txt": b"fine"}
    # A damaged entry: its Deflate data starts with the reserved block type.
    (_, bad, bad_size), = memory_entry_records({"bad.txt": b"some content"})
    data_start = len(bad) - len(zlib_deflate(b"some content"))
    bad = bad[:data_start] + b"\x07" + bad[data_start + 1:]
    yield "bad_data", container([record_bytes(bad, bad_size)]), {}
    base = records_of({"first.txt": b"first"})
    # 520 bytes of key block fit in the container: only the 512-byte limit refuses it.
    yield "key_block_too_long", container(base, key_block=b"\0" * 520), {}
    (_, one, one_size), = memory_entry_records({"one.txt": b"one"})
    yield "length_zero", container(base + [record_bytes(one, one_size, length=0)]), {"first.txt": b"first"}
    yield "length_huge", container(base + [record_bytes(one, one_size, length=0xFFFFFFF0)]), \
        {"first.txt": b"first"}
    yield "truncated", container(base + [record_bytes(one, one_size)[:-5]]), {"first.txt": b"first"}
    # Records run up to the container's end: anything else before it is damage.
    damaged = b"X" + record_bytes(one, one_size)[1:]
    yield "damaged_magic", container(base + [damaged] + records_of({"later.txt": b"later"})), \
        {"first.txt": b"first"}
    yield "trailing_bytes", container(base + [b"KvN"]), {"first.txt": b"first"}
    yield "no_records", container([], count=3), {}


def main():
    out = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "stub-containers")
    for name, data, expected in cases():
        os.makedirs(out, exist_ok=True)
        with open(os.path.join(out, name + ".bin"), "wb") as f:
            f.write(data)
        for path, content in expected.items():
            target = os.path.join(out, "expected", name, *path.split("/"))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as f:
                f.write(content)


if __name__ == "__main__":
    main()
