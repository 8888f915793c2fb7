#!/usr/bin/env python3
"""Compares the tree the stub extracted with Info-ZIP's, less the folders
and empty files that a container does not carry."""
import os
import sys


def files_below(root):
    found = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, root)] = f.read()
    return found


def main():
    work = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "stub-road")
    expected = {path: data for path, data in files_below(os.path.join(work, "expected")).items() if data}
    extracted = files_below(os.path.join(work, "extracted"))
    if extracted != expected:
        sys.exit(f"extracted {sorted(extracted)} differs from unzip's {sorted(expected)}")
    print(f"{len(extracted)} files as unzip extracts them")


if __name__ == "__main__":
    main()
