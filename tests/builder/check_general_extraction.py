"""Checks that the program the General page test built from many.zip
extracted the same tree as Info-ZIP's `unzip -d` does: the same folders,
the same files with the same bytes."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "stub"))
from check_road import tree_below  # noqa: E402

folder = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "builder-general")


def tree(root):
    """Each folder (None) and file (its bytes) below root: times and
    attributes are not compared here."""
    return {name: facts and facts[0] for name, facts in tree_below(root).items()}


with tempfile.TemporaryDirectory() as expected:
    subprocess.run(["unzip", "-q", os.path.join(folder, "many.zip"), "-d", expected], check=True)
    want, got = tree(expected), tree(os.path.join(folder, "many-extracted"))
if want != got:
    print("missing:", sorted(set(want) - set(got))[:10])
    print("extra:", sorted(set(got) - set(want))[:10])
    print("differing:", sorted(k for k in want if k in got and want[k] != got[k])[:10])
    sys.exit(1)
print("ok   %d entries as unzip -d writes them" % len(want))
