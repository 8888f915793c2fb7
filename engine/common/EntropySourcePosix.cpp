#include "EntropySource.h"

#include <cerrno>
#include <ctime>
#include <sys/random.h>

uint64_t EntropyCounter() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return uint64_t(now.tv_sec) * 1000000000u + uint64_t(now.tv_nsec);
}

int EntropyOsRandom(uint8_t *buffer, size_t n) {
  while (n > 0) {
    const ssize_t got = getrandom(buffer, n, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return 0;
    }
    buffer += got;
    n -= size_t(got);
  }
  return 1;
}
