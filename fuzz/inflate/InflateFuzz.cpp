// Inflate on any input: never a crash or an out-of-bounds access; on every
// stream zlib decodes to its end, the same bytes and a clean end, and no
// clean end on a stream zlib refuses.
// The first byte picks the size of the input runs: 1 to 32 bytes, or from
// 128 up the whole stream in one run, so that the fast loop meets window
// laps and long matches rather than a run's end every few bytes.
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "DecoderMemoryIo.h"

namespace {

constexpr size_t kOutputLimit = 1 << 20;

uint8_t* ZlibOutput() {
  static std::vector<uint8_t> out(kOutputLimit);
  return out.data();
}

// Decodes into ZlibOutput(); the length, or -1 when zlib does not reach the
// end of the stream.
long ZlibInflate(const uint8_t* data, size_t size) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return -1;
  z.next_in = const_cast<uint8_t*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = ZlibOutput();
  z.avail_out = kOutputLimit;
  int result = inflate(&z, Z_FINISH);
  inflateEnd(&z);
  return result == Z_STREAM_END ? static_cast<long>(z.total_out) : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  DecoderMemoryIo io;
  io.runSize = data[0] < 128 ? 1 + data[0] % 32 : SIZE_MAX;
  io.outputLimit = kOutputLimit;
  std::vector<uint8_t> stream(data + 1, data + size);
  DecodeRun ours = DecodeBytes(8, stream, 0, 0, io);

  long theirs = ZlibInflate(stream.data(), stream.size());
  if (theirs < 0) {
    if (ours.result == kDecodeDone) std::abort();
    return 0;
  }
  if (ours.result != kDecodeDone || ours.output.size() != size_t(theirs) ||
      !std::equal(ours.output.begin(), ours.output.end(), ZlibOutput()))
    std::abort();
  return 0;
}
