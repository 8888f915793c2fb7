// The directory reader's portable core over archives built in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include "Crc32.h"
#include "DosTime.h"
#include "ProgressPercent.h"
#include "ZipDirectory.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void Put16(Bytes &b, uint32_t v) { b.push_back(v & 0xFF), b.push_back(v >> 8 & 0xFF); }
void Put32(Bytes &b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }
void Put64(Bytes &b, uint64_t v) { Put32(b, static_cast<uint32_t>(v)), Put32(b, static_cast<uint32_t>(v >> 32)); }
void PutText(Bytes &b, const std::string &s) { b.insert(b.end(), s.begin(), s.end()); }

Bytes ExtraRecord(uint16_t id, const Bytes &data) {
  Bytes r;
  Put16(r, id);
  Put16(r, static_cast<uint32_t>(data.size()));
  r.insert(r.end(), data.begin(), data.end());
  return r;
}

struct Member {
  std::string name = "file.txt";
  uint16_t method = 8;
  uint32_t compressed = 10, uncompressed = 20, offset = 0;
  uint16_t disk = 0;
  uint16_t flags = 0;
  Bytes extra;
  uint16_t madeBy = 0x031E;  // Unix, version 3.0
};

void PutCentral(Bytes &b, const Member &m) {
  Put32(b, kCentralHeaderSignature);
  Put16(b, m.madeBy), Put16(b, 20), Put16(b, m.flags), Put16(b, m.method);
  Put16(b, 0x6000), Put16(b, 0x5A21);  // time, date
  Put32(b, 0x12345678), Put32(b, m.compressed), Put32(b, m.uncompressed);
  Put16(b, static_cast<uint32_t>(m.name.size())), Put16(b, static_cast<uint32_t>(m.extra.size())), Put16(b, 0);
  Put16(b, m.disk), Put16(b, 0), Put32(b, 0x81A40000), Put32(b, m.offset);
  PutText(b, m.name);
  b.insert(b.end(), m.extra.begin(), m.extra.end());
}

void PutEnd(Bytes &b, uint16_t entries, uint32_t size, uint32_t offset, const std::string &comment = "") {
  Put32(b, kEndRecordSignature);
  Put16(b, 0), Put16(b, 0), Put16(b, entries), Put16(b, entries);
  Put32(b, size), Put32(b, offset), Put16(b, static_cast<uint32_t>(comment.size()));
  PutText(b, comment);
}

// An archive of central headers only (no member data is needed to list).
Bytes ArchiveOf(const std::vector<Member> &members, const std::string &comment = "") {
  Bytes b = {'d', 'a', 't', 'a'};
  uint32_t start = static_cast<uint32_t>(b.size());
  for (const Member &m : members) PutCentral(b, m);
  PutEnd(b, static_cast<uint16_t>(members.size()), static_cast<uint32_t>(b.size()) - start, start, comment);
  return b;
}

int64_t ReadAt(void *context, uint64_t offset, void *buffer, uint32_t length) {
  auto *bytes = static_cast<const Bytes *>(context);
  if (offset > bytes->size()) return -1;
  uint64_t n = std::min<uint64_t>(length, bytes->size() - offset);
  memcpy(buffer, bytes->data() + offset, static_cast<size_t>(n));
  return static_cast<int64_t>(n);
}

ArchiveSource SourceOf(const Bytes &bytes) { return {const_cast<Bytes *>(&bytes), ReadAt, bytes.size()}; }

// Loads the whole directory; the count loaded, or -1.
struct Loaded {
  DirectoryCache cache = {};
  EndRecord end = {};
  int64_t count = -1;
  ~Loaded() { DirectoryCacheFree(&cache); }
};

void Load(const Bytes &archive, Loaded *loaded) {
  ArchiveSource source = SourceOf(archive);
  int64_t at = EndRecordSearchDirect(&source);
  ASSERT_GE(at, 0);
  ASSERT_EQ(EndRecordParse(&source, at, &loaded->end), 0);
  loaded->count = DirectoryLoad(&loaded->cache, &source, loaded->end.directoryOffset, loaded->end.totalEntries, 1);
}

