#include "SourceNameLimit.h"

#include <windows.h>

#include "ArchiveDirectory.h"
#include "ZipDirectory.h"

namespace {

constexpr uint16_t kUtf8NameFlag = 0x0800;

// A stored name as the builder shows text: UTF-8 when the entry says so,
// else the zip's own code page 437.
std::string ShownName(const uint8_t* name, uint16_t length, bool utf8) {
  const UINT codePage = utf8 ? CP_UTF8 : 437;
  const char* bytes = reinterpret_cast<const char*>(name);
  const int wide = MultiByteToWideChar(codePage, 0, bytes, length, nullptr, 0);
  if (wide <= 0) return std::string(bytes, length);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, 0, bytes, length, &text[0], wide);
  const int shown = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(shown > 0 ? shown : 0), '\0');
  if (shown > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &result[0], shown, nullptr, nullptr);
  return result;
}

std::string FirstLongName(const DirectoryCache& cache) {
  for (uint64_t i = 0; i < cache.count; ++i) {
    const uint8_t* header = cache.block + cache.offsets[i];
    const uint16_t length = ReadLe16(header + kChNameLength);
    if (length <= kMemberNameMax) continue;
    const bool utf8 = (ReadLe16(header + kChFlags) & kUtf8NameFlag) != 0;
    return "The name of entry '" + ShownName(header + kCentralHeaderSize, length, utf8) + "' is " +
           std::to_string(length) + " bytes long; a name may be at most " + std::to_string(kMemberNameMax) +
           " bytes.";
  }
  return std::string();
}

}  // namespace

std::string SourceNameLengthProblem(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  const ArchiveSource source = ArchiveSourceOfHandle(&file);
  std::string problem;
  const int64_t end = EndRecordSearchDirect(&source);
  EndRecord record = {};
  DirectoryCache cache = {};
  if (end >= 0 && EndRecordParseShifted(&source, end, &record) == 0 &&
      DirectoryLoad(&cache, &source, record.directoryOffset, record.totalEntries, 1) >= 0)
    problem = FirstLongName(cache);
  DirectoryCacheFree(&cache);
  CloseHandle(file);
  return problem;
}
