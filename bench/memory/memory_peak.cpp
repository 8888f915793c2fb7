// One side of the memory benchmark in a process of its own, so the peak
// working set it prints is that side's alone:
//   memory_peak build SOURCE.zip CONTAINER     the builder's container writer
//   memory_peak extract CONTAINER DESTINATION  the stub's extraction driver
// Prints "peak working set: N bytes" and exits 0 when the side succeeded.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ExtractCallback.h"
#include "SecureContainerWriter.h"

namespace {

int Quiet(UINT, const char*, char*, DWORD, DWORD, DWORD, DWORD, HWND) { return 0; }
int DeclineRetry(HWND, const char*) { return IDNO; }

uint64_t FileSize(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int Build(const char* source, const char* container) {
  ContainerBuildRecord record;
  const int result =
      BuildSecureContainer(GetModuleHandleA(nullptr), nullptr, &record, source, container, "", "", 0, 1, nullptr);
  if (result != 0) std::fprintf(stderr, "build failed (%d): %s\n", result, record.failure.c_str());
  return result;
}

int Extract(const char* container, const char* destination) {
  const ExtractRequest request = {GetModuleHandleA(nullptr),
                                  nullptr,
                                  container,
                                  0,
                                  FileSize(container),
                                  destination,
                                  1,
                                  1,
                                  Quiet,
                                  DeclineRetry,
                                  "",
                                  0,
                                  false};
  const int result = ExtractSecureContainer(request);
  if (result != 0) std::fprintf(stderr, "extraction failed (%d)\n", result);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || (std::strcmp(argv[1], "build") != 0 && std::strcmp(argv[1], "extract") != 0)) {
    std::fprintf(stderr, "usage: memory_peak build SOURCE.zip CONTAINER | extract CONTAINER DESTINATION\n");
    return 2;
  }
  const int result = std::strcmp(argv[1], "build") == 0 ? Build(argv[2], argv[3]) : Extract(argv[2], argv[3]);
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  std::printf("peak working set: %llu bytes\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize));
  return result == 0 ? 0 : 1;
}
