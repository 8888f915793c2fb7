// Inflate speed beside zlib's and libdeflate's on the same raw Deflate
// streams, made by zlib at levels 1, 6 and 9 from each corpus file. Prints
// MB/s of output for each and ours as a ratio of the peers'.
// Usage: bench_inflate <corpus folder>
#include <libdeflate.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <algorithm>
#include <cstring>
#include <memory>

#include "DecoderState.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes ZlibDeflate(const Bytes& input, int level) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&z, input.size()));
  z.next_in = const_cast<Bytes::value_type*>(input.data());
  z.avail_in = static_cast<uInt>(input.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

bool ZlibInflate(const Bytes& stream, Bytes& out) {
  z_stream z{};
  inflateInit2(&z, -15);
  z.next_in = const_cast<Bytes::value_type*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int result = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  return result == Z_STREAM_END;
}

// libdeflate decodes the whole stream in one call into a buffer of the
// known size: its fastest use, the one it is built for.
bool LibdeflateInflate(libdeflate_decompressor* decompressor, const Bytes& stream, Bytes& out) {
  size_t actual = 0;
  return libdeflate_deflate_decompress(decompressor, stream.data(), stream.size(), out.data(), out.size(),
                                       &actual) == LIBDEFLATE_SUCCESS &&
         actual == out.size();
}

// Our decoder takes the stream in the input layer's refill-sized runs and
// hands each window's worth to the output callback, which copies it on as
// the input layer copies into its output buffer.
struct BenchIo {
  const uint8_t* in;
  const uint8_t* inEnd;
  uint8_t* out;
  static ptrdiff_t Fill(void* context, const uint8_t** bytes) {
    auto* io = static_cast<BenchIo*>(context);
    ptrdiff_t run = std::min<ptrdiff_t>(65536, io->inEnd - io->in);
    *bytes = io->in;
    io->in += run;
    return run;
  }
  static int Write(void* context, const uint8_t* bytes, size_t count) {
    auto* io = static_cast<BenchIo*>(context);
    std::memcpy(io->out, bytes, count);
    io->out += count;
    return 0;
  }
};

bool OursInflate(DecoderState& state, const Bytes& stream, Bytes& out) {
  BenchIo io{stream.data(), stream.data() + stream.size(), out.data()};
  state.io = {&BenchIo::Fill, &BenchIo::Write, &io};
  return InflateMember(state) == kDecodeDone && io.out == out.data() + out.size();
}

// Output MB/s of one timed round: decode repeatedly for a quarter second.
template <class Decode>
double RoundSpeed(size_t outputSize, Decode decode) {
  int runs = 0;
  auto start = Clock::now();
  double seconds = 0;
  do {
    decode();
    ++runs;
    seconds = std::chrono::duration<double>(Clock::now() - start).count();
  } while (seconds < 0.25);
  return outputSize * double(runs) / seconds / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_inflate <corpus folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  auto state = std::make_unique<DecoderState>();
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  int failures = 0;
  std::printf("%-11s %5s %9s %10s %10s %10s %7s %7s\n", "file", "level", "ratio%", "ours MB/s",
              "zlib MB/s", "ldef MB/s", "ours/z", "ours/ld");
  for (const char* name : {"text.tar", "binary.bin"}) {
    Bytes input = ReadFile(folder + "/" + name);
    if (input.empty()) {
      std::fprintf(stderr, "cannot read %s/%s\n", folder.c_str(), name);
      return 2;
    }
    for (int level : {1, 6, 9}) {
      Bytes stream = ZlibDeflate(input, level);
      Bytes ours(input.size()), theirs(input.size()), libdeflates(input.size());
      if (!OursInflate(*state, stream, ours) || ours != input || !ZlibInflate(stream, theirs) ||
          theirs != input || !LibdeflateInflate(decompressor, stream, libdeflates) || libdeflates != input) {
        std::printf("%-11s %5d  MISMATCH\n", name, level);
        ++failures;
        continue;
      }
      // Rounds alternate between the three, so that all see the same load on
      // the machine; each keeps its best round.
      double oursSpeed = 0, zlibSpeed = 0, libdeflateSpeed = 0;
      for (int round = 0; round < 5; ++round) {
        oursSpeed = std::max(oursSpeed, RoundSpeed(input.size(), [&] { OursInflate(*state, stream, ours); }));
        zlibSpeed = std::max(zlibSpeed, RoundSpeed(input.size(), [&] { ZlibInflate(stream, theirs); }));
        libdeflateSpeed = std::max(libdeflateSpeed, RoundSpeed(input.size(), [&] {
                                     LibdeflateInflate(decompressor, stream, libdeflates);
                                   }));
      }
      std::printf("%-11s %5d %9.2f %10.1f %10.1f %10.1f %7.2f %7.2f\n", name, level,
                  100.0 * stream.size() / input.size(), oursSpeed, zlibSpeed, libdeflateSpeed,
                  oursSpeed / zlibSpeed, oursSpeed / libdeflateSpeed);
      std::fflush(stdout);
    }
  }
  libdeflate_free_decompressor(decompressor);
  return failures ? 1 : 0;
}
