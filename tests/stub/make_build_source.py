#!/usr/bin/env python3
"""The source archive the builder-made containers come from: a tree zipped
by Info-ZIP into $BRENNICOR_TEST_WORK/stub-build/source.zip, with empty
files, empty folders, an old time and a read-only file, and what Info-ZIP's
unzip makes of it in expected/. It carries the launch probe, for the runs
that open a file after extracting."""
import os
import random
import shutil
import stat
import subprocess
import time
import zipfile

OLD_TIME = time.mktime((2001, 2, 3, 4, 5, 6, 0, 0, -1))


def main():
    work = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "stub-build")
    shutil.rmtree(work, ignore_errors=True)
    tree = os.path.join(work, "tree")
    rng = random.Random(7)
    files = {
        "notes.txt": b"The quick brown fox.\r\n" * 400,
        "data/table.bin": bytes(rng.randrange(256) for _ in range(50000)),
        "data/more/words.txt": " ".join(rng.choice(["alpha", "beta", "gamma", "delta"]) for _ in range(20000)).encode(),
        "one.txt": b"x",
        "empty.txt": b"",
        "pkg/__init__.py": b"",
        "pkg/mod.py": b"VALUE = 1\n",
    }
    for path, data in files.items():
        target = os.path.join(tree, *path.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
    for folder in ("empty-folder", "deep/er/empty"):
        os.makedirs(os.path.join(tree, *folder.split("/")))
    os.utime(os.path.join(tree, "data", "more", "words.txt"), (OLD_TIME, OLD_TIME))
    probe = os.path.join(os.environ["BRENNICOR_BINARY_DIR"], "tests", "stub", "stub_launch_probe.exe")
    os.makedirs(os.path.join(tree, "tools"))
    shutil.copy(probe, os.path.join(tree, "tools", "probe.exe"))
    os.chmod(os.path.join(tree, "one.txt"), stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
    source = os.path.join(work, "source.zip")
    subprocess.run(["zip", "-q", "-r", source, "."], cwd=tree, check=True)
    subprocess.run(["unzip", "-q", source, "-d", os.path.join(work, "expected")], check=True)
    os.chmod(os.path.join(tree, "one.txt"), stat.S_IRUSR | stat.S_IWUSR)
    make_name_sources(work)
    make_folder_times(work)


# Folders dated in winter and in summer, one holding a file and one empty,
# zipped by Info-ZIP with their own entries in the zone with summer time the
# road tests run in, and what its unzip makes of them in folder-times-expected/.
SUMMER_TIME_ZONE = "Europe/Berlin"
FOLDER_TIMES = {"dated": (2001, 2, 3, 4, 5, 6), "dated/summer-empty": (2003, 7, 8, 9, 10, 12)}


def make_folder_times(work):
    os.environ["TZ"] = SUMMER_TIME_ZONE
    time.tzset()
    tree = os.path.join(work, "folder-times-tree")
    os.makedirs(os.path.join(tree, "dated", "summer-empty"))
    with open(os.path.join(tree, "dated", "inner.txt"), "wb") as f:
        f.write(b"inside a dated folder")
    # Deepest first: dating a folder leaves the one above it as it is.
    for folder, when in sorted(FOLDER_TIMES.items(), reverse=True):
        stamp = time.mktime(when + (0, 0, -1))
        os.utime(os.path.join(tree, *folder.split("/")), (stamp, stamp))
    source = os.path.join(work, "folder-times.zip")
    subprocess.run(["zip", "-q", "-r", source, "."], cwd=tree, check=True)
    subprocess.run(["unzip", "-q", source, "-d", os.path.join(work, "folder-times-expected")], check=True)


# Names outside ASCII, as 7-Zip and Python store them (UTF-8, flag bit 11)
# and as Info-ZIP zip stores them here (UTF-8, unflagged, host Unix), and
# what 7-Zip extracts from each in names-<writer>/.
NAMES = {"日本語.txt": b"nihongo", "Ελληνικά/αρχείο.txt": b"greek", "€_for_Dollar.txt": b"euro"}


def make_name_sources(work):
    names_tree = os.path.join(work, "names-tree")
    for name, data in NAMES.items():
        target = os.path.join(names_tree, *name.split("/"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
    with zipfile.ZipFile(os.path.join(work, "names-python.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in NAMES.items():
            z.writestr(name, data)
    subprocess.run(["7zz", "a", "-tzip", "-bd", "-bso0", os.path.join(work, "names-7zip.zip"), "."],
                   cwd=names_tree, check=True)
    subprocess.run(["zip", "-q", "-r", "-X", os.path.join(work, "names-infozip.zip"), "."], cwd=names_tree, check=True,
                   env=dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8"))
    for writer in ("python", "7zip", "infozip"):
        subprocess.run(["7zz", "x", "-bd", "-bso0", "-o" + os.path.join(work, "names-" + writer),
                        os.path.join(work, "names-%s.zip" % writer)], check=True)


if __name__ == "__main__":
    main()
