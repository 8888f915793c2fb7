// The unzip side's entry point and the records a caller fills or receives.
// Every layout is packed; each command record version is its own struct, and
// the accepted record sizes are their sizes in the build at hand.
#pragma once
#include <windows.h>
#include <cstdint>
#include "../common/EngineCallbacks.h"

enum : int32_t {
  kUnzipCount = 1,
  kUnzipNextInfo = 2,
  kUnzipCountMatches = 3,
  kUnzipNextMatch = 4,
  kUnzipCommentSize = 5,
  kUnzipCommentText = 6,
  kUnzipInfoByIndex = 7,
  kUnzipExtract = 8,
  UNZIP_FILETOMEM = 9,
  UNZIP_STREAM_ENTRY = 10,
  kUnzipMemoryToMemory = 11,
};

// wUnzipSubOptions
enum : uint16_t {
  kUnzipDeleteBeforeCreate = 0x0001,
  kUnzipStatusMayCancel = 0x0002,
  kUnzipProgressProgram = 0x0004,
  kUnzipProgressCancelButton = 0x0008,
  kUnzipSkipLongNames = 0x0010,
  kUnzipTruncateNames = 0x0020,
  kUnzipKeepPartialOutput = 0x0040,
  kUnzipRemovableDrive = 0x0080,
  kUnzipActivityLog = 0x0100,
  kUnzipSkipLabelCheck = 0x0200,
  kUnzipNoOemConversion = 0x0800,
  kUnzipCallbackRecord = 0x1000,
  kUnzipSplitFiles = 0x2000,
  kUnzipNoMessagePump = 0x4000,
};

// lUnZipSubOptions2
enum : uint32_t { kUnzipRenameLongRecord = 0x0002 };

#define UNZIP_FIELDS_100                                                                             \
  uint32_t structSize;                                                                               \
  int32_t Function;                                                                                  \
  const char *lpszZIPFile;                                                                           \
  void *zInfo;                                                                                       \
  const char *lpszFilespec;                                                                          \
  int32_t index;                                                                                     \
  const char *lpszDestination;                                                                       \
  int32_t freshenFlag;                                                                               \
  int32_t updateFlag;                                                                                \
  int32_t overWriteFlag;                                                                             \
  int32_t quietFlag;                                                                                 \
  int32_t testFlag;                                                                                  \
  int32_t noDirectoryNamesFlag;                                                                      \
  int32_t recurseFlag;                                                                               \
  int32_t noDirectoryItemsFlag;                                                                      \
  StatusProc lpMinorStatus;                                                                          \
  void *lpMinorUserData;                                                                             \
  StatusProc lpMajorStatus;                                                                          \
  void *lpMajorUserData;                                                                             \
  int32_t returnCount;                                                                               \
  char *lpszReturnString;                                                                            \
  int32_t diagnosticLogFlag;                                                                         \
  int32_t outputModeFlag;                                                                            \
  int32_t decryptFlag;                                                                               \
  const char *lpszDecryptCode;

#define UNZIP_FIELDS_200                                                                             \
  MessageDisplayProc lpMessageDisplay;                                                               \
  void *lpMessageDisplayData;                                                                        \
  uint16_t wUnzipSubOptions;

#define UNZIP_FIELDS_300                                                                             \
  CALLBACKSTRUCT *lpCallbackStruct;                                                                  \
  void *lResv1;                                                                                      \
  RenameProc lpRenameProc;                                                                           \
  void *lpRenameUserData;                                                                            \
  const char *lpszExtProgTitle;                                                                      \
  unsigned char *lpMemBlock;                                                                         \
  uint32_t lMemBlockSize;                                                                            \
  uint32_t lStartingOffset;

#define UNZIP_FIELDS_500                                                                             \
  void *pZipInfoEx;                                                                                  \
  uint32_t lUnZipSubOptions2;                                                                        \
  uint32_t lMemBlockSizeH;                                                                           \
  uint32_t lStartingOffsetH;                                                                         \
  RenameProcEx lpRenameProcEX;                                                                       \
  uint32_t lResv7;                                                                                   \
  uint32_t lResv8;

