#include "SecureContainerWriter.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <vector>

#include "ArchiveJob.h"
#include "BuildLimits.h"
#include "ContainerEntryStream.h"
#include "DosTime.h"
#include "MemberPathSafety.h"
#include "EntropySource.h"
#include "LocalFileTime.h"
#include "MySecureContainerJob.h"
#include "SecureContainerFormat.h"
#include "ZipApi.h"

namespace {

constexpr char kExtractingPrefix[] = "Extracting: ";
constexpr size_t kExtractingPrefixLength = sizeof kExtractingPrefix - 1;
constexpr int kBadCrcResult = 39;
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
  std::string failure;
  int recordCount = 0;
  std::set<std::string> securedNames;   // as NameKey() keys them
  std::set<std::string> filledFolders;  // folders that held a secured file
  std::map<std::string, uint32_t> listedFolderTimes;  // the source's folder entries: DOS date high, time low
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

// Every entry that was not secured is named, one line each.
void FailEntry(const std::string& text) {
  if (!gWriter.failure.empty()) gWriter.failure += "\n";
  gWriter.failure += text;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

std::wstring WideOf(const std::string& text, UINT codePage) {
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string BytesOf(const std::wstring& text, UINT codePage) {
  const int length =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], length, nullptr, nullptr);
  return bytes;
}

// How a name is compared with the source's listing: its ANSI form, '\\'
// between folders, upper case.
std::string NameKey(std::string name) {
  for (char& c : name)
    if (c == '/') c = '\\';
  if (!name.empty()) CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
  return name;
}

// The path's part below the temporary folder, or empty when the path does
// not lie inside it.
std::string NameInsideTempFolder(const std::string& path) {
  const std::string& folder = gWriter.tempFolder;
  if (folder.empty() || !StartsWithIgnoringCase(path, folder) || path.size() == folder.size()) return "";
  std::string name = path.substr(folder.size());
  const std::string wrapped = "\\" + name + "\\";
  if (name[0] == '\\' || wrapped.find("\\..\\") != std::string::npos || name.find(':') != std::string::npos) return "";
  return name;
}

void DeleteExtractedFile(const std::wstring& path) {
  SetFileAttributesW(path.c_str(), kTemporaryArchiveAttributes);
  DeleteFileW(path.c_str());
}

// The entry's name below the temporary folder, UTF-8 when it is not plain ASCII.
ContainerEntryFacts NamedFacts(const std::wstring& name) {
  ContainerEntryFacts facts;
  facts.name = BytesOf(name, CP_UTF8);
  for (char c : facts.name) facts.utf8Name |= static_cast<unsigned char>(c) >= 0x80;
  return facts;
}

// The entry's own facts: its name, its time and read-only bit as the engine
// restored them.
ContainerEntryFacts FactsOf(const std::wstring& name, const FILETIME& written, DWORD attributes) {
  ContainerEntryFacts facts = NamedFacts(name);
  FILETIME local;
  WORD date = 0, time = 0;
  if (LocalFileTimeOfFileTime(written, &local) && FileTimeToDosDateTime(&local, &date, &time)) {
    facts.dosDate = date;
    facts.dosTime = time;
  }
  facts.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  return facts;
}

int CompressEntry(const std::string& name, ContainerEntryStream& stream) {
  CALLBACKSTRUCT callbacks = {};
  callbacks.size = sizeof callbacks;
  callbacks.memoryIo = ContainerEntryStream::MemoryIo;
  callbacks.memoryIoData = &stream;
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

// One record for a file (input open) or an empty folder (input null).
int WriteRecord(const ContainerEntryFacts& facts, FILE* input, uint64_t size, const std::string& shownName) {
  ContainerEntryStream stream(input, size, gWriter.container, facts, gWriter.reporter, gWriter.lastItemText);
  if (!stream.Begin()) return Fail("The secure container could not be written: the disk may be full.");
  const int result = CompressEntry(facts.name, stream);
  if (result != 0)
    return Fail("Entry '" + shownName + "' could not be compressed (zip result " + std::to_string(result) + ").");
  const bool encrypted = !gWriter.encryptionPassword.empty();
  const uint8_t strength = encrypted && gWriter.strengthIndex >= 0 && gWriter.strengthIndex <= 2
                               ? static_cast<uint8_t>(gWriter.strengthIndex + 1)
                               : 0;
  if (!stream.Finish(encrypted ? kContainerKindEncrypted : 0, strength))
    return Fail("The secure container could not be written: the disk may be full.");
  ++gWriter.recordCount;
  return 0;
}

// Marks the folders a secured name lies in: they need no record of their own.
void NoteFilledFolders(const std::string& nameKey) {
  for (size_t at = nameKey.find('\\'); at != std::string::npos; at = nameKey.find('\\', at + 1))
    gWriter.filledFolders.insert(nameKey.substr(0, at + 1));
}

// The extracted file at path (name: its part below the temporary folder)
// into one record; the file goes once it is secured.
int SecureFile(const std::wstring& path, const std::wstring& name) {
  WIN32_FILE_ATTRIBUTE_DATA facts;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &facts)) return 0;
  const std::string shownName = BytesOf(name, CP_ACP);
  const uint64_t size = (static_cast<uint64_t>(facts.nFileSizeHigh) << 32) | facts.nFileSizeLow;
  if (size > kLargestSecuredEntry)
    return Fail("Entry '" + shownName + "' is 2 GiB or larger; a secured entry must be smaller.");
  std::unique_ptr<FILE, int (*)(FILE*)> input(_wfopen(path.c_str(), L"rb"), std::fclose);
  if (!input) return Fail("Entry '" + shownName + "' could not be read back.");
  const int result =
      WriteRecord(FactsOf(name, facts.ftLastWriteTime, facts.dwFileAttributes), input.get(), size, shownName);
  input.reset();
  if (result != 0) return result;
  DeleteExtractedFile(path);
  gWriter.securedNames.insert(NameKey(shownName));
  NoteFilledFolders(NameKey(shownName));
  return 0;
}

