#!/usr/bin/env python3
"""Peak memory of building and extracting one entry of 1.5 GiB: a source zip
holding it is made here on the fly (never kept), the builder's container
writer turns it into a container and the stub's extraction driver extracts
that, each in its own process under Wine (the x64 build's memory_peak.exe),
which reports its own peak working set. Both must stay under 64 MiB, however
large the entry; the extracted file is checked against the source.

Usage: bench_memory [CORPUS_FOLDER]   (the corpus is not used)
"""
import hashlib
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from wine_bench import engine_program, wine_environment  # noqa: E402

PROGRAM = engine_program("memory_peak.exe")
ENTRY_SIZE = 1536 * 1024 * 1024
CHUNK = 1024 * 1024
LIMIT = 64 * 1024 * 1024


def make_source(path):
    """One entry of ENTRY_SIZE bytes of text-like data; its SHA-1."""
    rng = random.Random(11)
    base = bytes(rng.choice(b"abcdefghijklmnop \n") for _ in range(CHUNK))
    digest = hashlib.sha1()
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as archive:
        with archive.open("big/entry.txt", "w", force_zip64=True) as entry:
            for index in range(ENTRY_SIZE // CHUNK):
                piece = b"%016d" % index + base[16:]
                entry.write(piece)
                digest.update(piece)
    return digest.hexdigest()


def sha1_of(path):
    digest = hashlib.sha1()
    with open(path, "rb") as f:
        for piece in iter(lambda: f.read(CHUNK), b""):
            digest.update(piece)
    return digest.hexdigest()


def run_side(env, *args):
    done = subprocess.run(["/usr/lib/wine/wine64", PROGRAM] + list(args), env=env, capture_output=True, text=True)
    found = re.search(r"peak working set: (\d+) bytes", done.stdout)
    if done.returncode != 0 or not found:
        sys.exit("memory_peak %s failed: %s %s" % (args[0], done.stdout, done.stderr))
    return int(found.group(1))


def main():
    env = wine_environment("brennicor-bench-memory")
    work = tempfile.mkdtemp(prefix="brennicor-memory-")
    try:
        source = os.path.join(work, "source.zip")
        expected = make_source(source)
        container = os.path.join(work, "entry.container")
        out = os.path.join(work, "out")
        to_wine = lambda path: "Z:" + path.replace("/", "\\")  # noqa: E731
        built = run_side(env, "build", to_wine(source), to_wine(container))
        os.remove(source)
        extracted = run_side(env, "extract", to_wine(container), to_wine(out) + "\\")
        if sha1_of(os.path.join(out, "big", "entry.txt")) != expected:
            sys.exit("the extracted entry differs from the source")
        print("entry of %d MiB: build peak %.1f MiB, extraction peak %.1f MiB (limit %d MiB)"
              % (ENTRY_SIZE >> 20, built / 2**20, extracted / 2**20, LIMIT >> 20))
        if built >= LIMIT or extracted >= LIMIT:
            sys.exit("peak working set over the limit")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
