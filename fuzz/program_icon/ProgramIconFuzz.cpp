// Icon sources and program images over arbitrary bytes: the first byte picks
// the icon, the rest is read as an icon file or program. Whatever the bytes,
// an image that takes an icon must read back with that icon as its first
// group, its other resources unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "PeResources.h"
#include "ProgramIcon.h"

namespace {

IconImage SmallImage() {
  IconImage image;
  image.width = image.height = 16;
  image.planes = 1;
  image.bitCount = 4;
  image.bytes.assign(40, 0x5A);
  return image;
}

bool IsIconType(const ResourceEntry& entry, uint16_t type) { return !entry.type.named && entry.type.id == type; }

void CheckTakesTheIcon(const std::vector<uint8_t>& original, const std::vector<IconImage>& icon) {
  std::vector<uint8_t> image = original;
  std::string problem;
  if (!SetProgramIcon(&image, icon, &problem)) return;
  std::vector<IconImage> back;
  if (!ReadIconImages(image.data(), image.size(), 0, &back, &problem) || back.size() != icon.size()) __builtin_trap();
  for (size_t i = 0; i < icon.size(); ++i)
    if (back[i].bytes != icon[i].bytes || back[i].width != icon[i].width) __builtin_trap();
  std::vector<ResourceEntry> before, after;
  if (!ReadResources(original.data(), original.size(), &before, &problem) ||
      !ReadResources(image.data(), image.size(), &after, &problem))
    __builtin_trap();
  const auto others = [](const std::vector<ResourceEntry>& entries) {
    return std::count_if(entries.begin(), entries.end(), [](const ResourceEntry& e) {
      return !IsIconType(e, kResourceIcon) && !IsIconType(e, kResourceIconGroup);
    });
  };
  if (others(before) != others(after)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<uint8_t> file(data + 1, data + size);
  std::vector<IconImage> icon;
  std::string problem;
  if (ReadIconImages(file.data(), file.size(), data[0] % 4, &icon, &problem) && icon.empty()) __builtin_trap();
  CheckTakesTheIcon(file, icon.empty() ? std::vector<IconImage>{SmallImage()} : icon);
  return 0;
}
