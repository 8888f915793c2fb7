// The zip command record in each of its five layouts, the rename records the
// zip side hands to the application, and the function codes and option bits.
// The records are external binary interfaces: every layout is packed, and a
// caller built against an older, shorter layout keeps working because the
// first field names the size it was built with.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "../common/EngineCallbacks.h"

#pragma pack(push, 1)

// Fields up to lpszEncryptCode: the oldest layout.
#define ZIPCMD_FIELDS_100                                                      \
  int32_t size;                                                                \
  int32_t Function;                                                            \
  char *lpszZIPFile;                                                           \
  char *lpszItemList;                                                          \
  StatusProc lpMajorStatus;                                                    \
  void *lpMajorUserData;                                                       \
  StatusProc lpMinorStatus;                                                    \
  void *lpMinorUserData;                                                       \
  int32_t dosifyFlag;                                                          \
  int32_t recurseFlag;                                                         \
  int32_t compFactor;                                                          \
  int32_t quietFlag;                                                           \
  int32_t pathForTempFlag;                                                     \
  char *lpszTempPath;                                                          \
  int32_t fixFlag;                                                             \
  int32_t fixHarderFlag;                                                       \
  int32_t includeVolumeFlag;                                                   \
  int32_t deleteOriginalFlag;                                                  \
  int32_t growExistingFlag;                                                    \
  int32_t noDirectoryNamesFlag;                                                \
  int32_t convertLFtoCRLFFlag;                                                 \
  int32_t addCommentFlag;                                                      \
  char *lpszComment;                                                           \
  int32_t afterDateFlag;                                                       \
  char *lpszDate;                                                              \
  int32_t oldAsLatestFlag;                                                     \
  int32_t includeOnlyFollowingFlag;                                            \
  char *lpszIncludeFollowing;                                                  \
  int32_t excludeFollowingFlag;                                                \
  char *lpszExludeFollowing;                                                   \
  int32_t noDirectoryEntriesFlag;                                              \
  int32_t includeSysHiddenFlag;                                                \
  int32_t dontCompressTheseSuffixesFlag;                                       \
  char *lpszStoreSuffixes;                                                     \
  int32_t diagLogFlag;                                                         \
  int32_t encryptFlag;                                                         \
  char *lpszEncryptCode;

#define ZIPCMD_FIELDS_200                                                      \
  MessageDisplayProc lpMessageDisplay;                                         \
  void *lpMessageDisplayData;                                                  \
  uint16_t wMultiVolControl;                                                   \
  uint16_t wZipSubOptions;

#define ZIPCMD_FIELDS_300                                                      \
  CALLBACKSTRUCT *lpCallbackStruct;                                            \
  int32_t lResv2;                                                              \
  RenameProc lpRenameProc;                                                  \
  void *lpRenameUserData;                                                      \
  char *lpszExtProgTitle;                                                      \
  void *lpMemBlock;                                                            \
  uint32_t lMemBlockSize;

#define ZIPCMD_FIELDS_500                                                      \
  int32_t LargeZIPFilesFlag;                                                   \
  uint32_t *pulFileSizeArray;                                                  \
  uint32_t lZipSubOptions2;                                                    \
  uint32_t lMemBlockSizeH;                                                     \
  RenameProcEx lpRenameProcEX;                                              \
  uint32_t lSEInfo;                                                            \
  int32_t lResv7;                                                              \
  int32_t lResv8;

#define ZIPCMD_FIELDS_600 int32_t lResv9_16[8];

struct ZIPCMDSTRUCT100 { ZIPCMD_FIELDS_100 };
struct ZIPCMDSTRUCT200 { ZIPCMD_FIELDS_100 ZIPCMD_FIELDS_200 };
struct ZIPCMDSTRUCT300 { ZIPCMD_FIELDS_100 ZIPCMD_FIELDS_200 ZIPCMD_FIELDS_300 };
struct ZIPCMDSTRUCT500 {
  ZIPCMD_FIELDS_100 ZIPCMD_FIELDS_200 ZIPCMD_FIELDS_300 ZIPCMD_FIELDS_500
};
// The newest layout; every accepted record is widened to it on entry.
struct ZIPCMDSTRUCT {
  ZIPCMD_FIELDS_100 ZIPCMD_FIELDS_200 ZIPCMD_FIELDS_300 ZIPCMD_FIELDS_500
  ZIPCMD_FIELDS_600
};

