// The callbacks an application hands to either side of the engine, and the
// record that carries the memory I/O callback. Both command records point at
// these; every engine callback uses the CALLBACK convention.
#pragma once
#include <windows.h>
#include <cstdint>

// Asked before the engine shows a message, and told every text lookup (type 13),
// where it may rewrite the text in place. Answers a button id, or anything else
// to let the engine show the box itself.
typedef int(CALLBACK *MessageDisplayProc)(int type, int style, int first, int second,
                                          char *text, char *title, void *userData);

// Per-item and overall progress; a nonzero answer asks to cancel.
typedef int(CALLBACK *StatusProc)(const char *text, int percent, void *userData);

// Memory I/O: operation 0 reads input, 1 writes output, 2 hands over a buffer.
// The engine presets *status to 3 before each call.
enum : int {
  kMemoryIoRead = 0,
  kMemoryIoWrite = 1,
  kMemoryIoHandOver = 2,
};
enum : int {
  kMemoryIoLast = 0,
  kMemoryIoFailed = 1,
  kMemoryIoCancel = 2,
  kMemoryIoMore = 3,
};
typedef void(CALLBACK *MemoryIoProc)(int operation, unsigned char *buffer, uint32_t *length,
                                     uint32_t inputLow, uint32_t inputHigh, uint32_t outputLow,
                                     uint32_t outputHigh, void *userData, int *status);

// The rename callbacks get a pointer to a rename record and their user data.
typedef void(CALLBACK *RenameProc)(void *record, void *userData);
typedef void(CALLBACK *RenameProcEx)(void *record, void *userData);

#pragma pack(push, 1)
struct CALLBACKSTRUCT {
  uint32_t size;
  MemoryIoProc memoryIo;
  void *memoryIoData;
  uint32_t reserved[4];
};
#pragma pack(pop)

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(CALLBACKSTRUCT) == 28, "CALLBACKSTRUCT is a fixed 28-byte record");
#endif
