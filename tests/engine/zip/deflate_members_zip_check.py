"""Checks the zip of Deflate and Deflate64 members that deflate_encoder_test
wrote, with 7-Zip, Info-ZIP unzip and (for Deflate) Python's zipfile."""
import os
import subprocess
import sys
import zipfile

path = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "deflate_members.zip")
failures = []
for tool in (["7zz", "t", path], ["unzip", "-t", path]):
    done = subprocess.run(tool, capture_output=True, text=True)
    if done.returncode != 0:
        failures.append(f"{tool[0]} failed:\n{done.stdout}{done.stderr}")
with zipfile.ZipFile(path) as archive:
    for info in archive.infolist():
        if info.compress_type == zipfile.ZIP_DEFLATED:
            try:
                archive.read(info)  # checks the CRC
            except zipfile.BadZipFile as error:
                failures.append(f"zipfile: {info.filename}: {error}")
    if not any(i.compress_type == 9 for i in archive.infolist()):
        failures.append("no Deflate64 member in the archive")
if failures:
    print("\n".join(failures))
    sys.exit(1)
print("all members verified")
