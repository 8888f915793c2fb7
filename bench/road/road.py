#!/usr/bin/env python3
"""The whole road beside Info-ZIP unzip and 7-Zip: the corpus's text.tar
unpacked and zipped by Info-ZIP (zip -6), turned into a self-extracting
program by the build core (the x64 build's build_with_engine.exe and
BrennicorStub.exe, under Wine), then that program run extracting on its own
(auto-run), beside 7-Zip's Windows `7za x` under the same Wine (on all
cores and on one), and `unzip -d` and `7zz x` on the same archive natively.
Prints each side's best whole-process time of a few rounds and its peak
resident memory, and checks every extracted tree against the tar's files.

Usage: bench_road CORPUS_FOLDER    (needs a display for the stub's window)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from wine_bench import (ROUNDS, corpus_folder, engine_program, require, stub_program, unpack_text_tree, wine_environment,
                        windows_7za, zip_tree)  # noqa: E402

BUILDER = engine_program("build_with_engine.exe")
STUB = stub_program()
WINE = "/usr/lib/wine/wine64"


def run_measured(args, **kwargs):
    """(seconds, peak resident KiB, exit code) of one whole process. GNU time
    starts it: a child forked from this script would start with the
    script's own resident size as its peak."""
    with tempfile.NamedTemporaryFile(mode="r") as figures:
        start = time.perf_counter()
        run = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", figures.name] + args,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kwargs)
        took = time.perf_counter() - start
        peak = int(figures.read().split()[-1])
    return took, peak, run.returncode


def files_below(root):
    found = {}
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                found[os.path.relpath(path, root)] = f.read()
    return found


def main():
    corpus = corpus_folder()
    require(BUILDER, STUB, windows_7za())
    work = tempfile.mkdtemp(prefix="bench-road-")
    try:
        source = os.path.join(work, "source")
        members = unpack_text_tree(corpus, source)
        archive = os.path.join(work, "text.zip")
        zip_tree(source, archive)
        # A container carries files with bytes only: compare what all sides share.
        expected = {path: data for path, data in files_below(source).items() if data}
        env = wine_environment("wine-road-bench")

        program = os.path.join(work, "text.exe")
        outputs = {name: os.path.join(work, "out-" + name) for name in ("program", "7za", "7za1", "unzip", "7zz")}
        destination = "Z:" + outputs["program"].replace("/", "\\") + "\\"
        with tempfile.TemporaryFile(mode="w+") as report:
            built = subprocess.run([WINE, BUILDER, "Z:" + archive, "Z:" + program, "Z:" + STUB, destination],
                                   env=env, stdout=report, stderr=subprocess.STDOUT)
            report.seek(0)
            text = report.read()
        if built.returncode != 0:
            sys.exit(f"build failed with {built.returncode}: {text}")
        build_seconds = float(text.split()[-1])

        commands = {
            "program": [WINE, program],
            "7za": [WINE, windows_7za(), "x", "-y", "-bd", "-bso0", "-oZ:" + outputs["7za"], "Z:" + archive],
            "7za1": [WINE, windows_7za(), "x", "-y", "-bd", "-bso0", "-mmt=1", "-oZ:" + outputs["7za1"], "Z:" + archive],
            "unzip": ["unzip", "-q", "-o", archive, "-d", outputs["unzip"]],
            "7zz": ["7zz", "x", "-y", "-bd", "-o" + outputs["7zz"], archive],
        }
        best = {}
        for _ in range(ROUNDS):
            for name, command in commands.items():
                shutil.rmtree(outputs[name], ignore_errors=True)
                os.makedirs(outputs[name])
                took, peak, code = run_measured(command, env=env if command[0] == WINE else None)
                if code != 0:
                    sys.exit(f"{name} failed with {code}")
                if name not in best or took < best[name][0]:
                    best[name] = (took, peak)
        for name, folder in outputs.items():
            got = files_below(folder)
            got = {path: data for path, data in got.items() if data}
            if got != expected:
                sys.exit(f"{name}: extracted tree differs from the tar's files")

        print(f"{len(members)} files, {sum(m.size for m in members)} bytes, archive {os.path.getsize(archive)} bytes")
        print(f"program built in {build_seconds:.3f} s inside the builder, {os.path.getsize(program)} bytes")
        print(f"{'extracting':28} {'seconds':>8} {'peak MiB':>9} {'time / 7za':>11} {'time / unzip':>13}")
        labels = {"program": "built program (Wine)", "7za": "7za x (Wine)", "7za1": "7za x -mmt=1 (Wine)",
                  "unzip": "unzip -d (native)", "7zz": "7zz x (native)"}
        for name in commands:
            took, peak = best[name]
            print(f"{labels[name]:28} {took:8.3f} {peak / 1024:9.1f} {took / best['7za'][0]:11.2f} "
                  f"{took / best['unzip'][0]:13.2f}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


main()
