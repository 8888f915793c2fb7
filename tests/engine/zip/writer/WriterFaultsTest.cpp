// Faults the writer avoids: the central header follows each entry's own
// encryption, traditional headers never repeat, and a failed in-place
// encryption leaves no plain text behind.
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

std::vector<uint8_t> ReadWorkFile(const std::string &name) {
  std::vector<uint8_t> bytes;
  FILE *f = fopen(WorkPath(name).c_str(), "rb");
  if (!f) return bytes;
  uint8_t piece[4096];
  size_t n;
  while ((n = fread(piece, 1, sizeof piece, f)) > 0) bytes.insert(bytes.end(), piece, piece + n);
  fclose(f);
  return bytes;
}

std::vector<uint8_t> CentralHeader(ZipState *state, ZipEntry *entry) {
  HANDLE file = CreateFileA(WorkPath("central.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_EQ(ZipWriteCentralHeader(state, entry, &file), 0);
  CloseHandle(file);
  return ReadWorkFile("central.bin");
}

TEST_F(ZipWriterTest, CentralHeaderFollowsTheEntrysOwnEncryption) {
  state->cipher.kind = kEncryptStrong;
  state->cipher.strength = 3;
  char name[] = "kept.txt";
  ZipEntry entry = {};
  entry.name = name;
  entry.nameLength = 8;
  entry.versionMadeBy = 20;
  entry.versionNeeded = 20;
  entry.method = 8;
  entry.internalAttributes = 1;

  std::vector<uint8_t> plain = CentralHeader(state, &entry);
  ASSERT_EQ(plain.size(), 46u + 8);
  EXPECT_EQ(Le16(plain, 4), 20);
  EXPECT_EQ(Le16(plain, 6), 20);
  EXPECT_EQ(Le16(plain, 30), 0) << "an entry kept unencrypted gets no encryption extra";
  EXPECT_EQ(Le16(plain, 36), 1);

  entry.encrypted = 1;
  entry.cryptKind = kEncryptStrong;
  entry.cryptStrength = 3;
  std::vector<uint8_t> strong = CentralHeader(state, &entry);
  ASSERT_EQ(strong.size(), 46u + 8 + 16);
  EXPECT_EQ(Le16(strong, 4), 60);
  EXPECT_EQ(Le16(strong, 6), 51);
  EXPECT_EQ(Le16(strong, 36), 0);
  EXPECT_EQ(Le16(strong, 54), 0x0017);
  EXPECT_EQ(Le16(strong, 54 + 6), 0x6610);
}

// Two members in the same second with the same password: the random bytes
// of their headers must differ, or the headers would reveal the key stream.
TEST_F(ZipWriterTest, TraditionalHeadersNeverRepeat) {
  MemoryIo first, second;
  first.input = second.input = TestData(1000, 5);
  ASSERT_EQ(RunMemoryEntry(&first, "a", {6, "same"}), 0);
  ASSERT_EQ(RunMemoryEntry(&second, "a", {6, "same"}), 0);
  ASSERT_EQ(Le32(first.output, 12), Le32(second.output, 12)) << "the test needs both in one second";
  EXPECT_NE(std::vector<uint8_t>(first.output.begin() + 47, first.output.begin() + 57),
            std::vector<uint8_t>(second.output.begin() + 47, second.output.begin() + 57));
}

// An output that cannot be read back fails the in-place encryption; the
// plain member written so far is cut off again.
TEST_F(ZipWriterTest, FailedDeferredEncryptionLeavesNoPlainText) {
  std::vector<uint8_t> data(50000, 'p');
  WriteWorkFile("deferred.src", data);
  state->cipher.kind = kEncryptTraditional;
  ASSERT_EQ(ZipTakePassword("pw", state), 0);
  state->writer.outputOffset = 0;
  HANDLE output = CreateFileA(WorkPath("deferred.zip").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(output, INVALID_HANDLE_VALUE);
  std::string path = WorkPath("deferred.src");
  char name[] = "deferred.src";
  ZipEntry entry = {};
  entry.name = name;
  entry.path = &path[0];
  entry.nameLength = uint32_t(strlen(name));
  entry.internalAttributes = ZIP_ATTRIBUTES_UNKNOWN;
  state->forcedMethod = 0;
  EXPECT_EQ(ZipCompressMember(state, &entry, &output), 11);
  CloseHandle(output);
  ZipFreePassword(state);
  std::vector<uint8_t> left = ReadWorkFile("deferred.zip");
  EXPECT_EQ(left.size(), 0u);
}

}  // namespace