// One extracted entry, as the engine reports it finished. A file whose
// name the ANSI code page cannot spell is left for the closing walk.
int SecureExtractedEntry(const std::string& itemText) {
  Report(kBuildEntryExtracted, 1000, itemText.c_str());
  if (itemText.compare(0, kExtractingPrefixLength, kExtractingPrefix) != 0) return 0;
  const std::string path = itemText.substr(kExtractingPrefixLength);
  const std::string name = NameInsideTempFolder(path);
  if (name.empty()) return Fail("Entry '" + path + "' was extracted outside the build's temporary folder.");
  const DWORD attributes = GetFileAttributesW(WideOf(path, CP_ACP).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
  return SecureFile(WideOf(path, CP_ACP), WideOf(name, CP_ACP));
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
    return Fail("Not enough memory to secure '" + gWriter.lastItemText + "'.");
  }
}

// A folder's record: the stub makes the folder and gives it the time the
// source recorded for it, or leaves its time alone when the record has none.
void SecureFolder(const std::wstring& below, const std::string& key, uint32_t recordedTime) {
  ContainerEntryFacts facts = NamedFacts(below);
  facts.dosDate = static_cast<uint16_t>(recordedTime >> 16);
  facts.dosTime = static_cast<uint16_t>(recordedTime);
  if (WriteRecord(facts, nullptr, 0, BytesOf(below, CP_ACP)) == 0) gWriter.securedNames.insert(key);
}

// What the per-entry reports left in the temporary folder: files whose
// names only the wide API reaches; then each folder that is an entry of the
// source, so that it takes its recorded time, and each other empty one, so
// the stub can recreate it.
void SecureWhatRemains(const std::wstring& folder, const std::wstring& below) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + below + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  bool empty = true;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    empty = false;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      SecureWhatRemains(folder, below + name + L"\\");
    else
      SecureFile(folder + below + name, below + name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  if (below.empty()) return;
  const std::string key = NameKey(BytesOf(below, CP_ACP));
  const auto listed = gWriter.listedFolderTimes.find(key);
  if (listed != gWriter.listedFolderTimes.end())
    SecureFolder(below, key, listed->second);
  else if (empty && !gWriter.filledFolders.count(key))
    SecureFolder(below, key, 0);
}

