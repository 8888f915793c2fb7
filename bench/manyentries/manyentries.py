#!/usr/bin/env python3
"""Many entries, measured: archives of 2,000, 8,000 and 32,000 empty entries
in one folder, extracted by the engine under Wine (extract_with_engine.exe,
function 8) beside Wine's floor, a bare loop creating the same names
(write_floor.exe with every size 0). Under Wine each file created costs more
the more the folder already holds, so both grow faster than the count; what
matters is the engine's cost above the floor, which must stay linear: the
last column gives it per entry. One round each: the largest takes minutes.

Usage: bench_manyentries [CORPUS_FOLDER] [COUNTS...]   (the corpus is unused)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from wine_bench import engine_program, require, wine_environment  # noqa: E402

PROGRAM = engine_program("extract_with_engine.exe")
FLOOR = engine_program("write_floor.exe")
COUNTS = (2000, 8000, 32000)


def names(count):
    return [f"many/entry{n:06d}.txt" for n in range(count)]


def seconds_reported(args, env, report):
    # Output through a file: Wine's helper processes may hold a pipe open.
    with open(report, "w") as f:
        subprocess.run(["/usr/lib/wine/wine64"] + args, env=env, check=True, stdout=f, stderr=subprocess.DEVNULL)
    out = open(report).read().split()
    if "result" in out and out[out.index("result") + 1] != "0":
        sys.exit(f"{args[0]} failed: {' '.join(out)}")
    return float(out[out.index("seconds") + 1])


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def measure(count, work, env):
    archive = os.path.join(work, f"many{count}.zip")
    listing = os.path.join(work, f"many{count}.txt")
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_STORED) as z:
        for name in names(count):
            z.writestr(zipfile.ZipInfo(name, (2024, 1, 1, 0, 0, 0)), b"")
    with open(listing, "w") as f:
        f.writelines(f"0 {name}\n" for name in names(count))
    report = os.path.join(work, "report.txt")
    floor_out = fresh(os.path.join(work, "floor"))
    floor = seconds_reported([FLOOR, "Z:" + archive, "Z:" + listing, "Z:" + floor_out], env, report)
    engine_out = fresh(os.path.join(work, "engine"))
    engine = seconds_reported([PROGRAM, "Z:" + archive, "Z:" + engine_out], env, report)
    made = len(os.listdir(os.path.join(engine_out, "many")))
    if made != count:
        sys.exit(f"{count} entries: the engine made {made} files")
    shutil.rmtree(floor_out, ignore_errors=True)
    shutil.rmtree(engine_out, ignore_errors=True)
    return floor, engine


def main():
    counts = [int(a) for a in sys.argv[2:]] or COUNTS
    require(PROGRAM, FLOOR)
    env = wine_environment("wine-manyentries-bench")
    work = tempfile.mkdtemp(prefix="bench-many-")
    try:
        print(f"{'entries':>8} {'Wine floor':>11} {'engine':>9} {'above floor':>12} {'per entry':>11}")
        for count in counts:
            floor, engine = measure(count, work, env)
            above = engine - floor
            if above <= 0:
                sys.exit(f"{count} entries: the engine ({engine:.2f} s) took no longer than Wine's floor ({floor:.2f} s)")
            print(f"{count:8d} {floor:10.2f}s {engine:8.2f}s {above:11.2f}s {above / count * 1e6:8.1f} us",
                  flush=True)
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
