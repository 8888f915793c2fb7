// Compresses the corpus with our Deflate encoder, with zlib (memLevel 7,
// the 14-bit hash our encoder shares, and its default memLevel 8) and with
// libdeflate at levels 1, 6 and 9, and prints sizes, speeds and their ratios.
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "DeflateMemoryEncoder.h"

namespace {

constexpr int kRounds = 3;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

size_t CompressOurs(const std::vector<uint8_t>& input, int level) {
  DeflateMemoryRun run;
  run.level = level;
  run.output.reserve(input.size() + input.size() / 8 + 64);
  return size_t(run.Encode(input));
}

size_t CompressZlib(const std::vector<uint8_t>& input, int level, int memLevel) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, memLevel, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&z, uLong(input.size())));
  z.next_in = const_cast<uint8_t*>(input.data());
  z.avail_in = uInt(input.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  size_t size = z.total_out;
  deflateEnd(&z);
  return size;
}

size_t CompressLibdeflate(const std::vector<uint8_t>& input, int level) {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(level);
  std::vector<uint8_t> out(libdeflate_deflate_compress_bound(compressor, input.size()));
  size_t size = libdeflate_deflate_compress(compressor, input.data(), input.size(), out.data(), out.size());
  libdeflate_free_compressor(compressor);
  return size;
}

struct Measure {
  size_t size = 0;
  double bestSeconds = 1e30;
  double MbPerSecond(size_t inputSize) const { return double(inputSize) / 1e6 / bestSeconds; }
};

template <class Compress>
void TimeOnce(Measure& m, Compress compress) {
  auto start = std::chrono::steady_clock::now();
  m.size = compress();
  m.bestSeconds = std::min(m.bestSeconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: bench_deflate CORPUS_FOLDER\n");
    return 2;
  }
  printf("%-10s %5s | %10s %10s %10s %10s | %7s %7s | %8s %8s %8s %8s | %6s %6s %6s\n", "file", "level", "ours",
         "zlib m7", "zlib m8", "libdefl", "size/m7", "size/m8", "ours MB/s", "m7 MB/s", "m8 MB/s", "ld MB/s",
         "x m7", "x m8", "x ld");
  for (const char* name : {"text.tar", "binary.bin"}) {
    std::vector<uint8_t> input = ReadFile(std::string(argv[1]) + "/" + name);
    if (input.empty()) {
      fprintf(stderr, "cannot read %s\n", name);
      return 1;
    }
    for (int level : {1, 6, 9}) {
      // Best of a few rounds taken in turn, so that a busy spell on the
      // machine slows all three alike and a stray pause does not count.
      Measure ours, zlib7, zlib8, libdeflate;
      for (int round = 0; round < kRounds; ++round) {
        TimeOnce(ours, [&] { return CompressOurs(input, level); });
        TimeOnce(zlib7, [&] { return CompressZlib(input, level, 7); });
        TimeOnce(zlib8, [&] { return CompressZlib(input, level, 8); });
        TimeOnce(libdeflate, [&] { return CompressLibdeflate(input, level); });
      }
      printf("%-10s %5d | %10zu %10zu %10zu %10zu | %6.2f%% %6.2f%% | %8.1f %8.1f %8.1f %8.1f | %6.2f %6.2f %6.2f\n",
             name, level, ours.size, zlib7.size, zlib8.size, libdeflate.size,
             100.0 * double(ours.size) / double(zlib7.size), 100.0 * double(ours.size) / double(zlib8.size),
             ours.MbPerSecond(input.size()), zlib7.MbPerSecond(input.size()), zlib8.MbPerSecond(input.size()),
             libdeflate.MbPerSecond(input.size()), zlib7.bestSeconds / ours.bestSeconds,
             zlib8.bestSeconds / ours.bestSeconds, libdeflate.bestSeconds / ours.bestSeconds);
      fflush(stdout);
    }
  }
  return 0;
}
