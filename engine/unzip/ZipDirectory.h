// The portable heart of the archive directory reader: finding the end
// records, loading the central directory into a cache and picking a member's
// fields and extra records out of it. It reads the archive only through an
// ArchiveSource, so the same code runs over a Win32 file and over a buffer.
#pragma once
#include <cstddef>
#include <cstdint>

struct ArchiveSource {
  void *context;
  // Up to length bytes at offset into buffer: the count read, or -1.
  int64_t (*readAt)(void *context, uint64_t offset, void *buffer, uint32_t length);
  uint64_t size;
};

// Reads exactly length bytes at offset; 1, or 0 on a short or failed read.
int SourceReadExact(const ArchiveSource *source, uint64_t offset, void *buffer, uint32_t length);

inline uint16_t ReadLe16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t ReadLe32(const uint8_t *p) { return ReadLe16(p) | static_cast<uint32_t>(ReadLe16(p + 2)) << 16; }
inline uint64_t ReadLe64(const uint8_t *p) { return ReadLe32(p) | static_cast<uint64_t>(ReadLe32(p + 4)) << 32; }
inline void WriteLe16(uint8_t *p, uint16_t v) { p[0] = static_cast<uint8_t>(v); p[1] = static_cast<uint8_t>(v >> 8); }
inline void WriteLe32(uint8_t *p, uint32_t v) { WriteLe16(p, static_cast<uint16_t>(v)); WriteLe16(p + 2, static_cast<uint16_t>(v >> 16)); }
inline void WriteLe64(uint8_t *p, uint64_t v) { WriteLe32(p, static_cast<uint32_t>(v)); WriteLe32(p + 4, static_cast<uint32_t>(v >> 32)); }

enum : uint32_t {
  kCentralHeaderSignature = 0x02014b50,
  kLocalHeaderSignature = 0x04034b50,
  kEndRecordSignature = 0x06054b50,
  kZip64EndSignature = 0x06064b50,
  kZip64LocatorSignature = 0x07064b50,
};
enum : uint16_t { kZip64ExtraId = 0x0001, kUnicodePathExtraId = 0x7075 };
enum : uint16_t { kZipFlagUtf8Name = 0x0800 };

// Offsets into the 46-byte central directory header.
enum CentralHeaderField : unsigned {
  kChMadeBy = 4, kChNeeded = 6, kChFlags = 8, kChMethod = 10, kChTime = 12, kChDate = 14,
  kChCrc = 16, kChCompressed = 20, kChUncompressed = 24, kChNameLength = 28, kChExtraLength = 30,
  kChCommentLength = 32, kChStartDisk = 34, kChInternalAttr = 36, kChExternalAttr = 38,
  kChLocalOffset = 42, kCentralHeaderSize = 46,
};
// Offsets into the 30-byte local header.
enum LocalHeaderField : unsigned {
  kLhNeeded = 4, kLhFlags = 6, kLhMethod = 8, kLhTime = 10, kLhDate = 12, kLhCrc = 14,
  kLhCompressed = 18, kLhUncompressed = 22, kLhNameLength = 26, kLhExtraLength = 28,
  kLocalHeaderSize = 30,
};

enum : uint32_t {
  kEndSearchWindow = 65579,  // the end record, a full comment and a margin
  kZip64LocatorWindow = 102400,
  kEndRecordSize = 22,
};

// Results of the end-record searches besides an offset.
enum : int64_t {
  kEndNotFound = -1,
  kEndNotOnThisDisk = -2,
  kEndCentralOnly = -3,  // the disk starts with a central header but holds no end record
  kEndNoMemory = -4,
  // The last end-record signature states a comment running past the file's
  // end while an earlier record fits: two readings of one file, neither
  // safe to choose (a cut archive, or one end record hidden in a comment).
  kEndAmbiguous = -5,
};

// Both searches take the last end record whose comment ends within the file,
// and give kEndAmbiguous when a later signature's comment does not.
// Buffered search (removable drives and split parts): stops at the first
// directory or local header met before an end record.
int64_t EndRecordSearchBuffered(const ArchiveSource *source, int promptSuppress);
// Direct search: the last end-record signature within the window.
int64_t EndRecordSearchDirect(const ArchiveSource *source);

// The end record widened to the Zip64 end record's form.
struct EndRecord {
  uint64_t recordSize;
  uint16_t versionMadeBy;
  uint16_t versionNeeded;
  uint32_t thisDisk;
  uint32_t directoryDisk;
  uint64_t entriesOnDisk;
  uint64_t totalEntries;
  uint64_t directorySize;
  uint64_t directoryOffset;
  uint16_t commentLength;
  int64_t endOffset;    // where the end record's signature stands
  int64_t zip64Offset;  // where the Zip64 end record stands, or -1
  // What the file positions exceed the recorded offsets by, for an archive
  // put behind other data without its offsets adjusted (0 otherwise).
  int64_t offsetShift;
};

