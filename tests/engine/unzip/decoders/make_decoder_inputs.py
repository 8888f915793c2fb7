"""Makes the compressed inputs of the decoder tests in the scratch folder:
raw Deflate streams from zlib, Deflate64 members from 7-Zip, and Shrink,
Implode and Reduce members from the test-only encoders (the Shrink and
Implode ones checked with Info-ZIP unzip -t as well). decoders.txt lists
each case: name, method and general purpose flags; the compressed bytes
are in <name>.in, the bytes they decode to in <name>.out."""
import os
import random
import subprocess
import sys
import zipfile
import zlib

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.environ['BRENNICOR_TEST_DATA'], 'legacy_methods'))
from implode import implode  # noqa: E402
from reduce import reduce  # noqa: E402
from bit_writer import BitWriter  # noqa: E402
from shrink import shrink  # noqa: E402
from zip_writer import write_zip  # noqa: E402

WORK = os.path.join(os.environ['BRENNICOR_TEST_WORK'], 'decoders')
os.makedirs(WORK, exist_ok=True)
cases = []


def sample_text(size, seed):
    rng = random.Random(seed)
    words = [''.join(rng.choice('etaoinshrdlucmfwypvbgkqjxz') for _ in range(rng.randint(1, 9)))
             for _ in range(400)]
    out = []
    total = 0
    while total < size:
        line = ' '.join(rng.choice(words) for _ in range(rng.randint(3, 14))) + '\n'
        out.append(line)
        total += len(line)
    return ''.join(out).encode()[:size]


def sample_binary(size, seed):
    rng = random.Random(seed)
    out = bytearray()
    while len(out) < size:
        if out and rng.random() < 0.5:
            start = rng.randrange(len(out))
            out += out[start:start + rng.randint(3, 300)]
        else:
            out += bytes(rng.randrange(256) for _ in range(rng.randint(1, 40)))
    return bytes(out[:size])


def add(name, method, flags, data, compressed):
    compressed_path = os.path.join(WORK, name + '.in')
    expected_path = os.path.join(WORK, name + '.out')
    with open(compressed_path, 'wb') as f:
        f.write(compressed)
    with open(expected_path, 'wb') as f:
        f.write(data)
    cases.append(f'{name} {method} {flags}')


def raw_deflate(data, level, flush_every=None, flush=zlib.Z_FULL_FLUSH):
    z = zlib.compressobj(level, zlib.DEFLATED, -15)
    if not flush_every:
        return z.compress(data) + z.flush()
    out = b''
    for i in range(0, len(data), flush_every):
        out += z.compress(data[i:i + flush_every]) + z.flush(flush)
    return out + z.flush()


