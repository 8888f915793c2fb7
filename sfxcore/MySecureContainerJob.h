// The job object of one secure container: the builder writes a container
// with it, the stub reads one back with it. Its utility member deletes the
// temporary folder it made when the job goes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "MyFileUtility.h"

class CMySecureContainerJob {
 public:
  enum Mode { kBuilder = 0, kStub = 1 };
  enum OverwriteMode { kOverwriteAsk = 2, kOverwriteAll = 3 };

  CMySecureContainerJob(HINSTANCE instance, HWND owner, int mode);
  CMySecureContainerJob(const CMySecureContainerJob&) = delete;
  CMySecureContainerJob& operator=(const CMySecureContainerJob&) = delete;
  // Closes a container file still open.
  virtual ~CMySecureContainerJob();

  CMyFileUtility utility{1};
  HINSTANCE instance;
  int overwriteMode = 0;  // the stub's; the builder leaves it 0
  HWND owner;
  int recreateFolders = 1;
  int passwordSet = 0;
  int mode;
  FILE* container = nullptr;
  std::string password;
  std::vector<uint8_t> keyBlock;  // K bytes and 18 spare, zero-filled
  uint32_t keyBlockLength = 0;
  uint8_t data4[8] = {};
  uint32_t entryCount = 0;
  uint32_t data1 = 0xFFFFFFFF, data2 = 0xFFFFFFFF, data3 = 0xFFFFFFFF;
};
