#include "PeResources.h"

#include <algorithm>
#include <cstring>

#include "LittleEndian.h"

namespace {

// Offsets of the image headers this code reads and writes.
enum : size_t {
  kDosNewHeader = 0x3C,
  kCoffSize = 20,
  kCoffSectionCount = 2,
  kCoffOptionalSize = 16,
  kOptionalInitializedData = 8,
  kOptionalSectionAlignment = 32,
  kOptionalFileAlignment = 36,
  kOptionalImageSize = 56,
  kOptionalHeadersSize = 60,
  kOptionalChecksum = 64,
  kSectionHeaderSize = 40,
  kSectionVirtualSize = 8,
  kSectionRawSize = 16,
  kDataDirectorySize = 8,
  kResourceDirectoryHeader = 16,
  kResourceDirectoryEntry = 8,
  kResourceDataEntry = 16,
};
enum : uint32_t {
  kDirectoryResource = 2,
  kDirectorySecurity = 4,
  kSubdirectoryBit = 0x80000000,
  kInitializedReadable = 0x40000040,
};
// The two kinds of optional header: where the data directories and their count stand.
struct OptionalKind {
  uint16_t magic;
  size_t directoryCount, directories;
};
const OptionalKind kOptionalKinds[] = {{0x10B, 92, 96}, {0x20B, 108, 112}};

// A damaged directory cannot make the reader copy without end.
constexpr size_t kMostEntries = 65536;
constexpr size_t kMostBytes = 256u << 20;

const char kNewSectionName[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
const char kOldSectionName[8] = {'.', 'o', 'l', 'd', 'r', 's', 'r', 'c'};

bool Fail(std::string* problem, const char* text) {
  if (problem) *problem = text;
  return false;
}

bool Fits(size_t size, size_t at, size_t length) { return at <= size && length <= size - at; }

bool IsPowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

uint64_t AlignUp(uint64_t value, uint32_t alignment) { return (value + alignment - 1) / alignment * alignment; }

struct Section {
  size_t header;  // offset of its header in the image
  uint32_t virtualSize, virtualAddress, rawSize, rawPointer;
};

struct Layout {
  size_t optional = 0;
  size_t sectionTable = 0;
  size_t directories = 0;
  uint32_t directoryCount = 0;
  uint32_t sectionAlignment = 0, fileAlignment = 0, headersSize = 0;
  std::vector<Section> sections;
};

bool ReadSections(const uint8_t* image, size_t size, uint16_t count, Layout* layout) {
  if (!Fits(size, layout->sectionTable, size_t(count) * kSectionHeaderSize)) return false;
  for (uint16_t i = 0; i < count; ++i) {
    const size_t at = layout->sectionTable + i * kSectionHeaderSize;
    const uint8_t* p = image + at;
    layout->sections.push_back({at, LoadLe32(p + 8), LoadLe32(p + 12), LoadLe32(p + 16), LoadLe32(p + 20)});
  }
  return true;
}

bool ReadLayout(const uint8_t* image, size_t size, Layout* layout, std::string* problem) {
  const char* notAProgram = "is neither an icon file nor a program or library";
  if (size < 0x40 || image[0] != 'M' || image[1] != 'Z') return Fail(problem, notAProgram);
  const size_t pe = LoadLe32(image + kDosNewHeader);
  if (!Fits(size, pe, 4 + kCoffSize) || std::memcmp(image + pe, "PE\0\0", 4) != 0) return Fail(problem, notAProgram);
  const size_t coff = pe + 4;
  const uint16_t optionalSize = LoadLe16(image + coff + kCoffOptionalSize);
  layout->optional = coff + kCoffSize;
  if (!Fits(size, layout->optional, optionalSize) || optionalSize < kOptionalChecksum + 4)
    return Fail(problem, "is a program whose headers are damaged");
  const uint8_t* optional = image + layout->optional;
  const OptionalKind* kind = nullptr;
  for (const OptionalKind& candidate : kOptionalKinds)
    if (LoadLe16(optional) == candidate.magic) kind = &candidate;
  if (!kind || optionalSize < kind->directories) return Fail(problem, "is a program whose headers are damaged");
  layout->directories = layout->optional + kind->directories;
  layout->directoryCount = std::min<uint32_t>(LoadLe32(optional + kind->directoryCount),
                                              uint32_t((optionalSize - kind->directories) / kDataDirectorySize));
  layout->sectionAlignment = LoadLe32(optional + kOptionalSectionAlignment);
  layout->fileAlignment = LoadLe32(optional + kOptionalFileAlignment);
  layout->headersSize = LoadLe32(optional + kOptionalHeadersSize);
  layout->sectionTable = layout->optional + optionalSize;
  if (!IsPowerOfTwo(layout->sectionAlignment) || !IsPowerOfTwo(layout->fileAlignment) ||
      !ReadSections(image, size, LoadLe16(image + coff + kCoffSectionCount), layout))
    return Fail(problem, "is a program whose headers are damaged");
  return true;
}

// The file offset of length bytes at rva, all within one section's data.
bool FileOffsetOf(const Layout& layout, size_t imageSize, uint32_t rva, uint32_t length, size_t* offset) {
  for (const Section& s : layout.sections) {
    // Empty data may stand right at the section's end.
    if (rva < s.virtualAddress || rva - s.virtualAddress > s.rawSize || (length && rva - s.virtualAddress == s.rawSize))
      continue;
    const uint32_t inside = rva - s.virtualAddress;
    if (length > s.rawSize - inside || !Fits(imageSize, size_t(s.rawPointer) + inside, length)) return false;
    *offset = size_t(s.rawPointer) + inside;
    return true;
  }
  return false;
}

// Reads the three levels of the directory: types, names, languages.
class DirectoryReader {
 public:
  DirectoryReader(const uint8_t* image, size_t size, const Layout& layout, size_t base, size_t limit)
      : image_(image), size_(size), layout_(layout), base_(base), limit_(limit) {}

  bool Read(uint32_t offset, int level, ResourceEntry entry, std::vector<ResourceEntry>* entries) {
    if (!Fits(limit_, offset, kResourceDirectoryHeader)) return false;
    const uint8_t* header = image_ + base_ + offset;
    const size_t count = size_t(LoadLe16(header + 12)) + LoadLe16(header + 14);
    if (!Fits(limit_, offset + kResourceDirectoryHeader, count * kResourceDirectoryEntry)) return false;
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* item = header + kResourceDirectoryHeader + i * kResourceDirectoryEntry;
      if (!TakeKey(LoadLe32(item), level, &entry)) return false;
      const uint32_t target = LoadLe32(item + 4);
      const bool subdirectory = (target & kSubdirectoryBit) != 0;
      if (subdirectory != (level < 2)) return false;
      if (subdirectory ? !Read(target & ~kSubdirectoryBit, level + 1, entry, entries)
                       : !ReadData(target, entry, entries))
        return false;
    }
    return true;
  }

 private:
  bool TakeKey(uint32_t word, int level, ResourceEntry* entry) const {
    ResourceKey key;
    if (word & kSubdirectoryBit) {
      if (level == 2 || !ReadText(word & ~kSubdirectoryBit, &key.text)) return false;
      key.named = true;
    } else if (word > 0xFFFF) {
      return false;
    } else {
      key.id = uint16_t(word);
    }
    if (level == 0) entry->type = key;
    if (level == 1) entry->name = key;
    if (level == 2) entry->language = key.id;
    return true;
  }

  bool ReadText(uint32_t offset, std::u16string* text) const {
    if (!Fits(limit_, offset, 2)) return false;
    const size_t length = LoadLe16(image_ + base_ + offset);
    if (!Fits(limit_, offset + 2, length * 2)) return false;
    for (size_t i = 0; i < length; ++i) text->push_back(char16_t(LoadLe16(image_ + base_ + offset + 2 + 2 * i)));
    return true;
  }

  bool ReadData(uint32_t offset, ResourceEntry entry, std::vector<ResourceEntry>* entries) {
    if (!Fits(limit_, offset, kResourceDataEntry)) return false;
    const uint8_t* data = image_ + base_ + offset;
    const uint32_t length = LoadLe32(data + 4);
    size_t at = 0;
    if (entries->size() >= kMostEntries || length > kMostBytes - bytes_ ||
        !FileOffsetOf(layout_, size_, LoadLe32(data), length, &at))
      return false;
    bytes_ += length;
    entry.codePage = LoadLe32(data + 8);
    entry.bytes.assign(image_ + at, image_ + at + length);
    entries->push_back(std::move(entry));
    return true;
  }

  const uint8_t* image_;
  size_t size_;
  const Layout& layout_;
  size_t base_, limit_;
  size_t bytes_ = 0;
};

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; }

