// Inflate on any input: never a crash or an out-of-bounds access, and on
// every stream zlib decodes to its end, the same bytes and a clean end.
// The first byte picks the size of the input runs.
#include <zlib.h>

#include <cstdlib>

#include "DecoderMemoryIo.h"

namespace {

constexpr size_t kOutputLimit = 1 << 20;

bool ZlibInflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
  out.resize(kOutputLimit);
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return false;
  z.next_in = const_cast<uint8_t*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int result = inflate(&z, Z_FINISH);
  out.resize(z.total_out);
  inflateEnd(&z);
  return result == Z_STREAM_END;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  DecoderMemoryIo io;
  io.runSize = 1 + data[0] % 32;
  io.outputLimit = kOutputLimit;
  std::vector<uint8_t> stream(data + 1, data + size);
  DecodeRun ours = DecodeBytes(8, stream, 0, 0, io);

  std::vector<uint8_t> theirs;
  if (ZlibInflate(stream.data(), stream.size(), theirs)) {
    if (ours.result != kDecodeDone || ours.output != theirs) std::abort();
  }
  return 0;
}
