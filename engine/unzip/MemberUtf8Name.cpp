// Member names stored as UTF-8: flagged by general-purpose bit 11, carried
// beside a code-page name in a Unicode path extra record whose CRC-32 ties it
// to the name it stands for (a stale record from an older edit is ignored),
// or written unflagged by Unix and macOS tools, which store the bytes their
// file system hands them.
#include <cstring>
#include "Crc32.h"
#include "ZipDirectory.h"

// Length of the sequence a lead byte starts, and the smallest value it may
// hold (anything below is an overlong form); 0 for a byte that cannot lead.
struct Utf8Lead {
  uint8_t mask, value;
  size_t length;
  uint32_t smallest;
};
static const Utf8Lead kUtf8Leads[] = {
    {0x80, 0x00, 1, 0},
    {0xE0, 0xC0, 2, 0x80},
    {0xF0, 0xE0, 3, 0x800},
    {0xF8, 0xF0, 4, 0x10000},
};

bool IsWellFormedUtf8(const uint8_t *text, size_t length) {
  size_t i = 0;
  while (i < length) {
    const Utf8Lead *lead = nullptr;
    for (const Utf8Lead &candidate : kUtf8Leads)
      if ((text[i] & candidate.mask) == candidate.value) lead = &candidate;
    if (!lead || lead->length > length - i) return false;
    uint32_t value = text[i] & static_cast<uint8_t>(~lead->mask);
    for (size_t k = 1; k < lead->length; ++k) {
      if ((text[i + k] & 0xC0) != 0x80) return false;
      value = value << 6 | (text[i + k] & 0x3F);
    }
    if (value < lead->smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += lead->length;
  }
  return true;
}

static bool TakeName(CurrentMember *member, const uint8_t *utf8, size_t length) {
  if (length >= sizeof member->utf8Name || memchr(utf8, 0, length) || !IsWellFormedUtf8(utf8, length)) return false;
  memcpy(member->utf8Name, utf8, length);
  member->utf8Name[length] = '\0';
  member->nameIsUtf8 = 1;
  return true;
}

enum : uint32_t { kUnicodePathVersion = 1, kUnicodePathHeader = 5 };  // version, CRC-32 of the stored name

// The Unicode path record's name when it belongs to the stored name; true
// when it was taken.
static bool TakeUnicodePathRecord(CurrentMember *member, const uint8_t *storedName, uint16_t nameLength,
                                  const uint8_t *extra, uint16_t extraLength) {
  uint32_t position = 0;
  while (extraLength - position >= 4) {
    uint16_t id = ReadLe16(extra + position);
    uint32_t size = ReadLe16(extra + position + 2);
    if (size > extraLength - position - 4u) return false;
    const uint8_t *data = extra + position + 4;
    if (id == kUnicodePathExtraId) {
      return size > kUnicodePathHeader && data[0] == kUnicodePathVersion &&
             ReadLe32(data + 1) == Crc32Continue(0, storedName, nameLength) &&
             TakeName(member, data + kUnicodePathHeader, size - kUnicodePathHeader);
    }
    position += 4 + size;
  }
  return false;
}

// Hosts whose writers store names in the file system's own bytes, UTF-8 on
// every system they run on today, without saying so.
enum : uint8_t { kHostUnix = 3, kHostDarwin = 19 };

// An unflagged name from such a host is UTF-8 when it reads as UTF-8 and is
// not plain ASCII; a name from any other host keeps its code-page reading
// even when its bytes happen to form UTF-8.
static bool IsUnflaggedUtf8(const CurrentMember *member, const uint8_t *storedName, uint16_t nameLength) {
  const uint8_t host = member->central[kChMadeBy + 1];
  if (host != kHostUnix && host != kHostDarwin) return false;
  for (uint16_t i = 0; i < nameLength; ++i)
    if (storedName[i] >= 0x80) return true;
  return false;
}

void MemberTakeUtf8Name(CurrentMember *member, const uint8_t *storedName, uint16_t nameLength, const uint8_t *extra,
                        uint16_t extraLength) {
  member->utf8Name[0] = '\0';
  member->nameIsUtf8 = 0;
  if ((ReadLe16(member->central + kChFlags) & kZipFlagUtf8Name) && TakeName(member, storedName, nameLength)) return;
  if (TakeUnicodePathRecord(member, storedName, nameLength, extra, extraLength)) return;
  if (IsUnflaggedUtf8(member, storedName, nameLength)) TakeName(member, storedName, nameLength);
}
