// The resources of a Windows program image, read whole from its resource
// directory and written back as a new resource section at the image's end.
// Pure computation over bytes: every offset, count and size read from the
// image is checked against the image before it is used.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A resource type or name: a number, or a text (UTF-16 code units).
struct ResourceKey {
  bool named = false;
  uint16_t id = 0;
  std::u16string text;
};
// Directory order: texts first (by their upper-case form), then numbers.
bool ResourceKeyBefore(const ResourceKey& first, const ResourceKey& second);
bool operator==(const ResourceKey& first, const ResourceKey& second);

enum : uint16_t { kResourceIcon = 3, kResourceIconGroup = 14 };

struct ResourceEntry {
  ResourceKey type;
  ResourceKey name;
  uint16_t language = 0;
  uint32_t codePage = 0;
  std::vector<uint8_t> bytes;
};

// The image's resources in directory order (type, then name, then
// language). False with problem set when the image is not a program image
// or its resource directory is damaged; an image without resources gives
// true and no entries.
bool ReadResources(const uint8_t* image, size_t size, std::vector<ResourceEntry>* entries, std::string* problem);

// Gives the image a new resource section holding entries, placed after
// everything the image holds; the directory points at it and the old
// section stays unused. False with problem set when the image cannot take
// one (no room for a section header, a signed image).
bool ReplaceResources(std::vector<uint8_t>* image, std::vector<ResourceEntry> entries, std::string* problem);
