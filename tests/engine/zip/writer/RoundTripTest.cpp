// Function 6 records extracted again by unzip function 10, the way the stub
// hands its container's records to the unzip side.
#include <string.h>

#include <string>

#include "UnzipApi.h"
#include "WriterTestSupport.h"

namespace {

// Reads the record in pieces and collects what the unzip side writes.
struct StreamReader {
  std::vector<uint8_t> record;
  std::vector<uint8_t> output;
  uint32_t piece = 8192;

  static void CALLBACK Proc(int operation, unsigned char *buffer, uint32_t *length, uint32_t inputLow,
                            uint32_t inputHigh, uint32_t, uint32_t, void *userData, int *status) {
    auto *reader = static_cast<StreamReader *>(userData);
    if (operation == kMemoryIoRead) {
      uint64_t position = (uint64_t)inputHigh << 32 | inputLow;
      uint64_t left = position < reader->record.size() ? reader->record.size() - position : 0;
      uint32_t take = *length < reader->piece ? *length : reader->piece;
      if (take >= left) {
        take = uint32_t(left);
        *status = kMemoryIoLast;
      }
      if (take) memcpy(buffer, reader->record.data() + position, take);
      *length = take;
    } else if (operation == kMemoryIoWrite) {
      reader->output.insert(reader->output.end(), buffer, buffer + *length);
    }
  }
};

int Extract(StreamReader *reader, const char *password) {
  CALLBACKSTRUCT callbacks = {};
  callbacks.size = sizeof callbacks;
  callbacks.memoryIo = &StreamReader::Proc;
  callbacks.memoryIoData = reader;
  UNZIPCMDSTRUCT command = {};
  command.structSize = sizeof command;
  command.Function = UNZIP_STREAM_ENTRY;
  command.index = -1;
  command.quietFlag = 1;
  command.lpCallbackStruct = &callbacks;
  if (password) {
    command.decryptFlag = 1;
    command.lpszDecryptCode = password;
  }
  UnzipThreadInit(GetModuleHandleA(nullptr));
  UnzipThreadAttach();
  int result = UnzipExecute(&command);
  UnzipThreadStateRelease();
  UnzipThreadTerm();
  return result;
}

struct Kind {
  const char *label;
  MemoryEntryOptions options;
};

const Kind kKinds[] = {
    {"deflate", {6}},
    {"deflate64", {15}},
    {"zip64 fields", {3, nullptr, 0, true}},
    {"traditional", {6, "Tr4d-pw"}},
    {"traditional deflate64", {19, "Tr4d-pw"}},
    {"strong 128", {6, "Str0ng pw", 1}},
    {"strong 192 deflate64", {12, "Str0ng pw", 2}},
    {"strong 256", {9, "Str0ng pw", 3, true}},
};

void ExpectRoundTrip(const std::vector<uint8_t> &data, const MemoryEntryOptions &options) {
  MemoryIo io;
  io.input = data;
  ASSERT_EQ(RunMemoryEntry(&io, "dir/entry.bin", options), 0);
  StreamReader reader;
  reader.record = io.output;
  ASSERT_EQ(Extract(&reader, options.password), 0);
  EXPECT_EQ(reader.output.size(), data.size());
  EXPECT_TRUE(reader.output == data);
}

TEST_F(ZipWriterTest, EveryKindAndSizeExtractsAgain) {
  for (const Kind &kind : kKinds)
    for (size_t size : {size_t(0), size_t(1), size_t(61440), size_t(1) << 20}) {
      SCOPED_TRACE(std::string(kind.label) + " " + std::to_string(size));
      ExpectRoundTrip(TestData(size, uint32_t(size)), kind.options);
    }
}

TEST_F(ZipWriterTest, EveryCompressionFactorExtractsAgain) {
  std::vector<uint8_t> data = TestData(150000, 7);
  for (int factor = 0; factor <= 20; ++factor) {
    SCOPED_TRACE(factor);
    ExpectRoundTrip(data, {factor});
  }
}

TEST_F(ZipWriterTest, WrongPasswordIsRefused) {
  for (const Kind &kind : kKinds) {
    if (!kind.options.password) continue;
    SCOPED_TRACE(kind.label);
    MemoryIo io;
    io.input = TestData(3000, 9);
    ASSERT_EQ(RunMemoryEntry(&io, "x", kind.options), 0);
    StreamReader reader;
    reader.record = io.output;
    EXPECT_NE(Extract(&reader, "not the password"), 0);
    EXPECT_TRUE(reader.output.empty() || reader.output != io.input);
  }
}

}  // namespace
