// Every parser over an exact-size copy of the input, with and without
// cutting: no read past the extra, and a cut leaves a length within it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "update/ZipExtraFields.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > 0xFFFF) return 0;
  for (int remove = 0; remove < 2; ++remove) {
    std::vector<uint8_t> extra(data, data + size);
    uint32_t length = uint32_t(size), found = 0;
    uint64_t uncompressed = 0xFFFFFFFF, compressed = 0xFFFFFFFF, offset = 0xFFFFFFFF;
    uint32_t disk = 0xFFFFFFFF;
    ZipTakeZip64Extra(extra.data(), &length, &uncompressed, &compressed, &offset, &disk, &found, remove);
    if (length > size) abort();
    uint8_t copy[16];
    ZipTakeAesExtra(extra.data(), &length, &found, copy, remove);
    if (length > size || found > 11) abort();
    ZipTakeStrongExtra(extra.data(), &length, &found, copy, remove);
    if (length > size || found > 16) abort();
  }
  return 0;
}
