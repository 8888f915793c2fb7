// What both inflate benchmarks share: our decoder driven as the input layer
// drives it, and the timed rounds. The native benchmark runs it beside the
// peers; inflate_under_wine runs it in the x64 Windows build.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "DecoderState.h"

namespace inflate_bench {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

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

inline bool OursInflate(DecoderState& state, const Bytes& stream, Bytes& out) {
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

}  // namespace inflate_bench
