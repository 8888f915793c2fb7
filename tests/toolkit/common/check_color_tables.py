"""Recomputes the toolkit colour tables the Windows test wrote, from the same
system colours, with its own reading of the rules; and checks the RGB/HLS
conversions against colorsys."""
import colorsys
import math
import os
import sys

WORK = os.environ["BRENNICOR_TEST_WORK"]
RANGES = (195.0, 390.0, 65.0)


def comps(c):
    return [c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF]


def pack(rgb):
    r, g, b = [min(255, max(0, int(v))) for v in rgb]
    return r | g << 8 | b << 16


def blend(a, b, w):
    d = 100 if w < 100 else 1000
    return pack([(x * w + y * (d - w) + d // 2) // d for x, y in zip(comps(a), comps(b))])


def space(c):
    return [v * r / 255.0 for v, r in zip(comps(c), RANGES)]


def back(p):
    return pack([int(min(max(v, 0.0), r) * 255.0 / r) for v, r in zip(p, RANGES)])


def dist(a, b):
    return math.dist(space(a), space(b))


def threshold(bright, t):
    return (2 - min(bright, 220.0) / 220.0) * t


def distinct(a, b, t):
    f = threshold(int(dist(a, 0)), int(t))
    return dist(a, b) ** 2 > f * f


def push(a, b, t):
    ba = dist(a, 0)
    f = threshold(ba, t)
    pa, pb = space(a), space(b)
    flip = (ba <= 442 - f) if dist(b, 0) > ba else (ba <= f)
    if flip:
        pa = [r - v for v, r in zip(pa, RANGES)]
        pb = [r - v for v, r in zip(pb, RANGES)]
    n = max(math.hypot(*pb), 0.001)
    u = [v / n for v in pb]
    proj = sum(x * y for x, y in zip(pa, u))
    off = sum(x * x for x in pa) - proj * proj
    s = proj - math.sqrt(max(f * f - off, 0.0))
    r = [v * s for v in u]
    if flip:
        r = [rr - v for v, rr in zip(r, RANGES)]
    return back(r)


def pull(a, b, t):
    f = threshold(dist(a, 0), t)
    d = dist(a, b)
    if d <= 0:
        return b
    pa, pb = space(a), space(b)
    return back([y + (x - y) * (d - f) / d for x, y in zip(pa, pb)])


DEFAULTS = {30: 15, 31: 5, 32: 13, 33: 13, 35: 17, 36: 5, 37: 13, 38: 16, 39: 16, 40: 16, 41: 5, 42: 16,
            43: 16, 44: 8, 45: 7, 46: 18, 47: 14, 48: 15, 49: 18}
BLENDS = [(30, 5, 15, 165), (31, 13, 5, 30), (33, 13, 5, 50), (41, 15, 5, 143), (35, 17, 5, 70),
          (38, 16, 5, 75), (39, 16, 5, 70), (43, 46, 16, 20), (40, 16, 5, 90), (42, 15, 16, 90)]
FIXES = [(31, 30, 31, 50), (32, 30, 13, 100), (33, 30, 33, 30), (35, 41, 35, 80), (37, 33, 37, 100),
         (38, 30, 38, 85), (39, 30, 39, 50), (43, 47, 43, 100), (40, 30, 40, 80), (44, 41, 44, 180),
         (45, 31, 45, 180), (46, 30, 46, 180), (47, 33, 47, 180)]


def table(system, bits):
    t = [0] * 50
    t[1:29] = system
    for e, s in DEFAULTS.items():
        t[e] = t[s]
    if bits <= 8:
        return t
    for e, a, b, w in BLENDS:
        t[e] = blend(t[a], t[b], w)
    if distinct(t[15], t[30], 35):
        t[30] = pull(t[15], t[30], 35)
    for e, a, b, th in FIXES:
        if not distinct(t[a], t[b], th):
            t[e] = push(t[a], t[b], th)
    if distinct(t[41], t[35], 145):
        t[35] = pull(t[41], t[35], 145)
    f, w, s = comps(t[30]), comps(t[5]), t[13]
    t[36] = pack([f[0] // 2 + int(w[0] * 0.4) + (s & 0xFF) // 10,
                  f[1] // 2 + int(w[1] * 0.4) + (s & 0xFFFF) // 2560,
                  f[2] // 2 + int(w[2] * 0.4) + (s & 0xFFFFFF) // 0xA0000])
    m = max(comps(t[15]))
    t[48] = 0x232323 if m == 0 else pack([v * (255 if m > 219 else m + 35) // m for v in comps(t[15])])
    if t[15] == 0:
        t[49] = 0x7F7F7F
    else:
        m = max(comps(t[16]))
        t[49] = 0 if m == 0 else pack([v * (0 if m < 43 else m - 43) // m for v in comps(t[16])])
    t[34] = pack([int(v * 0.75) for v in comps(t[31])])
    return t


def check_tables():
    failures = 0
    lines = open(os.path.join(WORK, "toolkit_color_tables.txt")).read().splitlines()
    assert len(lines) == 3, lines
    for line in lines:
        head, got = line.split("|")
        words = head.split()
        name, bits = words[0], int(words[1])
        system = [int(w, 16) for w in words[2:]]
        got = [int(w, 16) for w in got.split()]
        want = table(system, bits)
        for i, (g, w) in enumerate(zip(got, want)):
            if g != w:
                failures += 1
                print(f"{name}: entry {i} is {g:06X}, expected {w:06X}")
    return failures


def near_integer_cut(x, got):
    # 255 * v can land a hair either side of a whole number.
    return abs(x - round(x)) < 1e-6 and got in (math.floor(x), round(x))


def check_hls():
    failures = 0
    for line in open(os.path.join(WORK, "toolkit_hls.txt")):
        words = line.split()
        if words[0] == "rgb":
            c = int(words[1], 16)
            got = [float(w) for w in words[2:]]
            want = colorsys.rgb_to_hls(*[v / 255.0 for v in comps(c)])
            if any(abs(g - w) > 1e-9 for g, w in zip(got, want)):
                failures += 1
                print(f"RGBtoHLS {c:06X}: {got} != {want}")
        else:
            h, l, s = [float(w) for w in words[1:4]]
            got = comps(int(words[4], 16))
            want = [255 * v for v in colorsys.hls_to_rgb(h, l, s)]
            for g, w in zip(got, want):
                if g != int(w) and not near_integer_cut(w, g):
                    failures += 1
                    print(f"HLStoRGB {h} {l} {s}: {got} != {want}")
                    break
    return failures


sys.exit(1 if check_tables() + check_hls() else 0)
