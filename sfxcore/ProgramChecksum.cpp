#include "ProgramChecksum.h"

#include <vector>

namespace {

constexpr size_t kReadChunk = 1 << 16;
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool SeekStart(FILE* file) {
#ifdef _WIN32
  return _fseeki64(file, 0, SEEK_SET) == 0;
#else
  return fseeko(file, 0, SEEK_SET) == 0;
#endif
}

}  // namespace

std::string ChecksumOfFilePrefix(FILE* file, uint64_t length) {
  if (!file || !SeekStart(file)) return std::string();
  Sha1Context context;
  Sha1Init(&context);
  std::vector<uint8_t> chunk(kReadChunk);
  for (uint64_t left = length; left > 0;) {
    const size_t wanted = left < kReadChunk ? static_cast<size_t>(left) : kReadChunk;
    if (std::fread(chunk.data(), 1, wanted, file) != wanted) return std::string();
    Sha1Update(chunk.data(), wanted, &context);
    left -= wanted;
  }
  return FinalChecksumText(&context);
}

std::string FinalChecksumText(Sha1Context* context) {
  uint8_t digest[20];
  Sha1Final(digest, context);
  std::string text;
  for (uint8_t byte : digest) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 15];
  }
  return text;
}

bool IsChecksumText(const std::string& text) {
  return text.size() == kChecksumTextLength &&
         text.find_first_not_of(kHexDigits, 0, sizeof kHexDigits - 1) == std::string::npos;
}
