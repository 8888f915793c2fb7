// Inflate64 on any input: never a crash or an out-of-bounds access, and a
// clean end only where the stream really ends. The first byte picks the
// size of the input runs: 1 to 32 bytes, or from 128 up the whole stream.
#include <cstdint>
#include <cstdlib>

#include "DecoderMemoryIo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  DecoderMemoryIo io;
  io.runSize = data[0] < 128 ? 1 + data[0] % 32 : SIZE_MAX;
  io.outputLimit = 1 << 20;
  std::vector<uint8_t> stream(data + 1, data + size);
  DecodeRun run = DecodeBytes(9, stream, 0, 0, io);
  if (run.result == kDecodeDone && run.output.size() > io.outputLimit) std::abort();
  return 0;
}
