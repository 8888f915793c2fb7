#!/usr/bin/env python3
"""Archive creation beside Info-ZIP zip and 7-Zip: the 868 files of the
corpus's text.tar, unpacked, put into one Deflate archive at level 6 by the
engine under Wine (the x64 build's create_with_engine.exe, timed inside the
process and as a whole process), by 7-Zip's Windows 7za (`a -tzip -mx=5`,
the level of our level 6's size) under the same Wine, on all cores and on
one, and by `zip -6 -r` and `7zz a -tzip -mx=6` natively, best of three
rounds each. Prints times, sizes and ratios, and
checks every archive with `unzip -t`.

Usage: bench_zipcreate CORPUS_FOLDER
The engine's program comes from the x64 benchmark build (bench-x64 beside
this native one), which scripts/bench builds first.
"""
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from wine_bench import (ROUNDS, best_of, corpus_folder, engine_program, require, run_quietly, unpack_text_tree,
                        wine_environment, windows_7za)  # noqa: E402

PROGRAM = engine_program("create_with_engine.exe")
LEVEL = 6


def main():
    corpus = corpus_folder()
    require(PROGRAM, windows_7za())
    work = tempfile.mkdtemp(prefix="bench-zipcreate-")
    try:
        source = os.path.join(work, "source")
        members = unpack_text_tree(corpus, source)
        size = sum(m.size for m in members)
        print(f"{len(members)} files, {size} bytes, level {LEVEL}, best of {ROUNDS}")
        env = wine_environment("wine-zipcreate-bench")

        def archive(name):
            path = os.path.join(work, name + ".zip")
            if os.path.exists(path):
                os.remove(path)
            return path

        def engine():
            # Output through a file: Wine's helper processes inherit a pipe and keep it open.
            with tempfile.TemporaryFile(mode="w+") as output:
                run = subprocess.run(["/usr/lib/wine/wine64", PROGRAM, "Z:" + archive("engine"), "Z:" + source,
                                      str(LEVEL)], env=env, stdout=output, stderr=subprocess.STDOUT)
                output.seek(0)
                text = output.read()
            if run.returncode != 0:
                sys.exit(f"engine failed with {run.returncode}: {text}")
            return float(text.split()[-1])

        def sevenzip_wine(name, *options):
            def run():
                run_quietly(["/usr/lib/wine/wine64", windows_7za(), "a", "-tzip", "-mx=5", *options, "-bd", "-bso0",
                             "Z:" + archive(name), "Z:" + source + "/*"], env)
            return run

        def infozip():
            subprocess.run(["zip", f"-{LEVEL}", "-r", "-q", "-X", archive("infozip"), "."], cwd=source, check=True)

        def sevenzip():
            subprocess.run(["7zz", "a", "-tzip", f"-mx={LEVEL}", "-bd", "-bso0", "-bsp0", archive("7zz"), "."],
                           cwd=source, check=True)

        rows = [("engine (Wine)", "engine", best_of(engine)), ("Info-ZIP zip", "infozip", best_of(infozip)),
                ("7zz -tzip", "7zz", best_of(sevenzip)),
                ("7za (Wine)", "7za", best_of(sevenzip_wine("7za"))),
                ("7za -mmt1 (Wine)", "7za1", best_of(sevenzip_wine("7za1", "-mmt=1")))]
        failed = [label for label, name, _ in rows
                  if subprocess.run(["unzip", "-tqq", os.path.join(work, name + ".zip")], capture_output=True).returncode]
        if failed:
            sys.exit(f"unzip -t fails on the archive of: {', '.join(failed)}")
        print(f"{'tool':16} {'seconds':>9} {'in process':>11} {'archive bytes':>14} {'ratio':>7}")
        for label, name, (took, inside) in rows:
            bytes_ = os.path.getsize(os.path.join(work, name + ".zip"))
            inner = f"{inside:11.3f}" if inside is not None else f"{'':11}"
            print(f"{label:16} {took:9.3f} {inner} {bytes_:14} {bytes_ / size:7.3%}")
        whole = {name: took for _, name, (took, _) in rows}
        print(f"engine / 7za under the same Wine, whole process: {whole['engine'] / whole['7za']:.2f} "
              f"(single-threaded 7za: {whole['engine'] / whole['7za1']:.2f})")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
