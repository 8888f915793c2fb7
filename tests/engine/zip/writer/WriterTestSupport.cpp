#include "WriterTestSupport.h"

#include <stdio.h>
#include <string.h>

#include "ZipCommand.h"

MemoryIo::MemoryIo() {
  record.size = sizeof record;
  record.memoryIo = &MemoryIo::Proc;
  record.memoryIoData = this;
}

void CALLBACK MemoryIo::Proc(int operation, unsigned char *buffer, uint32_t *length, uint32_t inputLow,
                             uint32_t inputHigh, uint32_t outputLow, uint32_t outputHigh, void *userData,
                             int *status) {
  auto *io = static_cast<MemoryIo *>(userData);
  if (operation == kMemoryIoRead) {
    uint64_t offset = (uint64_t)inputHigh << 32 | inputLow;
    if (io->reads++ == io->readAnswerAt) {
      *length = 0;
      *status = io->readAnswer;
      return;
    }
    uint64_t left = offset < io->input.size() ? io->input.size() - offset : 0;
    uint32_t n = uint32_t(std::min<uint64_t>({*length, io->readPiece, left}));
    if (n) memcpy(buffer, io->input.data() + offset, n);
    *length = n;
    *status = offset + n >= io->input.size() ? kMemoryIoLast : kMemoryIoMore;
  } else if (operation == kMemoryIoWrite) {
    if (io->writes++ == io->writeAnswerAt) {
      *status = io->writeAnswer;
      return;
    }
    uint64_t offset = (uint64_t)outputHigh << 32 | outputLow;
    if (offset != io->output.size()) io->positionsAgree = false;
    io->output.insert(io->output.end(), buffer, buffer + *length);
    *status = kMemoryIoMore;
  }
}

int RunMemoryEntry(MemoryIo *io, const char *name, const MemoryEntryOptions &options) {
  ZIPCMDSTRUCT record = {};
  record.size = sizeof record;
  record.Function = ZIP_MEMORY_ENTRY;
  record.lpszItemList = const_cast<char *>(name);
  record.compFactor = options.compFactor;
  record.quietFlag = 1;
  record.lpCallbackStruct = &io->record;
  record.LargeZIPFilesFlag = options.zip64;
  record.wZipSubOptions = options.subOptions;
  if (options.password) {
    record.encryptFlag = 1;
    record.lpszEncryptCode = const_cast<char *>(options.password);
    if (options.strongStrength) {
      record.lZipSubOptions2 = ZSO2_STRONG_ENCRYPTION;
      record.lSEInfo = options.strongStrength;
    }
  }
  return ZipExecute(&record);
}

std::vector<uint8_t> TestData(size_t size, uint32_t seed) {
  static const char kWords[] = "archive member deflate window stored header central record ";
  std::vector<uint8_t> data(size);
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    data[i] = (x >> 28) < 4 ? uint8_t(x >> 16) : uint8_t(kWords[(i + (x >> 30)) % (sizeof kWords - 1)]);
  }
  return data;
}

uint16_t Le16(const std::vector<uint8_t> &b, size_t o) { return uint16_t(b.at(o) | b.at(o + 1) << 8); }

uint32_t Le32(const std::vector<uint8_t> &b, size_t o) { return Le16(b, o) | uint32_t(Le16(b, o + 2)) << 16; }

std::string WorkPath(const std::string &name) {
  std::string folder = BRENNICOR_TEST_WORK "/zipwriter";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "/" + name;
}

void WriteWorkFile(const std::string &name, const std::vector<uint8_t> &bytes) {
  FILE *f = fopen(WorkPath(name).c_str(), "wb");
  ASSERT_NE(f, nullptr) << name;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

void ZipWriterTest::SetUp() {
  ASSERT_EQ(ZipTlsAlloc(GetModuleHandleA(nullptr)), 1);
  ASSERT_EQ(ZipThreadStateCreate(), 1);
  state = ZipCurrentState();
}

void ZipWriterTest::TearDown() {
  ZipThreadStateRelease();
  ZipTlsFree();
}
