#!/usr/bin/env python3
"""Volumes that fail as real disks fail, for the built program's failure
tests: $BRENNICOR_TEST_WORK/stub-volumes/read-only (a read-only tmpfs) and
full (a tiny tmpfs filled to its last byte), and the file "mounted" beside
them once both are there. "mount" makes them, "unmount"
takes them away. Where this machine lets no one mount, no volume is made and
the tests that need one skip."""
import os
import subprocess
import sys

ROOT = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "stub-volumes")
VOLUMES = {"read-only": "ro,size=64k", "full": "size=16k"}


def unmount():
    if os.path.exists(os.path.join(ROOT, "mounted")):
        os.remove(os.path.join(ROOT, "mounted"))
    for name in VOLUMES:
        path = os.path.join(ROOT, name)
        while os.path.ismount(path):
            subprocess.run(["umount", path], check=True)


def fill(path):
    filler = os.open(os.path.join(path, "filler"), os.O_WRONLY | os.O_CREAT)
    try:
        while os.write(filler, b"\0" * 4096) > 0:
            pass
    except OSError:
        pass
    os.close(filler)


def mount():
    unmount()
    for name, options in VOLUMES.items():
        path = os.path.join(ROOT, name)
        os.makedirs(path, exist_ok=True)
        made = subprocess.run(["mount", "-t", "tmpfs", "-o", options, "tmpfs", path],
                              stderr=subprocess.DEVNULL).returncode == 0
        if not made:
            print("no volume mounted at %s: the failure tests that need it skip" % path)
            unmount()
            return
    fill(os.path.join(ROOT, "full"))
    open(os.path.join(ROOT, "mounted"), "w").close()


if __name__ == "__main__":
    {"mount": mount, "unmount": unmount}[sys.argv[1]]()
