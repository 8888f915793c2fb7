// The zip side's per-thread state block and its thread-local slot. Every
// zip-side routine finds its state through ZipCurrentState(); nothing of a
// command lives on a caller's stack or in a global.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "../common/CipherState.h"
#include "../common/EngineCallbacks.h"
#include "../common/ProgressWindow.h"
#include "deflate/DeflateEncoderState.h"
#include "volumes/ZipVolumeState.h"
#include "writer/ZipWriterState.h"
#include "ZipApi.h"
#include "ZipLoopState.h"

struct ZipEntry;    // one member of the archive being built (record writer)
struct ZipPattern;  // one include or exclude pattern (file list)

enum { ZIP_MESSAGE_SLOTS = 3, ZIP_MESSAGE_SIZE = 2049, ZIP_PATH_SIZE = 2048 };
enum { ZIP_TITLE_SIZE = 300, ZIP_STATUS_TEXT_SIZE = 352 };
enum { ZIP_STRONG_CONTEXT_SIZE = 8208 };

// What the mode of a command does with matching items.
enum ZipMode { ZIP_MODE_ADD, ZIP_MODE_FRESHEN, ZIP_MODE_DELETE, ZIP_MODE_UPDATE };

// Settings of the main loop, set to their defaults by ZipMainDefaults at every
// command before the record is read.
struct ZipMainSettings {
  ZipMode mode;
  int recurse;
  int moveSources;        // delete sources after adding
  int storeDirectoryNames;
  int upperCaseNames;
  int repairLevel;
  int includeSysHidden;
  int volumeLabelEntry;
  int addDirectoryEntries;
  int archiveTimeFromNewest;
  int growInPlace;
  uint32_t afterDate;     // DOS date-time; 0 when none
  char *comment;
  char *tempFolder;
  uint64_t *partSizes;
  uint32_t partCount;
};

struct ZipState {
  // The running command.
  int result;
  int errorReports;       // only the first error of a command is shown
  int busy;               // set while ZipExecute runs on this thread
  int recordVersion;      // 100, 200, 300, 500 or 600
  int diagLog;            // the record's diagnostic-log switch
  int function;

  // Files. Every closed handle holds INVALID_HANDLE_VALUE.
  HANDLE activityLog;
  HANDLE output;
  HANDLE oldArchive;
  HANDLE volumeFile;      // open split part or staging file
  HANDLE spareHandle;
  char workingDirectory[ZIP_PATH_SIZE];
  char outputName[ZIP_PATH_SIZE];
  char archiveName[ZIP_PATH_SIZE];
  char *growArchiveName;
  int growingInPlace;
  char volumeName[ZIP_PATH_SIZE];  // the open split part or staging file
  int volumeLongNames;             // split parts append their extension

  // Option words as the record gave them (bits in ZipCommand.h), and what
  // the command derived from them.
  uint16_t multiVolControl;
  uint16_t subOptions;
  uint32_t subOptions2;
  int zip64Allowed;
  int memorySource;       // the first item's data come from the memory block
  int memoryOutput;       // the output goes through the memory I/O callback

  // Compression.
  int level;              // 6 by default
  int forcedMethod;       // 0 stored, 9 Deflate64, -1 none (Deflate)
  int convertLineEnds;    // convertLFtoCRLFFlag count
  int promptsAllowed;     // cleared by quietFlag
  const char *storeSuffixes;
  ZipMainSettings main;

  // Encryption.
  ZipCipherState cipher; // kind (kEncrypt...), strength 1-3, keys, salt
  char *password;         // heap, password length + 16 bytes
  uint32_t passwordLength;
  uint8_t *strongContext; // ZIP_STRONG_CONTEXT_SIZE bytes, only for kind 8
  uint32_t strongCount;
  int strongFlag;

  // The archive being built.
  ZipEntry *entries;
  uint32_t entryCount;
  ZipEntry **nameIndex;
  uint64_t centralOffset; // of an archive grown in place
  int entryListKept;
  ZipPattern *patterns;
  int patternCount;

  // The archive as it stood after the last successful add.
  FILETIME lastArchiveTime;
  uint64_t lastArchiveSize;
  char lastArchiveName[ZIP_PATH_SIZE];

  // Progress.
  char progressTitle[ZIP_TITLE_SIZE];
  ProgressWindow progress;
  int cancel;
  char minorText[ZIP_STATUS_TEXT_SIZE];
  int minorPercent;
  char majorText[ZIP_STATUS_TEXT_SIZE];
  int majorPercent;

  // Callbacks copied from the record.
  StatusProc majorStatus;
  void *majorUserData;
  StatusProc minorStatus;
  void *minorUserData;
  MessageDisplayProc messageDisplay;
  void *messageDisplayData;
  RenameProc renameProc;
  RenameProcEx renameProcEx;
  void *renameUserData;
  MemoryIoProc memoryIo;
  void *memoryIoData;

  // The memory block of a memory source.
  const uint8_t *memBlock;
  uint64_t memBlockSize;

  // Texts: three lookup slots, the second text of the message callback, and
  // the composed error message.
  char messages[ZIP_MESSAGE_SLOTS][ZIP_MESSAGE_SIZE];
  char secondText[ZIP_MESSAGE_SIZE];
  char errorText[ZIP_PATH_SIZE];

  // Compression engines and the member compressor's input routine.
  DeflateEncoderState encoder;
  uint32_t (*readInput)(ZipState *state, uint8_t *buffer, uint32_t count);
  ZipWriterState writer;  // member compressor and record writer
  ZipLoopState loop;      // main loop, file list and update reader
  ZipVolumeState volume;  // multi-volume layer and floppy formatter
};

int ZipThreadStateDefaults(ZipState *state);

// The calling thread's block, or null.
ZipState *ZipCurrentState(void);
// The module instance given to ZipTlsAlloc.
HINSTANCE ZipModuleInstance(void);

int ZipStrongContextAlloc(ZipState *state);
void ZipStrongContextFree(ZipState *state);
void ZipEncryptionRelease(ZipState *state);

// Main-loop defaults, set again by every command.
void ZipMainDefaults(ZipState *state);

// The first split part, or the staging file of a removable target, in
// volumeFile and volumeName; 0, 10 or 15 (reported).
int ZipOpenMultiVolumeOutput(ZipState *state, const char *tempPath);
// Closes it; deletes the staging file, or, when the result is not 0, every
// split part and the archive name.
void ZipCloseMultiVolumeOutput(ZipState *state, int result);
