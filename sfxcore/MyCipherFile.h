// Short texts stored as AES-128-CBC records in a C-runtime file. A file made
// by Open starts with a 12-byte header from which key and IV are derived; a
// file handed in with Attach has no header and takes the caller's keys. All
// records of a file form one CBC stream, so they are read in written order.
//
// Record: u32 little-endian length L (the text's length rounded up to 16),
// then L bytes of cipher text of the text padded with zero bytes.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "AesBlockCipher.h"

class CMyCipherFile {
 public:
  enum Result {
    kDone = 0,
    kFailed = 1,          // no path, open or write failed, not a record file, bad or oversized record
    kNoBuffer = 16,
    kNoText = 17,
    kKeyFailed = 18,
    kTextTooLong = 19,
    kShortRead = 20,      // a record cut short
    kCheckMismatch = 21,  // header check differs
    kEndOfFile = 22,      // no record left: the file ends where the next one would start
    kNotOpen = -1,
  };
  static constexpr size_t kHeaderBytes = 12;
  // Longest text written; its record length 0x3FF0 is the longest read.
  static constexpr size_t kMaxTextLength = 0x3FF0;
  static constexpr uint32_t kMaxRecordLength = 0x3FFF;

  CMyCipherFile() = default;
  CMyCipherFile(const CMyCipherFile&) = delete;
  CMyCipherFile& operator=(const CMyCipherFile&) = delete;
  // Closes a file opened by Open; an attached file stays the caller's.
  ~CMyCipherFile();

  int Open(const char* path, int forRead);
  void Attach(FILE* file);
  // The first 16 bytes of each text (zero-padded when shorter).
  int SetKeys(const char* keyText, const char* ivText);
  int WriteRecord(const char* text);
  // Reads the next record into buffer and terminates it; a record that does
  // not fit with its terminator in capacity bytes is refused (kFailed).
  int ReadRecord(char* buffer, size_t capacity);
  // False when the last buffered bytes could not be written.
  bool Close();
  void CloseLineFile();

 private:
  int MakeCipherKey();
  int ReadHeader();
  int WriteHeader();

  int open_ = 0;
  FILE* file_ = nullptr;
  GUID guid_ = {};
  char keyText_[260] = {};
  char ivText_[260] = {};
  CAesBlockCipher cipher_;
  bool ownsFile_ = false;
};
