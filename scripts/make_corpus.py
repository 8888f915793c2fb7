#!/usr/bin/env python3
"""Makes a benchmark corpus of the shared one's shape from what this machine has,
for a machine that has no shared corpus: text.tar, a tar (sorted names, fixed
times and owners) of the Python standard library's .py files, and binary.bin,
the first 16 MiB of such a tar of ELF programs. Usage: make_corpus.py FOLDER"""
import io
import os
import sys
import sysconfig
import tarfile

BINARY_BYTES = 16 * 1024 * 1024
TEXT_BYTES = 14 * 1000 * 1000  # about the shared text tar's size, in whole files
PROGRAM_FOLDERS = ("/usr/bin", "/usr/lib/x86_64-linux-gnu")


def files_under(root, keep):
    found = []
    for folder, subfolders, names in os.walk(root):
        subfolders.sort()
        found.extend(os.path.join(folder, n) for n in names if keep(os.path.join(folder, n)))
    return sorted(found)


def is_elf(path):
    try:
        if os.path.islink(path) or not os.path.isfile(path):
            return False
        with open(path, "rb") as f:
            return f.read(4) == b"\x7fELF"
    except OSError:
        return False


def tar_of(paths, root, limit):
    """A tar of whole files under root, with fixed metadata so that the same
    files give the same bytes, ending with the file that reaches limit."""
    out = io.BytesIO()
    with tarfile.open(fileobj=out, mode="w", format=tarfile.GNU_FORMAT) as tar:
        for path in paths:
            with open(path, "rb") as f:
                data = f.read()
            info = tarfile.TarInfo(os.path.relpath(path, root))
            info.size, info.mtime, info.mode = len(data), 0, 0o644
            tar.addfile(info, io.BytesIO(data))
            if out.tell() >= limit:
                break
    return out.getvalue()


def main(folder):
    os.makedirs(folder, exist_ok=True)
    stdlib = sysconfig.get_paths()["stdlib"]
    sources = files_under(stdlib, lambda p: p.endswith(".py") and "site-packages" not in p)
    text = tar_of(sources, os.path.dirname(stdlib), TEXT_BYTES)
    programs = [p for root in PROGRAM_FOLDERS for p in files_under(root, is_elf)]
    binary = tar_of(programs, "/", BINARY_BYTES)[:BINARY_BYTES]
    if len(binary) < BINARY_BYTES:
        sys.exit(f"make_corpus: only {len(binary)} bytes of programs found, {BINARY_BYTES} needed")
    for name, data in (("text.tar", text), ("binary.bin", binary)):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
