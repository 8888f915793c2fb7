// Unshrink, Unreduce and Explode on any input: never a crash or an
// out-of-bounds access, and never more output than the member's size.
// Header bytes: method (1-6), general purpose flags, uncompressed size (20
// bits, little-endian, in three bytes whose last high nibble is free), then
// one byte: its low five bits pick the size of the input runs, its top bit
// claims a compressed size past 200,000 bytes, so Explode builds its wider
// distance table. The member's data follows.
#include <cstdlib>

#include "DecoderMemoryIo.h"

namespace {
constexpr size_t kHeader = 6;
constexpr uint64_t kLargeMember = 250000;  // Explode widens its distance lookup past 200,000
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeader) return 0;
  int method = 1 + data[0] % 6;
  uint16_t flags = data[1];
  uint64_t uncompressedSize = data[2] | (data[3] << 8) | ((data[4] & 0x0F) << 16);
  DecoderMemoryIo io;
  io.runSize = 1 + (data[5] & 0x1F);
  if (data[5] & 0x80) io.claimedCompressedSize = kLargeMember;
  std::vector<uint8_t> stream(data + kHeader, data + size);
  DecodeRun run = DecodeBytes(method, stream, uncompressedSize, flags, io);
  if (run.output.size() > uncompressedSize) std::abort();
  if (run.result == kDecodeDone && run.output.size() != uncompressedSize) std::abort();
  return 0;
}