bool EntryBefore(const ResourceEntry& first, const ResourceEntry& second) {
  if (!(first.type == second.type)) return ResourceKeyBefore(first.type, second.type);
  if (!(first.name == second.name)) return ResourceKeyBefore(first.name, second.name);
  return first.language < second.language;
}

bool SameSlot(const ResourceEntry& first, const ResourceEntry& second) {
  return first.type == second.type && first.name == second.name && first.language == second.language;
}

// The section's bytes: directories (root, type level, name level), data
// entries, name texts, then the data, each piece 8-byte aligned. Entries
// come sorted, so each directory lists its named keys first.
class SectionWriter {
 public:
  SectionWriter(const std::vector<ResourceEntry>& entries, uint32_t virtualAddress)
      : entries_(entries), virtualAddress_(virtualAddress) {}

  std::vector<uint8_t> Write() {
    Plan();
    out_.assign(dataStart_, 0);
    size_t typeDirectory = kResourceDirectoryHeader + typeStarts_.size() * kResourceDirectoryEntry;
    size_t nameDirectory = directoryEnd_[0];
    size_t dataEntry = directoryEnd_[1];
    size_t text = entriesEnd_;
    WriteHeader(0, typeStarts_.size(), [&](size_t t) { return TypeOf(t); });
    for (size_t t = 0; t < typeStarts_.size(); ++t) {
      const size_t first = typeStarts_[t], last = End(typeStarts_, t, nameStarts_.size());
      WriteSlot(kResourceDirectoryHeader + t * kResourceDirectoryEntry, TypeOf(t), typeDirectory, &text);
      WriteHeader(typeDirectory, last - first, [&](size_t n) { return entries_[nameStarts_[first + n]].name; });
      for (size_t n = first; n < last; ++n) {
        const size_t from = nameStarts_[n], to = End(nameStarts_, n, entries_.size());
        const size_t slot = typeDirectory + kResourceDirectoryHeader + (n - first) * kResourceDirectoryEntry;
        WriteSlot(slot, entries_[from].name, nameDirectory, &text);
        WriteHeader(nameDirectory, to - from, [](size_t) { return ResourceKey(); });
        for (size_t e = from; e < to; ++e) {
          const size_t language = nameDirectory + kResourceDirectoryHeader + (e - from) * kResourceDirectoryEntry;
          Put32(language, entries_[e].language);
          Put32(language + 4, uint32_t(dataEntry));
          WriteData(dataEntry, entries_[e]);
          dataEntry += kResourceDataEntry;
        }
        nameDirectory += kResourceDirectoryHeader + (to - from) * kResourceDirectoryEntry;
      }
      typeDirectory += kResourceDirectoryHeader + (last - first) * kResourceDirectoryEntry;
    }
    return out_;
  }