TEST(EndRecordSearch, BothModesFindTheRecordBehindTheLongestComment) {
  Bytes archive = ArchiveOf({Member()}, std::string(65535, 'c'));
  ArchiveSource source = SourceOf(archive);
  int64_t expected = static_cast<int64_t>(archive.size()) - 65535 - kEndRecordSize;
  EXPECT_EQ(EndRecordSearchDirect(&source), expected);
  EXPECT_EQ(EndRecordSearchBuffered(&source, 0), expected);
  EndRecord end;
  ASSERT_EQ(EndRecordParse(&source, expected, &end), 0);
  EXPECT_EQ(end.commentLength, 65535);
  EXPECT_EQ(end.totalEntries, 1u);
}

TEST(EndRecordSearch, EmptyArchiveOfTwentyTwoBytes) {
  Bytes archive;
  PutEnd(archive, 0, 0, 0);
  ASSERT_EQ(archive.size(), 22u);
  ArchiveSource source = SourceOf(archive);
  EXPECT_EQ(EndRecordSearchBuffered(&source, 0), 0);
  EXPECT_EQ(EndRecordSearchDirect(&source), 0);
}

TEST(EndRecordSearch, ArchivesWithoutAnEndRecord) {
  Bytes headersOnly;
  PutCentral(headersOnly, Member());
  ArchiveSource source = SourceOf(headersOnly);
  EXPECT_EQ(EndRecordSearchDirect(&source), kEndNotFound);
  // A disk that starts with a central header but ends without an end record
  // is one of a spanned set; with prompts suppressed it is just not this disk.
  EXPECT_EQ(EndRecordSearchBuffered(&source, 0), kEndCentralOnly);
  EXPECT_EQ(EndRecordSearchBuffered(&source, 1), kEndNotOnThisDisk);
  Bytes tiny = {'P', 'K', 5, 6};
  source = SourceOf(tiny);
  EXPECT_EQ(EndRecordSearchDirect(&source), kEndNotFound);
  Bytes cut = ArchiveOf({Member()});
  cut.resize(cut.size() - 4);  // the end record loses its last bytes
  source = SourceOf(cut);
  EXPECT_EQ(EndRecordSearchDirect(&source), kEndNotFound);
}

// A last signature whose comment would run past the file's end leaves two
// readings when an earlier record fits: both searches refuse to choose. With
// nothing valid before it the search fails as before.
TEST(EndRecordSearch, CandidateWhoseCommentPassesTheEndMakesTheArchiveAmbiguous) {
  Bytes fake;
  PutEnd(fake, 7, 0, 0);
  fake[20] = 0xF4, fake[21] = 0x01;  // a comment of 500 bytes, where there are not
  Bytes archive = ArchiveOf({Member()}, std::string(fake.begin(), fake.end()));
  ArchiveSource source = SourceOf(archive);
  EXPECT_EQ(EndRecordSearchDirect(&source), kEndAmbiguous);
  EXPECT_EQ(EndRecordSearchBuffered(&source, 1), kEndAmbiguous);
  Bytes alone = ArchiveOf({Member()});
  alone[alone.size() - 2] = 1;  // the only end record claims a comment of one byte
  source = SourceOf(alone);
  EXPECT_EQ(EndRecordSearchDirect(&source), kEndNotFound);
  EXPECT_EQ(EndRecordSearchBuffered(&source, 1), kEndNotOnThisDisk);
}

