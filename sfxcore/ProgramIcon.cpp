#include "ProgramIcon.h"

#include <algorithm>
#include <set>

#include "LittleEndian.h"
#include "PeResources.h"

namespace {

// An icon file: reserved 0, type 1, count, then 16-byte entries whose last
// two words are the image's size and its offset in the file. An icon group
// resource: the same head and 14-byte entries ending in the image's
// resource number instead of its offset.
enum : size_t { kIconHead = 6, kFileEntry = 16, kGroupEntry = 14, kEntryFields = 8 };
enum : uint16_t { kIconType = 1 };

bool Fail(std::string* problem, const std::string& text) {
  if (problem) *problem = text;
  return false;
}

bool Fits(size_t size, size_t at, size_t length) { return at <= size && length <= size - at; }

bool IsIconHead(const uint8_t* bytes, size_t size) {
  return size >= kIconHead && LoadLe16(bytes) == 0 && LoadLe16(bytes + 2) == kIconType;
}

// The fields an icon file entry and an icon group entry share.
IconImage ImageFields(const uint8_t* entry) {
  IconImage image;
  image.width = entry[0];
  image.height = entry[1];
  image.colorCount = entry[2];
  image.reserved = entry[3];
  image.planes = LoadLe16(entry + 4);
  image.bitCount = LoadLe16(entry + 6);
  return image;
}

std::string NoSuchIcon(size_t count, int index) {
  const std::string holds = count == 1 ? "holds one icon" : "holds " + std::to_string(count) + " icons";
  return holds + "; there is no icon " + std::to_string(index) + " (the first is 0)";
}

bool ReadIconFile(const uint8_t* file, size_t size, int index, std::vector<IconImage>* images, std::string* problem) {
  const size_t count = LoadLe16(file + 4);
  if (count == 0) return Fail(problem, "holds no icons");
  if (index != 0) return Fail(problem, NoSuchIcon(1, index));
  if (!Fits(size, kIconHead, count * kFileEntry)) return Fail(problem, "is an icon file that is cut short");
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* entry = file + kIconHead + i * kFileEntry;
    const uint32_t length = LoadLe32(entry + kEntryFields), offset = LoadLe32(entry + kEntryFields + 4);
    if (length == 0 || !Fits(size, offset, length)) return Fail(problem, "is an icon file that is cut short");
    IconImage image = ImageFields(entry);
    image.bytes.assign(file + offset, file + offset + length);
    images->push_back(std::move(image));
  }
  return true;
}

bool IsGroup(const ResourceEntry& entry) { return !entry.type.named && entry.type.id == kResourceIconGroup; }
bool IsIcon(const ResourceEntry& entry) { return !entry.type.named && entry.type.id == kResourceIcon; }

// The icon groups, one per name (its first language), in directory order.
std::vector<const ResourceEntry*> IconGroups(const std::vector<ResourceEntry>& entries) {
  std::vector<const ResourceEntry*> groups;
  for (const ResourceEntry& entry : entries)
    if (IsGroup(entry) && (groups.empty() || !(groups.back()->name == entry.name))) groups.push_back(&entry);
  return groups;
}

// The resource numbers of a group's images; false when the group is damaged.
bool GroupMembers(const ResourceEntry& group, std::vector<uint16_t>* members) {
  const std::vector<uint8_t>& bytes = group.bytes;
  if (!IsIconHead(bytes.data(), bytes.size())) return false;
  const size_t count = LoadLe16(bytes.data() + 4);
  if (!Fits(bytes.size(), kIconHead, count * kGroupEntry)) return false;
  for (size_t i = 0; i < count; ++i) members->push_back(LoadLe16(bytes.data() + kIconHead + i * kGroupEntry + 12));
  return true;
}

const ResourceEntry* IconNumbered(const std::vector<ResourceEntry>& entries, uint16_t id, uint16_t language) {
  const ResourceEntry* found = nullptr;
  for (const ResourceEntry& entry : entries)
    if (IsIcon(entry) && !entry.name.named && entry.name.id == id && (!found || entry.language == language))
      found = &entry;
  return found;
}