 private:
  // Where each type's and each name's run of entries starts, and where
  // each part of the section begins.
  void Plan() {
    for (size_t e = 0; e < entries_.size(); ++e) {
      const bool newType = e == 0 || !(entries_[e].type == entries_[e - 1].type);
      if (newType) typeStarts_.push_back(nameStarts_.size());
      if (newType || !(entries_[e].name == entries_[e - 1].name)) nameStarts_.push_back(e);
    }
    size_t texts = 0;
    for (size_t n : nameStarts_) texts += TextBytes(entries_[n].name);
    for (size_t t = 0; t < typeStarts_.size(); ++t) texts += TextBytes(TypeOf(t));
    directoryEnd_[0] = kResourceDirectoryHeader * (1 + typeStarts_.size()) +
                       kResourceDirectoryEntry * (typeStarts_.size() + nameStarts_.size());
    directoryEnd_[1] =
        directoryEnd_[0] + kResourceDirectoryHeader * nameStarts_.size() + kResourceDirectoryEntry * entries_.size();
    entriesEnd_ = directoryEnd_[1] + kResourceDataEntry * entries_.size();
    dataStart_ = size_t(AlignUp(entriesEnd_ + texts, 8));
  }

  const ResourceKey& TypeOf(size_t t) const { return entries_[nameStarts_[typeStarts_[t]]].type; }
  static size_t End(const std::vector<size_t>& starts, size_t i, size_t last) {
    return i + 1 < starts.size() ? starts[i + 1] : last;
  }
  static size_t TextBytes(const ResourceKey& key) { return key.named ? 2 + 2 * key.text.size() : 0; }

