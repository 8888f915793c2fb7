// The builder's only road into the unzip side of the engine: count, list,
// describe and extract a source archive. Each wrapper sets up the engine's
// per-thread state, runs its command with the layer's own engine callbacks
// and releases the state again. The engine's reports reach the caller
// through one JobItemCallback. The layer keeps its per-operation state
// process-wide: one job at a time, on one thread.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

enum JobItemCode {
  kJobItemProgress = 256,      // the engine's per-item report
  kJobEntryFinished = 257,     // the engine's overall report (and the closing one)
  kJobOverwriteQuery = 272,    // the engine asks about an existing target
  kJobListingProgress = 288,   // "Found Item '%s'..." while listing
};

// code, text, value (percent), item, query table (272 only), 0, 0, reply,
// second reply, context (the shared answer word; for 288 and the closing 257
// the wrapper's result word). A nonzero answer cancels where the engine or
// the listing takes it so.
typedef int (*JobItemCallback)(int code, const char* text, int value, void* item, void* queryTable, int reserved1,
                               int reserved2, char* reply, char* secondReply, int* context);

// Slots of the query table handed with code 272 (pointer-sized each).
enum JobQuerySlot {
  kQueryText = 0,        // address of the rename record's second text
  kQueryTargetPath = 1,  // address of the target path
  kQueryDosDate = 3,
  kQueryDosTime = 4,
  kQueryAttributes = 5,
  kQuerySizeLow = 7,
  kQuerySizeHigh = 8,
  kQuerySlots = 9,
};

// One row of a listing.
struct ArchiveListRecord {
  std::string name;
  std::string crcText;         // "0x%08X"
  std::string methodName;      // "Store", "Deflate", ...
  std::string ratioText;       // compressed per uncompressed, "%d.%d%%", at most "100.0%"
  std::string attributeText;   // eight characters, "ASVSHR" then E and L or blanks
  std::string dateTimeText;    // as the engine formats it
  std::string encryptionText;  // "none", "AES [256 bit]", ...
  uint8_t unused = 0;
  uint8_t isFolder = 0;
  int unusedNumber = 0;
  uint64_t uncompressedSize = 0;
  uint64_t compressedSize = 0;
  uint32_t position = 0;  // zero-based place in the archive
};

// The archive comment and the totals of the last listing.
struct ArchiveSummaryRecord {
  uint32_t requestCode = 0;
  std::wstring archivePath;
  std::string comment;
  uint32_t minMadeByLow = 255, minMadeByHigh = 255, minNeeded = 255;
  uint64_t fileCount = 0, folderCount = 0;
  uint64_t uncompressedTotal = 0, compressedTotal = 0;
  uint64_t encryptedCount = 0;
};

// Each returns the engine's result code (0 on success; 49, skipped, is 0).
// The owner window arguments are accepted for the pages and not used.
int CountArchiveEntries(HINSTANCE instance, HWND owner, const char* archivePath, int* count);
int ListArchive(HINSTANCE instance, HWND owner, const char* archivePath, std::vector<ArchiveListRecord>* records,
                int* count, JobItemCallback callback);
int ExtractArchive(HINSTANCE instance, HWND owner, const char* archivePath, const char* memberPattern,
                   const char* destination, const char* itemList, const char* password, int recurse, int unused1,
                   int keepFolderNames, int unused2, JobItemCallback callback);
// Tests the data of the member at index (its place in the archive).
int TestArchiveEntry(HINSTANCE instance, const char* archivePath, int index, const char* password);
// -1 when summary is null.
int ReadArchiveComment(HINSTANCE instance, HWND owner, const char* archivePath, ArchiveSummaryRecord* summary);

// The texts of a listing row, by the member's fields.
const char* ArchiveMethodName(int method);
std::string ArchiveAttributeText(uint32_t attributes);
std::string ArchiveEncryptionText(uint32_t attributes, uint32_t encryptionKind);

// How the command builder cleans what it hands to the engine: one leading
// and one trailing blank off a member pattern; ", " to " " and trailing blanks
// off an item list.
std::string CleanMemberPattern(const char* memberPattern);
std::string CleanItemList(const char* itemList);
