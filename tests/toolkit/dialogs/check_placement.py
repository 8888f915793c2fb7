"""The "WindowPlacement" value that the dialogs test left behind: 44 bytes of
32-bit little-endian fields, and a window closed minimised stored as normal."""
import os
import struct
import subprocess
import sys
import tempfile

KEY = r"HKCU\Software\BrennicorToolkitDialogsTest\Dialogs\Minimised"
SW_SHOWNORMAL = 1


def read_value(key, name):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "out.reg")
        done = subprocess.run(["/usr/lib/wine/wine64", "reg", "export", key, path, "/y"],
                              capture_output=True)
        if done.returncode != 0:
            sys.exit("reg export %s failed (%d): %s" % (key, done.returncode, done.stderr.decode(errors="replace")))
        text = open(path, "rb").read().decode("utf-16")
    joined = text.replace("\\\r\n", "").replace("\\\n", "")
    for line in joined.splitlines():
        if line.startswith('"%s"=hex:' % name):
            hex_text = line.split("hex:", 1)[1].replace(" ", "")
            return bytes(int(b, 16) for b in hex_text.split(",") if b)
    sys.exit("value %s not found under %s" % (name, KEY))


data = read_value(KEY, "WindowPlacement")
assert len(data) == 44, len(data)
length, flags, show = struct.unpack_from("<III", data, 0)
left, top, right, bottom = struct.unpack_from("<iiii", data, 28)
assert length == 44, length
assert show == SW_SHOWNORMAL, show
assert right > left and bottom > top, (left, top, right, bottom)
print("1 passed, 0 failed")
