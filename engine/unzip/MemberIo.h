// What the input and output layers keep while one member is extracted: the
// refill buffer over the member's stored bytes and where its decoded bytes
// go. One MemberIo lives in each thread's unzip state block.
#pragma once
#include <windows.h>
#include <cstdint>

// Bytes of stored data kept back, undeciphered, while a member of unknown
// length streams in: the last cipher block of a strongly encrypted member
// (its padding is only checked once the input ends) or the 10-byte
// authentication code of a WinZip AES member.
enum { kInputHoldBackMax = 16 };

struct MemberInput {
  uint8_t *buffer;     // the state's input buffer, capacity bytes
  uint32_t capacity;   // inputBufferSize + kInputHoldBackMax
  uint32_t position;   // next byte to deliver
  uint32_t fill;       // deciphered bytes in the buffer
  uint8_t hold[kInputHoldBackMax];  // raw bytes carried into the next refill
  uint32_t heldBack;
  int64_t remaining;   // stored bytes not yet taken from the source
  int unknownLength;   // function 10: the data ends where the callback says
  int sourceEnded;     // the source has nothing more
  int finished;        // the last refill was deciphered (and its padding checked)
  int failed;          // the source or the decipher step failed: the member is broken
  int decrypt;         // refills are deciphered
  int spanned;         // the data may continue on the next disk or split part
  uint32_t disk;       // the disk or part the data handle reads
  uint32_t lastDisk;   // UINT32_MAX when not known
};

enum MemberOutputSink : int {
  kSinkFile = 0,
  kSinkNone,       // testing
  kSinkMemory,     // function 9: the caller's block
  kSinkCallback,   // function 10: the memory I/O callback
  kSinkWindowCallback,  // function 11: the callback, within the block's window
};

enum MemberOutputError : int {
  kOutputOk = 0,
  kOutputFull = 2,     // disk full, or the memory window is used up
  kOutputFailed = 3,   // a write or the callback failed
};

struct MemberOutput {
  int sink;
  HANDLE file;          // INVALID_HANDLE_VALUE when closed
  uint8_t *buffer;      // the state's output buffer
  uint32_t capacity;
  uint32_t fill;
  uint64_t handedOn;    // decoded bytes of this member so far
  uint64_t limit;       // the member's uncompressed size, UINT64_MAX when not known
  int error;            // MemberOutputError
  int sizeExceeded;
  uint32_t crc;         // running register, from 0xFFFFFFFF
  uint64_t skipped;     // memory window: bytes before the starting offset dropped
  uint64_t placed;      // memory window: bytes placed in the block
  int convertLineEnds;  // text mode: each bare LF goes out as CR LF
  int lastWasCr;        // the last byte handed on was a CR (a CR LF pair stays as it is)
};

enum { kMemberIoPathCapacity = 2049 };

struct MemberIo {
  MemberInput input;
  char openVolume[kMemberIoPathCapacity];  // the path the data handle reads, kept between members
  MemberOutput output;
  // The state's buffers as this layer last sized them; the directory reader
  // may replace them between commands.
  uint8_t *inputBlock;
  uint32_t inputAllocated;
  uint8_t *outputBlock;
  uint32_t outputAllocated;
};