// The DOS date (high) and time (low) of the engine's listed
// "MM/DD/YYYY  HH:MM:SS"; 0 when the text holds none.
uint32_t ListedDosTime(const std::string& text) {
  int month, day, year, hour, minute, second;
  if (std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &month, &day, &year, &hour, &minute, &second) != 6) return 0;
  return DosDateTimePack(year, month, day, hour, minute, second);
}

// The source's folder entries, made in the temporary folder where the
// extraction left them out, so the walk finds the empty ones; their
// recorded times are kept for their records.
void MakeListedFolders(const std::vector<ArchiveListRecord>& listing) {
  for (const ArchiveListRecord& entry : listing) {
    char relative[MAX_PATH * 2];
    if (!entry.isFolder || MemberPathMakeRelative(entry.name.c_str(), relative, sizeof relative) != kMemberPathSafe ||
        !relative[0])
      continue;
    gWriter.listedFolderTimes[NameKey(relative)] = ListedDosTime(entry.dateTimeText);
    const std::string path = gWriter.tempFolder + relative;
    for (size_t at = path.find('\\', gWriter.tempFolder.size()); at != std::string::npos; at = path.find('\\', at + 1))
      CreateDirectoryW(WideOf(path.substr(0, at), CP_ACP).c_str(), nullptr);
  }
}

// Every file of the source's listing must have become a record; the build
// names each one that did not, and why.
void CheckEverySourceFileSecured(const std::vector<ArchiveListRecord>& listing) {
  for (const ArchiveListRecord& entry : listing) {
    if (entry.isFolder) continue;
    char relative[MAX_PATH * 2];
    const MemberPathVerdict verdict = MemberPathMakeRelative(entry.name.c_str(), relative, sizeof relative);
    if (verdict != kMemberPathSafe) {
      FailEntry("Entry '" + entry.name + "' was not secured: its name is not safe to extract.");
    } else if (!gWriter.securedNames.count(NameKey(relative))) {
      const bool encrypted = entry.encryptionText != "none" && !entry.encryptionText.empty();
      FailEntry("Entry '" + entry.name + "' was not secured: " +
                (encrypted ? "its password is missing or wrong." : "it could not be extracted."));
    }
  }
}

// The extraction stops at the first entry whose data fails its CRC: each
// file of the listing is tested on its own, so the build names them all.
void NameEntriesFailingTheirCrc(const std::vector<ArchiveListRecord>& listing, const char* archivePath,
                                const std::string& password) {
  for (const ArchiveListRecord& entry : listing)
    if (!entry.isFolder && TestArchiveEntry(gWriter.instance, archivePath, static_cast<int>(entry.position),
                                            password.c_str()) == kBadCrcResult)
      FailEntry("Entry '" + entry.name + "' was not secured: its data fails its CRC check (Bad CRC).");
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

  std::vector<ArchiveListRecord> listing;
  int listed = 0;
  result = ListArchive(gWriter.instance, job.owner, archivePath, &listing, &listed, nullptr);
  if (result == 0)
    result = ExtractArchive(gWriter.instance, job.owner, archivePath, "*", gWriter.tempFolder.c_str(), nullptr,
                            job.password.c_str(), 1, 0, 1, 0, RecompressEntry);
  if (result == kBadCrcResult) NameEntriesFailingTheirCrc(listing, archivePath, job.password);
  if (result == 0 && gWriter.failure.empty()) {
    MakeListedFolders(listing);
    SecureWhatRemains(WideOf(gWriter.tempFolder, CP_ACP), L"");
    CheckEverySourceFileSecured(listing);
  }
  const bool closed = std::fclose(job.container) == 0;
  job.container = gWriter.container = nullptr;
  if (!closed) Fail("The secure container could not be written: the disk may be full.");
  return gWriter.failure.empty() ? result : kContainerWriteFailed;
}

}  // namespace

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