bool ReadProgramIcon(const uint8_t* file, size_t size, int index, std::vector<IconImage>* images,
                     std::string* problem) {
  std::vector<ResourceEntry> entries;
  if (!ReadResources(file, size, &entries, problem)) return false;
  const std::vector<const ResourceEntry*> groups = IconGroups(entries);
  if (groups.empty()) return Fail(problem, "holds no icons");
  if (index < 0 || size_t(index) >= groups.size()) return Fail(problem, NoSuchIcon(groups.size(), index));
  const ResourceEntry& group = *groups[size_t(index)];
  std::vector<uint16_t> members;
  const std::string damaged = "holds icon " + std::to_string(index) + ", but it is damaged";
  if (!GroupMembers(group, &members) || members.empty()) return Fail(problem, damaged);
  for (size_t i = 0; i < members.size(); ++i) {
    const ResourceEntry* icon = IconNumbered(entries, members[i], group.language);
    if (!icon || icon->bytes.empty()) return Fail(problem, damaged);
    IconImage image = ImageFields(group.bytes.data() + kIconHead + i * kGroupEntry);
    image.bytes = icon->bytes;
    images->push_back(std::move(image));
  }
  return true;
}

std::vector<uint8_t> GroupBytes(const std::vector<IconImage>& icon, uint16_t firstNumber) {
  std::vector<uint8_t> bytes(kIconHead + icon.size() * kGroupEntry, 0);
  StoreLe16(kIconType, bytes.data() + 2);
  StoreLe16(uint16_t(icon.size()), bytes.data() + 4);
  for (size_t i = 0; i < icon.size(); ++i) {
    uint8_t* entry = bytes.data() + kIconHead + i * kGroupEntry;
    const IconImage& image = icon[i];
    entry[0] = image.width;
    entry[1] = image.height;
    entry[2] = image.colorCount;
    entry[3] = image.reserved;
    StoreLe16(image.planes, entry + 4);
    StoreLe16(image.bitCount, entry + 6);
    StoreLe32(uint32_t(image.bytes.size()), entry + kEntryFields);
    StoreLe16(uint16_t(firstNumber + i), entry + 12);
  }
  return bytes;
}

}  // namespace

bool ReadIconImages(const uint8_t* file, size_t size, int index, std::vector<IconImage>* images, std::string* problem) {
  images->clear();
  const bool read = IsIconHead(file, size) ? ReadIconFile(file, size, index, images, problem)
                                           : ReadProgramIcon(file, size, index, images, problem);
  if (!read) images->clear();
  return read;
}

bool SetProgramIcon(std::vector<uint8_t>* image, const std::vector<IconImage>& icon, std::string* problem) {
  std::vector<ResourceEntry> entries;
  if (!ReadResources(image->data(), image->size(), &entries, problem)) return false;
  const std::vector<const ResourceEntry*> groups = IconGroups(entries);
  if (groups.empty()) return Fail(problem, "has no icon to replace");
  const ResourceKey replaced = groups.front()->name;
  // Images the replaced group uses, and those any other group still needs.
  std::set<uint16_t> dropped, kept;
  uint16_t highest = 0;
  for (const ResourceEntry& entry : entries) {
    std::vector<uint16_t> members;
    if (IsGroup(entry) && GroupMembers(entry, &members))
      (entry.name == replaced ? dropped : kept).insert(members.begin(), members.end());
    if (IsIcon(entry) && !entry.name.named) highest = std::max(highest, entry.name.id);
  }
  if (icon.empty() || icon.size() > size_t(0xFFFF - highest)) return Fail(problem, "cannot take so many images");
  std::vector<ResourceEntry> changed;
  for (ResourceEntry& entry : entries) {
    const bool droppedIcon =
        IsIcon(entry) && !entry.name.named && dropped.count(entry.name.id) && !kept.count(entry.name.id);
    if (droppedIcon) continue;
    if (IsGroup(entry) && entry.name == replaced) {
      entry.bytes = GroupBytes(icon, uint16_t(highest + 1));
      for (size_t i = 0; i < icon.size(); ++i) {
        ResourceEntry image;
        image.type.id = kResourceIcon;
        image.name.id = uint16_t(highest + 1 + i);
        image.language = entry.language;
        image.codePage = entry.codePage;
        image.bytes = icon[i].bytes;
        changed.push_back(std::move(image));
      }
    }
    changed.push_back(std::move(entry));
  }
  return ReplaceResources(image, std::move(changed), problem);
}