#pragma pack(push, 1)
struct UNZIPCMDSTRUCT100 {
  UNZIP_FIELDS_100
};
struct UNZIPCMDSTRUCT200 {
  UNZIP_FIELDS_100
  UNZIP_FIELDS_200
};
struct UNZIPCMDSTRUCT300 {
  UNZIP_FIELDS_100
  UNZIP_FIELDS_200
  UNZIP_FIELDS_300
};
struct UNZIPCMDSTRUCT500 {
  UNZIP_FIELDS_100
  UNZIP_FIELDS_200
  UNZIP_FIELDS_300
  UNZIP_FIELDS_500
};
struct UNZIPCMDSTRUCT600 {
  UNZIP_FIELDS_100
  UNZIP_FIELDS_200
  UNZIP_FIELDS_300
  UNZIP_FIELDS_500
  uint8_t reserved600[32];
};
typedef UNZIPCMDSTRUCT600 UNZIPCMDSTRUCT;

// Member information record (zInfo) for record sizes from version 300 on.
struct UnzipMemberInfo {
  uint16_t number;
  uint32_t uncompressedSize;
  uint32_t compressedSize;
  uint16_t method;
  uint16_t flags;
  uint16_t hasSlash;
  uint32_t crc32;
  char dateTime[18];
  char name[260];
  uint32_t attributes;
  uint32_t seconds;
  uint32_t zero;
};

// The older record that versions 100 and 200 pass.
struct UnzipMemberInfoOld {
  uint16_t number;
  uint32_t uncompressedSize;
  uint32_t compressedSize;
  uint16_t method;
  uint16_t hasSlash;
  uint32_t crc32;
  char dateTime[18];
  char name[128];
  uint32_t attributes;
};

// Extended member information record (pZipInfoEx).
struct UnzipMemberInfoEx {
  uint32_t notWritten;
  uint32_t index;
  uint64_t uncompressedSize;
  uint64_t compressedSize;
  uint32_t attributes;
  uint32_t crc32;
  uint16_t method;
  uint16_t flags;
  uint16_t hasSlash;
  char dateTime[32];
  char name[2048];
  uint32_t seconds;
  uint32_t versions;  // made by in the low, needed in the high 16 bits
  uint32_t encryptionKind;
  uint8_t zero[20];
};

// Rename records handed to lpRenameProc and lpRenameProcEX.
struct UnzipRenameRecord {
  char path[260];
  uint32_t dosDate;
  uint32_t dosTime;
  uint32_t attributes;
};
struct UnzipRenameRecordEx {
  uint32_t size;
  char path[2048];
  uint32_t dosDate;
  uint32_t dosTime;
  uint32_t attributes;
  uint8_t zero[2048];
  uint64_t uncompressedSize;
};
#pragma pack(pop)

// Attribute word bits beside the low 15 bits of the external attributes.
enum : uint32_t {
  kMemberAttrEncrypted = 0x8000,
  kMemberAttrLongName = 0x10000,
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(UNZIPCMDSTRUCT100) == 100, "version 100 record");
static_assert(sizeof(UNZIPCMDSTRUCT200) == 110, "version 200 record");
static_assert(sizeof(UNZIPCMDSTRUCT300) == 142, "version 300 record");
static_assert(sizeof(UNZIPCMDSTRUCT500) == 170, "version 500 record");
static_assert(sizeof(UNZIPCMDSTRUCT600) == 202, "version 600 record");
static_assert(sizeof(UnzipRenameRecord) == 272, "short rename record");
#endif
static_assert(sizeof(UnzipMemberInfo) == 310, "member information record");
static_assert(sizeof(UnzipMemberInfoOld) == 168, "older member information record");
static_assert(sizeof(UnzipMemberInfoEx) == 2150, "extended member information record");
static_assert(sizeof(UnzipRenameRecordEx) == 4120, "long rename record");

// Life cycle of the unzip side's per-thread state.
int UnzipThreadInit(HINSTANCE instance);
int UnzipThreadAttach();
int UnzipThreadStateRelease();
int UnzipThreadTerm();

// Runs one command; returns an unzip result code (0 to 50).
int UnzipExecute(UNZIPCMDSTRUCT *record);
