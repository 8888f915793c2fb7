// Runs the Deflate or Deflate64 encoder over bytes in memory, the way the
// member compressor drives it, for the tests, the fuzz target and the
// benchmark.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "DeflateEncoderState.h"

struct DeflateMemoryRun {
  // Settings.
  EncoderFormat format = EncoderFormat::Deflate;
  int level = 6;
  DeflateOutputTraits traits{true, false, false, false};
  uint32_t outputCapacity = 20480;
  uint32_t readSize = UINT32_MAX;  // most bytes handed out per read
  int failWriteAfter = -1;         // the writer refuses from this call on (result 14)
  int cancelAfterReads = -1;       // a cancel request stands once this many reads are done

  // Input.
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t taken = 0;
  int reads = 0;

  // What came out.
  std::vector<uint8_t> output;
  std::vector<uint32_t> writeSizes;
  std::vector<int> warnings;
  uint16_t flags = 0;
  uint16_t method = 8;
  uint16_t internalAttributes = 0xFFFF;
  uint64_t compressedLength = 0;
  int result = 0;

  static uint32_t Read(void* context, uint8_t* buffer, uint32_t count) {
    auto* run = static_cast<DeflateMemoryRun*>(context);
    size_t n = std::min<size_t>({count, run->readSize, run->size - run->taken});
    if (n) memcpy(buffer, run->data + run->taken, n);
    run->taken += n;
    ++run->reads;
    return uint32_t(n);
  }
  static int Pending(void* context) {
    auto* run = static_cast<DeflateMemoryRun*>(context);
    return run->cancelAfterReads >= 0 && run->reads >= run->cancelAfterReads ? 9 : 0;
  }
  static int Write(void* context, const uint8_t* data, uint32_t count) {
    auto* run = static_cast<DeflateMemoryRun*>(context);
    if (run->failWriteAfter >= 0 && int(run->writeSizes.size()) >= run->failWriteAfter) return 14;
    run->writeSizes.push_back(count);
    run->output.insert(run->output.end(), data, data + count);
    return 0;
  }
  static void Warn(void* context, int messageId) {
    static_cast<DeflateMemoryRun*>(context)->warnings.push_back(messageId);
  }

  // Encodes data[0..size) with a fresh state; returns the compressed length.
  uint64_t Encode(const uint8_t* bytes, size_t count) {
    data = bytes;
    size = count;
    auto state = std::make_unique<DeflateEncoderState>();
    memset(state.get(), 0, sizeof(DeflateEncoderState));
    state->io = {&Read, &Write, &Pending, nullptr, &Warn, this};
    state->traits = traits;
    bool d64 = format == EncoderFormat::Deflate64;
    result = DeflateOutputInit(state.get(), outputCapacity);
    if (result == 0)
      result = d64 ? Deflate64TreesInit(state.get(), &internalAttributes, &method)
                   : ct_init(state.get(), &internalAttributes, &method);
    if (result == 0)
      result = d64 ? Deflate64Init(state.get(), level, &flags) : DeflateInit(state.get(), level, &flags);
    if (result == 0) {
      compressedLength = d64 ? Deflate64Compress(state.get()) : DeflateCompress(state.get());
      result = state->result;
    }
    DeflateStateRelease(state.get());
    return compressedLength;
  }
  uint64_t Encode(const std::vector<uint8_t>& bytes) { return Encode(bytes.data(), bytes.size()); }
};
