// The zip side's memory entry record (zip function 6), read back by unzip
// function 10: the bytes come back whole, plain, traditionally and strongly
// encrypted, with Deflate and Deflate64.
#include <gtest/gtest.h>
#include <cstring>
#include "ExtractTestSupport.h"
#include "ZipApi.h"

namespace {

struct ZipPartner {
  Bytes input;
  Bytes record;
};

void CALLBACK ZipIo(int operation, unsigned char *buffer, uint32_t *length, uint32_t inLow, uint32_t inHigh,
                    uint32_t, uint32_t, void *data, int *status) {
  auto *partner = static_cast<ZipPartner *>(data);
  if (operation == 0) {
    uint64_t position = static_cast<uint64_t>(inHigh) << 32 | inLow;
    uint64_t left = position < partner->input.size() ? partner->input.size() - position : 0;
    uint32_t take = *length;
    if (take >= left) {
      take = static_cast<uint32_t>(left);
      *status = 0;
    }
    memcpy(buffer, partner->input.data() + position, take);
    *length = take;
  } else if (operation == 1) {
    partner->record.insert(partner->record.end(), buffer, buffer + *length);
    *status = 3;
  }
}

// Zip function 6 as the container writer runs it: slot and state around one call.
int MemoryEntry(ZipPartner &partner, int level, const char *password, uint32_t strength) {
  if (!ZipTlsAlloc(GetModuleHandleA(nullptr)) || !ZipThreadStateCreate()) return -1;
  CALLBACKSTRUCT callbacks = {sizeof callbacks, ZipIo, &partner, {}};
  ZIPCMDSTRUCT command = {};
  command.size = sizeof command;
  command.Function = 6;
  command.lpszItemList = const_cast<char *>("folder/entry.txt");
  command.compFactor = level;
  command.quietFlag = 1;
  command.lpCallbackStruct = &callbacks;
  if (password) {
    command.encryptFlag = 1;
    command.lpszEncryptCode = const_cast<char *>(password);
    if (strength) {
      command.lZipSubOptions2 = 4;
      command.lSEInfo = strength;
    }
  }
  int result = ZipExecute(&command);
  ZipThreadStateRelease();
  ZipTlsFree();
  return result;
}

Bytes Sample(size_t n) {
  Bytes text;
  const char *words[] = {"entry ", "record ", "stream ", "\r\n", "callback "};
  for (size_t i = 0; text.size() < n; ++i) {
    const char *w = words[(i * 7 + i / 13) % 5];
    text.insert(text.end(), w, w + strlen(w));
  }
  text.resize(n);
  return text;
}

TEST(ZipMemoryEntry, RecordsRoundTripThroughFunctionTen) {
  struct Case {
    int level;
    const char *password;
    uint32_t strength;
  };
  const Case cases[] = {{0, nullptr, 0}, {6, nullptr, 0}, {9, nullptr, 0}, {15, nullptr, 0}, {6, "Pass word", 0},
                        {6, "Pass word", 1}, {6, "Pass word", 2}, {25, "Pass word", 3}};
  for (const Case &c : cases) {
    for (size_t size : {0, 1, 5000, 200000}) {
      SCOPED_TRACE(testing::Message() << c.level << " " << (c.password ? c.password : "-") << " " << c.strength
                                      << " " << size);
      ZipPartner zip;
      zip.input = Sample(size);
      ASSERT_EQ(0, MemoryEntry(zip, c.level, c.password, c.strength));
      StreamPartner unzip;
      unzip.record = zip.record;
      unzip.chunk = 3000;
      ASSERT_EQ(0, RunStream(unzip, c.password));
      EXPECT_TRUE(zip.input == unzip.output);
      if (c.password) {
        StreamPartner wrong;
        wrong.record = zip.record;
        EXPECT_NE(0, RunStream(wrong, "Not it"));
      }
    }
  }
}

}  // namespace

namespace {
// Zip function 7: an archive file of one item whose data the memory
// callback gives, read back by our extraction.
TEST(ZipMemoryToMemory, ItemFromTheCallbackExtracts) {
  CreateDirectoryA(Work("roundtrip").c_str(), nullptr);
  for (size_t size : {0, 5000, 200000}) {
    SCOPED_TRACE(size);
    std::string archive = Work("roundtrip/memory-" + std::to_string(size) + ".zip");
    DeleteFileA(archive.c_str());
    ZipPartner partner;
    partner.input = Sample(size);
    ASSERT_TRUE(ZipTlsAlloc(GetModuleHandleA(nullptr)) && ZipThreadStateCreate());
    CALLBACKSTRUCT callbacks = {sizeof callbacks, ZipIo, &partner, {}};
    ZIPCMDSTRUCT command = {};
    command.size = sizeof command;
    command.Function = 7;
    command.lpszZIPFile = const_cast<char *>(archive.c_str());
    command.lpszItemList = const_cast<char *>("folder/entry.txt");
    command.compFactor = 6;
    command.quietFlag = 1;
    command.lpCallbackStruct = &callbacks;
    int result = ZipExecute(&command);
    ZipThreadStateRelease();
    ZipTlsFree();
    ASSERT_EQ(0, result);
    std::string out = Work("roundtrip/memory");
    RemoveTree(out);
    CreateDirectoryA(out.c_str(), nullptr);
    UNZIPCMDSTRUCT extract = Command(kUnzipExtract, archive);
    extract.lpszFilespec = "*.*";
    extract.recurseFlag = 1;
    extract.lpszDestination = Kept(out);
    ASSERT_EQ(0, UnzipExecute(&extract));
    EXPECT_TRUE(partner.input == ReadFileBytes(out + "/folder/entry.txt"));
  }
}
}  // namespace
