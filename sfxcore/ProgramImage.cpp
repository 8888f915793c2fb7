#include "ProgramImage.h"

#include <windows.h>

#include "ProgramIcon.h"

namespace {

// Icons come from icon files and from programs and libraries; none that
// holds icons is larger than this.
constexpr uint64_t kLargestIconSource = 512u << 20;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  DWORD read = 0;
  const bool fits = GetFileSizeEx(file, &size) && uint64_t(size.QuadPart) <= kLargestIconSource;
  if (fits) bytes->resize(size_t(size.QuadPart));
  const bool whole = fits && (bytes->empty() || (ReadFile(file, bytes->data(), DWORD(bytes->size()), &read, nullptr) &&
                                                 read == bytes->size()));
  CloseHandle(file);
  return whole;
}

}  // namespace

std::string MakeProgramImage(const ProjectSettings& settings, const StubImage& stub, std::vector<uint8_t>* image) {
  const uint8_t* stubBytes = static_cast<const uint8_t*>(stub.bytes);
  image->assign(stubBytes, stubBytes + stub.size);
  if (settings.iconFile.empty()) return "";
  const std::string named = "The icon file '" + settings.iconFile + "' ";
  std::vector<uint8_t> source;
  if (!ReadWholeFile(settings.iconFile, &source)) return named + "cannot be read.";
  std::vector<IconImage> icon;
  std::string problem;
  if (!ReadIconImages(source.data(), source.size(), settings.iconIndex, &icon, &problem)) return named + problem + ".";
  if (!SetProgramIcon(image, icon, &problem))
    return "The chosen icon cannot be given to the program: the stub " + problem + ".";
  return "";
}