def short_distances(seed):
    """Repeats of every period from 1 to 20 at lengths around the word
    sizes a copy moves, each after fresh bytes so that it starts a match."""
    rng = random.Random(seed)
    out = bytearray()
    for _ in range(3):
        for period in range(1, 21):
            for length in (3, 4, 7, 8, 9, 15, 16, 17, 24, 31, 32, 33, 40, 64, 100, 257, 258, 300):
                pattern = bytes(rng.randrange(256) for _ in range(period))
                out += bytes(rng.randrange(256) for _ in range(5)) + (pattern * (length // period + 2))[:period + length]
    return bytes(out)


def unzip_test(path):
    result = subprocess.run(['unzip', '-t', path], capture_output=True, text=True)
    if result.returncode != 0 or 'No errors detected' not in result.stdout:
        sys.exit(f'unzip -t {path} failed:\n{result.stdout}{result.stderr}')


text = sample_text(150000, 1)
binary = sample_binary(100000, 2)
mixed = text[:70000] + binary[:60000] + text[:70000]

# Deflate: every level, flushes, the empty member, an exactly full window.
for level in range(10):
    add(f'deflate_text_{level}', 8, 0, text, raw_deflate(text, level))
    add(f'deflate_binary_{level}', 8, 0, binary, raw_deflate(binary, level))
add('deflate_full_flush', 8, 0, mixed, raw_deflate(mixed, 6, 9000))
add('deflate_sync_flush', 8, 0, text[:40000], raw_deflate(text[:40000], 1, 7000, zlib.Z_SYNC_FLUSH))
add('deflate_empty', 8, 0, b'', raw_deflate(b'', 6))
add('deflate_window_exact', 8, 0, mixed[:65536], raw_deflate(mixed[:65536], 6))
add('deflate_runs', 8, 0, b'a' * 100000 + text[:1000] * 40, raw_deflate(b'a' * 100000 + text[:1000] * 40, 9))
periodic = short_distances(3)
add('deflate_short_distances', 8, 0, periodic, raw_deflate(periodic, 9))

# Deflate64 from 7-Zip: long repeats reach for the 64 KiB window and lengths
# past 258.
deflate64_data = mixed + binary[:80000] + mixed[:90000] + b'z' * 70000
source = os.path.join(WORK, 'deflate64.dat')
with open(source, 'wb') as f:
    f.write(deflate64_data)
archive = os.path.join(WORK, 'deflate64.zip')
if os.path.exists(archive):
    os.remove(archive)
subprocess.run(['7zz', 'a', '-tzip', '-mm=Deflate64', '-mx=9', archive, source],
               check=True, capture_output=True)
with zipfile.ZipFile(archive) as z:
    info = z.infolist()[0]
    if not (info.compress_type == 9):
        raise SystemExit(info.compress_type)
with open(archive, 'rb') as f:
    raw = f.read()
header = info.header_offset
start = header + 30 + int.from_bytes(raw[header + 26:header + 28], 'little') + \
    int.from_bytes(raw[header + 28:header + 30], 'little')
add('deflate64_7zip', 9, 0, deflate64_data, raw[start:start + info.compress_size])

# Shrink: a small member, a large one that fills the dictionary and clears
# it, one that clears before it is full, and long runs for KwKwK codes.
for name, data, clear_every in [('shrink_small', text[:3000], None),
                                ('shrink_full', text + binary, None),
                                ('shrink_clear_early', text[:60000], 1500),
                                ('shrink_runs', b'a' * 5000 + b'ab' * 3000 + text[:2000], None)]:
    compressed, clears, kwkwk = shrink(data, clear_every)
    if name != 'shrink_small':
        if not (clears > 0 or name == 'shrink_runs'):
            raise SystemExit(name)
    if name == 'shrink_runs':
        if not (kwkwk > 0):
            raise SystemExit('check failed: kwkwk > 0')
    add(name, 1, 0, data, compressed)
    path = os.path.join(WORK, name + '.zip')
    write_zip(path, name + '.dat', 1, 0, data, compressed)
    unzip_test(path)

# Two partial clears in a row, by hand: the first leaves 257 -> 260 -> 262
# with free codes below them, so at the second they stand above the next
# free code; it frees the leaf 262 alone, and 257 keeps its meaning for 260.
twice = BitWriter()
for code in [97, 98, 99, 257, 100, 260, 101, 262, 102, 256, 2, 256, 2, 260, 103]:
    twice.bits(code, 9)
twice_data, twice_bytes = b'abcabdabdeabdefabdg', twice.finish()
add('shrink_clear_twice', 1, 0, twice_data, twice_bytes)
path = os.path.join(WORK, 'shrink_clear_twice.zip')
write_zip(path, 'shrink_clear_twice.dat', 1, 0, twice_data, twice_bytes)
unzip_test(path)

# Implode: 4K and 8K windows, with and without the literal tree.
implode_data = text[:40000] + binary[:20000] + text[:20000]
for eight_kib in (False, True):
    for literal_tree in (False, True):
        name = f'implode_{8 if eight_kib else 4}k_{"literals" if literal_tree else "raw"}'
        flags, compressed = implode(implode_data, eight_kib, literal_tree)
        add(name, 6, flags, implode_data, compressed)
        path = os.path.join(WORK, name + '.zip')
        write_zip(path, name + '.dat', 6, flags, implode_data, compressed)
        unzip_test(path)
# A match at the very start reaches before the output: it reads zeros.
zeros_first = bytes(300) + text[:5000]
flags, compressed = implode(zeros_first, True, False, allow_before_start=True)
add('implode_before_start', 6, flags, zeros_first, compressed)

# Reduce: factors 1-4; factor 4 with a reference 4,000 bytes back and a long
# length (escape code 0xFF); zeros before the start.
reduce_data = text[:30000] + binary[:10000]
for factor in range(1, 5):
    add(f'reduce_{factor}', 1 + factor, 0, reduce_data, reduce(reduce_data, factor))
far = binary[:4000] + binary[:300] + bytes([144, 0, 144]) * 20
add('reduce_far_long', 5, 0, far, reduce(far, 4))
zeros_first = bytes(200) + text[:3000]
add('reduce_before_start', 3, 0, zeros_first, reduce(zeros_first, 2, allow_before_start=True))

with open(os.path.join(WORK, 'decoders.txt'), 'w') as f:
    f.write('\n'.join(cases) + '\n')
print(f'{len(cases)} cases in {WORK}')
