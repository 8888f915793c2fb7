#!/usr/bin/env python3
"""The whole road without input: a tree zipped by Info-ZIP becomes a program
(the real stub, a container of every entry of the archive, folders and
empty files among them, the settings with auto-run), which stub_program_test
runs; check_road.py compares what it extracted with Info-ZIP's unzip."""
import os
import shutil
import stat
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(__file__))
from container_writer import archive_records, container, record_bytes
from selfextractor_writer import encrypt_records, self_extractor, settings_lines


def main():
    work = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "stub-road")
    shutil.rmtree(work, ignore_errors=True)
    tree = os.path.join(work, "tree")
    for folder in ("top", "top/sub", "top/sub/deeper", "top/empty-folder"):
        os.makedirs(os.path.join(tree, folder))
    for path, size in (("top/a.txt", 1000), ("top/sub/b.bin", 150000), ("top/sub/deeper/c.txt", 7),
                       ("top/zero.txt", 0)):
        with open(os.path.join(tree, path), "wb") as f:
            f.write(os.urandom(size) if path.endswith(".bin") else b"line of text\n" * size)
    # Run in a zone with summer time: one file dated in winter, one in summer.
    for path, when in (("top/a.txt", (2001, 2, 3, 4, 5, 6)), ("top/sub/b.bin", (2009, 7, 4, 13, 37, 20))):
        stamp = time.mktime(when + (0, 0, -1))
        os.utime(os.path.join(tree, path), (stamp, stamp))
    os.chmod(os.path.join(tree, "top", "sub", "deeper", "c.txt"), stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
    subprocess.run(["zip", "-q", "-r", os.path.join(work, "source.zip"), "top"], cwd=tree, check=True)
    subprocess.run(["unzip", "-q", os.path.join(work, "source.zip"), "-d", os.path.join(work, "expected")],
                   check=True)

    with open(os.path.join(work, "source.zip"), "rb") as f:
        records = [record_bytes(record, size) for name, record, size in archive_records(f.read())]
    stub = os.path.join(os.environ["BRENNICOR_BINARY_DIR"], "stub", "BrennicorStub.exe")
    with open(stub, "rb") as f:
        image = f.read()
    destination = "Z:" + os.path.join(work, "extracted").replace("/", "\\") + "\\"
    lines = settings_lines(path=destination, folders=1, auto_run=1, overwrite=1)
    with open(os.path.join(work, "road.exe"), "wb") as f:
        f.write(self_extractor(image, container(records), encrypt_records(lines)))


if __name__ == "__main__":
    main()
