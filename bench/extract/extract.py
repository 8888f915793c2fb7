#!/usr/bin/env python3
"""Extraction beside Info-ZIP unzip and 7-Zip: one archive of the corpus's
text.tar files (Deflate, made by Info-ZIP zip -6), extracted by the engine
under Wine (the x64 build's extract_with_engine.exe, timed inside the
process and as a whole process) and by unzip and 7zz natively, best of
three rounds each; every output is compared with the tar's files. The same
archive is also only tested (decoded and checked, nothing written), which
leaves out the cost of creating files, far higher under Wine than natively.
Wine's floor is measured in the same run: write_floor.exe reads the archive
and writes the same files with the same sizes without decoding anything;
the engine's time above that floor is set beside the native decode (unzip
-t), what the engine itself should cost.

Usage: bench_extract CORPUS_FOLDER
The engine's program comes from the x64 benchmark build (bench-x64 beside
this native one), which scripts/bench builds first.
"""
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from wine_bench import best_inside_in_turn, best_of, corpus_folder, engine_program, require, unpack_text_tree, wine_environment, zip_tree  # noqa: E402

PROGRAM = engine_program("extract_with_engine.exe")
FLOOR = engine_program("write_floor.exe")


def same_tree(left, right):
    compare = filecmp.dircmp(left, right)
    if compare.left_only or compare.right_only or compare.diff_files or compare.funny_files:
        return False
    if filecmp.cmpfiles(left, right, compare.common_files, shallow=False)[1]:
        return False
    return all(same_tree(os.path.join(left, d), os.path.join(right, d)) for d in compare.common_dirs)


def main():
    corpus = corpus_folder()
    require(PROGRAM, FLOOR)
    work = tempfile.mkdtemp(prefix="bench-extract-")
    try:
        source = os.path.join(work, "source")
        members = unpack_text_tree(corpus, source)
        archive = os.path.join(work, "text.zip")
        zip_tree(source, archive)
        size = sum(m.size for m in members)
        print(f"{len(members)} files, {size} bytes, archive {os.path.getsize(archive)} bytes")

        listing = os.path.join(work, "files.txt")
        with open(listing, "w") as f:
            f.writelines(f"{m.size} {m.name}\n" for m in members)

        outputs = {name: os.path.join(work, name) for name in ("engine", "unzip", "7zz")}

        def fresh(name):
            shutil.rmtree(outputs[name], ignore_errors=True)
            os.makedirs(outputs[name])
            return outputs[name]

        env = wine_environment("wine-extract-bench")

        report = os.path.join(work, "engine.txt")

        def engine(rounds="1", *mode):
            # Output through a file: Wine's helper processes may hold a pipe open.
            with open(report, "w") as f:
                subprocess.run(["/usr/lib/wine/wine64", PROGRAM, "Z:" + archive, "Z:" + fresh("engine"), rounds]
                               + list(mode), env=env, check=True, stdout=f, stderr=subprocess.DEVNULL)
            out = open(report).read().split()
            return float(out[out.index("seconds") + 1])

        def floor():
            folder = os.path.join(work, "floor")
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
            with open(report, "w") as f:
                subprocess.run(["/usr/lib/wine/wine64", FLOOR, "Z:" + archive, "Z:" + listing, "Z:" + folder],
                               env=env, check=True, stdout=f, stderr=subprocess.DEVNULL)
            out = open(report).read().split()
            return float(out[out.index("seconds") + 1])

        def native(args):
            return lambda: subprocess.run(args, check=True, stdout=subprocess.DEVNULL) and None

        extract = {
            "engine": best_of(engine),
            "unzip": best_of(lambda: native(["unzip", "-qq", "-o", archive, "-d", fresh("unzip")])()),
            "7zz": best_of(lambda: native(["7zz", "x", "-y", "-bd", "-o" + fresh("7zz"), archive])()),
        }
        for name, folder in outputs.items():
            if not same_tree(source, folder):
                sys.exit(f"{name}: output differs from the tar's files")
        # Testing writes nothing, so the process repeats it and keeps its best
        # round: the inside figure leaves out the first touch of every page.
        test = {
            "engine": best_of(lambda: engine("5", "test")),
            "unzip": best_of(native(["unzip", "-tqq", archive])),
            "7zz": best_of(native(["7zz", "t", "-bd", archive])),
        }
        for title, figures in (("extract to files", extract), ("test only", test)):
            inside, whole = figures["engine"][1], figures["engine"][0]
            print(f"{title}:")
            print(f"  engine (Wine, inside the process)  {inside:8.3f} s")
            print(f"  engine (Wine, whole process)       {whole:8.3f} s" + ("  (5 rounds)" if figures is test else ""))
            for peer in ("unzip", "7zz"):
                took = figures[peer][0]
                whole_ratio = "" if figures is test else f", {whole / took:5.2f} whole"
                print(f"  {peer:5} (native, whole process)      {took:8.3f} s   "
                      f"engine/{peer}: {inside / took:5.2f} inside{whole_ratio}")
        # The floor and the engine in turn: their difference is the figure.
        paired = best_inside_in_turn({"floor": floor, "engine": engine})
        floor_inside = paired["floor"]
        above = paired["engine"] - floor_inside
        if above <= 0:
            sys.exit(f"the engine ({paired['engine']:.3f} s) took no longer than Wine's floor ({floor_inside:.3f} s): "
                     "the floor measures something else")
        decode = test["unzip"][0]
        print("Wine's floor (same files written, archive read, nothing decoded):")
        print(f"  floor (Wine, inside the process)   {floor_inside:8.3f} s   engine {paired['engine']:.3f} s, "
              f"best of 5 rounds taken in turn")
        print(f"  engine above the floor             {above:8.3f} s   "
              f"beside unzip -t's native decode {decode:.3f} s: {above / decode:5.2f}x")
    finally:
        shutil.rmtree(work, ignore_errors=True)


main()
