// Runs a member decoder over bytes in memory, for the tests and fuzz
// targets. Input comes in runs of a chosen size (1 exercises every one-byte
// path of the decoders); output is collected in a vector.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "DecoderState.h"

struct DecoderMemoryIo {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t taken = 0;
  size_t runSize = 65536;
  size_t stopAt = SIZE_MAX;       // fillInput asks to stop once this much is taken
  size_t outputLimit = SIZE_MAX;  // writeOutput refuses (255) past this
  uint64_t claimedCompressedSize = 0;  // the compressed size the member states; 0: the data's own
  std::vector<uint8_t> output;

  static ptrdiff_t Fill(void* context, const uint8_t** bytes) {
    auto* io = static_cast<DecoderMemoryIo*>(context);
    if (io->taken >= io->stopAt) return -1;
    size_t run = std::min(io->runSize, io->size - io->taken);
    *bytes = io->data + io->taken;
    io->taken += run;
    return static_cast<ptrdiff_t>(run);
  }
  static int Write(void* context, const uint8_t* bytes, size_t count) {
    auto* io = static_cast<DecoderMemoryIo*>(context);
    if (io->output.size() + count > io->outputLimit) return 255;
    io->output.insert(io->output.end(), bytes, bytes + count);
    return 0;
  }
};

// Zip compression methods, as the input layer picks the decoder by them.
inline DecodeResult DecodeMember(DecoderState& state, int method) {
  switch (method) {
    case 1:
      return UnshrinkMember(state);
    case 2:
    case 3:
    case 4:
    case 5:
      return UnreduceMember(state, method - 1);
    case 6:
      return ExplodeMember(state);
    case 8:
      return InflateMember(state);
    default:
      return Inflate64Member(state);
  }
}

struct DecodeRun {
  DecodeResult result;
  std::vector<uint8_t> output;
};

// Decodes one member from data with a fresh state (or the one given, to see
// what a member leaves behind for the next).
inline DecodeRun DecodeBytes(int method, const std::vector<uint8_t>& data,
                             uint64_t uncompressedSize, uint16_t flags = 0,
                             DecoderMemoryIo io = {}, DecoderState* reuse = nullptr) {
  std::unique_ptr<DecoderState> owned;
  DecoderState* state = reuse;
  if (!state) {
    owned = std::make_unique<DecoderState>();
    state = owned.get();
  }
  io.data = data.data();
  io.size = data.size();
  state->io = {&DecoderMemoryIo::Fill, &DecoderMemoryIo::Write, &io};
  state->uncompressedSize = uncompressedSize;
  state->compressedSize = io.claimedCompressedSize ? io.claimedCompressedSize : data.size();
  state->generalFlags = flags;
  DecodeResult result = DecodeMember(*state, method);
  return {result, std::move(io.output)};
}
