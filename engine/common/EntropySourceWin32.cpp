#include "EntropySource.h"

#include <windows.h>
#include <bcrypt.h>

uint64_t EntropyCounter() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return uint64_t(counter.QuadPart);
}

int EntropyOsRandom(uint8_t *buffer, size_t n) {
  while (n > 0) {
    const ULONG take = n > 0x10000 ? 0x10000 : ULONG(n);
    if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, buffer, take, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) return 0;
    buffer += take;
    n -= take;
  }
  return 1;
}
