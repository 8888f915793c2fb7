// Our inflate speed in the x64 Windows build, run under Wine by
// bench_inflate: decodes a raw Deflate stream, checks it against the
// original bytes, and prints our best MB/s of five timed rounds handed on
// as extraction takes it and into one buffer of the whole output.
//   inflate_under_wine STREAM ORIGINAL
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "inflate_rounds.h"

using inflate_bench::Bytes;

static Bytes ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: inflate_under_wine STREAM ORIGINAL\n");
    return 2;
  }
  Bytes stream = ReadFile(argv[1]), original = ReadFile(argv[2]);
  auto state = std::make_unique<DecoderState>();
  Bytes out(original.size());
  if (!inflate_bench::OursInflate(*state, stream, out, out.size()) || out != original) {
    std::printf("mismatch\n");
    return 1;
  }
  inflate_bench::OurSpeeds best = inflate_bench::OurBestSpeeds(*state, stream, out, [] {});
  std::printf("speed %.1f %.1f\n", best.extraction, best.whole);
  return 0;
}