struct Zip64Locator {
  uint32_t disk;
  uint64_t zip64Offset;
  uint32_t diskCount;
};
// The locator before the end record at endOffset; 1 when found, else 0.
int Zip64LocatorSearch(const ArchiveSource *source, int64_t endOffset, Zip64Locator *locator);

// Reads the end record whose signature stands at endOffset and, when any of
// its numbers is saturated, the Zip64 end record. 0, or 3 when a record is
// cut short or the Zip64 end record is not one.
int EndRecordParse(const ArchiveSource *source, int64_t endOffset, EndRecord *record);
// As EndRecordParse, for a single-disk archive that may stand behind other
// data with offsets counted from its own start: the shift is measured and,
// when the directory is found where it says, directoryOffset is made a file
// position and offsetShift tells what to add to each member's offset.
int EndRecordParseShifted(const ArchiveSource *source, int64_t endOffset, EndRecord *record);

// The central directory, header after header, each its 46 fixed bytes and its
// name, extra field and comment.
struct DirectoryCache {
  uint8_t *block;
  uint64_t capacity;
  uint64_t used;
  uint32_t *offsets;  // offsets[i] = start of header i; offsets[count] = used
  uint64_t offsetCapacity;
  uint64_t count;
  int valid;
};

void DirectoryCacheFree(DirectoryCache *cache);

// Loads headers from start until total are in the cache or another signature
// stands next. With first the cache starts empty. Headers loaded by this call,
// or -1 on a failed read or allocation.
int64_t DirectoryLoad(DirectoryCache *cache, const ArchiveSource *source, uint64_t start, uint64_t total, int first);

// The extra records a member's handling needs, whole (id and size included).
enum { kZip64ExtraMax = 32, kAesExtraMax = 11, kStrongExtraMax = 16 };
struct ExtraFieldCopies {
  uint8_t zip64[kZip64ExtraMax];
  uint32_t zip64Length;
  uint8_t aes[kAesExtraMax];
  uint32_t aesLength;
  uint8_t strong[kStrongExtraMax];
  uint32_t strongLength;
};

// Walks an extra field record by record, within its length, copying the first
// record of each kind. 0 when a record runs past the field's end or the first
// record of a kind is longer than its copy.
int ExtraFieldWalk(const uint8_t *extra, uint32_t length, ExtraFieldCopies *copies);

// A member's 64-bit values. A Zip64 record holds a value only for each field
// the header saturated, in the order uncompressed, compressed, offset, disk.
struct MemberValues {
  uint64_t uncompressedSize;
  uint64_t compressedSize;
  uint64_t localHeaderOffset;
  uint32_t startDisk;
};

enum { kMemberUtf8NameCapacity = 1024 };

struct CurrentMember {
  uint8_t central[kCentralHeaderSize];
  ExtraFieldCopies extras;
  MemberValues values;
  uint16_t method;  // the AES extra field's method for method 99
  char name[260];
  char storedName[260];  // the name's bytes as the central header holds them
  // The name as UTF-8 when the member says it is (flag bit 11, a Unicode
  // path record matching the stored name, or a Unix or macOS name that reads
  // as UTF-8); empty otherwise.
  char utf8Name[kMemberUtf8NameCapacity];
  int nameIsUtf8;
  uint64_t index;
};

enum : uint16_t { kMethodAes = 99 };
enum { kMemberNameMax = 259 };

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or
// values past U+10FFFF).
bool IsWellFormedUtf8(const uint8_t *text, size_t length);

// Takes the member's UTF-8 name into utf8Name and sets nameIsUtf8: the stored
// name itself under flag bit 11, else the Unicode path extra record (0x7075)
// whose CRC-32 matches the stored name, else the stored name of a Unix or
// macOS host when it holds bytes past ASCII and reads as UTF-8. A name that is not well-formed UTF-8,
// or does not fit, leaves the member with its stored name only.
void MemberTakeUtf8Name(CurrentMember *member, const uint8_t *storedName, uint16_t nameLength, const uint8_t *extra,
                        uint16_t extraLength);

// Member index from the cache: header, extras, 64-bit values, method and the
// stored name (no conversion). 1, or 0 when its extra field or name is bad.
int MemberFromCache(const DirectoryCache *cache, uint64_t index, CurrentMember *member);

// Applies a local header's extra field: its Zip64 and AES records replace the
// central ones, and saturated local sizes are taken from its Zip64 record,
// unless the local header says its sizes follow the data (flag bit 3).
// A field shorter than 5 bytes changes nothing. 1, or 0 when it is bad.
int LocalExtraApply(CurrentMember *member, const uint8_t localHeader[kLocalHeaderSize], const uint8_t *extra,
                    uint32_t length);
