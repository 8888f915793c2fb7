#include "ProgressPercent.h"

static int CapAt100(uint64_t percent) { return percent > 100 ? 100 : static_cast<int>(percent); }

// done * 100 / total without overflow: once done reaches total the answer is
// capped anyway, and below it done * 100 only overflows for totals past 2^57.
static uint64_t Ratio(uint64_t total, uint64_t done) {
  if (done >= total) return 100;
  if (done <= UINT64_MAX / 100) return done * 100 / total;
  return done / (total / 100);
}

int OverallPercent(uint64_t total, uint64_t done) {
  if (total == 0) return 0;
  if (total > 100000) return CapAt100(done / (total / 100));
  return CapAt100(Ratio(total, done));
}

int ItemPercent(uint64_t total, uint64_t done) { return total == 0 ? 0 : CapAt100(Ratio(total, done)); }

int UnzipItemPercent(uint64_t total, uint64_t done) {
  return total == 0 ? 0 : CapAt100(Ratio(total, done) + 1);
}
