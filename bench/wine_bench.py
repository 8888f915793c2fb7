"""What the benchmarks that run the engine under Wine share: where the x64
build's programs are, a Wine prefix of their own, and the best of a few
timed rounds."""
import os
import subprocess
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
