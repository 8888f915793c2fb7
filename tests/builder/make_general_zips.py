"""Makes the General page tests' zips in the scratch folder builder-general/:
many.zip, 150 entries in folders (folder entries among them), with
many.count holding the number of entries Python's zipfile sees and the
number of files among them, and notzip.zip, a text file with a zip's name.
Clears what an earlier run extracted."""
import os
import shutil
import zipfile

folder = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "builder-general")
os.makedirs(folder, exist_ok=True)
shutil.rmtree(os.path.join(folder, "many-extracted"), ignore_errors=True)
many = os.path.join(folder, "many.zip")
with zipfile.ZipFile(many, "w", zipfile.ZIP_DEFLATED) as z:
    for d in range(10):
        z.writestr("dir%02d/" % d, b"")
        for f in range(13):
            z.writestr("dir%02d/file%02d.txt" % (d, f), ("entry %d %d\n" % (d, f)).encode() * (d + f + 1))
    for f in range(10):
        z.writestr("top%02d.txt" % f, b"top level\n")
with zipfile.ZipFile(many) as z:
    count = len(z.infolist())
    files = len([i for i in z.infolist() if not i.is_dir()])
assert count == 150, count
with open(os.path.join(folder, "many.count"), "w") as f:
    f.write("%d %d" % (count, files))
with open(os.path.join(folder, "notzip.zip"), "w") as f:
    f.write("this is not a zip archive\n" * 20)
