"""Checks that the program the General page test built from many.zip
extracted the same tree as Info-ZIP's `unzip -d` does: the same folders,
the same files with the same bytes."""
import os
import subprocess
import sys
import tempfile

folder = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "builder-general")


def tree(root):
    found = {}
    for here, dirs, files in os.walk(root):
        for d in dirs:
            found[os.path.relpath(os.path.join(here, d), root) + "/"] = None
        for f in files:
            with open(os.path.join(here, f), "rb") as data:
                found[os.path.relpath(os.path.join(here, f), root)] = data.read()
    return found


with tempfile.TemporaryDirectory() as expected:
    subprocess.run(["unzip", "-q", os.path.join(folder, "many.zip"), "-d", expected], check=True)
    want, got = tree(expected), tree(os.path.join(folder, "many-extracted"))
if want != got:
    print("missing:", sorted(set(want) - set(got))[:10])
    print("extra:", sorted(set(got) - set(want))[:10])
    print("differing:", sorted(k for k in want if k in got and want[k] != got[k])[:10])
    sys.exit(1)
print("ok   %d entries as unzip -d writes them" % len(want))