  void Put16(size_t at, uint16_t value) { StoreLe16(value, out_.data() + at); }
  void Put32(size_t at, uint32_t value) { StoreLe32(value, out_.data() + at); }

  template <typename KeyOf>
  void WriteHeader(size_t at, size_t count, KeyOf keyOf) {
    uint16_t named = 0;
    for (size_t i = 0; i < count; ++i) named = uint16_t(named + (keyOf(i).named ? 1 : 0));
    Put16(at + 12, named);
    Put16(at + 14, uint16_t(count - named));
  }

  // A directory entry: the key (a number, or the offset of its text) and
  // the subdirectory it leads to.
  void WriteSlot(size_t slot, const ResourceKey& key, size_t subdirectory, size_t* text) {
    Put32(slot + 4, uint32_t(subdirectory) | kSubdirectoryBit);
    if (!key.named) {
      Put32(slot, key.id);
      return;
    }
    Put32(slot, uint32_t(*text) | kSubdirectoryBit);
    Put16(*text, uint16_t(key.text.size()));
    for (size_t i = 0; i < key.text.size(); ++i) Put16(*text + 2 + 2 * i, uint16_t(key.text[i]));
    *text += TextBytes(key);
  }

  void WriteData(size_t at, const ResourceEntry& entry) {
    Put32(at, virtualAddress_ + uint32_t(out_.size()));
    Put32(at + 4, uint32_t(entry.bytes.size()));
    Put32(at + 8, entry.codePage);
    out_.insert(out_.end(), entry.bytes.begin(), entry.bytes.end());
    out_.resize(size_t(AlignUp(out_.size(), 8)), 0);
  }

  const std::vector<ResourceEntry>& entries_;
  uint32_t virtualAddress_;
  std::vector<size_t> typeStarts_, nameStarts_;
  size_t directoryEnd_[2] = {}, entriesEnd_ = 0, dataStart_ = 0;
  std::vector<uint8_t> out_;
};

// The usual image checksum: 16-bit words summed with their carries folded
// back, the checksum field itself read as zero, plus the image's length.
uint32_t ImageChecksum(const std::vector<uint8_t>& image, size_t checksumAt) {
  uint64_t sum = 0;
  for (size_t at = 0; at < image.size(); at += 2) {
    if (at >= checksumAt && at < checksumAt + 4) continue;
    sum += image[at] | (at + 1 < image.size() ? image[at + 1] << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return uint32_t(sum + image.size());
}

}  // namespace

bool ResourceKeyBefore(const ResourceKey& first, const ResourceKey& second) {
  if (first.named != second.named) return first.named;
  if (!first.named) return first.id < second.id;
  const size_t length = std::min(first.text.size(), second.text.size());
  for (size_t i = 0; i < length; ++i)
    if (Upper(first.text[i]) != Upper(second.text[i])) return Upper(first.text[i]) < Upper(second.text[i]);
  return first.text.size() < second.text.size();
}

bool operator==(const ResourceKey& first, const ResourceKey& second) {
  return first.named == second.named && (first.named ? first.text == second.text : first.id == second.id);
}

bool ReadResources(const uint8_t* image, size_t size, std::vector<ResourceEntry>* entries, std::string* problem) {
  entries->clear();
  Layout layout;
  if (!ReadLayout(image, size, &layout, problem)) return false;
  if (layout.directoryCount <= kDirectoryResource) return true;
  const uint8_t* directory = image + layout.directories + kDirectoryResource * kDataDirectorySize;
  const uint32_t rva = LoadLe32(directory), length = LoadLe32(directory + 4);
  if (rva == 0 || length == 0) return true;
  size_t base = 0;
  if (!FileOffsetOf(layout, size, rva, kResourceDirectoryHeader, &base))
    return Fail(problem, "is a program whose resources are damaged");
  // The directory may point anywhere in the rest of its section.
  size_t limit = 0;
  for (const Section& s : layout.sections)
    if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize)
      limit = std::min<size_t>(s.rawSize - (rva - s.virtualAddress), size - base);
  DirectoryReader reader(image, size, layout, base, limit);
  if (!reader.Read(0, 0, ResourceEntry(), entries)) {
    entries->clear();
    return Fail(problem, "is a program whose resources are damaged");
  }
  // The loader searches the directory as if sorted; an image that is not
  // is read in the order it would be searched.
  std::stable_sort(entries->begin(), entries->end(), EntryBefore);
  return true;
}

