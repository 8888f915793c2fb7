"""What the benchmarks that run the engine under Wine share: where the x64
build's programs are, the corpus and its text tree, a Wine prefix of their
own, and the best of a few timed rounds."""
import os
import subprocess
import sys
import tarfile
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
# The scripts run from the bench build's bench/ folder: the build root is two up.
BUILD_ROOT = os.environ.get("BRENNICOR_BUILD_ROOT", os.path.normpath(os.path.join(HERE, "..", "..")))
ROUNDS = 3


# The Windows programs come from the x64 benchmark build beside this one.
WINDOWS_BUILD = os.path.join(BUILD_ROOT, "bench-x64")


def engine_program(name):
    return os.path.join(WINDOWS_BUILD, "bench-programs", name)


def stub_program():
    return os.path.join(WINDOWS_BUILD, "stub", "BrennicorStub.exe")


def windows_7za():
    """7-Zip's Windows command-line program, which scripts/bench installs into the
    build tree (npm package 7zip-bin): the peer that runs under the same Wine."""
    return os.path.join(BUILD_ROOT, "peers", "node_modules", "7zip-bin", "win", "x64", "7za.exe")


def run_quietly(args, env):
    """Runs a Windows program under Wine, output through a file (Wine's helper
    processes inherit a pipe and keep it open); fails the benchmark on a
    nonzero exit."""
    with tempfile.TemporaryFile(mode="w+") as output:
        run = subprocess.run(args, env=env, stdout=output, stderr=subprocess.STDOUT)
        if run.returncode != 0:
            output.seek(0)
            sys.exit(f"{os.path.basename(args[1])} failed with {run.returncode}: {output.read()[-2000:]}")


def corpus_folder():
    """The corpus named on the command line, else the shared one beside the repository."""
    return sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "shared", "corpus")


def require(*programs):
    for needed in programs:
        if not os.path.exists(needed):
            sys.exit(f"missing {needed}: scripts/bench builds it")


def unpack_text_tree(corpus, folder):
    """The files of the corpus's text.tar unpacked into folder; their tar members."""
    with tarfile.open(os.path.join(corpus, "text.tar")) as tar:
        members = [m for m in tar.getmembers() if m.isfile()]
        tar.extractall(folder, members=members, filter="data")
    return members


def zip_tree(folder, archive):
    """folder's files in one archive made by Info-ZIP zip at level 6, no extra fields."""
    subprocess.run(["zip", "-6", "-r", "-q", "-X", archive, "."], cwd=folder, check=True)


def best_of(run):
    """The fastest of ROUNDS runs, as (whole seconds, what run() returned)."""
    best = None
    for _ in range(ROUNDS):
        start = time.perf_counter()
        inside = run()
        took = time.perf_counter() - start
        best = (took, inside) if best is None or took < best[0] else best
    return best


def best_inside_in_turn(runs, rounds=5):
    """For runs that time themselves (each returns its inside seconds): the
    smallest figure of each over a few rounds taken in turn, so that a busy
    spell on the machine slows all of them alike."""
    best = {}
    for _ in range(rounds):
        for name, run in runs.items():
            inside = run()
            best[name] = min(best.get(name, inside), inside)
    return best


def wine_environment(prefix_name):
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(tempfile.gettempdir(), prefix_name))
    env.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", WINEARCH="win64")
    if not os.path.isdir(env["WINEPREFIX"]):
        subprocess.run(["/usr/lib/wine/wine64", "wineboot", "-i"], env=env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["/usr/lib/wine/wineserver", "-p"], env=env)  # already running is fine
    return env
