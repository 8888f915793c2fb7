#include "ArchiveJob.h"

#include <algorithm>
#include <cstdio>

#include "MyUnzipJob.h"
#include "RatePerMille.h"

namespace {

constexpr uint32_t kAttrFolder = 0x10;

// Totals of the last listing, handed out with the archive comment.
struct ListingTotals {
  uint32_t minMadeByLow, minMadeByHigh, minNeeded;
  uint64_t files, folders, uncompressed, compressed, encrypted;
};

ListingTotals gTotals = {255, 255, 255, 0, 0, 0, 0, 0};

void ResetTotals() { gTotals = {255, 255, 255, 0, 0, 0, 0, 0}; }

void AddToTotals(const UnzipMemberInfoEx& info) {
  const uint32_t madeBy = info.versions & 0xFFFF;
  const uint32_t needed = info.versions >> 16;
  gTotals.minMadeByLow = std::min(gTotals.minMadeByLow, madeBy & 0xFF);
  gTotals.minMadeByHigh = std::min(gTotals.minMadeByHigh, madeBy >> 8);
  gTotals.minNeeded = std::min(gTotals.minNeeded, needed & 0xFF);
  ++(info.attributes & kAttrFolder ? gTotals.folders : gTotals.files);
  gTotals.uncompressed += info.uncompressedSize;
  gTotals.compressed += info.compressedSize;
  if (info.attributes & kMemberAttrEncrypted) ++gTotals.encrypted;
}

std::string Format(const char* format, unsigned value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string RatioText(uint64_t compressed, uint64_t uncompressed) {
  const uint32_t rate = std::min<uint32_t>(ComputeRatePerMille(compressed, uncompressed), 1000);
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u%%", rate / 10, rate % 10);
  return text;
}

ArchiveListRecord MakeListRecord(const UnzipMemberInfoEx& info, uint32_t position) {
  ArchiveListRecord record;
  record.name = std::string(info.name, strnlen(info.name, sizeof info.name));
  record.crcText = Format("0x%08X", info.crc32);
  record.methodName = ArchiveMethodName(info.method);
  record.ratioText = RatioText(info.compressedSize, info.uncompressedSize);
  record.attributeText = ArchiveAttributeText(info.attributes);
  record.dateTimeText = std::string(info.dateTime, strnlen(info.dateTime, sizeof info.dateTime));
  record.encryptionText = ArchiveEncryptionText(info.attributes, info.encryptionKind);
  record.isFolder = (info.attributes & kAttrFolder) ? 1 : 0;
  record.uncompressedSize = info.uncompressedSize;
  record.compressedSize = info.compressedSize;
  record.position = position;
  return record;
}

UnzipCommandArgs CountArgs(const char* archivePath, int* count) {
  UnzipCommandArgs args;
  args.archivePath = archivePath;
  args.function = kUnzipCount;
  args.count = count;
  args.recurse = 1;
  args.keepFolderNames = 1;
  return args;
}

int ListEntries(CMyUnzipJob& job, const char* archivePath, std::vector<ArchiveListRecord>* records, int* count) {
  *count = 0;
  records->clear();
  ResetTotals();
  int result = RunUnzipCommand(job, CountArgs(archivePath, count));
  if (result != 0 || *count <= 0) return result;

  const JobItemCallback callback = CurrentJobCallback();
  int listingResult = 0;
  int lastPercent = -1;
  for (int i = 0; i < *count; ++i) {
    job.memberInfo = UnzipMemberInfoEx();
    UnzipCommandArgs next = CountArgs(archivePath, nullptr);
    next.function = kUnzipNextInfo;
    if ((result = RunUnzipCommand(job, next)) != 0) return result;
    ArchiveListRecord record = MakeListRecord(job.memberInfo, static_cast<uint32_t>(i));
    AddToTotals(job.memberInfo);
    const int percent = static_cast<int>(100LL * i / *count);
    if (callback && percent != lastPercent) {
      lastPercent = percent;
      char reply[2048] = {}, secondReply[2048] = {};
      std::string text = "Found Item '" + record.name + "'...";
      if (callback(kJobListingProgress, text.c_str(), percent, nullptr, nullptr, 0, 0, reply, secondReply,
                   &listingResult))
        return listingResult;
    }
    records->push_back(std::move(record));
  }
  return listingResult;
}

int ReadComment(CMyUnzipJob& job, const char* archivePath, std::string* comment) {
  int size = 2047;
  UnzipCommandArgs args = CountArgs(archivePath, &size);
  args.function = kUnzipCommentSize;
  int result = RunUnzipCommand(job, args);
  comment->clear();
  if (result != 0 || size <= 0) return result;
  HGLOBAL block = GlobalAlloc(GHND, static_cast<SIZE_T>(size) + 1);
  if (!block) return 5;
  char* text = static_cast<char*>(GlobalLock(block));
  if (text) {
    int capacity = size + 1;
    args.function = kUnzipCommentText;
    args.count = &capacity;
    args.returnString = text;
    result = RunUnzipCommand(job, args);
    if (result == 0) comment->assign(text, strnlen(text, static_cast<size_t>(size)));
    GlobalUnlock(block);
  }
  GlobalFree(block);
  return text ? result : 5;
}

}  // namespace

const char* ArchiveMethodName(int method) {
  static const char* const kNames[] = {"Store",   "Shrunk",  "Reduce1",  "Reduce2", "Reduce3",
                                       "Reduce4", "Implode", "Tokenize", "Deflate", "Deflate64"};
  return method >= 0 && method < 10 ? kNames[method] : "Unknown";
}

std::string ArchiveAttributeText(uint32_t attributes) {
  struct Mark {
    uint32_t bit;
    char set, clear;
  };
  static const Mark kMarks[] = {{0x20, 'A', '-'},   {0x10, 'S', '-'},   {0x08, 'V', '-'},
                                {0x04, 'S', '-'},   {0x02, 'H', '-'},   {0x01, 'R', '-'},
                                {0x8000, 'E', ' '}, {0x10000, 'L', ' '}};
  std::string text;
  for (const Mark& mark : kMarks) text += (attributes & mark.bit) ? mark.set : mark.clear;
  return text;
}

std::string ArchiveEncryptionText(uint32_t attributes, uint32_t encryptionKind) {
  if (!(attributes & kMemberAttrEncrypted)) return "none";
  struct Kind {
    uint32_t kind;
    const char* text;
    bool withStrength;
  };
  static const Kind kKinds[] = {
      {0x00, "Zip 2.04 Compatible", false}, {0x01, "wZip AES-1", true},        {0x02, "wZip AES-2", true},
      {0x08, "AES", true},                  {0x09, "DES [default]", false},    {0x0A, "3DES [112 bit]", false},
      {0x0B, "3DES [168 bit]", false},      {0x0C, "RC2 [before 5.2]", false}, {0x0D, "RC2 [5.2 and later]", false},
      {0x0E, "RC4 [default]", false},
  };
  static const char* const kStrengths[] = {" [default]", " [128 bit]", " [192 bit]", " [256 bit]"};
  const uint32_t kind = (encryptionKind >> 8) & 0xFF;
  const uint32_t strength = encryptionKind & 0xFF;
  for (const Kind& entry : kKinds) {
    if (entry.kind != kind) continue;
    std::string text = entry.text;
    if (entry.withStrength) text += kStrengths[strength <= 3 ? strength : 0];
    return text;
  }
  return "Unknown";
}

int CountArchiveEntries(HINSTANCE instance, HWND, const char* archivePath, int* count) {
  BeginJob(nullptr);
  CMyUnzipJob job(instance);
  int found = 0;
  const int result = RunUnzipCommand(job, CountArgs(archivePath, &found));
  if (count) *count = result == 0 ? found : -1;
  return result;
}

int ListArchive(HINSTANCE instance, HWND, const char* archivePath, std::vector<ArchiveListRecord>* records,
                int* count, JobItemCallback callback) {
  std::vector<ArchiveListRecord> scratchRecords;
  int scratchCount = 0;
  BeginJob(nullptr);
  CMyUnzipJob job(instance);
  BeginJob(callback);
  return ListEntries(job, archivePath, records ? records : &scratchRecords, count ? count : &scratchCount);
}

int ExtractArchive(HINSTANCE instance, HWND, const char* archivePath, const char* memberPattern,
                   const char* destination, const char* itemList, const char* password, int recurse, int,
                   int keepFolderNames, int, JobItemCallback callback) {
  BeginJob(nullptr);
  CMyUnzipJob job(instance);
  BeginJob(callback);
  UnzipCommandArgs args;
  args.archivePath = archivePath;
  args.destination = destination;
  args.function = kUnzipExtract;
  args.memberPattern = memberPattern;
  args.itemList = itemList;
  args.password = password;
  args.recurse = recurse;
  args.keepFolderNames = keepFolderNames;
  return RunUnzipCommand(job, args);
}

int TestArchiveEntry(HINSTANCE instance, const char* archivePath, int index, const char* password) {
  BeginJob(nullptr);
  CMyUnzipJob job(instance);
  UnzipCommandArgs args;
  args.archivePath = archivePath;
  args.function = kUnzipExtract;
  args.index = index;
  args.test = 1;
  args.password = password;
  args.keepFolderNames = 1;
  return RunUnzipCommand(job, args);
}

int ReadArchiveComment(HINSTANCE instance, HWND, const char* archivePath, ArchiveSummaryRecord* summary) {
  if (!summary) return -1;
  BeginJob(nullptr);
  CMyUnzipJob job(instance);
  const int result = ReadComment(job, archivePath, &summary->comment);
  summary->minMadeByLow = gTotals.minMadeByLow;
  summary->minMadeByHigh = gTotals.minMadeByHigh;
  summary->minNeeded = gTotals.minNeeded;
  summary->fileCount = gTotals.files;
  summary->folderCount = gTotals.folders;
  summary->uncompressedTotal = gTotals.uncompressed;
  summary->compressedTotal = gTotals.compressed;
  summary->encryptedCount = gTotals.encrypted;
  return result;
}
