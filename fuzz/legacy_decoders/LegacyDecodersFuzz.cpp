// Unshrink, Unreduce and Explode on any input: never a crash or an
// out-of-bounds access, and never more output than the member's size.
// Header bytes: method (1-6), general purpose flags, uncompressed size
// (16 bits, little-endian); the member's data follows.
#include <cstdlib>

#include "DecoderMemoryIo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int method = 1 + data[0] % 6;
  uint16_t flags = data[1];
  uint64_t uncompressedSize = data[2] | (data[3] << 8);
  std::vector<uint8_t> stream(data + 4, data + size);
  DecodeRun run = DecodeBytes(method, stream, uncompressedSize, flags);
  if (run.output.size() > uncompressedSize) std::abort();
  if (run.result == kDecodeDone && run.output.size() != uncompressedSize) std::abort();
  return 0;
}
