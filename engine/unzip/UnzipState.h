// The unzip side's per-thread state block: everything one command works on,
// allocated zero-filled per thread and held in the unzip thread-local slot.
// No field is shared between threads.
#pragma once
#include <windows.h>
#include <cstdint>
#include "../common/CipherState.h"
#include "../common/EngineCallbacks.h"
#include "../common/ProgressWindow.h"
#include "DecoderState.h"
#include "MemberIo.h"
#include "UnzipApi.h"
#include "ZipDirectory.h"

enum : uint32_t {
  kUnzipInputBufferSize = 10240,
  kUnzipOutputBufferSize = 61440,
  kUnzipMemoryBufferSize = 8192,  // both buffers, for functions 9 to 11
  kUnzipMessageBufferSize = 2049,
  kUnzipPasswordMax = 128,
  kUnzipTitleMax = 299,
  kUnzipPathCapacity = 2049,
  kUnzipNameBufferSize = 2048,
};

enum : uint32_t { kOutputModeText = 0x4000, kOutputModeBinary = 0x8000 };

// The end records, the cached central directory and the member in hand.
struct UnzipDirectoryState {
  int endRecordRead;
  EndRecord end;
  int spanned;
  uint32_t currentDisk;
  DirectoryCache cache;
  char cacheArchiveName[kUnzipPathCapacity];
  uint64_t cacheArchiveSize;  // identity of the archive when the cache was loaded
  FILETIME cacheArchiveTime;
  uint64_t archiveSize;  // identity read by the latest ArchiveSize
  FILETIME archiveTime;
  CurrentMember member;  // its name converted per the OEM option
  uint64_t nextIndex;
  int filespecLoop;  // extraction of a filespec runs: DirectoryPrepare keeps its counters
};

struct UnzipState {
  int cancelFlag;
  int deleteBeforeCreate;
  int overwriteAll;
  int statusMayCancel;
  int treatDriveRemovable;
  int activityLogOn;
  int skipLabelCheck;
  int noMessagePump;  // option bit 14: the reports leave the message queue alone
  ProgressWindow progress;
  int noOemConversion;
  int renameLongRecord;
  int splitFiles;
  int skipLongNames;
  int truncateLongNames;
  int keepPartialOutput;
  int fileToMemory;
  int memoryToMemory;
  int streamEntry;
  int callbackRecordUsed;

  unsigned char *memBlock;
  uint64_t memBlockSize;
  uint64_t startingOffset;
  uint64_t readPosition;  // memory callback road
  uint64_t writePosition;
  uint32_t inputBufferSize;
  uint32_t outputBufferSize;
  uint8_t *inputBuffer;   // inputBufferSize + 4 bytes, from DirectoryPrepare
  uint8_t *outputBuffer;  // outputBufferSize + 1 bytes

  char progressTitle[kUnzipTitleMax + 1];
  int reentry;
  int recordVersion;  // 100, 200, 300, 500 or 600
  UNZIPCMDSTRUCT command;  // the caller's record widened to the newest layout
  UnzipMemberInfo infoOldCopy;  // filled for callers of versions 100 and 200
  UnzipMemberInfoOld *callerOldInfo;  // their own record, filled from the copy
  int infoFilled;

  char archiveName[kUnzipPathCapacity];
  HANDLE archiveHandle;  // INVALID_HANDLE_VALUE when closed
  HANDLE volumeHandle;   // the input layer's current volume
  char destination[kUnzipPathCapacity];  // with a trailing backslash
  char nameBuffer[kUnzipNameBufferSize];  // a header's name as read, or a volume path
  char volumePath[kUnzipPathCapacity];  // the split part or disk the archive is read from
  char password[kUnzipPasswordMax + 1];

  char messageBuffers[3][kUnzipMessageBufferSize];
  char messageSecondText[kUnzipMessageBufferSize];
  int diagnosticLog;
  int errorReported;  // the first error of a command is the one reported

  MessageDisplayProc messageDisplay;
  void *messageDisplayData;
  RenameProc renameProc;
  void *renameUserData;
  RenameProcEx renameProcEx;
  MemoryIoProc memoryIo;
  void *memoryIoData;
  uint32_t outputModeWord;  // kOutputModeText (line ends converted) or kOutputModeBinary

  HANDLE activityLog;  // open from the first activity line of a command
  int majorPercent;
  char itemText[kUnzipMessageBufferSize];  // what the per-item reports show
  uint64_t expectedTotal[2];  // the two counters the per-item overrun check adds
  int overrun;

  UnzipDirectoryState directory;
  uint8_t localHeader[kLocalHeaderSize];  // of the current member
  uint8_t *memberVariable;  // function 10: the record's name, extra field and comment
  uint32_t memberVariableLength;
  uint32_t streamStatedSize;  // function 10: the record's uncompressed size field
  int memoryInputEnded;  // the memory callback has delivered its last bytes
  int passwordSkipped;   // a member of this selection was skipped for want of its password

  UnzipCipherState cipher;
  DecoderState decoder;
  MemberIo io;  // the member being extracted: input refills and output
};

// The calling thread's block, or null.
UnzipState *UnzipStateOfThread();
// Fills the defaults of a fresh block; 1, or 0 for a null block.
int UnzipStateDefaults(UnzipState *state);
