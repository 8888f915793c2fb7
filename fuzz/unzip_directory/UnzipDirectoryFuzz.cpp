// The directory reader's parsing over arbitrary archives: both end-record
// searches, the end and Zip64 end records, the directory load, every member's
// extra-field walk and a local extra field taken from the input's tail.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include "ZipDirectory.h"

namespace {

struct Input {
  const uint8_t *data;
  size_t size;
};

int64_t ReadAt(void *context, uint64_t offset, void *buffer, uint32_t length) {
  auto *input = static_cast<Input *>(context);
  if (offset > input->size) return -1;
  size_t n = input->size - offset < length ? input->size - offset : length;
  memcpy(buffer, input->data + offset, n);
  return static_cast<int64_t>(n);
}

void WalkMembers(const DirectoryCache &cache, const Input &input) {
  // At most a bounded number of members: the walk of each is what is tested.
  uint64_t count = cache.count < 4096 ? cache.count : 4096;
  for (uint64_t i = 0; i < count; ++i) {
    CurrentMember member;
    if (!MemberFromCache(&cache, i, &member)) continue;
    uint8_t local[kLocalHeaderSize] = {};
    size_t tail = input.size < 64 ? input.size : 64;
    memcpy(local, input.data, tail < sizeof local ? tail : sizeof local);
    LocalExtraApply(&member, local, input.data + input.size - tail, static_cast<uint32_t>(tail));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Input input = {data, size};
  ArchiveSource source = {&input, ReadAt, size};
  int64_t direct = EndRecordSearchDirect(&source);
  int64_t buffered = EndRecordSearchBuffered(&source, 0);
  for (int64_t found : {direct, buffered}) {
    EndRecord end;
    if (found < 0 || EndRecordParse(&source, found, &end) != 0) continue;
    DirectoryCache cache = {};
    if (DirectoryLoad(&cache, &source, end.directoryOffset, end.totalEntries, 1) > 0) WalkMembers(cache, input);
    DirectoryCacheFree(&cache);
  }
  return 0;
}
