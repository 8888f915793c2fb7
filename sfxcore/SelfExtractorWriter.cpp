#include "SelfExtractorWriter.h"

#include <memory>
#include <string>
#include <vector>

#include "MyCipherFile.h"
#include "ProgramChecksum.h"
#include "RatePerMille.h"
#include "SelfExtractorFormat.h"

namespace {

constexpr size_t kCopyChunk = 16384;

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

File OpenFile(const std::string& path, const char* mode) { return File(std::fopen(path.c_str(), mode), std::fclose); }

// Closes the file and tells whether everything written reached it.
bool CloseWritten(File& file) { return std::fclose(file.release()) == 0; }

bool FileSize(FILE* file, uint64_t* size) {
  if (_fseeki64(file, 0, SEEK_END) != 0) return false;
  const int64_t end = _ftelli64(file);
  if (end < 0 || _fseeki64(file, 0, SEEK_SET) != 0) return false;
  *size = static_cast<uint64_t>(end);
  return true;
}

}  // namespace

StubImage LoadStubImage(HMODULE module) {
  StubImage image;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(kStubImageResourceId), kStubImageResourceType);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes) {
    image.bytes = bytes;
    image.size = SizeofResource(module, found);
  }
  return image;
}

int WriteStub(const ProjectSettings* settings, const StubImage& image, BuildReporter* reporter) {
  if (!settings || !reporter) return 0;
  File output = OpenFile(settings->outputName, "wb+");
  if (!output) {
    reporter->Message(kMessageOutputNotCreated);
    return 0;
  }
  if (!image.bytes || image.size == 0) return 0;
  const bool written = std::fwrite(image.bytes, 1, image.size, output.get()) == image.size;
  return CloseWritten(output) && written ? 1 : 0;
}

int CopyFileWithProgress(BuildReporter* reporter, FILE* destination, FILE* source, uint64_t total, int closeFiles) {
  if (!destination || !source) return 0;
  int result = _fseeki64(destination, 0, SEEK_END) == 0 ? 1 : 0;
  std::vector<char> chunk(kCopyChunk);
  uint64_t copied = 0;
  for (size_t read = kCopyChunk; result && read == kCopyChunk;) {
    read = std::fread(chunk.data(), 1, kCopyChunk, source);
    if (std::ferror(source)) {
      result = 0;
      break;
    }
    copied += read;
    if (reporter) {
      reporter->CopyProgress(static_cast<int>(ComputeRatePerMille(copied, total) / 10));
      reporter->PumpMessages();
    }
    if (std::fwrite(chunk.data(), 1, read, destination) != read) result = 0;
  }
  if (closeFiles) {
    if (std::fclose(destination) != 0) result = 0;
    std::fclose(source);
  }
  return result;
}

int AppendArchive(const ProjectSettings* settings, BuildReporter* reporter) {
  if (!settings || !reporter) return 0;
  reporter->StepStarted(kStepAppendContainer);
  File output = OpenFile(settings->outputName, "rb+");
  if (!output) {
    reporter->Message(kMessageOutputNotCreated);
    return 0;
  }
  File container = OpenFile(settings->temporaryContainer, "rb");
  if (!container) {
    reporter->Message(kMessageContainerNotOpened);
    return 0;
  }
  uint64_t containerSize = 0;
  if (_fseeki64(output.get(), 0, SEEK_END) != 0 || !FileSize(container.get(), &containerSize)) return 0;
  const int64_t offset = _ftelli64(output.get());
  // The offset word is 32-bit: a stub image must be smaller than 4 GiB.
  if (offset < 0 || static_cast<uint64_t>(offset) > UINT32_MAX) return 0;
  if (!CopyFileWithProgress(reporter, output.get(), container.get(), containerSize, 0)) return 0;
  uint8_t word[4];
  for (int i = 0; i < 4; ++i) word[i] = static_cast<uint8_t>(static_cast<uint64_t>(offset) >> (8 * i));
  const bool written = std::fflush(output.get()) == 0 && std::fwrite(word, 1, 4, output.get()) == 4;
  return CloseWritten(output) && written ? 1 : 0;
}

// The integrity line goes last and covers every byte in front of it.
bool WriteChecksumLine(FILE* output, CMyCipherFile& records) {
  if (std::fflush(output) != 0 || _fseeki64(output, 0, SEEK_END) != 0) return false;
  const int64_t covered = _ftelli64(output);
  const std::string checksum = covered < 0 ? std::string() : ChecksumOfFilePrefix(output, uint64_t(covered));
  if (checksum.empty() || _fseeki64(output, covered, SEEK_SET) != 0) return false;
  return records.WriteRecord((kChecksumKey + checksum).c_str()) == CMyCipherFile::kDone;
}

int AppendSettingsBlock(const ProjectSettings* settings, BuildReporter* reporter) {
  if (!settings) return 0;
  const std::vector<std::string> lines = StubSettingsLines(*settings);
  File output = OpenFile(settings->outputName, "rb+");
  if (!output) return 0;
  if (reporter) reporter->StepStarted(kStepAppendSettings);
  if (_fseeki64(output.get(), 0, SEEK_END) != 0 ||
      std::fwrite(kSelfExtractorMarker, 1, kSelfExtractorMarkerLength, output.get()) != kSelfExtractorMarkerLength)
    return 0;
  bool written = true;
  {
    CMyCipherFile records;
    records.Attach(output.get());
    if (records.SetKeys(kSettingsKeyText, kSettingsIvText) != CMyCipherFile::kDone) return 0;
    for (const std::string& line : lines)
      written = written && records.WriteRecord(line.c_str()) == CMyCipherFile::kDone;
    written = written && WriteChecksumLine(output.get(), records);
  }
  return CloseWritten(output) && written ? 1 : 0;
}
