// Compresses arbitrary input with either encoder at a level, output kind and
// read size taken from the input, and checks that it comes back byte for byte
// through our inflate and, for Deflate, zlib's.
//
// Input: byte 0 = level (low 4 bits, 0-15 to reach the clamp), Deflate64
// (bit 4), output kind (bits 5-6); byte 1 = read size selector; byte 2 =
// how many times the rest is repeated (each copy marked), so that short
// inputs still reach the window slides.
#include <zlib.h>

#include <cstdlib>

#include "DecoderMemoryIo.h"
#include "DeflateMemoryEncoder.h"

namespace {

constexpr DeflateOutputTraits kOutputKinds[4] = {
    {true, false, false, false},  // archive file
    {false, false, false, false}, // multi-volume
    {false, true, true, false},   // memory entry
    {true, false, false, true},   // archive file with end-of-line conversion
};
constexpr uint32_t kReadSizes[8] = {UINT32_MAX, 1, 7, 262, 1000, 32768, 65536, 100000};

void Check(bool ok) {
  if (!ok) abort();
}

bool InflatesWithZlib(const std::vector<uint8_t>& compressed, const std::vector<uint8_t>& expected) {
  std::vector<uint8_t> out(expected.size() + 1);
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return false;
  z.next_in = const_cast<uint8_t*>(compressed.data());
  z.avail_in = uInt(compressed.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  int r = inflate(&z, Z_FINISH);
  bool same = r == Z_STREAM_END && z.avail_in == 0 && z.total_out == expected.size() &&
              std::equal(expected.begin(), expected.end(), out.begin());
  inflateEnd(&z);
  return same;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  DeflateMemoryRun run;
  run.level = data[0] & 15;
  run.format = data[0] & 16 ? EncoderFormat::Deflate64 : EncoderFormat::Deflate;
  run.traits = kOutputKinds[(data[0] >> 5) & 3];
  run.outputCapacity = run.traits.memoryEntry ? 8192 : 20480;
  run.readSize = kReadSizes[data[1] & 7];
  size_t copies = 1 + (data[2] & 63);
  std::vector<uint8_t> input;
  for (size_t c = 0; c < copies; ++c) {
    size_t start = input.size();
    input.insert(input.end(), data + 3, data + size);
    if (input.size() > start) input[start] ^= uint8_t(c);
  }

  uint64_t length = run.Encode(input);
  Check(run.result == 0 && length == run.output.size());
  if (run.method == 0) {
    Check(run.traits.seekable && !run.traits.callbackRecord && run.output == input);
    return 0;
  }
  bool d64 = run.format == EncoderFormat::Deflate64;
  DecodeRun back = DecodeBytes(d64 ? 9 : 8, run.output, input.size());
  Check(back.result == kDecodeDone && back.output == input);
  if (!d64) Check(InflatesWithZlib(run.output, input));
  return 0;
}
