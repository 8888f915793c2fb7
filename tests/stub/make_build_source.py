#!/usr/bin/env python3
"""The source archive the builder-made containers come from: a tree zipped
by Info-ZIP into $BRENNICOR_TEST_WORK/stub-build/source.zip, and the tree
itself (less empty files and folders, which no container carries) in
expected/. It carries the launch probe, for the runs that open a file after
extracting."""
import os
import random
import shutil
import subprocess


def main():
    work = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "stub-build")
    shutil.rmtree(work, ignore_errors=True)
    tree = os.path.join(work, "expected")
    rng = random.Random(7)
    files = {
        "notes.txt": b"The quick brown fox.\r\n" * 400,
        "data/table.bin": bytes(rng.randrange(256) for _ in range(50000)),
        "data/more/words.txt": " ".join(rng.choice(["alpha", "beta", "gamma", "delta"]) for _ in range(20000)).encode(),
        "one.txt": b"x",
    }
    for path, data in files.items():
        target = os.path.join(tree, *path.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
    probe = os.path.join(os.environ["BRENNICOR_BINARY_DIR"], "tests", "stub", "stub_launch_probe.exe")
    os.makedirs(os.path.join(tree, "tools"))
    shutil.copy(probe, os.path.join(tree, "tools", "probe.exe"))
    subprocess.run(["zip", "-q", "-r", os.path.join(work, "source.zip"), "."], cwd=tree, check=True)


if __name__ == "__main__":
    main()
