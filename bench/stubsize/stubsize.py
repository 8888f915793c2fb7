#!/usr/bin/env python3
"""Sizes of the 32-bit deliverables beside Info-ZIP's self-extractor stub:
the stub image every built program carries first of all, then the builder
when it is built. Prints each image's bytes and its largest sections.

Usage: bench_stubsize [CORPUS_FOLDER]    (the corpus is not needed)
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from wine_bench import BUILD_ROOT  # noqa: E402

DELIVERABLES = (("stub", "BrennicorStub.exe"), ("builder", "BrennicorBuilder.exe"))
PEER = "/usr/bin/unzipsfx"
TARGET = 250_000  # 250 KB, in thousands


def sections(path):
    """(name, bytes in the file) of each section, largest first."""
    listing = subprocess.run(["i686-w64-mingw32-objdump", "-h", path], capture_output=True, text=True,
                             check=True).stdout
    found = []
    for line in listing.splitlines():
        fields = line.split()
        if len(fields) >= 7 and fields[0].isdigit():
            found.append((fields[1], int(fields[2], 16)))
    return sorted(found, key=lambda s: -s[1])


def main():
    stub = os.path.join(BUILD_ROOT, "i686", *DELIVERABLES[0])
    if not os.path.exists(stub):
        sys.exit(f"missing {stub}: scripts/bench builds it")
    peer = os.path.getsize(PEER) if os.path.exists(PEER) else None
    print(f"{'image':22} {'bytes':>10} {'x unzipsfx':>11}  largest sections")
    for folder, name in DELIVERABLES:
        path = os.path.join(BUILD_ROOT, "i686", folder, name)
        if not os.path.exists(path):
            continue
        size = os.path.getsize(path)
        ratio = f"{size / peer:11.2f}" if peer else f"{'':11}"
        largest = ", ".join(f"{n} {b}" for n, b in sections(path)[:4])
        print(f"{name:22} {size:10} {ratio}  {largest}")
    if peer:
        print(f"{'unzipsfx (Info-ZIP)':22} {peer:10} {1:11.2f}")
    stub_size = os.path.getsize(stub)
    verdict = "within" if stub_size <= TARGET else "ABOVE"
    print(f"stub image {stub_size} bytes: {verdict} the {TARGET}-byte goal")


main()
