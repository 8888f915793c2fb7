#include "SecureContainerWriter.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "ArchiveJob.h"
#include "EntropySource.h"
#include "MySecureContainerJob.h"
#include "RatePerMille.h"
#include "SecureContainerFormat.h"
#include "ZipApi.h"

namespace {

constexpr char kExtractingPrefix[] = "Extracting: ";
constexpr size_t kExtractingPrefixLength = sizeof kExtractingPrefix - 1;
// Record sizes are 32-bit and the engine's callback offsets are signed.
constexpr uint64_t kLargestEntry = 0x7FFFFFFF;
constexpr uint32_t kTemporaryArchiveAttributes = FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_ARCHIVE;

// The writer's state for the one build in progress.
struct WriterState {
  bool active = false;
  HINSTANCE instance = nullptr;
  int strengthIndex = 0;
  int compressionFactor = 5;
  BuildReporter* reporter = nullptr;
  std::string encryptionPassword;
  std::string tempFolder;
  FILE* container = nullptr;
  std::string lastItemText;
  std::string securedItemText;  // the per-item text whose file has been handled
  std::string input;
  std::string output;
  std::string failure;
  int recordCount = 0;
};

WriterState gWriter;

void Report(int code, int value, const char* text) {
  if (gWriter.reporter) gWriter.reporter->ContainerProgress(code, value, text);
}

// The first failure of the build; later ones only follow from it.
int Fail(const std::string& text) {
  if (gWriter.failure.empty()) gWriter.failure = text;
  return 1;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// The path's part below the temporary folder, or empty when the path does
// not lie inside it.
std::string NameInsideTempFolder(const std::string& path) {
  const std::string& folder = gWriter.tempFolder;
  if (folder.empty() || !StartsWithIgnoringCase(path, folder) || path.size() == folder.size()) return "";
  std::string name = path.substr(folder.size());
  const std::string wrapped = "\\" + name + "\\";
  if (name[0] == '\\' || wrapped.find("\\..\\") != std::string::npos || name.find(':') != std::string::npos)
    return "";
  return name;
}

bool ReadWholeFile(const std::string& path, uint64_t size, std::string* bytes) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return false;
  bytes->assign(static_cast<size_t>(size), '\0');
  return size == 0 || std::fread(&(*bytes)[0], 1, bytes->size(), file.get()) == bytes->size();
}

void DeleteExtractedFile(const std::string& path) {
  SetFileAttributesA(path.c_str(), kTemporaryArchiveAttributes);
  DeleteFileA(path.c_str());
}

int CompressInput(const std::string& name) {
  CALLBACKSTRUCT callbacks = {};
  callbacks.size = sizeof callbacks;
  callbacks.memoryIo = ContainerMemoryIoCallback;
  ZIPCMDSTRUCT command = {};
  command.size = sizeof command;
  command.Function = ZIP_MEMORY_ENTRY;
  command.lpszItemList = const_cast<char*>(name.c_str());
  command.compFactor = gWriter.compressionFactor;
  command.lpCallbackStruct = &callbacks;
  // A failed entry fails the build, which names it through the reporter; an
  // engine message box would stop a build that runs without a window.
  command.quietFlag = 1;
  if (!gWriter.encryptionPassword.empty()) {
    command.encryptFlag = 1;
    command.lpszEncryptCode = &gWriter.encryptionPassword[0];
    command.lZipSubOptions2 = ZSO2_STRONG_ENCRYPTION;
    command.lSEInfo = gWriter.strengthIndex >= 0 && gWriter.strengthIndex <= 2 ? gWriter.strengthIndex + 1 : 0;
  }
  if (!ZipTlsAlloc(gWriter.instance ? gWriter.instance : GetModuleHandleA(nullptr)) || !ZipThreadStateCreate()) {
    ZipTlsFree();
    return -1;
  }
  const int result = ZipExecute(&command);
  ZipThreadStateRelease();
  ZipTlsFree();
  return result;
}

int WriteRecord(uint32_t dataSize) {
  ContainerRecordHeader header = {};
  const bool encrypted = !gWriter.encryptionPassword.empty();
  header.kind = encrypted ? kContainerKindEncrypted : 0;
  header.strength = encrypted && gWriter.strengthIndex >= 0 && gWriter.strengthIndex <= 2
                        ? static_cast<uint8_t>(gWriter.strengthIndex + 1)
                        : 0;
  header.recordLength = static_cast<uint32_t>(gWriter.output.size());
  header.dataSize = dataSize;
  uint8_t bytes[kContainerRecordHeaderBytes];
  StoreContainerRecordHeader(header, bytes);
  const size_t bodyLength = gWriter.output.size() - kMemoryEntrySignatureBytes;
  if (std::fwrite(bytes, 1, sizeof bytes, gWriter.container) != sizeof bytes ||
      std::fwrite(gWriter.output.data() + kMemoryEntrySignatureBytes, 1, bodyLength, gWriter.container) !=
          bodyLength)
    return Fail("The secure container could not be written: the disk may be full.");
  ++gWriter.recordCount;
  return 0;
}

// One extracted entry into one record. Folders and empty files get none.
int SecureExtractedEntry(const std::string& itemText) {
  gWriter.output.clear();
  Report(kBuildEntryExtracted, 1000, itemText.c_str());
  if (itemText.compare(0, kExtractingPrefixLength, kExtractingPrefix) != 0) return 0;
  const std::string path = itemText.substr(kExtractingPrefixLength);
  const std::string name = NameInsideTempFolder(path);
  if (name.empty()) return Fail("Entry '" + path + "' was extracted outside the build's temporary folder.");

  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &facts) ||
      (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return 0;
  const uint64_t size = (static_cast<uint64_t>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
  if (size == 0) {
    DeleteExtractedFile(path);
    return 0;
  }
  if (size > kLargestEntry)
    return Fail("Entry '" + name + "' is 2 GiB or larger; a secured entry must be smaller.");
  if (!ReadWholeFile(path, size, &gWriter.input)) return Fail("Entry '" + name + "' could not be read back.");

  const int result = CompressInput(name);
  gWriter.input.clear();
  if (result != 0)
    return Fail("Entry '" + name + "' could not be compressed (zip result " + std::to_string(result) + ").");
  if (gWriter.output.size() <= kMemoryEntrySignatureBytes)
    return Fail("Entry '" + name + "' gave no compressed data.");
  DeleteExtractedFile(path);
  return WriteRecord(static_cast<uint32_t>(size));
}

int RecompressEntry(int code, const char* text, int value, void*, void*, int, int, char*, char*, int*) {
  if (code == kJobItemProgress) {
    gWriter.lastItemText = text ? text : "";
    Report(kBuildItemProgress, value * 10, gWriter.lastItemText.c_str());
    return 0;
  }
  // The engine reports an entry as it begins the next; the job layer repeats
  // the last report at the end. Each extracted file is handled once.
  if (code != kJobEntryFinished || !text || gWriter.lastItemText.empty() ||
      gWriter.lastItemText == gWriter.securedItemText)
    return 0;
  gWriter.securedItemText = gWriter.lastItemText;
  try {
    return SecureExtractedEntry(gWriter.lastItemText);
  } catch (const std::bad_alloc&) {
    gWriter.input.clear();
    return Fail("Not enough memory to secure '" + gWriter.lastItemText + "'.");
  }
}

// Files still in the temporary folder after the extraction were extracted
// but never secured: the engine reported no progress for them.
void FindUnsecuredFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      FindUnsecuredFiles(folder + name + "\\");
    else if (found.nFileSizeLow || found.nFileSizeHigh)
      Fail("Entry '" + (folder + name).substr(gWriter.tempFolder.size()) + "' was extracted but not secured.");
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

bool FillKeyBlock(CMySecureContainerJob& job, const std::string& password) {
  GUID guid;
  if (FAILED(CoCreateGuid(&guid))) return false;
  job.data1 = guid.Data1;
  job.data2 = guid.Data2;
  job.data3 = guid.Data3;
  std::memcpy(job.data4, guid.Data4, sizeof job.data4);
  job.passwordSet = password.empty() ? 0 : 1;
  // The block keeps the length a password-derived block would have, but
  // holds random bytes: nothing in it leads back to the password.
  job.keyBlockLength =
      ContainerKeyBlockLength(password.size(), ContainerGuidText(guid.Data1, guid.Data2, guid.Data3).size());
  job.keyBlock.assign(job.keyBlockLength + 18, 0);
  return EntropyOsRandom(job.keyBlock.data(), job.keyBlockLength) == 1;
}

bool WriteHeader(const CMySecureContainerJob& job) {
  ContainerHeader header = {};
  header.magic = job.passwordSet ? kContainerMagicProtected : kContainerMagicOpen;
  header.data1 = job.data1;
  header.data2 = job.data2;
  header.data3 = job.data3;
  header.entryCount = job.entryCount;
  std::memcpy(header.data4, job.data4, sizeof header.data4);
  header.keyBlockLength = job.keyBlockLength;
  uint8_t bytes[kContainerHeaderBytes];
  StoreContainerHeader(header, bytes);
  return std::fwrite(bytes, 1, sizeof bytes, job.container) == sizeof bytes &&
         std::fwrite(job.keyBlock.data(), 1, job.keyBlockLength, job.container) == job.keyBlockLength;
}

int WriteSecureContainer(CMySecureContainerJob& job, const char* archivePath, const char* containerPath,
                         const char* encryptionPassword) {
  const std::string password = encryptionPassword ? encryptionPassword : "";
  if (!FillKeyBlock(job, password)) {
    Fail("No random key block could be made for the secure container.");
    return kContainerWriteFailed;
  }
  gWriter.encryptionPassword = password;
  if (!containerPath || !containerPath[0]) return -1;
  gWriter.tempFolder = job.utility.MakeTempFolder(1);
  if (gWriter.tempFolder.empty()) {
    Fail("No temporary folder could be made for the build.");
    return kContainerWriteFailed;
  }
  int count = 0;
  int result = CountArchiveEntries(gWriter.instance, job.owner, archivePath, &count);
  if (result != 0) return result;
  job.entryCount = static_cast<uint32_t>(count);
  if (count == 0) return -1;

  job.container = std::fopen(containerPath, "wb+");
  gWriter.container = job.container;
  if (!job.container) {
    Fail(std::string("The secure container '") + containerPath + "' could not be created.");
    return kContainerWriteFailed;
  }
  if (!WriteHeader(job)) {
    Fail("The secure container could not be written: the disk may be full.");
    return kContainerWriteFailed;
  }
  Report(kBuildHeaderWritten, count, archivePath);

  result = ExtractArchive(gWriter.instance, job.owner, archivePath, "*", gWriter.tempFolder.c_str(), nullptr,
                          job.password.c_str(), 1, 0, 1, 0, RecompressEntry);
  if (result == 0) FindUnsecuredFiles(gWriter.tempFolder);
  const bool closed = std::fclose(job.container) == 0;
  job.container = gWriter.container = nullptr;
  if (!closed) Fail("The secure container could not be written: the disk may be full.");
  return gWriter.failure.empty() ? result : kContainerWriteFailed;
}

}  // namespace

void CALLBACK ContainerMemoryIoCallback(int operation, unsigned char* buffer, uint32_t* length, uint32_t inputLow,
                                        uint32_t inputHigh, uint32_t, uint32_t, void*, int* status) {
  if (operation == kMemoryIoRead) {
    const uint64_t offset = (static_cast<uint64_t>(inputHigh) << 32) | inputLow;
    const uint64_t available = offset < gWriter.input.size() ? gWriter.input.size() - offset : 0;
    if (offset > kLargestEntry) {
      *length = 0;
      *status = kMemoryIoFailed;
      return;
    }
    if (*length < available) {
      *status = kMemoryIoMore;
    } else {
      *length = static_cast<uint32_t>(available);
      *status = kMemoryIoLast;
    }
    if (*length) std::memcpy(buffer, gWriter.input.data() + offset, *length);
    Report(kBuildEntryReading, static_cast<int>(ComputeRatePerMille(offset, gWriter.input.size())),
           gWriter.lastItemText.c_str());
  } else if (operation == kMemoryIoWrite) {
    if (gWriter.output.size() + *length > kLargestEntry) {
      *status = kMemoryIoFailed;
      return;
    }
    try {
      gWriter.output.append(reinterpret_cast<const char*>(buffer), *length);
      *status = kMemoryIoMore;
    } catch (const std::bad_alloc&) {
      *status = kMemoryIoFailed;
    }
  }
}

void SetContainerInput(const std::string& bytes) { gWriter.input = bytes; }

const std::string& ContainerOutput() { return gWriter.output; }

int BuildSecureContainer(HINSTANCE instance, HWND owner, ContainerBuildRecord* record, const char* archivePath,
                         const char* containerPath, const char* extractionPassword, const char* encryptionPassword,
                         int strengthIndex, int compressionFactor, BuildReporter* reporter) {
  ContainerBuildRecord scratch;
  if (!record) record = &scratch;
  *record = ContainerBuildRecord();
  if (gWriter.active) {
    record->failure = "A secure container is being written already.";
    return kContainerWriteFailed;
  }
  gWriter = WriterState();
  gWriter.active = true;
  gWriter.instance = instance;
  gWriter.strengthIndex = strengthIndex;
  gWriter.compressionFactor = compressionFactor;
  gWriter.reporter = reporter;
  int result;
  {
    CMySecureContainerJob job(instance, owner, CMySecureContainerJob::kBuilder);
    job.password = extractionPassword ? extractionPassword : "";
    result = WriteSecureContainer(job, archivePath, containerPath, encryptionPassword);
    record->entryCount = static_cast<int>(job.entryCount);
  }
  record->recordCount = gWriter.recordCount;
  record->failure = gWriter.failure;
  gWriter = WriterState();
  return result;
}
