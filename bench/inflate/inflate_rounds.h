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

// The size of the output layer's buffer: extraction takes what the decoder
// hands on in pieces of this size, and copies into the buffer only what
// does not make a whole piece.
constexpr size_t kExtractionBufferSize = 61440;

// Our decoder takes the stream in the input layer's refill-sized runs and
// hands each window's worth to the output callback, which either takes it
// as extraction does, when out is the size of the output layer's buffer
// (whole pieces stay where they lie; the rest is gathered in out; checking
// and writing the pieces is not the decoder's work, and is left out), or
// copies it in turn into out when out holds the whole output, the form
// libdeflate decodes into.
struct BenchIo {
  const uint8_t* in;
  const uint8_t* inEnd;
  uint8_t* out;
  size_t outSize;
  size_t at;
  size_t handedOn;
  static ptrdiff_t Fill(void* context, const uint8_t** bytes) {
    auto* io = static_cast<BenchIo*>(context);
    ptrdiff_t run = std::min<ptrdiff_t>(65536, io->inEnd - io->in);
    *bytes = io->in;
    io->in += run;
    return run;
  }
  static int Write(void* context, const uint8_t* bytes, size_t count) {
    auto* io = static_cast<BenchIo*>(context);
    io->handedOn += count;
    const bool gathers = io->outSize == kExtractionBufferSize;
    while (count > 0) {
      if (io->at == io->outSize) io->at = 0;  // the full buffer went on
      size_t take = std::min(count, io->outSize - io->at);
      if (!gathers || take < io->outSize) std::memcpy(io->out + io->at, bytes, take);
      io->at += take;
      bytes += take;
      count -= take;
    }
    return 0;
  }
};

// True when the stream ends cleanly after handing on size bytes.
inline bool OursInflate(DecoderState& state, const Bytes& stream, Bytes& out, size_t size) {
  BenchIo io{stream.data(), stream.data() + stream.size(), out.data(), out.size(), 0, 0};
  state.io = {&BenchIo::Fill, &BenchIo::Write, &io};
  return InflateMember(state) == kDecodeDone && io.handedOn == size;
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

struct OurSpeeds {
  double extraction = 0;  // into the input layer's output buffer
  double whole = 0;       // into one buffer of the whole output
};

// Our best MB/s of five rounds in each form, the forms alternating, and
// after each pair peerRounds (the peers' rounds, which so see the same load
// on the machine). whole is the size of the output.
template <class PeerRounds>
OurSpeeds OurBestSpeeds(DecoderState& state, const Bytes& stream, Bytes& whole, PeerRounds peerRounds) {
  Bytes buffer(kExtractionBufferSize);
  OurSpeeds best;
  for (int round = 0; round < 5; ++round) {
    best.extraction =
        std::max(best.extraction, RoundSpeed(whole.size(), [&] { OursInflate(state, stream, buffer, whole.size()); }));
    best.whole =
        std::max(best.whole, RoundSpeed(whole.size(), [&] { OursInflate(state, stream, whole, whole.size()); }));
    peerRounds();
  }
  return best;
}

}  // namespace inflate_bench
