// What the member compressor and the record writer keep per thread, inside the
// zip state block: the values of the member being written and the running
// bookkeeping of the output.
#pragma once

#include <windows.h>
#include <stdint.h>

enum : uint16_t { ZIP_DISK_NOT_RECORDED = 0xFFFF };

struct ZipWriterState {
  // The member being compressed.
  uint32_t runningCrc;
  uint64_t inputCount;          // bytes delivered by the reader, after line-end conversion
  uint64_t expectedSize;        // size shown in the per-item progress
  uint64_t callbackInput;       // position of the next memory I/O read
  uint64_t callbackOutput;      // position of the next memory I/O write
  int inputExhausted;           // the callback reported the end of the input
  int prePass;                  // ZipPrecomputeCrc is reading
  int deferredEncryption;       // data written plain, enciphered in place afterwards
  int encryptWhileWriting;
  int encryptionSuspended;      // headers as zeros, data left plain
  const char *currentName;      // text of the per-item progress
  uint32_t cryptHeaderLength;   // bytes of the last encryption header
  HANDLE input;                 // source file, or INVALID_HANDLE_VALUE
  uint64_t memoryPosition;      // read position in the caller's memory block
  int lastWasCr;                // line-end conversion: the last byte read was a CR
  int memoryEntry;              // function 6: every output byte goes to the callback
  HANDLE *memberOutput;         // where the encoder's output goes
  uint32_t itemNumber;          // members offered so far in this command (the main loop resets it)
  int renameOff;                // the main loop's phase does not offer members for renaming

  // The output.
  uint64_t outputOffset;        // where the next archive byte goes
  uint64_t volumeBytes;         // bytes written to the current volume
  uint64_t volumeFree;          // free space of the current volume at the member's start
  uint32_t currentDisk;
  uint32_t centralStartDisk;    // ZIP_DISK_NOT_RECORDED until the first central header
  uint32_t lastCentralDisk;
  uint64_t centralCountOnDisk;
};
