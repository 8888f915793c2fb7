// Compresses the corpus with our Deflate encoder at levels 1, 6 and 9 and sets
// each beside its peers: zlib at the same level (memLevel 7, the 14-bit hash our
// encoder shares, and its default memLevel 8), and zlib memLevel 8 and
// libdeflate at the level whose output size is nearest ours, which compares
// speed for the same work. Every output timed is decoded again and compared
// with the input; the program fails when one differs.
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "DeflateMemoryEncoder.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr int kRounds = 3;
constexpr int kOurLevels[] = {1, 6, 9};
constexpr int kZlibLevels = 9;
constexpr int kLibdeflateLevels = 12;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes CompressOurs(const Bytes& input, int level) {
  DeflateMemoryRun run;
  run.level = level;
  run.output.reserve(input.size() + input.size() / 8 + 64);
  run.Encode(input);
  return std::move(run.output);
}

Bytes CompressZlib(const Bytes& input, int level, int memLevel) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, memLevel, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&z, uLong(input.size())));
  z.next_in = const_cast<uint8_t*>(input.data());
  z.avail_in = uInt(input.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

Bytes CompressLibdeflate(const Bytes& input, int level) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
  Bytes out(libdeflate_deflate_compress_bound(compressor, input.size()));
  out.resize(libdeflate_deflate_compress(compressor, input.data(), input.size(), out.data(), out.size()));
  libdeflate_free_compressor(compressor);
  return out;
}

// Raw inflate by zlib, a decoder none of the compressors shares.
bool DecodesTo(const Bytes& stream, const Bytes& original) {
  Bytes out(original.size() + 1);
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = const_cast<uint8_t*>(stream.data());
  z.avail_in = uInt(stream.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  bool ended = inflate(&z, Z_FINISH) == Z_STREAM_END;
  out.resize(z.total_out);
  inflateEnd(&z);
  return ended && out == original;
}

struct Measure {
  int level = 0;
  size_t size = 0;
  double bestSeconds = 1e30;
  bool checked = true;
  double MbPerSecond(size_t inputSize) const { return double(inputSize) / 1e6 / bestSeconds; }
};

// Best of a few rounds, so that a stray pause on the machine does not count;
// the output of the last round is checked.
Measure Time(const Bytes& input, int level, const std::function<Bytes()>& compress) {
  Measure m;
  m.level = level;
  Bytes output;
  for (int round = 0; round < kRounds; ++round) {
    auto start = std::chrono::steady_clock::now();
    output = compress();
    m.bestSeconds = std::min(m.bestSeconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  m.size = output.size();
  m.checked = DecodesTo(output, input);
  return m;
}

const Measure& NearestInSize(const std::vector<Measure>& peers, size_t size) {
  return *std::min_element(peers.begin(), peers.end(), [&](const Measure& a, const Measure& b) {
    auto distance = [&](const Measure& m) { return m.size > size ? m.size - size : size - m.size; };
    return distance(a) < distance(b);
  });
}

bool AllChecked(const std::vector<Measure>& measures, const char* who, const char* file) {
  bool good = true;
  for (const Measure& m : measures) {
    if (!m.checked) {
      fprintf(stderr, "bench_deflate: %s level %d output of %s does not decode to its input\n", who, m.level, file);
      good = false;
    }
  }
  return good;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: bench_deflate CORPUS_FOLDER\n");
    return 2;
  }
  printf("Same level: ours beside zlib memLevel 7 and 8 (sizes as a share of theirs, speed as a multiple).\n"
         "Same work: zlib memLevel 8 and libdeflate at the level whose size is nearest ours.\n");
  printf("%-10s %3s | %10s %8s | %7s %7s %6s %6s | %4s %10s %8s %6s | %4s %10s %8s %6s\n", "file", "lvl", "ours",
         "MB/s", "size/m7", "size/m8", "x m7", "x m8", "zlv", "zlib size", "MB/s", "x z", "ldlv", "ld size", "MB/s",
         "x ld");
  bool good = true;
  for (const char* name : {"text.tar", "binary.bin"}) {
    const Bytes input = ReadFile(std::string(argv[1]) + "/" + name);
    if (input.empty()) {
      fprintf(stderr, "bench_deflate: cannot read %s\n", name);
      return 1;
    }
    std::vector<Measure> ours, zlib7, zlib8, libdeflate;
    for (int level : kOurLevels) {
      ours.push_back(Time(input, level, [&] { return CompressOurs(input, level); }));
      zlib7.push_back(Time(input, level, [&] { return CompressZlib(input, level, 7); }));
    }
    for (int level = 1; level <= kZlibLevels; ++level)
      zlib8.push_back(Time(input, level, [&] { return CompressZlib(input, level, 8); }));
    for (int level = 1; level <= kLibdeflateLevels; ++level)
      libdeflate.push_back(Time(input, level, [&] { return CompressLibdeflate(input, level); }));
    good &= AllChecked(ours, "ours", name) & AllChecked(zlib7, "zlib", name) & AllChecked(zlib8, "zlib", name) &
            AllChecked(libdeflate, "libdeflate", name);
    for (size_t i = 0; i < ours.size(); ++i) {
      const Measure& m = ours[i];
      const Measure& sameZlib8 = zlib8[size_t(m.level - 1)];
      const Measure& nearZlib = NearestInSize(zlib8, m.size);
      const Measure& nearLd = NearestInSize(libdeflate, m.size);
      const size_t n = input.size();
      printf("%-10s %3d | %10zu %8.1f | %6.2f%% %6.2f%% %6.2f %6.2f | %4d %10zu %8.1f %6.2f | %4d %10zu %8.1f %6.2f\n",
             name, m.level, m.size, m.MbPerSecond(n), 100.0 * double(m.size) / double(zlib7[i].size),
             100.0 * double(m.size) / double(sameZlib8.size), zlib7[i].bestSeconds / m.bestSeconds,
             sameZlib8.bestSeconds / m.bestSeconds, nearZlib.level, nearZlib.size, nearZlib.MbPerSecond(n),
             nearZlib.bestSeconds / m.bestSeconds, nearLd.level, nearLd.size, nearLd.MbPerSecond(n),
             nearLd.bestSeconds / m.bestSeconds);
      fflush(stdout);
    }
  }
  return good ? 0 : 1;
}
