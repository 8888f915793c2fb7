#include "EntropySource.h"

#include <windows.h>
#include <ntsecapi.h>

uint64_t EntropyCounter() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return uint64_t(counter.QuadPart);
}

// The generator comes from advapi32, which Windows always loads from the
// system folder: a self-extractor runs from a downloads folder, where a
// planted copy of a less protected library would otherwise load at start-up.
int EntropyOsRandom(uint8_t *buffer, size_t n) {
  while (n > 0) {
    const ULONG take = n > 0x10000 ? 0x10000 : ULONG(n);
    if (!RtlGenRandom(buffer, take)) return 0;
    buffer += take;
    n -= take;
  }
  return 1;
}