// A Zip64 end record and locator after the directory, with a saturated end record.
Bytes Zip64ArchiveOf(const Member &member, uint64_t recordSize) {
  Bytes b = {'x'};
  PutCentral(b, member);
  uint64_t zip64At = b.size();
  Put32(b, kZip64EndSignature), Put64(b, recordSize), Put16(b, 45), Put16(b, 45);
  Put32(b, 0), Put32(b, 0), Put64(b, 1), Put64(b, 1), Put64(b, zip64At - 1), Put64(b, 1);
  Put32(b, kZip64LocatorSignature), Put32(b, 0), Put64(b, zip64At), Put32(b, 1);
  PutEnd(b, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
  return b;
}

TEST(EndRecordParse, SaturatedRecordTakesTheZip64EndRecord) {
  Bytes archive = Zip64ArchiveOf(Member(), 44);
  Loaded loaded;
  Load(archive, &loaded);
  EXPECT_EQ(loaded.end.totalEntries, 1u);
  EXPECT_EQ(loaded.end.directoryOffset, 1u);
  EXPECT_EQ(loaded.end.versionNeeded, 45);
  EXPECT_EQ(loaded.count, 1);
}

TEST(EndRecordParse, Zip64EndRecordOfBadSizeIsRefused) {
  for (uint64_t size : {uint64_t{0}, uint64_t{45}, uint64_t{1} << 40}) {
    Bytes archive = Zip64ArchiveOf(Member(), size);
    ArchiveSource source = SourceOf(archive);
    EndRecord end;
    EXPECT_EQ(EndRecordParse(&source, EndRecordSearchDirect(&source), &end), 3) << size;
  }
}

// An archive put behind other bytes without adjusting its offsets: the shift
// is where the directory ends (or the Zip64 end record stands) less where the
// records say; an archive whose offsets fit gets none.
TEST(EndRecordParseShifted, ArchiveBehindOtherData) {
  const Bytes junk(3000, 'j');
  struct Case {
    const char *what;
    Bytes archive;
    uint64_t directoryOffset;  // as recorded
  } cases[] = {
      {"plain", ArchiveOf({Member()}), 4},
      {"zip64", Zip64ArchiveOf(Member(), 44), 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    for (int64_t shift : {int64_t{0}, static_cast<int64_t>(junk.size())}) {
      Bytes archive = shift ? junk : Bytes();
      archive.insert(archive.end(), c.archive.begin(), c.archive.end());
      ArchiveSource source = SourceOf(archive);
      int64_t at = EndRecordSearchDirect(&source);
      EndRecord end;
      ASSERT_EQ(EndRecordParseShifted(&source, at, &end), 0);
      EXPECT_EQ(end.offsetShift, shift);
      EXPECT_EQ(end.directoryOffset, c.directoryOffset + static_cast<uint64_t>(shift));
      EXPECT_EQ(end.endOffset, at);
      DirectoryCache cache = {};
      EXPECT_EQ(DirectoryLoad(&cache, &source, end.directoryOffset, end.totalEntries, 1), 1);
      DirectoryCacheFree(&cache);
    }
  }
  // Bytes between the directory and the end record, with the directory where
  // the record says: no shift is taken.
  Bytes padded = ArchiveOf({Member()});
  padded.insert(padded.end() - kEndRecordSize, 10, 'p');
  ArchiveSource source = SourceOf(padded);
  EndRecord end;
  ASSERT_EQ(EndRecordParseShifted(&source, EndRecordSearchDirect(&source), &end), 0);
  EXPECT_EQ(end.offsetShift, 0);
  EXPECT_EQ(end.directoryOffset, 4u);
}

TEST(DirectoryLoad, StopsAtAnotherSignatureAndFailsOnACutHeader) {
  Bytes archive = ArchiveOf({Member(), Member()});
  Loaded loaded;
  Load(archive, &loaded);
  EXPECT_EQ(loaded.count, 2);
  ArchiveSource source = SourceOf(archive);
  DirectoryCache cache = {};
  // Claiming more entries than there are stops at the end record.
  EXPECT_EQ(DirectoryLoad(&cache, &source, 4, 5, 1), 2);
  // A header that runs past the end of the archive is a failed read.
  Bytes cut(archive.begin(), archive.begin() + 4 + 46 + 3);
  source = SourceOf(cut);
  EXPECT_EQ(DirectoryLoad(&cache, &source, 4, 1, 1), -1);
  DirectoryCacheFree(&cache);
}

struct MemberCase {
  const char *what;
  Member member;
  int accepted;
};

Member WithExtra(Bytes extra) {
  Member m;
  m.extra = std::move(extra);
  return m;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes &p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(MemberFromCache, ExtraFieldWalkStaysInsideTheField) {
  Bytes zip64of28(28, 0), zip64of32(32, 0);
  Bytes aes = {1, 0, 'A', 'E', 3, 8, 0};
  const MemberCase cases[] = {
      {"zip64 record of 32 bytes in all", WithExtra(ExtraRecord(1, zip64of28)), 1},
      {"zip64 record of 36 bytes in all", WithExtra(ExtraRecord(1, zip64of32)), 0},
      {"record data runs past the field", WithExtra(Concat({{0x55, 0x54, 0x40, 0}, Bytes(8, 0)})), 0},
      {"second record runs past the field", WithExtra(Concat({ExtraRecord(0x5455, {1}), {1, 0, 9, 0, 0}})), 0},
      {"short tail after the records", WithExtra(Concat({ExtraRecord(0x5455, {1, 2, 3}), {0, 0}})), 1},
      {"aes record of 12 bytes", WithExtra(ExtraRecord(0x9901, Concat({aes, {0}}))), 0},
      {"strong record of 16 bytes", WithExtra(ExtraRecord(0x0017, Bytes(12, 0))), 1},
      {"strong record of 17 bytes", WithExtra(ExtraRecord(0x0017, Bytes(13, 0))), 0},
  };
  for (const MemberCase &c : cases) {
    Bytes archive = ArchiveOf({c.member});
    Loaded loaded;
    Load(archive, &loaded);
    ASSERT_EQ(loaded.count, 1) << c.what;
    CurrentMember member;
    EXPECT_EQ(MemberFromCache(&loaded.cache, 0, &member), c.accepted) << c.what;
  }
}

TEST(MemberFromCache, Zip64RecordHoldsOnlyTheSaturatedValues) {
  Member offsetOnly;
  offsetOnly.offset = 0xFFFFFFFF;
  Bytes value;
  Put64(value, 0x123456789ull);
  offsetOnly.extra = ExtraRecord(1, value);
  Member all;
  all.uncompressed = all.compressed = all.offset = 0xFFFFFFFF;
  all.disk = 0xFFFF;
  Bytes values;
  Put64(values, 5000000000ull), Put64(values, 4000000000ull), Put64(values, 7), Put32(values, 2);
  all.extra = ExtraRecord(1, values);
  Member missing;
  missing.uncompressed = 0xFFFFFFFF;
  missing.extra = ExtraRecord(1, {0, 0, 0, 0});
  Member noDisk;  // offset and disk saturated, the record holds the offset only
  noDisk.offset = 0xFFFFFFFF;
  noDisk.disk = 0xFFFF;
  noDisk.extra = ExtraRecord(1, value);
  Bytes archive = ArchiveOf({offsetOnly, all, missing, noDisk});
  Loaded loaded;
  Load(archive, &loaded);
  ASSERT_EQ(loaded.count, 4);
  CurrentMember member;
  ASSERT_EQ(MemberFromCache(&loaded.cache, 0, &member), 1);
  EXPECT_EQ(member.values.uncompressedSize, 20u);
  EXPECT_EQ(member.values.compressedSize, 10u);
  EXPECT_EQ(member.values.localHeaderOffset, 0x123456789ull);
  ASSERT_EQ(MemberFromCache(&loaded.cache, 1, &member), 1);
  EXPECT_EQ(member.values.uncompressedSize, 5000000000ull);
  EXPECT_EQ(member.values.compressedSize, 4000000000ull);
  EXPECT_EQ(member.values.localHeaderOffset, 7u);
  EXPECT_EQ(member.values.startDisk, 2u);
  // A saturated size the record does not hold is a structure fault.
  EXPECT_EQ(MemberFromCache(&loaded.cache, 2, &member), 0);
  EXPECT_EQ(MemberFromCache(&loaded.cache, 3, &member), 0) << "the disk number past the record's end";
}

TEST(MemberFromCache, FormsAZip64RecordWhenThereIsNone) {
  Bytes archive = ArchiveOf({Member()});
  Loaded loaded;
  Load(archive, &loaded);
  CurrentMember member;
  ASSERT_EQ(MemberFromCache(&loaded.cache, 0, &member), 1);
  ASSERT_EQ(member.extras.zip64Length, 32u);
  EXPECT_EQ(ReadLe16(member.extras.zip64 + 2), 28);
  EXPECT_EQ(ReadLe64(member.extras.zip64 + 4), 20u);
  EXPECT_EQ(ReadLe64(member.extras.zip64 + 12), 10u);
}

TEST(MemberFromCache, AesMemberListsTheMethodOfItsExtraRecord) {
  Member aes;
  aes.method = kMethodAes;
  aes.extra = ExtraRecord(0x9901, {2, 0, 'A', 'E', 3, 8, 0});
  Bytes archive = ArchiveOf({aes});
  Loaded loaded;
  Load(archive, &loaded);
  CurrentMember member;
  ASSERT_EQ(MemberFromCache(&loaded.cache, 0, &member), 1);
  EXPECT_EQ(member.method, 8);
  EXPECT_EQ(member.extras.aesLength, 11u);
}

TEST(MemberFromCache, NamesUpTo259Bytes) {
  Member longest, tooLong;
  longest.name = std::string(259, 'n');
  tooLong.name = std::string(260, 'm');
  Bytes archive = ArchiveOf({longest, tooLong});
  Loaded loaded;
  Load(archive, &loaded);
  CurrentMember member;
  ASSERT_EQ(MemberFromCache(&loaded.cache, 0, &member), 1);
  EXPECT_EQ(std::string(member.name), longest.name);
  EXPECT_EQ(MemberFromCache(&loaded.cache, 1, &member), 0);
  EXPECT_EQ(MemberFromCache(&loaded.cache, 2, &member), 0);
  EXPECT_EQ(MemberFromCache(&loaded.cache, 3, &member), 0) << "the disk number past the record's end";
}

TEST(MemberUtf8Name, WellFormedUtf8Only) {
  struct Case {
    const char *bytes;
    bool wellFormed;
  } cases[] = {
      {"plain.txt", true},         {"\xE2\x82\xAC_\xE6\x97\xA5.txt", true}, {"\xF0\x9F\x98\x80", true},
      {"\xC0\xAF", false},         // an overlong '/'
      {"\xE0\x80\xAF", false},     // another
      {"\xED\xA0\x80", false},     // a surrogate
      {"\xF4\x90\x80\x80", false}, // past U+10FFFF
      {"\x82.txt", false},         {"\xE2\x82", false},  // a lone trail byte; a cut sequence
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.wellFormed, IsWellFormedUtf8(reinterpret_cast<const uint8_t *>(c.bytes), strlen(c.bytes))) << c.bytes;
}

Bytes UnicodePathRecord(const std::string &utf8, uint32_t crc) {
  Bytes data = {1};
  Put32(data, crc);
  PutText(data, utf8);
  return ExtraRecord(0x7075, data);
}

// UTF-8 by the flag, by a Unicode path record tied to the stored name, or,
// unflagged, by a Unix or macOS host whose name reads as UTF-8.
TEST(MemberUtf8Name, FromTheFlagARecordOrAUnixHost) {
  const std::string stored = "caf\x82.txt";
  const std::string utf8 = "\xC3\xA9t\xC3\xA9.txt";
  const std::string dosUtf8 = "\xE1\x81\x82.txt";  // CP437 "\xDF\xFC\xE9" whose bytes also form UTF-8
  uint32_t storedCrc = Crc32Continue(0, reinterpret_cast<const uint8_t *>(stored.data()), stored.size());
  uint32_t utf8Crc = Crc32Continue(0, reinterpret_cast<const uint8_t *>(utf8.data()), utf8.size());
  enum : uint16_t { kDos = 0x0014, kNtfs = 0x0B14, kUnix = 0x031E, kDarwin = 0x1314 };
  struct Case {
    const char *what;
    std::string name;
    uint16_t madeBy;
    uint16_t flags;
    Bytes extra;
    const char *utf8;  // null: the stored name only
  } cases[] = {
      {"flag", utf8, kDos, 0x0800, {}, utf8.c_str()},
      {"flag on bytes that are no UTF-8", stored, kUnix, 0x0800, {}, nullptr},
      {"no flag, DOS host", dosUtf8, kDos, 0, {}, nullptr},
      {"no flag, NTFS host", utf8, kNtfs, 0, {}, nullptr},
      {"no flag, Unix host", utf8, kUnix, 0, {}, utf8.c_str()},
      {"no flag, macOS host", dosUtf8, kDarwin, 0, {}, dosUtf8.c_str()},
      {"no flag, Unix host, plain ASCII", "plain.txt", kUnix, 0, {}, nullptr},
      {"no flag, Unix host, code-page bytes", stored, kUnix, 0, {}, nullptr},
      {"record", stored, kDos, 0, UnicodePathRecord("caf\xC3\xA9.txt", storedCrc), "caf\xC3\xA9.txt"},
      {"record before the Unix host", utf8, kUnix, 0, UnicodePathRecord("other.txt", utf8Crc), "other.txt"},
      {"stale record", stored, kUnix, 0, UnicodePathRecord("other.txt", storedCrc ^ 1), nullptr},
      {"stale record, Unix host", utf8, kUnix, 0, UnicodePathRecord("other.txt", utf8Crc ^ 1), utf8.c_str()},
      {"record of bad UTF-8", stored, kDos, 0, UnicodePathRecord("\xC0\xAF", storedCrc), nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Member m;
    m.name = c.name;
    m.madeBy = c.madeBy;
    m.flags = c.flags;
    m.extra = c.extra;
    Loaded loaded;
    Load(ArchiveOf({m}), &loaded);
    CurrentMember member;
    ASSERT_TRUE(MemberFromCache(&loaded.cache, 0, &member));
    EXPECT_EQ(c.utf8 != nullptr, member.nameIsUtf8 != 0);
    if (c.utf8) EXPECT_STREQ(c.utf8, member.utf8Name);
    EXPECT_EQ(c.name, member.storedName);
  }
}

TEST(LocalExtraApply, TakesSaturatedLocalSizesFromItsZip64Record) {
  Bytes archive = ArchiveOf({Member()});
  Loaded loaded;
  Load(archive, &loaded);
  CurrentMember member;
  ASSERT_EQ(MemberFromCache(&loaded.cache, 0, &member), 1);
  uint8_t local[kLocalHeaderSize] = {};
  WriteLe32(local + kLhCompressed, 0xFFFFFFFF);
  WriteLe32(local + kLhUncompressed, 0xFFFFFFFF);
  Bytes sizes;
  Put64(sizes, 6000000000ull), Put64(sizes, 3000000000ull);
  Bytes extra = ExtraRecord(1, sizes);
  ASSERT_EQ(LocalExtraApply(&member, local, extra.data(), static_cast<uint32_t>(extra.size())), 1);
  EXPECT_EQ(member.values.uncompressedSize, 6000000000ull);
  EXPECT_EQ(member.values.compressedSize, 3000000000ull);
  Bytes bad = {1, 0, 40, 0, 0};
  EXPECT_EQ(LocalExtraApply(&member, local, bad.data(), static_cast<uint32_t>(bad.size())), 0);
}

TEST(DosTime, PackingAndText) {
  EXPECT_EQ(DosDateTimeFromText("123199235960"), DosDateTimePack(1999, 12, 31, 23, 59, 60));
  EXPECT_EQ(DosDateTimePack(1999, 12, 31, 23, 59, 60), (19u << 25 | 12u << 21 | 31u << 16) | (23u << 11 | 59u << 5 | 30u));
  EXPECT_EQ(DosDateTimeFromText("010179000000"), DosDateTimePack(2079, 1, 1, 0, 0, 0));
  EXPECT_EQ(DosDateTimePack(1979, 6, 6, 6, 6, 6), DosDateTimePack(1980, 1, 1, 0, 0, 0));
  for (const char *bad : {"133199235960", "003199235960", "12319923596", "1231992359600", "1231992360xx"})
    EXPECT_EQ(DosDateTimeFromText(bad), 0u) << bad;
}

TEST(ProgressPercent, OverallAndPerItem) {
  EXPECT_EQ(OverallPercent(200000, 150000), 75);
  EXPECT_EQ(OverallPercent(0, 5), 0);
  EXPECT_EQ(OverallPercent(50, 80), 100);
  EXPECT_EQ(OverallPercent(UINT64_MAX, UINT64_MAX / 2), 50);
  EXPECT_EQ(UnzipItemPercent(1000, 0), 1);
  EXPECT_EQ(UnzipItemPercent(1000, 999), 100);
  EXPECT_EQ(UnzipItemPercent(0, 10), 0);
  EXPECT_EQ(ItemPercent(1000, 500), 50);
}

}  // namespace