// The rename record for lpRenameProc: names cut to 259 characters.
struct ZipRenameRecord {
  char name[260];
  uint32_t dosDate;
  uint32_t dosTime;
  uint32_t attributes;
  char path[260];
};

// The rename record for lpRenameProcEX.
struct ZipRenameRecordEx {
  uint32_t size;
  char name[2048];
  uint32_t dosDate;
  uint32_t dosTime;
  uint32_t attributes;
  char path[2048];
  uint64_t uncompressedSize;
};

#pragma pack(pop)

#undef ZIPCMD_FIELDS_100
#undef ZIPCMD_FIELDS_200
#undef ZIPCMD_FIELDS_300
#undef ZIPCMD_FIELDS_500
#undef ZIPCMD_FIELDS_600

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ZIPCMDSTRUCT100) == 148, "zip record 100");
static_assert(sizeof(ZIPCMDSTRUCT200) == 160, "zip record 200");
static_assert(sizeof(ZIPCMDSTRUCT300) == 188, "zip record 300");
static_assert(sizeof(ZIPCMDSTRUCT500) == 220, "zip record 500");
static_assert(sizeof(ZIPCMDSTRUCT) == 252, "zip record 600");
static_assert(offsetof(ZIPCMDSTRUCT, diagLogFlag) == 136, "diagnostic switch");
static_assert(offsetof(ZIPCMDSTRUCT, wZipSubOptions) == 158, "option word");
static_assert(offsetof(ZIPCMDSTRUCT, lpszExtProgTitle) == 176, "title");
static_assert(offsetof(ZIPCMDSTRUCT, lMemBlockSizeH) == 200, "block size high");
static_assert(offsetof(ZIPCMDSTRUCT, lSEInfo) == 208, "strength");
static_assert(sizeof(ZipRenameRecord) == 532, "rename record");
static_assert(sizeof(ZipRenameRecordEx) == 4120, "extended rename record");
#endif

// Function codes.
enum {
  ZIP_FRESHEN = 1,
  ZIP_DELETE = 2,
  ZIP_UPDATE = 3,
  ZIP_ADD = 4,
  ZIP_ADD_TOO = 5,
  ZIP_MEMORY_ENTRY = 6,
  ZIP_MEMORY_TO_MEMORY = 7,
};

// wZipSubOptions bits.
enum : uint16_t {
  ZSO_RELATIVE_NAMES = 0x0001,
  ZSO_STATUS_CANCELS = 0x0002,
  ZSO_PROGRESS_PROGRAM = 0x0004,
  ZSO_PROGRESS_CANCEL_BUTTON = 0x0008,
  ZSO_SKIP_LONG_NAMES = 0x0010,
  ZSO_SHORTEN_NAMES = 0x0020,
  ZSO_EXCLUSIVE_OPEN = 0x0040,
  ZSO_ALL_REMOVABLE = 0x0080,
  ZSO_ACTIVITY_LOG = 0x0100,
  ZSO_ARCHIVE_BIT_ONLY = 0x0200,
  ZSO_CLEAR_ARCHIVE_BIT = 0x0400,
  ZSO_ANSI_NAMES = 0x0800,
  ZSO_CALLBACK_OUTPUT = 0x1000,
  ZSO_RENAME_CALLBACK = 0x2000,
  ZSO_NO_MESSAGE_PUMP = 0x4000,
  ZSO_NO_NAME_INDEX = 0x8000,
};

// lZipSubOptions2 bits.
enum : uint32_t {
  ZSO2_PATH_SENSITIVE = 0x1,
  ZSO2_RENAME_EX = 0x2,
  ZSO2_STRONG_ENCRYPTION = 0x4,
  ZSO2_REFUSED_KIND = 0x8,
};

// wMultiVolControl bits.
enum : uint16_t {
  ZMV_MULTI_VOLUME = 0x8000,
  ZMV_SPLIT_PARTS = 0x4000,
  ZMV_SIZES_64 = 0x2000,
  ZMV_ZIP64_AHEAD = 0x1000,
  ZMV_WIPE_HIDDEN = 0x0400,
  ZMV_WIPE_TREE = 0x0200,
  ZMV_WIPE = 0x0100,
  ZMV_LOW_DENSITY = 0x0002,
  ZMV_FORMAT = 0x0001,
  ZMV_SPLIT_FORBIDDEN = 0x0703,
};
