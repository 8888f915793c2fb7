"""Reads what the settings store test left behind with tools of its own: the
registry through Wine's reg export, the INI file through configparser."""
import configparser
import os
import re
import struct
import subprocess
import sys
import tempfile

WORK = os.environ["BRENNICOR_TEST_WORK"]
BLOB = bytes((i * 7 + i // 256) & 0xFF for i in range(3000))
KEY = r"HKEY_CURRENT_USER\Software\BrennicorToolkitCommonTest\Store Test"


def exported_values():
    """Maps 'Section\\name' to (kind, value) from a reg export."""
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "store.reg")
        subprocess.run(["/usr/lib/wine/wine64", "reg", "export", KEY, out, "/y"], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        text = open(out, "rb").read().decode("utf-16")
    text = re.sub(r"\\\r?\n\s*", "", text)
    values, section = {}, None
    for line in text.splitlines():
        if line.startswith("["):
            section = line.strip("[]")[len(KEY) + 1:]
        elif line.startswith('"') and section is not None:
            name, data = re.match(r'"(.*)"=(.*)', line).groups()
            if data.startswith("dword:"):
                values[section + "\\" + name] = ("dword", int(data[6:], 16))
            elif data.startswith("hex:"):
                values[section + "\\" + name] = ("binary", bytes(int(b, 16) for b in data[4:].split(",") if b))
            else:
                values[section + "\\" + name] = ("string", data.strip('"'))
    return values


def check_registry():
    v = exported_values()
    assert v["Settings\\bXPMode"] == ("dword", 1), v.get("Settings\\bXPMode")
    assert v["Values\\Negative"] == ("dword", 0xFFFFFFFE)
    assert v["Values\\Text"] == ("string", "hello store")
    assert v["Values\\Three"] == ("binary", b"\x00\x1f\xff")
    assert v["Values\\Large"] == ("binary", BLOB)
    kind, placement = v["Settings\\Window Position"]
    assert kind == "binary" and len(placement) == 48
    zero, length, flags, show = struct.unpack_from("<4I", placement)
    assert (zero, length, show) == (0, 48, 3), (zero, length, show)


def check_ini():
    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    ini.read(os.path.join(WORK, "toolkit_store.ini"))
    values = ini["Values"]
    assert values["Negative"] == "-2"
    assert values["Text"] == "hello ini"
    assert values["Three"] == "AAPBPP"
    letters = values["Large"]
    assert len(letters) == 6000
    decoded = bytes((ord(letters[i]) - 65) + 16 * (ord(letters[i + 1]) - 65) for i in range(0, 6000, 2))
    assert decoded == BLOB


check_registry()
check_ini()
print("settings store values read back")
sys.exit(0)
