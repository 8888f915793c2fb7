// Inflate speed beside zlib's and libdeflate's on the same raw Deflate
// streams, made by zlib at levels 1, 6 and 9 from each corpus file. Prints
// MB/s of output for each (ours handed on in two forms, below) and ours as
// a ratio of the peers'; with the x64 benchmark build beside this one
// ($BRENNICOR_BUILD_ROOT/bench-x64), also ours under Wine, set beside the
// native peers.
// Usage: bench_inflate <corpus folder>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <algorithm>
#include <cstring>
#include <memory>

#include "inflate_rounds.h"

namespace {

using inflate_bench::Bytes;
using inflate_bench::kExtractionBufferSize;
using inflate_bench::OurBestSpeeds;
using inflate_bench::OursInflate;
using inflate_bench::OurSpeeds;
using inflate_bench::RoundSpeed;

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
  return libdeflate_deflate_decompress(decompressor, stream.data(), stream.size(), out.data(), out.size(), &actual) ==
             LIBDEFLATE_SUCCESS &&
         actual == out.size();
}

// The x64 Windows build's program, when scripts/bench has built it.
std::string WineProgram() {
  const char* root = std::getenv("BRENNICOR_BUILD_ROOT");
  if (!root) return "";
  std::string program = std::string(root) + "/bench-x64/bench-programs/inflate_under_wine.exe";
  return std::ifstream(program).good() ? program : "";
}

// Our MB/s under Wine on the stream, or 0s when they cannot be measured.
OurSpeeds WineSpeeds(const std::string& program, const Bytes& stream, const std::string& original) {
  OurSpeeds speeds;
  if (program.empty()) return speeds;
  const std::string scratch = "/tmp/bench_inflate_" + std::to_string(getpid());
  const std::string streamPath = scratch + ".bin", report = scratch + ".txt";
  std::ofstream(streamPath, std::ios::binary).write(reinterpret_cast<const char*>(stream.data()), stream.size());
  std::string command =
      "/usr/lib/wine/wine64 '" + program + "' 'Z:" + streamPath + "' 'Z:" + original + "' > " + report + " 2>/dev/null";
  if (std::system(command.c_str()) == 0) {
    std::ifstream in(report);
    std::string word;
    in >> word >> speeds.extraction >> speeds.whole;
  }
  std::remove(streamPath.c_str());
  std::remove(report.c_str());
  return speeds;
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
  const std::string wine = WineProgram();
  std::printf(
      "whole: ours into one buffer of the whole output, libdeflate's own form (the headline); "
      "extr: handed on as extraction takes it, in %zu-byte pieces, only the part that makes no whole piece "
      "copied\n",
      kExtractionBufferSize);
  std::printf("%-11s %5s %7s | %9s %9s %8s | %9s %7s | %9s %7s | %13s %12s\n", "file", "level", "ratio%", "whole MB/s",
              "ldef", "whole/ld", "extr MB/s", "extr/ld", "zlib", "extr/z", "Wine whole/ld", "Wine extr/ld");
  for (const char* name : {"text.tar", "binary.bin"}) {
    const std::string original = folder + "/" + name;
    Bytes input = ReadFile(original);
    if (input.empty()) {
      std::fprintf(stderr, "cannot read %s/%s\n", folder.c_str(), name);
      return 2;
    }
    for (int level : {1, 6, 9}) {
      Bytes stream = ZlibDeflate(input, level);
      Bytes ours(input.size()), theirs(input.size()), libdeflates(input.size());
      if (!OursInflate(*state, stream, ours, input.size()) || ours != input || !ZlibInflate(stream, theirs) ||
          theirs != input || !LibdeflateInflate(decompressor, stream, libdeflates) || libdeflates != input) {
        std::printf("%-11s %5d  MISMATCH\n", name, level);
        ++failures;
        continue;
      }
      // Rounds alternate between ours and the peers, so that all see the same
      // load on the machine; each keeps its best round.
      double zlibSpeed = 0, libdeflateSpeed = 0;
      OurSpeeds oursSpeed = OurBestSpeeds(*state, stream, ours, [&] {
        zlibSpeed = std::max(zlibSpeed, RoundSpeed(input.size(), [&] { ZlibInflate(stream, theirs); }));
        libdeflateSpeed = std::max(
            libdeflateSpeed, RoundSpeed(input.size(), [&] { LibdeflateInflate(decompressor, stream, libdeflates); }));
      });
      OurSpeeds wineSpeed = WineSpeeds(wine, stream, original);
      std::printf("%-11s %5d %7.2f | %10.1f %9.1f %8.2f | %9.1f %7.2f | %9.1f %7.2f | %13.2f %12.2f\n", name, level,
                  100.0 * stream.size() / input.size(), oursSpeed.whole, libdeflateSpeed,
                  oursSpeed.whole / libdeflateSpeed, oursSpeed.extraction, oursSpeed.extraction / libdeflateSpeed,
                  zlibSpeed, oursSpeed.extraction / zlibSpeed, wineSpeed.whole / libdeflateSpeed,
                  wineSpeed.extraction / libdeflateSpeed);
      std::fflush(stdout);
    }
  }
  libdeflate_free_decompressor(decompressor);
  return failures ? 1 : 0;
}
