// Archives written member by member through the member compressor and the
// record writer, the way the main loop drives them; the external check opens
// them with Info-ZIP unzip, 7-Zip and Python's zipfile.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "writer/ZipMemberCompressor.h"
#include "writer/ZipRecordWriter.h"
#include "WriterTestSupport.h"
#include "ZipCommand.h"
#include "ZipEntry.h"
#include "ZipExecute.h"

namespace {

struct Source {
  const char *name;  // stored name; a trailing slash makes a directory entry
  size_t size;
};

const Source kSources[] = {
    {"text.txt", 100000}, {"empty.dat", 0}, {"one.bin", 1}, {"photo.ZIP", 5000}, {"sub/", 0}, {"sub/big.bin", 300000},
};

struct Settings {
  const char *password = nullptr;
  uint32_t strongStrength = 0;  // 1-3: strong encryption, else traditional
  uint32_t aesStrength = 0;     // 1-3: WinZip AES
  bool zip64 = false;
  bool streamed = false;  // a callback record: no seeking back, data descriptors
  int forcedMethod = -1;
};

void CALLBACK IgnoreMemoryIo(int, unsigned char *, uint32_t *, uint32_t, uint32_t, uint32_t, uint32_t, void *,
                             int *status) {
  *status = kMemoryIoMore;
}

char *Copy(const std::string &text) {
  char *copy = static_cast<char *>(malloc(text.size() + 1));
  memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// The member list, the output and the encryption as the main loop sets them up.
class ArchiveWriter {
 public:
  ArchiveWriter(ZipState *state, const std::string &archive, const Settings &settings) : state_(state) {
    state->zip64Allowed = settings.zip64;
    state->forcedMethod = settings.forcedMethod;
    state->memoryIo = settings.streamed ? &IgnoreMemoryIo : nullptr;
    state->writer.outputOffset = 0;
    state->writer.itemNumber = 0;
    if (settings.password) {
      state->cipher.kind = settings.strongStrength ? kEncryptStrong
                           : settings.aesStrength  ? kEncryptWinZipAes
                                                   : kEncryptTraditional;
      state->cipher.strength = settings.strongStrength | settings.aesStrength;
      if (settings.strongStrength) {
        EXPECT_TRUE(ZipStrongContextAlloc(state));
      }
      EXPECT_EQ(ZipTakePassword(settings.password, state), 0);
    }
    output_ = CreateFileA(WorkPath(archive).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(output_, INVALID_HANDLE_VALUE);
  }
  ~ArchiveWriter() {
    for (ZipEntry *e : entries_) {
      if (e->path != e->name) free(e->path);
      free(e->name);
      delete e;
    }
    if (output_ != INVALID_HANDLE_VALUE) CloseHandle(output_);
    ZipFreePassword(state_);
    ZipStrongContextFree(state_);
    state_->cipher.kind = kEncryptTraditional;
  }

  int Add(const std::string &name, const std::string &path) {
    auto *e = new ZipEntry();
    e->name = Copy(name);
    e->path = Copy(path);
    e->nameLength = uint32_t(name.size());
    e->internalAttributes = ZIP_ATTRIBUTES_UNKNOWN;
    entries_.push_back(e);
    return ZipCompressMember(state_, e, &output_);
  }

  // The central directory and the end records.
  int Finish() {
    uint64_t start = state_->writer.outputOffset;
    for (ZipEntry *e : entries_) {
      int result = ZipWriteCentralHeader(state_, e, &output_);
      if (result) return result;
      state_->writer.outputOffset += ZIP_CENTRAL_HEADER_SIZE + e->nameLength + e->centralZip64Length +
                                     e->centralExtraLength + e->centralCryptLength + e->commentLength;
    }
    return ZipWriteEndRecords(state_, entries_.size(), state_->writer.outputOffset - start, start, 0, nullptr,
                              &output_);
  }

  std::vector<ZipEntry *> entries_;
  HANDLE output_ = INVALID_HANDLE_VALUE;

 private:
  ZipState *state_;
};

std::string SourcePath(const std::string &archive, const Source &s, std::vector<uint8_t> *data) {
  std::string flat = s.name;
  for (char &c : flat)
    if (c == '/') c = '_';
  std::string file = archive + "." + flat;
  if (flat.back() == '_') {
    CreateDirectoryA(WorkPath(file).c_str(), nullptr);
    return WorkPath(file) + "/";
  }
  *data = TestData(s.size, uint32_t(s.size));
  WriteWorkFile(file, *data);
  return WorkPath(file);
}

void WriteArchive(ZipState *state, const std::string &archive, const Settings &settings, std::string *listing) {
  ArchiveWriter writer(state, archive, settings);
  for (const Source &s : kSources) {
    std::vector<uint8_t> data;
    std::string path = SourcePath(archive, s, &data);
    ASSERT_EQ(writer.Add(s.name, path), 0) << s.name;
  }
  ASSERT_EQ(writer.Finish(), 0);
  for (ZipEntry *e : writer.entries_) {
    std::string name = e->name;
    bool stored = name == "photo.ZIP" || name == "empty.dat" || name == "sub/";
    bool large = name == "text.txt" || name == "sub/big.bin";
    if (stored || large) {
      EXPECT_EQ(e->method, stored ? 0 : settings.forcedMethod == 9 ? 9 : 8) << name;
    }
  }
  *listing += archive + (settings.strongStrength || settings.aesStrength ? " aes " : " ") + (settings.password ? settings.password : "-") + "\n";
}

TEST_F(ZipWriterTest, ArchivesForTheExternalCheck) {
  std::string listing;
  Settings plain;
  WriteArchive(state, "plain.zip", plain, &listing);
  Settings traditional;
  traditional.password = "Arch1ve pw";
  WriteArchive(state, "traditional.zip", traditional, &listing);
  Settings streamed;
  streamed.zip64 = true;
  streamed.streamed = true;
  WriteArchive(state, "descriptors64.zip", streamed, &listing);
  streamed.password = "Arch1ve pw";
  WriteArchive(state, "descriptors64-traditional.zip", streamed, &listing);
  Settings strong;
  strong.password = "Str0ng archive";
  strong.strongStrength = 3;
  WriteArchive(state, "strong-deferred.zip", strong, &listing);
  strong.strongStrength = 1;
  strong.streamed = true;
  WriteArchive(state, "strong-streamed.zip", strong, &listing);
  Settings aes;
  aes.password = "Aes archive";
  aes.aesStrength = 3;
  WriteArchive(state, "aes-deferred.zip", aes, &listing);
  aes.aesStrength = 2;
  aes.streamed = true;
  WriteArchive(state, "aes-streamed.zip", aes, &listing);
  Settings deflate64;
  deflate64.forcedMethod = 9;
  deflate64.zip64 = true;
  WriteArchive(state, "deflate64.zip", deflate64, &listing);
  std::vector<uint8_t> bytes(listing.begin(), listing.end());
  WriteWorkFile("archives.txt", bytes);
}

// Writes the end records alone into a file and returns its bytes.
std::vector<uint8_t> EndRecords(ZipState *state, uint64_t total, uint64_t size, uint64_t offset) {
  std::string path = WorkPath("end-records.bin");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(ZipWriteEndRecords(state, total, size, offset, 0, nullptr, &file), 0);
  CloseHandle(file);
  std::vector<uint8_t> bytes(200);
  FILE *f = fopen(path.c_str(), "rb");
  bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
  fclose(f);
  return bytes;
}

TEST_F(ZipWriterTest, Zip64EndRecordWhenAFieldOverflows) {
  struct Case {
    uint64_t total, size, offset;
    bool zip64;
  };
  const Case cases[] = {
      {65534, 1000, 5000, false},      {65535, 1000, 5000, true},
      {10, 0xFFFFFFFE, 5000, false},   {10, 0xFFFFFFFF, 5000, true},
      {10, 1000, 0xFFFFFFFF, true},
  };
  state->zip64Allowed = 1;
  state->writer.outputOffset = 123456;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.total + c.size + c.offset);
    std::vector<uint8_t> r = EndRecords(state, c.total, c.size, c.offset);
    ASSERT_EQ(r.size(), c.zip64 ? 98u : 22u);
    size_t end = r.size() - 22;
    EXPECT_EQ(Le32(r, end), 0x06054B50u);
    EXPECT_EQ(Le16(r, end + 10), c.total < 0xFFFF ? c.total : 0xFFFF);
    EXPECT_EQ(Le32(r, end + 12), c.size < 0xFFFFFFFF ? c.size : 0xFFFFFFFF);
    if (!c.zip64) continue;
    EXPECT_EQ(Le32(r, 0), 0x06064B50u);
    EXPECT_EQ(Le32(r, 32), uint32_t(c.total));
    EXPECT_EQ(Le32(r, 40), uint32_t(c.size));
    EXPECT_EQ(Le32(r, 48), uint32_t(c.offset));
    EXPECT_EQ(Le32(r, 56), 0x07064B50u);
    EXPECT_EQ(Le32(r, 64), 123456u);
    EXPECT_EQ(Le32(r, 72), 1u) << "a single volume is one disk in all";
  }
  state->zip64Allowed = 0;
  EXPECT_EQ(EndRecords(state, 70000, 1000, 5000).size(), 22u);
}

// A real archive of 65,535 members for the external readers; the members are
// empty, written with their local headers alone.
TEST_F(ZipWriterTest, ArchiveOf65535Entries) {
  Settings settings;
  settings.zip64 = true;
  const std::string archive = "entries65535.zip";
  ArchiveWriter writer(state, archive, settings);
  for (uint32_t i = 0; i < 65535; ++i) {
    auto *e = new ZipEntry();
    char name[16];
    snprintf(name, sizeof name, "e%05u", i);
    e->name = Copy(name);
    e->nameLength = uint32_t(strlen(name));
    e->versionMadeBy = e->versionNeeded = 10;
    e->dosDateTime = 0x5A210000;
    e->localHeaderOffset = state->writer.outputOffset;
    writer.entries_.push_back(e);
    ASSERT_EQ(ZipWriteLocalHeader(state, e, &writer.output_), 0);
    state->writer.outputOffset += ZIP_LOCAL_HEADER_SIZE + e->nameLength;
  }
  ASSERT_EQ(writer.Finish(), 0);
  std::string line = archive + " -\n";
  WriteWorkFile("archives-zip64.txt", std::vector<uint8_t>(line.begin(), line.end()));
}

TEST(ZipStoreSuffix, WholeItemsIgnoringCase) {
  const char *list = ".Z:.zip:.zoo:.arc:.lzh:.arj";
  EXPECT_EQ(ZipIsStoreSuffix("photo.ZIP", list), 1);
  EXPECT_EQ(ZipIsStoreSuffix("dir.zip/readme", list), 0);
  EXPECT_EQ(ZipIsStoreSuffix("backup.zipx", list), 0);
  EXPECT_EQ(ZipIsStoreSuffix("a.z", list), 1);
  EXPECT_EQ(ZipIsStoreSuffix("noextension", list), 0);
  EXPECT_EQ(ZipIsStoreSuffix("x.arj", ".gz;.ARJ"), 1);
}

}  // namespace

