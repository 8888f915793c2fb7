"""Reads the bar state the frame tests saved, once from the registry with Wine's
own `reg query` and once from the INI file with configparser, and checks both
against the stored layout: which values a section holds and when, their order
in the INI file, the numbering of the sections, and what the user's layout
(menu bar floating at 300, 200, status bar hidden, a bar on the left) left."""
import configparser
import os
import re
import subprocess
import sys

WINE = sys.argv[1]
APP_KEY = r"HKCU\Software\BrennicorToolkitFrameState\Frame Test"
INI_FILE = os.path.join(os.environ["BRENNICOR_TEST_WORK"], "toolkit_frame_state.ini")
PROFILE = "ShapedFramePOS"

WRITE_ORDER = ["BarID", "Visible", "Horz", "Floating", "XPos", "YPos", "MRUWidth", "Docking", "MRUDockID",
               "MRUDockLeftPos", "MRUDockTopPos", "MRUDockRightPos", "MRUDockBottomPos", "MRUFloatStyle",
               "MRUFloatXPos", "MRUFloatYPos", "Bars"]
MRU_GROUP = WRITE_ORDER[8:16]
MENU_BAR, STATUS_BAR, SIDE_BAR = 59480, 59393, 59456
DOCK_TOP, DOCK_BOTTOM, DOCK_LEFT, DOCK_RIGHT, DOCK_FLOAT = 59419, 59422, 59420, 59421, 59423


def as_int(value):
    value = int(value, 0)
    return value - (1 << 32) if value >= 1 << 31 else value


def registry_sections():
    """{section: [(name, value)]} from `reg query /s`; every value must be a REG_DWORD."""
    out = subprocess.run([WINE, "reg", "query", APP_KEY, "/s"], capture_output=True, text=True, check=True).stdout
    sections, current = {}, None
    for line in out.splitlines():
        if line.startswith("HKEY_"):
            current = sections.setdefault(line.rsplit("\\", 1)[1], [])
        elif line.strip() and current is not None:
            name, kind, value = re.split(r" {4}", line.strip())
            assert kind == "REG_DWORD", line
            current.append((name, as_int(value)))
    return sections


def ini_sections():
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(INI_FILE)
    return {name: [(k, as_int(v)) for k, v in parser.items(name)] for name in parser.sections()}


def check_order(values, where):
    names = [n for n, _ in values]
    ranks = [WRITE_ORDER.index(n) if n in WRITE_ORDER else len(WRITE_ORDER) for n in names]
    assert ranks == sorted(ranks), f"{where}: written out of order: {names}"
    lists = [n for n in names if n.startswith("Bar#")]
    assert lists == [f"Bar#{i}" for i in range(len(lists))], f"{where}: {lists}"


def check_bar_section(name, values):
    v = dict(values)
    allowed = set(WRITE_ORDER) | {f"Bar#{i}" for i in range(v.get("Bars", 0))}
    assert set(v) <= allowed, f"{name}: unexpected values {set(v) - allowed}"
    assert "BarID" in v, name
    assert v.get("Visible", 0) == 0, f"{name}: Visible written only as 0"
    assert v.get("Floating", 1) == 1 and ("Horz" in v) == ("Floating" in v), name
    assert v.get("XPos", 0) != -1 and v.get("YPos", 0) != -1, name
    assert v.get("MRUWidth", 0) != 32767, name
    has_mru = [m in v for m in MRU_GROUP]
    assert all(has_mru) == ("Docking" in v) and any(has_mru) == ("Docking" in v), f"{name}: MRU values"
    if "Docking" in v:
        assert v["Docking"] == 1, name
    if "Bars" in v:
        assert v["Bars"] > 1, f"{name}: a list of one entry is not written"
    return v


def check(sections, source, ordered):
    summary = dict(sections.pop(f"{PROFILE}-Summary"))
    assert set(summary) == {"Bars", "ScreenCX", "ScreenCY"}, f"{source}: {summary}"
    assert summary["ScreenCX"] > 0 and summary["ScreenCY"] > 0, source
    count = summary["Bars"]
    assert set(sections) == {f"{PROFILE}-Bar{n}" for n in range(count)}, f"{source}: {sorted(sections)} for {count}"
    by_id = {}
    for name, values in sections.items():
        if ordered:
            check_order(values, f"{source} {name}")
        v = check_bar_section(f"{source} {name}", values)
        by_id[v["BarID"]] = v

    def bar_list(bar_id):
        v = by_id[bar_id]
        return [v[f"Bar#{i}"] for i in range(v["Bars"])]

    assert by_id[STATUS_BAR].get("Visible") == 0, f"{source}: the hidden status bar"
    assert "Visible" not in by_id[SIDE_BAR], f"{source}: a visible docked bar writes no Visible"
    floating = by_id[DOCK_FLOAT]
    assert (floating["Floating"], floating["Horz"], floating["XPos"], floating["YPos"]) == (1, 1, 300, 200), source
    assert bar_list(DOCK_FLOAT) == [0, MENU_BAR, 0], source
    assert bar_list(DOCK_LEFT) == [0, SIDE_BAR, 0], source
    # The menu bar's old place on the top side is kept for it (flag 0x10000 over its id).
    assert bar_list(DOCK_TOP) == [0, 0x10000 | MENU_BAR, 0], source
    # Sides that say nothing beyond the defaults are not written.
    assert DOCK_BOTTOM not in by_id and DOCK_RIGHT not in by_id, source


check(registry_sections(), "registry", ordered=False)
check(ini_sections(), "INI file", ordered=True)
print("bar state: registry and INI file as stored")
