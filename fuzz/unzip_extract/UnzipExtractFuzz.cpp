// Member names of a mutated archive, made relative as extraction makes them,
// must resolve inside the destination the way Windows resolves paths: no
// parent steps, no drive or UNC roots, no streams, no device names, nothing
// Windows would silently trim into another name.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "MemberPathSafety.h"
#include "ZipDirectory.h"

namespace {

struct Buffer {
  const uint8_t *data;
  size_t size;
};

int64_t ReadAt(void *context, uint64_t offset, void *out, uint32_t length) {
  const Buffer *b = static_cast<const Buffer *>(context);
  if (offset >= b->size) return 0;
  size_t n = b->size - offset < length ? b->size - offset : length;
  memcpy(out, b->data + offset, n);
  return static_cast<int64_t>(n);
}

bool IsDevice(const std::string &component) {
  // Windows also drops the blanks before an extension ("CON .txt").
  std::string base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char &c : base) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  for (const char *d : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
    if (base == d) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

// The relative path as Windows would take it below a folder: every component
// must stay a plain name.
void CheckInside(const char *stored) {
  char relative[512];
  MemberPathVerdict verdict = MemberPathMakeRelative(stored, relative, sizeof relative);
  if (verdict != kMemberPathSafe) {
    if (relative[0] != '\0') abort();
    return;
  }
  std::string path(relative);
  if (!path.empty() && (path[0] == '\\' || path[0] == '/')) abort();
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    std::string component = path.substr(start, end - start);
    if (component.empty() || component == "." || component == "..") abort();
    if (component.find_first_of(":/") != std::string::npos) abort();
    if (component.back() == '.' || component.back() == ' ') abort();
    for (unsigned char c : component)
      if (c < 0x20) abort();
    if (IsDevice(component)) abort();
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // The input as one name, and as an archive whose member names are checked.
  std::string name(reinterpret_cast<const char *>(data), strnlen(reinterpret_cast<const char *>(data), size));
  CheckInside(name.c_str());

  Buffer buffer = {data, size};
  ArchiveSource source = {&buffer, ReadAt, size};
  int64_t end = EndRecordSearchDirect(&source);
  EndRecord record;
  if (end < 0 || EndRecordParse(&source, end, &record) != 0) return 0;
  DirectoryCache cache = {};
  int64_t loaded = DirectoryLoad(&cache, &source, record.directoryOffset, record.totalEntries > 64 ? 64 : record.totalEntries, 1);
  for (int64_t i = 0; i < loaded; ++i) {
    CurrentMember member;
    if (MemberFromCache(&cache, static_cast<uint64_t>(i), &member)) CheckInside(member.name);
  }
  DirectoryCacheFree(&cache);
  return 0;
}