namespace {

void CALLBACK RenameToLonger(void *record, void *userData) {
  auto *r = static_cast<ZipRenameRecord *>(record);
  ++*static_cast<int *>(userData);
  strcpy(r->name, "renamed/a-much-longer-name.txt");
  r->dosDate = 0x5A21;
  r->dosTime = 0x6000;
  r->attributes = 0xFF;
}

// The rename callback may give a longer name, a time and attributes; of the
// attributes only read-only, hidden, system and archive are taken.
TEST_F(ZipWriterTest, RenameCallbackChangesNameTimeAndAttributes) {
  int calls = 0;
  state->renameProc = &RenameToLonger;
  state->renameUserData = &calls;
  WriteWorkFile("rename.src", TestData(3000, 11));
  ArchiveWriter writer(state, "rename.zip", Settings());
  ASSERT_EQ(writer.Add("short", WorkPath("rename.src")), 0);
  state->renameProc = nullptr;
  const ZipEntry *e = writer.entries_[0];
  EXPECT_EQ(calls, 1);
  EXPECT_STREQ(e->name, "renamed/a-much-longer-name.txt");
  EXPECT_EQ(e->nameLength, strlen("renamed/a-much-longer-name.txt"));
  EXPECT_EQ(e->dosDateTime, 0x5A216000u);
  EXPECT_EQ(e->externalAttributes & 0x37u, 0x27u);
  ASSERT_EQ(writer.Finish(), 0);
}

}  // namespace