bool ReplaceResources(std::vector<uint8_t>* image, std::vector<ResourceEntry> entries, std::string* problem) {
  Layout layout;
  if (!ReadLayout(image->data(), image->size(), &layout, problem)) return false;
  uint8_t* bytes = image->data();
  const auto directory = [&](uint32_t index) { return bytes + layout.directories + index * kDataDirectorySize; };
  if (layout.directoryCount <= kDirectoryResource) return Fail(problem, "has no place for resources");
  if (layout.directoryCount > kDirectorySecurity && LoadLe32(directory(kDirectorySecurity) + 4) != 0)
    return Fail(problem, "is signed; a changed image would lose its signature");
  // One more section header, where the headers still have zero bytes to spare.
  const size_t slot = layout.sectionTable + layout.sections.size() * kSectionHeaderSize;
  bool room = slot + kSectionHeaderSize <= layout.headersSize && Fits(image->size(), slot, kSectionHeaderSize) &&
              layout.sections.size() < 0xFFFF;
  uint64_t virtualEnd = AlignUp(layout.headersSize, layout.sectionAlignment);
  for (const Section& s : layout.sections) {
    room = room && (s.rawSize == 0 || slot + kSectionHeaderSize <= s.rawPointer);
    virtualEnd = std::max<uint64_t>(virtualEnd, uint64_t(s.virtualAddress) + std::max(s.virtualSize, s.rawSize));
  }
  room = room && std::all_of(bytes + slot, bytes + slot + kSectionHeaderSize, [](uint8_t b) { return b == 0; });
  if (!room) return Fail(problem, "has no room for one more section header");

  if (entries.size() > 0xFFFF) return Fail(problem, "would hold too many resources");
  std::stable_sort(entries.begin(), entries.end(), EntryBefore);
  if (std::adjacent_find(entries.begin(), entries.end(), SameSlot) != entries.end())
    return Fail(problem, "would hold one resource twice");
  const uint64_t virtualAddress = AlignUp(virtualEnd, layout.sectionAlignment);
  const uint64_t rawPointer = AlignUp(image->size(), layout.fileAlignment);
  const std::vector<uint8_t> section = SectionWriter(entries, uint32_t(virtualAddress)).Write();
  const uint64_t rawSize = AlignUp(section.size(), layout.fileAlignment);
  const uint64_t imageSize = AlignUp(virtualAddress + section.size(), layout.sectionAlignment);
  if (imageSize > 0xFFFFFFFFu || rawPointer + rawSize > 0xFFFFFFFFu) return Fail(problem, "would grow too large");

  // The old section stays in place, unused and named so.
  const uint32_t oldRva = LoadLe32(directory(kDirectoryResource));
  for (const Section& s : layout.sections)
    if (oldRva >= s.virtualAddress && oldRva - s.virtualAddress < std::max(s.virtualSize, s.rawSize))
      std::memcpy(bytes + s.header, kOldSectionName, sizeof kOldSectionName);
  uint8_t* header = bytes + slot;
  std::memcpy(header, kNewSectionName, sizeof kNewSectionName);
  StoreLe32(uint32_t(section.size()), header + kSectionVirtualSize);
  StoreLe32(uint32_t(virtualAddress), header + 12);
  StoreLe32(uint32_t(rawSize), header + kSectionRawSize);
  StoreLe32(uint32_t(rawPointer), header + 20);
  StoreLe32(kInitializedReadable, header + 36);
  const size_t coff = layout.optional - kCoffSize;
  StoreLe16(uint16_t(layout.sections.size() + 1), bytes + coff + kCoffSectionCount);
  uint8_t* optional = bytes + layout.optional;
  StoreLe32(uint32_t(imageSize), optional + kOptionalImageSize);
  StoreLe32(LoadLe32(optional + kOptionalInitializedData) + uint32_t(rawSize), optional + kOptionalInitializedData);
  StoreLe32(uint32_t(virtualAddress), directory(kDirectoryResource));
  StoreLe32(uint32_t(section.size()), directory(kDirectoryResource) + 4);

  image->resize(size_t(rawPointer), 0);
  image->insert(image->end(), section.begin(), section.end());
  image->resize(size_t(rawPointer + rawSize), 0);
  const size_t checksumAt = layout.optional + kOptionalChecksum;
  StoreLe32(ImageChecksum(*image, checksumAt), image->data() + checksumAt);
  return true;
}
