#!/usr/bin/env python3
"""Reads back the icon of each program stub_icon_program_test built, with a
resource parser of its own, and compares it with the chosen source: the
icon file's images, or the program's icon group at the chosen index (icon
groups counted in resource directory order). The program's first icon group
must hold exactly the source's images, entry fields and bytes, and every
other resource of the stub must still be there unchanged."""
import os
import struct
import sys

ICON, GROUP_ICON = 3, 14


def unix_path(path):
    return path[2:].replace("\\", "/") if path[1:2] == ":" else path


def resources(data):
    """(type, name, language) -> bytes, in directory order, through the
    optional header's resource directory entry."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "no PE header"
    sections_count, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    optional = pe + 24
    magic, = struct.unpack_from("<H", data, optional)
    directories = optional + (96 if magic == 0x10B else 112)
    rva, _ = struct.unpack_from("<II", data, directories + 2 * 8)
    sections = [struct.unpack_from("<IIII", data, optional + optional_size + 40 * i + 8)
                for i in range(sections_count)]

    def offset(address):
        for virtual_size, virtual_address, raw_size, raw in sections:
            if virtual_address <= address < virtual_address + raw_size:
                return raw + address - virtual_address
        raise ValueError("address %#x in no section" % address)

    base = offset(rva)

    def key(word):
        if word & 0x80000000:
            at = base + (word & 0x7FFFFFFF)
            length, = struct.unpack_from("<H", data, at)
            return data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
        return word

    found = []

    def walk(at, path):
        named, ids = struct.unpack_from("<HH", data, base + at + 12)
        for i in range(named + ids):
            word, target = struct.unpack_from("<II", data, base + at + 16 + 8 * i)
            if target & 0x80000000:
                walk(target & 0x7FFFFFFF, path + (key(word),))
            else:
                address, size = struct.unpack_from("<II", data, base + target)
                found.append((path + (key(word),), data[offset(address):offset(address) + size]))

    walk(0, ())
    return found


def group_images(found, group):
    """The images a group names: (entry fields, bytes) each."""
    count, = struct.unpack_from("<H", group, 4)
    icons = {path[1]: data for path, data in found if path[0] == ICON}
    images = []
    for i in range(count):
        entry = group[6 + 14 * i:6 + 14 * (i + 1)]
        images.append((entry[:8], icons[struct.unpack_from("<H", entry, 12)[0]]))
    return images


def source_images(path, index):
    data = open(path, "rb").read()
    if data[:4] == b"\0\0\1\0":
        count, = struct.unpack_from("<H", data, 4)
        images = []
        for i in range(count):
            entry = data[6 + 16 * i:6 + 16 * (i + 1)]
            size, at = struct.unpack_from("<II", entry, 8)
            images.append((entry[:8], data[at:at + size]))
        return images
    found = resources(data)
    groups, seen = [], set()
    for path, group in found:
        if path[0] == GROUP_ICON and path[1] not in seen:
            seen.add(path[1])
            groups.append(group)
    return group_images(found, groups[index])


def main():
    work = os.environ["BRENNICOR_TEST_WORK"]
    stub = resources(open(os.path.join(os.environ["BRENNICOR_BINARY_DIR"], "stub", "BrennicorStub.exe"), "rb").read())
    others = [(path, data) for path, data in stub if path[0] not in (ICON, GROUP_ICON)]
    checked = 0
    with open(os.path.join(work, "stub-stub-icons", "manifest.txt")) as manifest:
        for line in manifest:
            program, source, index = line.rstrip("\r\n").split("\t")
            found = resources(open(unix_path(program), "rb").read())
            group = next(data for path, data in found if path[0] == GROUP_ICON)
            expected = source_images(unix_path(source), int(index))
            if group_images(found, group) != expected:
                raise SystemExit("%s: its icon is not icon %s of %s" % (program, index, source))
            if [(path, data) for path, data in found if path[0] not in (ICON, GROUP_ICON)] != others:
                raise SystemExit("%s: the stub's other resources changed" % program)
            checked += 1
    if checked != 2:
        raise SystemExit("expected two programs, checked %d" % checked)


if __name__ == "__main__":
    sys.exit(main())
